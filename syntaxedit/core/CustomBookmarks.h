// Named positions in the text that move with insertions and deletions.
// No platform headers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "StringList.h"

class TBookmarkNode : public TObject {
public:
    std::string Name;
    int32_t Position = 0;
    TBookmarkNode* Next = nullptr;
    TBookmarkNode* Prev = nullptr;
};

class TCustomBookmarks : public TObject {
public:
    TCustomBookmarks();
    ~TCustomBookmarks() override;
    TCustomBookmarks(const TCustomBookmarks&) = delete;
    TCustomBookmarks& operator=(const TCustomBookmarks&) = delete;

    // Sets the bookmark name at position (an existing one of that name moves).
    void Add(const std::string& name, int32_t position);
    // Position of the bookmark name, -1 when there is none.
    int32_t PositionOf(const std::string& name) const;
    int Count() const { return Names.Count(); }
    void Clear();
    // The first bookmark at or after position, else the last one (null: none).
    TBookmarkNode* FindFrom(int32_t position) const;
    // count characters inserted at position: bookmarks at or after it move on.
    void TextInserted(int32_t count, int32_t position);
    // count characters deleted from start: bookmarks past the range move back;
    // those inside it (after its first character) go, each reported to OnFree.
    void TextDeleted(int32_t count, int32_t start);

    TBookmarkNode* First = nullptr;  // ascending position order
    TStringList Names;               // sorted; each name's object is its node
    std::function<void(const std::string&)> OnFree;

private:
    void Unlink(TBookmarkNode* n);
    void Discard(TBookmarkNode* n);
};
