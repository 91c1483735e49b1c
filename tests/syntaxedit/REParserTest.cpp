#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>
#include <vector>

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

namespace {

// A start set as text: its characters in order (a CR as "<CR>"), "all but"
// the missing ones when it holds most, "any" when nothing can be skipped;
// " +0" when a line start lets a match begin at the text's start.
std::string Render(const TREStart& s) {
    if (s.Anything()) return "any";
    std::string out;
    const bool most = s.Count() > 128;
    for (int c = 0; c < 256; c++)
        if (s.Has(static_cast<uint8_t>(c)) != most) out += c == 13 ? std::string("<CR>") : std::string(1, static_cast<char>(c));
    if (most) out = "all but " + out;
    return s.AtTextStart ? out + " +0" : out;
}

}  // namespace

TEST(REParser, StartSetTable) {
    struct Row {
        const char* name;
        const char* pattern;
        const char* first;   // what a match can start with
        const char* second;  // what its second character can be
    } rows[] = {
        {"literal", "abc", "a", "b"},
        {"a choice", "(zeta|theta)42", "tz", "eh"},
        {"a choice inside a choice", "(a|(b|c)d)e", "abc", "de"},
        {"a run", "[xyz]+q", "xyz", "qxyz"},
        {"a star prefix", "a*b", "ab", "any"},
        {"optional prefixes", "a?b?c", "abc", "any"},
        {"an optional group", "(ab)?c", "ac", "any"},
        {"a choice with a star", "(a|b*)c", "abc", "any"},
        {"a group run", "(ab)+c", "a", "b"},
        {"a group star", "(ab)*c", "ac", "any"},
        {"a class either case", "[Zz]eta", "Zz", "e"},
        {"an empty literal first", "\"\"xy", "x", "y"},
        {"a line start", "^ab", "<CR> +0", "a"},
        {"a line start after a star", "a*^b", "<CR>a +0", "<CR>ab"},
        {"a line end", "ab$", "a", "b"},
        {"a line end alone", "$", "<CR>", "any"},
        {"any character", ".x", "all but <CR>", "x"},
        {"a negated class", "[^a]b", "all but a", "b"},
        // Nothing to skip when a match can be empty.
        {"an empty alternative", "x|", "any", "any"},
        {"a star of a letter", "\\w*", "any", "any"},
        {"an optional group only", "(ab)?", "any", "any"},
        {"any run", ".*", "any", "any"},
    };
    for (const Row& r : rows) {
        TREParser re;
        ASSERT_TRUE(re.SetPattern(r.pattern)) << "row \"" << r.name << "\"";
        EXPECT_EQ(Render(re.StartSet()), r.first) << "row \"" << r.name << "\": " << r.pattern;
        EXPECT_EQ(Render(re.SecondSet()), r.second) << "row \"" << r.name << "\": " << r.pattern;
    }
}

namespace {

// "start,end" of the match that trying every position from `from` gives
// (forwards: the first that matches; backwards: the last), or "none".
std::string EveryPosition(const std::vector<int>& lengths, int from, bool forward) {
    const int n = static_cast<int>(lengths.size());
    for (int q = from; q >= 0 && q < n; q += forward ? 1 : -1)
        if (lengths[static_cast<size_t>(q)] >= 0)
            return std::to_string(q) + "," + std::to_string(q + lengths[static_cast<size_t>(q)]);
    return "none";
}

std::string Shown(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\r' ? std::string("\\r") : std::string(1, c);
    return out;
}

}  // namespace

// The search passes over positions that cannot start a match and over
// alternatives that cannot start at the character in hand; what it finds must
// be what trying every position finds (std::regex, which shares this
// grammar's meaning when no line anchors are used and line ends are CRs).
TEST(REParser, SkippingFindsWhatEveryPositionFinds) {
    struct Row {
        const char* name;
        const char* pattern;
        const char* ecma;  // the same pattern for std::regex
    } rows[] = {
        {"a choice first", "(ab|ta)z", "(ab|ta)z"},
        {"a choice of literals", "(zat|tab)b", "(zat|tab)b"},
        {"an optional choice", "(a|b)?t", "(a|b)?t"},
        {"a star first", "a*b", "a*b"},
        {"optional letters", "a?b?t", "a?b?t"},
        {"an empty alternative inside", "(a|)b", "(a|)b"},
        {"an empty alternative outside", "b|", "b|"},
        {"a run then a letter", "[ab]+z", "[ab]+z"},
        {"a negated class takes CR", "[^a]b", "[^a]b"},
        {"any character", ".b", ".b"},
        {"a group run", "(ab)+z", "(ab)+z"},
        {"a group star", "(ab)*t", "(ab)*t"},
        {"a choice with a star inside", "t(a|b*)z", "t(a|b*)z"},
        {"nested choices", "((a|b)t|z)a", "((a|b)t|z)a"},
        {"overlapping alternatives", "(a|ab)(t|bt)", "(a|ab)(t|bt)"},
        {"a class then a star", "[tz]a*b", "[tz]a*b"},
        {"a quoted literal", "\"ab\"t", "abt"},
        {"a line end character", "b\\nt", "b\\rt"},
        {"a CR first", "\\n(a|z)", "\\r(a|z)"},
        {"a choice of runs", "(a+|b+)t", "(a+|b+)t"},
        {"a star of everything", "a.*b", "a.*b"},
        {"a choice last", "z(a|b)+", "z(a|b)+"},
    };
    std::vector<std::string> texts = {"", "a", "ab", "tabz", "zatb", "tazab", "\rab\rz", "abababz", "bbbt"};
    std::mt19937 rng(25);
    const char alphabet[] = "abtz\r";
    for (int i = 0; i < 120; i++) {
        std::string t(rng() % 24, ' ');
        for (char& c : t) c = alphabet[rng() % 5];
        texts.push_back(t);
    }
    for (const Row& r : rows) {
        TREParser re;
        ASSERT_TRUE(re.SetPattern(r.pattern)) << "row \"" << r.name << "\"";
        const std::regex ecma(r.ecma);
        bool failed = false;
        for (const std::string& text : texts) {
            std::vector<int> lengths(text.size(), -1);  // the match at each position, -1 none
            for (size_t q = 0; q < text.size(); q++) {
                std::smatch m;
                if (std::regex_search(text.begin() + static_cast<std::ptrdiff_t>(q), text.end(), m, ecma,
                                      std::regex_constants::match_continuous))
                    lengths[q] = static_cast<int>(m.length(0));
            }
            TTextStore store;
            store.InsertText(0, text);
            TEdStream stream(&store);
            for (int from = 0; from < static_cast<int>(text.size()) && !failed; from++)
                for (bool forward : {true, false}) {
                    stream.MoveTo(from);
                    std::string got = re.Search(&stream, forward)
                                          ? std::to_string(re.MatchStart()) + "," + std::to_string(re.MatchEnd())
                                          : "none";
                    std::string want = EveryPosition(lengths, from, forward);
                    if (got == want) continue;
                    ADD_FAILURE() << "row \"" << r.name << "\": " << r.pattern << (forward ? " forward" : " backward")
                                  << " from " << from << " in \"" << Shown(text) << "\": " << got << ", not " << want;
                    failed = true;
                    break;
                }
        }
    }
}
