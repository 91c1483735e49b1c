#include "LineIndex.h"

#include <algorithm>
#include <cstdlib>

#include "TextStore.h"

void TLineIndex::Edited(const TStoreEdit& e) {
    if (marks_.empty()) return;
    auto first = std::lower_bound(marks_.begin(), marks_.end(), e.FirstLine,
                                  [](const Mark& m, int32_t i) { return m.Index < i; });
    auto last = first;
    while (last != marks_.end() && last->Index < e.FirstLine + e.LinesRemoved) ++last;
    int32_t lines = e.LinesAdded - e.LinesRemoved;
    int32_t chars = e.Inserted - e.Removed;
    for (auto m = last; m != marks_.end(); ++m) {
        m->Index += lines;
        m->Start += chars;
    }
    marks_.erase(first, last);
}

bool TLineIndex::NearestLine(int32_t index, Mark& mark) const {
    if (marks_.empty()) return false;
    auto at = std::lower_bound(marks_.begin(), marks_.end(), index,
                               [](const Mark& m, int32_t i) { return m.Index < i; });
    if (at == marks_.end() || (at != marks_.begin() && index - (at - 1)->Index < at->Index - index)) --at;
    mark = *at;
    return true;
}

bool TLineIndex::NearestOffset(int32_t offset, Mark& mark) const {
    if (marks_.empty()) return false;
    auto at = std::lower_bound(marks_.begin(), marks_.end(), offset,
                               [](const Mark& m, int32_t o) { return m.Start < o; });
    if (at == marks_.end() || (at != marks_.begin() && offset - (at - 1)->Start < at->Start - offset)) --at;
    mark = *at;
    return true;
}

void TLineIndex::Add(const Mark& mark) {
    auto at = std::lower_bound(marks_.begin(), marks_.end(), mark.Index,
                               [](const Mark& m, int32_t i) { return m.Index < i; });
    if (at != marks_.end() && at->Index == mark.Index) *at = mark;
    else marks_.insert(at, mark);
}

std::string TLineIndex::Check(const TLineNode* head) const {
    size_t j = 0;
    int32_t index = 0, start = 0;
    for (const TLineNode* n = head; n && j < marks_.size(); n = n->Next, index++) {
        if (marks_[j].Index < index) return "line index out of order at line " + std::to_string(marks_[j].Index);
        if (marks_[j].Index == index) {
            if (marks_[j].Node != n || marks_[j].Start != start)
                return "line index wrong at line " + std::to_string(index);
            j++;
        }
        start += n->Len;
    }
    if (j != marks_.size()) return "line index past the last line";
    return std::string();
}
