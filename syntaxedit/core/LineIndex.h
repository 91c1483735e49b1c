// Known line positions spread over a text store: (node, first character's
// offset, line index) every so many lines, so that a lookup anywhere walks
// only from the nearest one. Positions are added along the walks that
// lookups make and kept right through the store's edit notices.
// No platform headers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "LineNode.h"

struct TStoreEdit;

class TLineIndex {
public:
    struct Mark {
        TLineNode* Node = nullptr;
        int32_t Start = 0;
        int32_t Index = 0;
    };
    // Lines between two positions that a walk leaves behind.
    static const int32_t kSpacing = 256;

    void Clear() { marks_.clear(); }
    size_t Count() const { return marks_.size(); }
    // Drops the positions of replaced nodes and moves the later ones.
    void Edited(const TStoreEdit& edit);
    // The known position nearest to line index / to offset; false when none.
    bool NearestLine(int32_t index, Mark& mark) const;
    bool NearestOffset(int32_t offset, Mark& mark) const;
    // Records a position a walk passed.
    void Add(const Mark& mark);
    // Compares every position with the chain from head; empty when right.
    std::string Check(const TLineNode* head) const;

private:
    std::vector<Mark> marks_;  // ascending line index (and offset)
};
