// Where aligned child controls go inside their parent's client area. Window
// free, so the arithmetic is tested on the host.
#pragma once

#include <vector>

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

struct TBounds {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool operator==(const TBounds& o) const {
        return Left == o.Left && Top == o.Top && Width == o.Width && Height == o.Height;
    }
};

struct TAlignItem {
    TAlign Align = alNone;
    TBounds Bounds;  // in: current bounds; out: the aligned bounds
    bool Visible = true;
};

// Places the items in the order top, bottom, left, right, client; within one
// kind, in list order. Each takes its edge of what the earlier ones left;
// sizes never go negative. alNone and hidden items keep their bounds.
void AlignItems(const TBounds& client, std::vector<TAlignItem>& items);
