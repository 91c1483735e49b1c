#include "components/core/ComboCompletion.h"

#include <gtest/gtest.h>

TEST(ComboCompletion, RuleTable) {
    const std::vector<std::string> items = {"Alpha", "alphabet", "beta"};
    struct Case {
        const char* name;
        const char* typed;
        unsigned key, minLen;
        bool found;
        const char* rest;
    } cases[] = {
        {"first item wins", "al", 'L', 0, true, "pha"},
        {"longer prefix", "alphab", 'B', 0, true, "et"},
        {"case ignored", "BE", 'E', 0, true, "ta"},
        {"no match", "x", 'X', 0, false, ""},
        {"after backspace", "al", 8, 0, false, ""},
        {"after delete", "al", 46, 0, false, ""},
        {"under the minimum", "al", 'L', 3, false, ""},
        {"at the minimum", "alp", 'P', 3, true, "ha"},
        {"exact item", "beta", 'A', 0, true, ""},
    };
    for (const Case& c : cases) {
        const TCompletion r = FindCompletion(c.typed, items, c.key, c.minLen);
        EXPECT_EQ(r.Found, c.found) << c.name;
        EXPECT_EQ(r.CompleteWith, c.rest) << c.name;
    }
    EXPECT_FALSE(FindCompletion("a", {}, 'A', 0).Found);
}
