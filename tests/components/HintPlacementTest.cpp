#include "components/core/HintPlacement.h"

#include <gtest/gtest.h>

TEST(HintPlacement, PlacementTable) {
    struct Case {
        const char* name;
        THintStyle style;
        int x, y, textW, textH;
        THintRect expected;
    } cases[] = {
        {"below the cursor", hsWindows95, 100, 100, 50, 13, {100, 120, 158, 137}},
        {"office97 one lower, 6 taller", hsOffice97, 100, 100, 50, 13, {100, 121, 156, 140}},
        {"flat", hsFlat, 100, 100, 50, 13, {100, 120, 156, 137}},
        {"right edge: ends there, keeps its width", hsWindows95, 780, 100, 50, 13, {742, 120, 800, 137}},
        {"bottom edge: ends there", hsWindows95, 100, 590, 50, 13, {100, 583, 158, 600}},
        {"two lines", hsWindows95, 100, 100, 50, 26, {100, 120, 158, 150}},
    };
    for (const Case& c : cases) {
        const THintRect r = PlaceHint(c.style, c.x, c.y, 20, c.textW, c.textH, 800, 600);
        EXPECT_EQ(r.Left, c.expected.Left) << c.name;
        EXPECT_EQ(r.Top, c.expected.Top) << c.name;
        EXPECT_EQ(r.Right, c.expected.Right) << c.name;
        EXPECT_EQ(r.Bottom, c.expected.Bottom) << c.name;
    }
}

TEST(HintPlacement, CursorHeightTable) {
    struct Case {
        const char* name;
        int andLastBlackRow;   // -1: none
        int xorLastWhiteRow;   // -1: none (row number 32..63)
        int hotY;
        int expected;
    } cases[] = {
        {"arrow: AND mask to row 20, hot spot 0", 20, -1, 0, 20},
        {"AND mask to row 31, hot spot 5", 31, -1, 5, 26},
        {"only XOR rows: row 50", -1, 50, 2, 16},
        {"blank cursor: the scan reaches row 31, white in the AND mask", -1, -1, 0, -1},
    };
    for (const Case& c : cases) {
        uint32_t rows[64];
        for (int i = 0; i < 32; ++i) rows[i] = 0xFFFFFFFFu;
        for (int i = 32; i < 64; ++i) rows[i] = 0;
        for (int i = 0; i <= c.andLastBlackRow; ++i) rows[i] = 0x0FFFFFFFu;
        if (c.xorLastWhiteRow >= 0) rows[c.xorLastWhiteRow] = 0x80000000u;
        EXPECT_EQ(CursorHeightBelow(rows, 64, c.hotY), c.expected) << c.name;
    }
    // A mask too short to hold either part.
    const uint32_t none[1] = {0xFFFFFFFFu};
    EXPECT_EQ(CursorHeightBelow(none, 1, 0), 32);
}

TEST(HintPlacement, FontFaceTable) {
    struct Case {
        const char* name;
        THintStyle style;
        const char* statusFace;
        bool tahomaInstalled;
        const char* face;
    } cases[] = {
        {"office97 trades MS Sans Serif for Tahoma", hsOffice97, "MS Sans Serif", true, "Tahoma"},
        {"not without Tahoma", hsOffice97, "MS Sans Serif", false, "MS Sans Serif"},
        {"flat keeps MS Sans Serif", hsFlat, "MS Sans Serif", true, "MS Sans Serif"},
        {"windows95 keeps it too", hsWindows95, "MS Sans Serif", true, "MS Sans Serif"},
        {"another status face stays", hsOffice97, "Segoe UI", true, "Segoe UI"},
    };
    for (const Case& c : cases) EXPECT_EQ(HintFontFace(c.style, c.statusFace, c.tahomaInstalled), c.face) << c.name;
}
