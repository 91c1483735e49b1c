#include "components/core/ButtonLayout.h"

#include <gtest/gtest.h>

namespace {

// Every character 6 x 13; wrapped text keeps one line.
TLayoutPoint Measure(const std::string& s, int, bool) { return {static_cast<int>(s.size()) * 6, 13}; }

}  // namespace

TEST(ButtonLayout, NumGlyphsFromStripSize) {
    struct Case {
        const char* name;
        int w, h, expected;
    } cases[] = {
        {"64x16 four cells", 64, 16, 4}, {"96x16 six cells is beyond the limit", 96, 16, 1},
        {"20x16 not a multiple", 20, 16, 1}, {"16x16 one cell", 16, 16, 1},
        {"80x16 five cells", 80, 16, 5},   {"empty", 0, 0, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(NumGlyphsForSize(c.w, c.h), c.expected) << c.name;
    EXPECT_EQ(ClampNumGlyphs(0), 1);
    EXPECT_EQ(ClampNumGlyphs(9), 5);
}

TEST(ButtonLayout, CalcLayoutTable) {
    struct Case {
        const char* name;
        TButtonLayout layout;
        int margin, spacing;
        const char* caption;
        bool arrow;
        int glyphX, glyphY, textL, textT, arrowX, arrowY;
    } cases[] = {
        // 40x22 client, 16x16 glyph, "ab" 12x13.
        {"left, centred", blGlyphLeft, -1, 4, "ab", false, 4, 3, 24, 5, 36, 9},
        {"left, margin 2", blGlyphLeft, 2, 4, "ab", false, 2, 3, 22, 5, 34, 9},
        {"thirds", blGlyphLeft, -1, -1, "ab", false, 4, 3, 24, 5, 36, 9},
        {"glyph only with arrow", blGlyphLeft, -1, 4, "", true, 8, 3, 24, 11, 24, 9},
        {"right", blGlyphRight, 2, 4, "ab", false, 22, 3, 6, 5, 38, 9},
        {"top: tall content overflows evenly", blGlyphTop, -1, 4, "ab", false, 12, -5, 14, 15, 28, 1},
    };
    for (const Case& c : cases) {
        TLayoutInput in;
        in.Client = {0, 0, 40, 22};
        in.Caption = c.caption;
        in.Layout = c.layout;
        in.Margin = c.margin;
        in.Spacing = c.spacing;
        in.ShowArrow = c.arrow;
        in.GlyphWidth = in.GlyphHeight = 16;
        const TLayoutResult r = CalcLayout(in, Measure);
        EXPECT_EQ(r.GlyphPos.X, c.glyphX) << c.name;
        EXPECT_EQ(r.GlyphPos.Y, c.glyphY) << c.name;
        EXPECT_EQ(r.TextRect.Left, c.textL) << c.name;
        EXPECT_EQ(r.TextRect.Top, c.textT) << c.name;
        EXPECT_EQ(r.ArrowPos.X, c.arrowX) << c.name;
        EXPECT_EQ(r.ArrowPos.Y, c.arrowY) << c.name;
    }
}

TEST(ButtonLayout, OffsetAndClientOriginMoveEverything) {
    TLayoutInput in;
    in.Client = {1, 1, 41, 23};
    in.Offset = {1, 1};
    in.Caption = "ab";
    in.GlyphWidth = in.GlyphHeight = 16;
    const TLayoutResult r = CalcLayout(in, Measure);
    EXPECT_EQ(r.GlyphPos.X, 6);
    EXPECT_EQ(r.GlyphPos.Y, 5);
    EXPECT_EQ(r.TextRect.Right - r.TextRect.Left, 12);
}
