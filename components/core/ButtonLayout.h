// Where a toolbar button puts its glyph, caption and drop-down arrow, and how
// many cells a glyph strip holds: arithmetic only, the text measured by the caller.
#pragma once

#include <functional>
#include <string>

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

struct TLayoutPoint {
    int X = 0, Y = 0;
};
struct TLayoutRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// Measures a caption in a box of the given width (DT_CALCRECT); returns width and height.
using TTextMeasure = std::function<TLayoutPoint(const std::string& caption, int boxWidth, bool wordWrap)>;

struct TLayoutInput {
    TLayoutRect Client;
    TLayoutPoint Offset;
    std::string Caption;
    TButtonLayout Layout = blGlyphLeft;
    int Margin = -1, Spacing = 4;
    bool WordWrap = false, ShowArrow = false, ShowText = true, ShowGlyph = true;
    int GlyphWidth = 0, GlyphHeight = 0;  // the image size; 0 x 0 without an image
};

struct TLayoutResult {
    TLayoutPoint GlyphPos;
    TLayoutRect TextRect;
    TLayoutPoint ArrowPos;
};

TLayoutResult CalcLayout(const TLayoutInput& in, const TTextMeasure& measure);

// Cells in a strip of width x height: width a multiple of height and at most five cells.
int NumGlyphsForSize(int width, int height);
// A requested count outside 1..5 clamped (0 -> 1, above 5 -> 5).
int ClampNumGlyphs(int n);
