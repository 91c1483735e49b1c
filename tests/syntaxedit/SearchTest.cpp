#include <gtest/gtest.h>

#include <string>

#include "PlainSearch.h"
#include "StringScanner.h"
#include "TextStore.h"

namespace {

int32_t Find(const std::string& text, const std::string& pattern, bool wholeWord, bool matchCase, bool backward,
             int32_t start) {
    TTextStore s;
    s.InsertText(0, text);
    TEdStream e(&s);
    TSearchTables t;
    return FindText(nullptr, e, s.TextLength() - 1, t, wholeWord, matchCase, backward, start, pattern);
}

}  // namespace

TEST(PlainSearch, Cases) {
    const int32_t none = -1;  // stands for lastPos + 1
    struct Case {
        const char* text;
        const char* pattern;
        bool whole, matchCase, backward;
        int32_t start, expected;
    } cases[] = {
        {"hello world", "hello", false, true, false, 0, 0},    // at the very start
        {"hello world", "world", false, true, false, 0, 6},    // at the very end
        {"hello world", "WORLD", false, false, false, 0, 6},
        {"hello world", "WORLD", false, true, false, 0, none},
        {"ab\rcd", "b\rc", false, true, false, 0, 1},          // across a line break
        {"abc", "abcd", false, true, false, 0, none},          // longer than the text
        {"abcabc", "abc", false, true, false, 1, 3},
        {"abcabc", "abc", false, true, true, 6, 3},            // backwards: the last one first
        {"abcabc", "abc", false, true, true, 5, 0},
        {"abcabc", "ABC", false, false, true, 6, 3},
        {"abcabc", "abc", false, true, true, 2, none},
        {"xyzabcxyz", "abc", false, true, false, 0, 3},
        // Whole words, at both ends of the text and inside it.
        {"concat cat", "cat", true, true, false, 0, 7},
        {"cat concat", "cat", true, true, false, 0, 0},
        {"cat concat", "cat", true, true, true, 10, 0},
        {"concat cat", "cat", true, true, true, 10, 7},
        {"cats", "cat", true, true, false, 0, none},           // a word character follows at the end
        {"cats cat", "cat", true, true, false, 0, 5},
        {"ab", "b", true, true, false, 0, none},               // the last character, a word before it
        {"b", "b", true, true, false, 0, 0},
        {"a b", "b", true, true, true, 3, 2},
        {"ab", "b", true, true, true, 2, none},
        {"xa.a.a", "a.a", true, true, false, 0, 3},            // an overlapping whole word further on
        {".a.a", ".a", true, true, true, 4, 0},                // the same backwards
        {"cat", "cat", true, true, true, 3, 0},
        {"x", "", false, true, false, 0, none},
    };
    for (const Case& c : cases) {
        int32_t lastPos = static_cast<int32_t>(std::string(c.text).size()) - 1;
        int32_t expected = c.expected == none ? lastPos + 1 : c.expected;
        EXPECT_EQ(Find(c.text, c.pattern, c.whole, c.matchCase, c.backward, c.start), expected)
            << c.text << " / " << c.pattern << (c.backward ? " backward" : " forward") << (c.whole ? " whole" : "");
    }
}

TEST(PlainSearch, TablesFollowThePatternsCase) {
    TTextStore s;
    s.InsertText(0, "Hello WORLD world");
    TEdStream e(&s);
    TSearchTables t;
    int32_t last = s.TextLength() - 1;
    EXPECT_EQ(FindText(nullptr, e, last, t, false, false, false, 0, "WORLD"), 6);
    EXPECT_EQ(FindText(nullptr, e, last, t, false, true, false, 0, "world"), 12);
    EXPECT_EQ(t.Pattern, "world");
    EXPECT_EQ(t.ForwardExact[static_cast<uint8_t>('d')], 0);
    EXPECT_EQ(t.ForwardExact[static_cast<uint8_t>('w')], 4);
    EXPECT_EQ(t.ForwardExact[static_cast<uint8_t>('q')], 5);
    EXPECT_EQ(t.BackwardFolded[static_cast<uint8_t>('W')], 0);
}

TEST(PlainSearch, CustomWordCharacters) {
    TTextStore s;
    s.InsertText(0, "a$b $b");
    TEdStream e(&s);
    TSearchTables t;
    TWordTests words;
    words.IsInWord = [](uint8_t c) { return c == '$' || DefaultCharIsInWord(c); };
    EXPECT_EQ(FindText(&words, e, 5, t, true, true, false, 0, "b"), 6);
    EXPECT_EQ(FindText(nullptr, e, 5, t, true, true, false, 0, "b"), 2);
}

TEST(PlainSearch, SmallHelpers) {
    EXPECT_TRUE(SameBytes("abcdefgh1", "abcdefgh1", 9));
    EXPECT_FALSE(SameBytes("abcdefgh1", "abcdefgh2", 9));
    EXPECT_FALSE(SameBytes("xbcdefgh", "abcdefgh", 8));
    EXPECT_EQ(LowerAscii('Q'), 'q');
    EXPECT_EQ(LowerAscii('q'), 'q');
    EXPECT_EQ(LowerAscii(0xC4), 0xC4);
    EXPECT_EQ(Difference(3, 10), 7);
}

TEST(StringScanner, EmptyAndNonEmpty) {
    TStringScanner e("");
    EXPECT_TRUE(e.AtEnd());
    EXPECT_EQ(e.Current(), 0);
    EXPECT_EQ(e.Position, 0);
    TStringScanner s("ab");
    EXPECT_EQ(s.Position, 1);
    EXPECT_EQ(s.Current(), 'a');
    s.Next();
    EXPECT_EQ(s.Current(), 'b');
    s.Next();
    EXPECT_TRUE(s.AtEnd());
    s.Next();
    EXPECT_EQ(s.Position, 3);
    EXPECT_EQ(s.Current(), 0);
}
