#include "PaletteLayout.h"

namespace {

TColor Rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }

// Row by row, four columns each.
const TColor kDefaults[5][4] = {
    {Rgb(255, 255, 255), Rgb(0, 0, 0), Rgb(191, 191, 191), Rgb(127, 127, 127)},
    {Rgb(255, 0, 0), Rgb(127, 0, 0), Rgb(255, 255, 0), Rgb(127, 127, 0)},
    {Rgb(0, 255, 0), Rgb(0, 127, 0), Rgb(0, 255, 255), Rgb(0, 127, 127)},
    {Rgb(0, 0, 255), Rgb(0, 0, 127), Rgb(255, 0, 255), Rgb(127, 0, 127)},
    {Rgb(191, 215, 191), Rgb(159, 191, 239), Rgb(255, 247, 239), Rgb(159, 159, 159)},
};

}  // namespace

TPaletteRect TPaletteLayout::CellRect(TPaletteCell c, int32_t clientWidth) {
    TPaletteRect r;
    if (c.X == 0 && c.Y == 0) {
        // Vertically centred on the other-colour button (its height is 23).
        r.Left = clientWidth - 18;
        r.Top = kOtherButtonTop + (23 - 16) / 2;
    } else {
        r.Left = 18 * c.X - 17;
        r.Top = 18 * c.Y - 17;
    }
    r.Right = r.Left + 16;
    r.Bottom = r.Top + 16;
    return r;
}

TPaletteCell TPaletteLayout::HitTest(int32_t x, int32_t y, int32_t clientWidth) {
    if (x >= clientWidth - 19 && x <= clientWidth - 1 && y >= 96 && y <= 113) return {0, 0};
    if (x < 0 || y < 0) return {};
    TPaletteCell c{x / 18 + 1, y / 18 + 1};
    if (c.X > kColumns || c.Y > kRows) return {};
    return c;
}

TColor TPaletteLayout::DefaultColor(int32_t x, int32_t y) {
    if (x < 1 || x > kColumns || y < 1 || y > kRows) return 0;
    return kDefaults[y - 1][x - 1];
}

TColor TPaletteLayout::GridColor(int32_t x, int32_t y, const std::vector<TColor>& screenPens) {
    size_t pen = static_cast<size_t>((x - 1) * kRows + (y - 1));
    if (x >= 1 && x <= kColumns && y >= 1 && y <= kRows && pen < screenPens.size()) return screenPens[pen];
    return DefaultColor(x, y);
}

void TPaletteLayout::OpenPosition(const TPaletteRect& button, const TPaletteRect& workArea, int32_t& left,
                                  int32_t& top) {
    left = button.Left;
    top = button.Bottom;
    if (top + kClientHeight > workArea.Bottom) top = button.Top - kClientHeight;
    if (left < workArea.Left) left = workArea.Left;
    if (left + kClientWidth > workArea.Right) left = workArea.Right - 78;
}
