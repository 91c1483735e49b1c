// The keyboard rules of the button menu bar.
#include <gtest/gtest.h>

#include "components/core/MenuBarState.h"

TEST(MenuBarState, ArrowsWrapAtBothEnds) {
    struct Row {
        const char* Name;
        int Index, Count;
        bool Right;
        int Expected;
    };
    const Row rows[] = {
        {"right in the middle", 1, 4, true, 2},  {"right from the last", 3, 4, true, 0},
        {"left in the middle", 2, 4, false, 1},  {"left from the first", 0, 4, false, 3},
        {"one button right", 0, 1, true, 0},     {"one button left", 0, 1, false, 0},
        {"no buttons", 0, 0, true, 0},
    };
    for (const Row& r : rows) EXPECT_EQ(WrapButtonIndex(r.Index, r.Count, r.Right), r.Expected) << r.Name;
}

TEST(MenuBarState, MenuKeyTogglesKeyboardModeFromTheFirstButton) {
    TMenuBarState s;
    s.Index = 2;
    s.OpenedByKeyboard = true;
    TMenuBarStep on = s.KeyMenu(3);
    EXPECT_TRUE(s.KeyboardMode);
    EXPECT_FALSE(s.OpenedByKeyboard);
    EXPECT_EQ(s.Index, 0);
    EXPECT_EQ(on.Enter, 0);
    EXPECT_EQ(on.Leave, -1);
    EXPECT_TRUE(on.Focus);

    s.KeyDown(mkRight, 3);
    TMenuBarStep off = s.KeyMenu(3);
    EXPECT_FALSE(s.KeyboardMode);
    EXPECT_EQ(off.Leave, 1) << "the current button loses its hot look";
    EXPECT_EQ(off.Enter, -1);
    EXPECT_FALSE(off.Focus);
}

TEST(MenuBarState, KeysMoveAndOpenOnlyInKeyboardMode) {
    TMenuBarState s;
    EXPECT_FALSE(s.KeyDown(mkRight, 3).Handled) << "outside keyboard mode keys go on";
    s.KeyMenu(3);
    TMenuBarStep left = s.KeyDown(mkLeft, 3);
    EXPECT_TRUE(left.Handled);
    EXPECT_EQ(left.Leave, 0);
    EXPECT_EQ(left.Enter, 2);
    EXPECT_EQ(s.Index, 2);
    TMenuBarStep down = s.KeyDown(mkDown, 3);
    EXPECT_TRUE(down.Press);
    EXPECT_TRUE(s.OpenedByKeyboard);
    EXPECT_FALSE(s.KeyDown(mkOther, 3).Handled);
    EXPECT_FALSE(s.KeyDown(mkEscape, 3).Handled);
}
