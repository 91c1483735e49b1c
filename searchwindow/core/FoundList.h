// The found list's items and the road by which database records reach them.
// Items are found by their record's position in the database, never by a
// remembered list position (a sorted insert moves the items after it) nor
// by the record's key (a merge brings keys in twice).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "masks/core/FilterBlock.h"
#include "masks/core/MaskCollection.h"

class DatabaseCalls;

struct FoundItem {
    int32_t Key = 0;
    std::string Text;
    int Icon = 1;  // 1 not known yet, 2 connected, 3 not connected
    int32_t Record = -1;  // position of the record in the database, from 0
};

// The list on screen follows the items change by change: a new record is
// one insert, a caption or icon one change; only Clear empties it.
class FoundListSink {
public:
    virtual ~FoundListSink() = default;
    virtual void FoundInserted(int32_t at, const FoundItem& item) = 0;
    virtual void FoundChanged(int32_t at, const FoundItem& item) = 0;
    virtual void FoundCleared() = 0;
};

// What AddFoundRecord tells the window beyond the items.
struct FoundListEvents {
    bool Modified = false;        // first change: caption gains "*"
    bool FirstSelected = false;   // the first record of a run: select and show
    int32_t SelectedKey = -1;
    int32_t SelectedRecord = -1;
    bool CountChanged = false;    // "Found " & count
    std::string StatusText;       // "Got object - " & address
};

class FoundList {
public:
    std::string CaptionMaskName = "Page title";
    bool FirstFoundPending = true;
    bool SearchModified = false;
    int32_t ShownFoundCount = 0;

    const std::vector<FoundItem>& Items() const { return items_; }
    void SetSink(FoundListSink* sink) { sink_ = sink; }
    void Clear();
    // 0-based position of the item of key, -1 when none.
    int32_t IndexOfKey(int32_t key) const;
    // 0-based position of the item of the record at that database position, -1 when none.
    int32_t IndexOfRecord(int32_t record) const;

    // Places or updates the record under cursor, which stands at database
    // position record (from 0).
    FoundListEvents AddFoundRecord(DatabaseCalls& db, int32_t cursor, int32_t record, const MaskCollection& masks,
                                   const std::vector<FilterBlock>& filters);
    // Every record through AddFoundRecord once, with its own cursor.
    FoundListEvents FillFoundList(DatabaseCalls& db, const MaskCollection& masks,
                                  const std::vector<FilterBlock>& filters);
    static void ClearRecordMarks(DatabaseCalls& db);      // all three marks
    static void ClearRecordListMarks(DatabaseCalls& db);  // caption and icon only
    // A cursor on the record at database position record; kNoCursor when there is none.
    static int32_t OpenRecord(DatabaseCalls& db, int32_t record);

private:
    int32_t SortedPosition(DatabaseCalls& db, int32_t cursor, const std::string& sortName) const;

    void Changed(int32_t at);
    std::vector<FoundItem> items_;
    FoundListSink* sink_ = nullptr;
};
