// Where things stand on the colour palette: its 4 x 5 grid of 16-pixel
// swatches on an 18-pixel pitch, the other-colour swatch beside its button,
// the default colours and where the palette opens next to its button.
// No platform headers.
#pragma once

#include <cstdint>
#include <vector>

#include "SyntaxMemoTypes.h"

struct TPaletteRect {
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TPaletteRect& o) const {
        return Left == o.Left && Top == o.Top && Right == o.Right && Bottom == o.Bottom;
    }
};

struct TPaletteCell {
    int32_t X = -1, Y = -1;  // (0, 0): the other colour; (-1, -1): none
    bool Valid() const { return X >= 0; }
    bool operator==(const TPaletteCell& o) const { return X == o.X && Y == o.Y; }
};

class TPaletteLayout {
public:
    static const int32_t kColumns = 4, kRows = 5;
    static const int32_t kClientWidth = 72, kClientHeight = 121;
    static const int32_t kOtherButtonTop = 98;

    // The 16-pixel cell (x, y), 1-based, frames included; (0, 0) is the other swatch.
    static TPaletteRect CellRect(TPaletteCell c, int32_t clientWidth = kClientWidth);
    static TPaletteCell HitTest(int32_t x, int32_t y, int32_t clientWidth = kClientWidth);
    // The grid's default colour of cell (x, y) as a COLORREF (0x00BBGGRR).
    static TColor DefaultColor(int32_t x, int32_t y);
    // The grid colour of cell (x, y) on a screen whose solid pens are given
    // (a 16-colour screen's, else none): the pens fill the grid column by
    // column, five to a column; a cell without a pen keeps its default.
    static TColor GridColor(int32_t x, int32_t y, const std::vector<TColor>& screenPens);
    // The palette's top-left for a button at buttonRect (screen), kept in
    // the work area.
    static void OpenPosition(const TPaletteRect& button, const TPaletteRect& workArea, int32_t& left,
                             int32_t& top);
};
