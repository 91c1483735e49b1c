#include "components/core/FormPosition.h"

#include <gtest/gtest.h>

TEST(FormPosition, StoredNumbers) {
    struct Case {
        const char* name;
        const char* text;
        int expected;
    } cases[] = {
        {"decimal", "120", 120}, {"hex", "0x64", 100}, {"hex upper", "0X1F", 31},
        {"negative", "-8", -8},  {"empty", "", 7},     {"bare 0x", "0x", 7},
        {"text", "abc", 7},      {"trailing junk", "12a", 7}, {"too big", "99999999999", 7},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseStoredInt(c.text, 7), c.expected) << c.name;
}

TEST(FormPosition, ClampTable) {
    struct Case {
        const char* name;
        TPosRect in, out;
    } cases[] = {
        {"inside stays", {100, 100, 300, 200}, {100, 100, 300, 200}},
        {"minimised marker", {-32000, -32000, 160, 24}, {0, 0, 160, 24}},
        {"past the right", {700, 10, 300, 200}, {500, 10, 300, 200}},
        {"larger than the area", {0, 0, 2000, 1000}, {0, 0, 800, 570}},
    };
    for (const Case& c : cases) {
        const TPosRect r = ClampToWorkArea(c.in, 0, 0, 800, 570);
        EXPECT_EQ(r.Left, c.out.Left) << c.name;
        EXPECT_EQ(r.Top, c.out.Top) << c.name;
        EXPECT_EQ(r.Width, c.out.Width) << c.name;
        EXPECT_EQ(r.Height, c.out.Height) << c.name;
    }
}
