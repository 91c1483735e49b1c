#include <gtest/gtest.h>

#include <string>

#include "REParser.h"
#include "SysUtils.h"
#include "TextStore.h"

namespace {

const int32_t kEnd = -1;  // start the search at the end of the text

// "start,end", "none", "error: <text> @<place>" (compile) or "error: <text>" (search).
std::string SearchFor(TREParser& re, const std::string& pattern, const std::string& text, bool forward, int32_t from) {
    TTextStore store;
    store.InsertText(0, text);
    TEdStream stream(&store);
    stream.MoveTo(from == kEnd ? store.TextLength() : from);
    if (!re.SetPattern(pattern)) return "error: " + re.ErrorMessage() + " @" + std::to_string(re.ErrorPosition());
    try {
        if (!re.Search(&stream, forward)) return "none";
    } catch (const Exception& e) {
        return "error: " + e.Message();
    }
    return std::to_string(re.MatchStart()) + "," + std::to_string(re.MatchEnd());
}

std::string Times(const std::string& s, int n) {
    std::string r;
    for (int i = 0; i < n; i++) r += s;
    return r;
}

}  // namespace

TEST(REParser, Table) {
    const bool F = true, B = false;
    struct Case {
        const char* name;
        std::string pattern;
        std::string text;
        bool forward;
        int32_t from;
        const char* expected;
    } cases[] = {
        // name                      pattern             text              dir from  expected
        {"literal", "abc", "xxabcxx", F, 0, "2,5"},
        {"literal from the middle", "a", "aXa", F, 1, "2,3"},
        {"not there", "abd", "abcabc", F, 0, "none"},
        {"backwards from the end", "abc", "abcabc", B, kEnd, "3,6"},
        {"backwards tries the start first", "ab", "abab", B, 2, "2,4"},
        {"backwards to offset 0", "ab", "abab", B, 1, "0,2"},
        {"empty text forwards", "a", "", F, 0, "none"},
        {"empty text backwards", "a", "", B, kEnd, "none"},
        {"dot skips CR", "a.c", "a\rc abc", F, 0, "4,7"},
        {"letter or empty", "a|", "ax", F, 0, "0,1"},
        {"letter or empty: empty", "a|", "xa", F, 0, "0,0"},
        {"alternatives in order", "ab|a", "ab", F, 0, "0,2"},
        {"group alternatives", "x(ab|cd)y", "xcdy", F, 0, "0,4"},
        {"greedy star gives back", "a.*c", "abcbc", F, 0, "0,5"},
        {"star stops at CR", ".*", "ab\rcd", F, 0, "0,2"},
        {"star may be empty", "a*", "bbb", F, 0, "0,0"},
        {"plus", "b+", "abbbc", F, 0, "1,4"},
        {"plus needs one", "xb+", "xc xbb", F, 0, "3,6"},
        {"optional", "colou?r", "color colour", F, 1, "6,12"},
        {"group star", "x(ab)*y", "xababy", F, 0, "0,6"},
        {"group plus", "(ab)+", "abab", F, 0, "0,4"},
        {"quoted star", "\"ab\"*c", "ababc", F, 0, "0,5"},
        {"class range", "[a-c]+", "xxabcay", F, 0, "2,6"},
        {"negated class", "[^a-c]", "abcd", F, 0, "3,4"},
        {"negated class takes CR", "[^a]", "a\r", F, 0, "1,2"},
        {"dash first is a member", "[-a]+", "x-a-", F, 0, "1,4"},
        {"escaped bracket in class", "[\\]]", "a]", F, 0, "1,2"},
        {"escape in class range", "[\\x41-\\x43]+", "xABCD", F, 0, "1,4"},
        // The editor's rules: "\n" is the CR, "^" and "$" step over a CR and
        // also hold at the start of line 1 and the end of the last line.
        {"\\n is CR", "ab\\ncd", "ab\rcd", F, 0, "0,5"},
        {"\\N is CR too", "b\\N", "ab\rcd", F, 0, "1,3"},
        {"\\r is LF, not in the text", "b\\r", "ab\rcd", F, 0, "none"},
        {"^ on line 1", "^abc", "abc", F, 0, "0,3"},
        {"^ on line 2 takes the CR", "^abc", "x\rabc", F, 0, "1,5"},
        {"^ not inside a line", "^abc", "xabc", F, 0, "none"},
        {"^ backwards", "^b", "a\rb\rb", B, kEnd, "3,5"},
        {"^ backwards to line 1", "^a", "ab\rb", B, kEnd, "0,1"},
        {"$ steps over the CR", "cat$", "cat cat\rx", F, 0, "4,8"},
        {"$ at the end of the text", "abc$", "abc", F, 0, "0,3"},
        {"$ not inside a line", "abc$", "abcd", F, 0, "none"},
        {"empty line", "^$", "a\r\rb", F, 0, "1,3"},
        // Quoted literals.
        {"quoted specials", "\"a*b\"", "xa*b", F, 0, "1,4"},
        {"quoted escape", "\"a\\nb\"", "a\rb", F, 0, "0,3"},
        {"quoted empty", "x\"\"y", "xy", F, 0, "0,2"},
        {"quoted bar", "\"|\"", "a|b", F, 0, "1,2"},
        // Escapes.
        {"hex A", "\\x41", "zA", F, 0, "1,2"},
        {"hex one digit", "\\x9z", "\tz", F, 0, "0,2"},
        {"octal A", "\\101", "zA", F, 0, "1,2"},
        {"octal ends after three digits", "\\1010", "A0", F, 0, "0,2"},
        {"tab and space", "\\t\\s", "a\t b", F, 0, "1,3"},
        {"other escaped character", "\\.\\*", "a.*", F, 0, "1,3"},
        {"\\8 is a digit", "\\8", "x8", F, 0, "1,2"},
        // Compile errors, with the 1-based place.
        {"empty pattern", "", "abc", F, 0, "error: Invalid parameter @1"},
        {"open group", "(a", "a", F, 0, "error: Unmatched parenthesis @3"},
        {"stray close", "a)", "a", F, 0, "error: Unmatched parenthesis @2"},
        {"double star", "a**", "a", F, 0, "error: Nested repeat @3"},
        {"star question", "a*?", "a", F, 0, "error: Nested repeat @3"},
        {"leading star", "*a", "a", F, 0, "error: Invalid repeat @1"},
        {"star after bar", "a|+b", "a", F, 0, "error: Invalid repeat @3"},
        {"star of empty group", "(a*)*", "a", F, 0, "error: Invalid repeat @5"},
        {"star of anchor", "^*", "a", F, 0, "error: Invalid repeat @2"},
        {"star of empty literal", "\"\"*", "a", F, 0, "error: Invalid repeat @3"},
        {"reversed range", "[z-a]", "a", F, 0, "error: Invalid range @5"},
        {"dash before bracket", "[a-]", "a", F, 0, "error: Invalid range @4"},
        {"empty class", "[]", "a", F, 0, "error: Unmatched bracket @2"},
        {"empty negated class", "[^]", "a", F, 0, "error: Unmatched bracket @3"},
        {"open class", "[abc", "a", F, 0, "error: Unmatched bracket @5"},
        {"hex without digit", "\\xg", "a", F, 0, "error: Hex digit expected @3"},
        {"hex at the end", "a\\x", "a", F, 0, "error: Hex digit expected @4"},
        {"backslash at the end", "abc\\", "a", F, 0, "error: Unexpected end of input @5"},
        {"open quote", "\"abc", "a", F, 0, "error: ' expected @5"},
        {"ten groups", Times("(a)", 10), "a", F, 0, "error: Too many sub-expressions @29"},
        {"NUL in the pattern", std::string("a\0b", 3), "ab", F, 0, "error: Internal error @2"},
        {"program above 4096 bytes", Times("a", 1000), "a", F, 0, "error: Expression too complex @1"},
        // Codes that cannot sit in a zero-terminated operand are refused.
        {"octal zero", "a\\0", "a", F, 0, "error: Invalid range @4"},
        {"hex zero", "\\x00", "a", F, 0, "error: Invalid range @5"},
        {"octal 256", "\\400", "a", F, 0, "error: Invalid range @5"},
        {"octal 511", "\\777", "a", F, 0, "error: Invalid range @5"},
        {"zero in a class", "[\\x0-a]", "a", F, 0, "error: Invalid range @5"},
        {"zero in a literal", "\"a\\0\"", "a", F, 0, "error: Invalid range @5"},
        {"octal 255 is fine", "\\377", "a", F, 0, "none"},
        {"nine groups are fine", Times("(a)", 9), Times("a", 9), F, 0, "0,9"},
        // The position log: 255 entries and the end; one more is an error.
        {"255 elements", Times("a", 255), Times("a", 300), F, 0, "0,255"},
        {"256 elements", Times("a", 256), Times("a", 300), F, 0, "error: Index range error"},
        {"one entry for a run", "a+", Times("a", 100000), F, 0, "0,100000"},
        {"a loop fills the log", "(x)(ab)*", "x" + Times("ab", 200), F, 0, "error: Index range error"},
        {"group 1 is one entry a pass", "(ab)*", Times("ab", 200), F, 0, "0,400"},
        // Lines longer than a node are stored in pieces.
        {"literal past cut pieces", "zq", Times("a", 5000) + "zq", F, 0, "5000,5002"},
        {"line start past cut pieces", "^b", Times("a", 5000) + "\rb", F, 0, "5000,5002"},
        {"backwards across pieces", "zq", "zq" + Times("a", 5000), B, kEnd, "0,2"},
        {"long line, one try", "a.*z", "a" + Times("b", 100000) + "z", F, 0, "0,100002"},
        // Runaway backtracking ends with an error, not a hang.
        {"exponential alternation", "(a|aa)+b", Times("a", 60), F, 0, "error: Expression too complex"},
        {"nested plus", "(a+)+b", Times("a", 40), F, 0, "error: Expression too complex"},
        {"quadratic tries", "a.*b", Times("a", 200000), F, 0, "error: Expression too complex"},
    };
    for (const Case& c : cases) {
        TREParser re;
        EXPECT_EQ(SearchFor(re, c.pattern, c.text, c.forward, c.from), c.expected)
            << "row \"" << c.name << "\": " << c.pattern.substr(0, 40) << (c.forward ? " forward" : " backward");
    }
}

