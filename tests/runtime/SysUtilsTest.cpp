#include <gtest/gtest.h>

#include "SysUtils.h"

TEST(SysUtils, TrimAndCase) {
    EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
    EXPECT_EQ(TrimLeft("  x "), "x ");
    EXPECT_EQ(TrimRight("  x "), "  x");
    EXPECT_EQ(UpperCase("aBc\xe9"), "ABC\xe9");
    EXPECT_TRUE(SameText("FtP", "fTp"));
    EXPECT_LT(CompareText("abc", "ABD"), 0);
    EXPECT_GT(CompareText("abcd", "ABC"), 0);
}

TEST(SysUtils, IntegerConversions) {
    struct Case {
        const char* text;
        bool ok;
        int64_t value;
    } cases[] = {
        {"0", true, 0},          {" 42 ", true, 42},   {"-17", true, -17},
        {"+5", true, 5},         {"", false, 0},       {"-", false, 0},
        {"12a", false, 0},       {"9223372036854775807", true, INT64_MAX},
        {"9223372036854775808", false, 0},             {"-9223372036854775808", true, INT64_MIN},
    };
    for (const Case& c : cases) {
        int64_t v = 0;
        EXPECT_EQ(TryStrToInt64(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
    EXPECT_THROW(StrToInt("3000000000"), EConvertError);
    EXPECT_EQ(StrToIntDef("x", 7), 7);
    EXPECT_EQ(Format("%s-%d", "a", 3), "a-3");
}
