#include "TextMarks.h"

#include <algorithm>
#include <utility>

TTextMarks::~TTextMarks() {
    // The owner is going: no one is left to tell.
    OnFree = nullptr;
    OnChange = nullptr;
    Clear();
}

void TTextMarks::Link(TTextMark* m) {
    TTextMark* after = nullptr;
    for (TTextMark* p = first_; p && p->Start <= m->Start; p = p->Next) after = p;
    m->Prev = after;
    m->Next = after ? after->Next : first_;
    if (m->Next) m->Next->Prev = m;
    if (after) after->Next = m;
    else first_ = m;
    count_++;
}

void TTextMarks::Unlink(TTextMark* m) {
    if (m->Prev) m->Prev->Next = m->Next;
    else first_ = m->Next;
    if (m->Next) m->Next->Prev = m->Prev;
    m->Next = m->Prev = nullptr;
    count_--;
}

TTextMark* TTextMarks::Add(int32_t start, int32_t end, intptr_t data) {
    if (start > end) std::swap(start, end);
    TTextMark* m = new TTextMark;
    m->Start = std::max(start, 0);
    m->End = std::max(end, 0);
    m->Data = data;
    Link(m);
    return m;
}

bool TTextMarks::Remove(TTextMark* mark) {
    for (TTextMark* p = first_; p; p = p->Next) {
        if (p != mark) continue;
        Unlink(p);
        if (OnFree) OnFree(reinterpret_cast<intptr_t>(p));
        delete p;
        return true;
    }
    return false;
}

void TTextMarks::Clear() {
    while (first_) Remove(first_);
}

TTextMark* TTextMarks::FindOverlap(int32_t start, int32_t end) const {
    TTextMark* m = first_;
    while (m && m->End <= start && m->Start < start) m = m->Next;  // wholly before the range
    for (; m; m = m->Next) {
        if ((start >= m->Start && start < m->End) || (m->Start >= start && m->Start < end)) return m;
        if (m->Start >= end) break;
    }
    return nullptr;
}

void TTextMarks::TextInserted(int32_t p, int32_t count) {
    if (count <= 0) return;
    for (TTextMark* m = first_; m; m = m->Next) {
        if (m->Start >= p) m->Start += count, m->End += count;
        else if (m->End >= p) m->End += count;
        else continue;
        if (OnChange) OnChange(reinterpret_cast<intptr_t>(m));
    }
}

void TTextMarks::TextDeleted(int32_t s, int32_t e) {
    if (s > e) std::swap(s, e);
    int32_t d = e - s;
    if (d <= 0) return;
    // Each end is mapped on its own: past the range it moves back, inside it
    // it lands on s, so a cut mark never ends before it starts.
    auto map = [s, e, d](int32_t v) { return v <= s ? v : v >= e ? v - d : s; };
    for (TTextMark* m = first_; m;) {
        TTextMark* next = m->Next;
        if (m->End <= s && m->Start < s) {
            m = next;
            continue;
        }
        if (m->Start >= s && m->End <= e) {
            Remove(m);
        } else {
            m->Start = map(m->Start);
            m->End = map(m->End);
            if (OnChange) OnChange(reinterpret_cast<intptr_t>(m));
        }
        m = next;
    }
}
