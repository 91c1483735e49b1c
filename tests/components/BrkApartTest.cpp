#include "components/core/BrkApart.h"

#include <gtest/gtest.h>

TEST(BrkApart, SplitTable) {
    struct Case {
        const char* name;
        const char* base;
        const char* sep;
        bool arrayChar, allowEmpty;
        std::vector<std::string> pieces;
    } cases[] = {
        {"a,,b", "a,,b", ",", false, false, {"a", "b"}},
        {"a,,b with empties", "a,,b", ",", false, true, {"a", "", "b"}},
        {"trailing separator", "a,b,", ",", false, false, {"a", "b"}},
        {"trailing separator with empties", "a,b,", ",", false, true, {"a", "b", ""}},
        {"empty input", "", ",", false, false, {}},
        {"empty input with empties", "", ",", false, true, {""}},
        {"separator string", "a::b:c", "::", false, false, {"a", "b:c"}},
        {"character set", "a;b,c", ",;", true, false, {"a", "b", "c"}},
        {"empty separator never matches", "abc", "", false, false, {"abc"}},
    };
    for (const Case& c : cases) {
        TBrkApart b;
        b.BaseString = c.base;
        b.BreakString = c.sep;
        b.BreakArrayChar = c.arrayChar;
        b.AllowEmptyString = c.allowEmpty;
        b.BreakApart();
        EXPECT_EQ(b.StringList().StringVector(), c.pieces) << c.name;
    }
}
