// Named marks: text ranges that an application lays over the editor's text
// (spelling errors, search hits) and that follow its edits. Kept in order of
// their start, each one reported when an edit moves it or removes it.
// No platform headers.
#pragma once

#include <cstdint>
#include <functional>

#include "Component.h"

class TTextMark : public TObject {
public:
    int32_t Start = 0;  // first character
    int32_t End = 0;    // one past the last
    intptr_t Data = 0;  // the application's own value
    TTextMark* Next = nullptr;
    TTextMark* Prev = nullptr;
};

class TTextMarks {
public:
    TTextMarks() = default;
    ~TTextMarks();
    TTextMarks(const TTextMarks&) = delete;
    TTextMarks& operator=(const TTextMarks&) = delete;

    // A new mark over [start, end) (either order; negative values taken as 0).
    TTextMark* Add(int32_t start, int32_t end, intptr_t data = 0);
    // Unlinks and frees the mark (reported through OnFree); false when it is not ours.
    bool Remove(TTextMark* mark);
    void Clear();
    TTextMark* First() const { return first_; }
    int Count() const { return count_; }
    // The first mark overlapping [start, end): the range start lies inside
    // the mark, or the mark starts inside the range. Null when none.
    TTextMark* FindOverlap(int32_t start, int32_t end) const;

    // count characters inserted at p: marks at or after p move on, a mark
    // running over p grows.
    void TextInserted(int32_t p, int32_t count);
    // [s, e) deleted: marks after it move back, marks it cuts shrink (never
    // past each other's ends), marks wholly inside it go.
    void TextDeleted(int32_t s, int32_t e);

    // The mark as an integer, as the events pass it.
    std::function<void(intptr_t mark)> OnChange, OnFree;

private:
    void Link(TTextMark* m);
    void Unlink(TTextMark* m);
    TTextMark* first_ = nullptr;
    int count_ = 0;
};
