#include <gtest/gtest.h>

#include "masks/core/BasicUnits.h"

TEST(BasicUnits, TwipsAndPixels) {
    struct Case {
        const char* what;
        int twips, dpi, pixels;
    } cases[] = {
        {"an inch at 96", 1440, 96, 96}, {"page 0's left edge", 960, 96, 64}, {"half a pixel rounds up", 7, 96, 0},
        {"8 twips", 8, 96, 1},           {"at 120", 1440, 120, 120},          {"negative", -960, 96, -64},
    };
    for (const Case& c : cases) EXPECT_EQ(c.pixels, TwipsToPixels(c.twips, c.dpi)) << c.what;
    EXPECT_EQ(960, PixelsToTwips(64, 96));
    EXPECT_EQ(0, PixelsToTwips(64, 0));
}

TEST(BasicUnits, BooleansTrueIsMinusOne) {
    EXPECT_EQ(-1, ToVbBoolean(true));
    EXPECT_EQ(0, ToVbBoolean(false));
    EXPECT_TRUE(FromVbBoolean(1)) << "any non-zero value, as a check box's 1";
    EXPECT_TRUE(FromVbBoolean(-1));
    EXPECT_FALSE(FromVbBoolean(0));
}
