// The found list's items and the road by which database records reach them.
// Items are found by the record's key (their Tag), never by a remembered
// position: a sorted insert moves the items after it.
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
};

// What AddFoundRecord tells the window beyond the items.
struct FoundListEvents {
    bool Modified = false;        // first change: caption gains "*"
    bool FirstSelected = false;   // the first record of a run: select and show
    int32_t SelectedKey = -1;
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
    void Clear() { items_.clear(); }
    // 0-based position of the item of key, -1 when none.
    int32_t IndexOfKey(int32_t key) const;

    // Places or updates the record under cursor.
    FoundListEvents AddFoundRecord(DatabaseCalls& db, int32_t cursor, const MaskCollection& masks,
                                   const std::vector<FilterBlock>& filters);
    // Every record through AddFoundRecord once, with its own cursor.
    FoundListEvents FillFoundList(DatabaseCalls& db, const MaskCollection& masks,
                                  const std::vector<FilterBlock>& filters);
    static void ClearRecordMarks(DatabaseCalls& db);      // all three marks
    static void ClearRecordListMarks(DatabaseCalls& db);  // caption and icon only

private:
    int32_t SortedPosition(DatabaseCalls& db, int32_t cursor, const std::string& sortName) const;

    std::vector<FoundItem> items_;
};