// Messages no pattern can produce still have their texts.
TEST(REParser, MessageTexts) {
    EXPECT_EQ(TREParser::MessageText(reNoErrors), "No errors detected");
    EXPECT_EQ(TREParser::MessageText(reNotFound), "Expression not found");
    EXPECT_EQ(TREParser::MessageText(reOutOfMemory), "Out of memory");
    EXPECT_EQ(TREParser::MessageText(reInternal), "Internal error");
    EXPECT_EQ(TREParser::MessageText(reNone), "");
}

TEST(REParser, SearchWithoutPatternOrStream) {
    TREParser re;
    TTextStore store;
    store.InsertText(0, "abc");
    TEdStream stream(&store);
    EXPECT_THROW(re.Search(&stream, true), Exception);
    EXPECT_EQ(re.ErrorMessage(), "Invalid parameter");
    ASSERT_TRUE(re.SetPattern("b"));
    EXPECT_THROW(re.Search(nullptr, true), Exception);
    EXPECT_EQ(re.ErrorCode(), reInvalidParameter);
    EXPECT_TRUE(re.Search(&stream, true));
    EXPECT_EQ(re.ErrorCode(), reNone);
}

TEST(REParser, SamePatternCompilesOnce) {
    TREParser re;
    ASSERT_TRUE(re.SetPattern("a+"));
    EXPECT_EQ(re.ErrorCode(), reNoErrors);
    TTextStore store;
    store.InsertText(0, "baa");
    TEdStream stream(&store);
    ASSERT_TRUE(re.Search(&stream, true));
    EXPECT_EQ(re.ErrorCode(), reNone);
    EXPECT_TRUE(re.SetPattern("a+"));
    EXPECT_EQ(re.ErrorCode(), reNone);  // not compiled again
    EXPECT_FALSE(re.SetPattern("a**"));
    EXPECT_EQ(re.Pattern(), "");
    EXPECT_TRUE(re.SetPattern("a+"));
    EXPECT_EQ(re.ErrorCode(), reNoErrors);
}

// Every element is one entry, group 1 one as a whole; the entries after the
// last are the match end.
TEST(REParser, MatchPositions) {
    TREParser re;
    TTextStore store;
    store.InsertText(0, "xx(ab)cd\"q\"");
    TEdStream stream(&store);
    ASSERT_TRUE(re.SetPattern("\\((.b)\\)c+[d]\"\\\"q\\\"\""));
    ASSERT_TRUE(re.Search(&stream, true));
    const int32_t expected[] = {2, 3, 5, 6, 7, 8, 11, 11};
    for (int i = 0; i < 8; i++) EXPECT_EQ(re.MatchPosition(i), expected[i]) << "entry " << i;
    EXPECT_EQ(re.LogCount(), 6);
    EXPECT_EQ(re.MatchPosition(255), 11);
    EXPECT_THROW(re.MatchPosition(256), Exception);
    EXPECT_THROW(re.MatchPosition(-1), Exception);
    stream.MoveTo(3);
    EXPECT_FALSE(re.Search(&stream, true));
    EXPECT_EQ(re.MatchPosition(0), -1);
}
