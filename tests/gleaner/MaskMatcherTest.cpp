#include <gtest/gtest.h>

#include "InfoDocument.h"
#include "MaskPattern.h"

namespace {

struct Case {
    const char* pattern;
    const char* text;
    int found;
    const char* capture;
    long position;  // match position afterwards; -1: not checked
};

void RunCases(const Case* cases, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        const Case& c = cases[i];
        InfoDocument d;
        d.SetText(c.text);
        std::string cap;
        MaskPattern p(c.pattern);
        EXPECT_TRUE(p.Valid()) << c.pattern << ": " << p.Error();
        EXPECT_EQ(d.FindNext(p, cap), c.found) << "pattern " << c.pattern << " text " << c.text;
        EXPECT_EQ(cap, c.capture) << "pattern " << c.pattern << " text " << c.text;
        if (c.position >= 0) {
            EXPECT_EQ(static_cast<long>(d.Position()), c.position) << "pattern " << c.pattern;
        }
    }
}

}  // namespace

TEST(MaskMatcher, Elements) {
    const Case cases[] = {
        // literals: folded in the comparison, not in the capture
        {"ab", "xAbc", 1, "Ab", 3},
        {"ab", "xyz", 0, "", -1},
        {"abc", "xab", 0, "", -1},
        {"\\u+ab", "xab", 1, "AB", 3},
        {"\\u+a\\u-b", "xab", 1, "Ab", 3},
        {"\\g+ab", "AB ab", 1, "ab", 5},
        {"\\g+a\\g-b", "aB", 1, "aB", 2},
        // capture off and on
        {"<\\w-\\*\\w+>", "<a href>", 1, "<>", 8},
        {"a\\w-bc", "abc", 1, "a", 3},
        // repeat: the first of a run is captured, or all with r on
        {"\\#-x", "---x", 1, "-x", 4},
        {"\\r+\\#-x", "---x", 1, "---x", 4},
        {"a\\#-b", "ab", 1, "ab", 2},
        {"a\\#\\b", "a\\\\b", 1, "a\\b", 4},
        // wildcard: shortest; at the end it takes the rest
        {"a\\*c", "abcbc", 1, "abc", 3},
        {"a\\*", "xabc", 1, "abc", 4},
        {"a\\*z", "abc", 0, "", -1},
        {"<\\*>\\*>", "<a><b>", 1, "<a><b>", 6},
        // any character, skipped character
        {"a\\?c", "abc", 1, "abc", 3},
        {"a\\~c", "abc", 1, "ac", 3},
        // insert, fail, end
        {"a\\<-b", "ab", 1, "a-b", 2},
        {"a\\!", "ab", 0, "", -1},
        {"ab\\ecd", "abz", 1, "ab", 2},
        {"ab\\ecd", "ab", 0, "", -1},  // the text ran out before the "\e" was read
        // other elements are ignored; a trailing lone backslash too
        {"a\\zb", "ab", 1, "ab", 2},
        {"ab\\", "abc", 1, "ab", 2},
        {"ab\\", "ab", 0, "", -1},  // the text ran out before the pattern did
        // one trailing space goes; a match that consumed nothing moves one on
        {"a b ", "xa b y", 1, "a b", 5},
        {"\\<x", "abc", 1, "x", 1},
        // choice stack
        {"\\s\\cab:\\<1\\e\\d:\\<2\\e", "b", 1, "1", 1},
        {"\\s\\cab:\\<1\\e\\d:\\<2\\e", "x", 1, "2", 1},
        {"\\s\\cAB:\\<1\\e\\d:\\<2\\e", "b", 1, "1", 1},
        {"\\g+\\s\\cAB:\\<1\\e\\d:\\<2\\e", "b", 1, "2", 1},
        {"\\s\\ca:x\\e\\?", "ax", 1, "x", 2},  // the choice's pattern fails at "a"
        {"\\s\\ca:a \\e\\?", "a b", 1, "ab", 3},  // its trailing space is dropped
        {"\\s\\~\\s\\cb:\\<B\\e\\d:\\<D\\e\\ca:\\<A\\e", "ab", 1, "BA", 1},  // pop, then the next entry
        {"\\s\\d:\\e", "ab", 0, "", -1},  // an empty default pattern never matches
        // a default with an empty stack takes only its letter
        {"\\d:b\\e", "x:by", 1, ":b", 3},
    };
    RunCases(cases, sizeof cases / sizeof cases[0]);
}

TEST(MaskMatcher, Hooks) {
    const Case cases[] = {
        {"\\al-:\\<#\\e\\*.", "a-b.", 1, "a#-b.", 4},
        {"\\ar-:\\<#\\e\\*.", "a-b.", 1, "a-#b.", 4},
        {"\\al-:\\<#\\e\\al-!\\*.", "a-b.", 1, "a-b.", 4},
        {"\\al-:\\<#\\e\\ar-:\\<%\\e\\al-~\\*.", "a-b.", 1, "a-%b.", 4},
        {"\\al-:\\<#\\e\\#-x", "--x", 1, "#-#x", 3},
        {"\\al-:\\<#\\ea-", "a-", 1, "a#-", 2},
        {"\\al-:\\<#\\ea\\?", "a-", 1, "a-", 2},  // "?" runs no hooks
        {"\\alB:\\<#\\eab", "ab", 1, "a#b", 2},  // the key is folded like the text
        // a failing hook makes the consuming step fail
        {"\\al-:\\!\\e\\*.", "a-b.", 1, "b.", 4},
        // a list edit that is not one
        {"\\ax-:\\<#\\ea", "a", 0, "", -1},
        {"\\al-?a", "a", 0, "", -1},
        {"\\al-:\\ea", "a", 0, "", -1},
    };
    RunCases(cases, sizeof cases / sizeof cases[0]);
}

TEST(MaskMatcher, SearchOrderAndPositions) {
    InfoDocument d;
    d.SetText("one two one three");
    MaskPattern p("o\\?e");
    std::string cap;
    ASSERT_EQ(d.FindNext(p, cap), 1);
    EXPECT_EQ(cap, "one");
    EXPECT_EQ(d.Position(), 3u);
    ASSERT_EQ(d.FindNext(p, cap), 1);
    EXPECT_EQ(d.Position(), 11u);
    EXPECT_EQ(d.FindNext(p, cap), 0);
    EXPECT_EQ(cap, "");
    EXPECT_EQ(d.Position(), d.Length());
    // Start positions can be held back (a download that is not complete).
    d.SetPosition(0);
    EXPECT_EQ(d.FindNext(p, cap, 8), 1);
    EXPECT_EQ(d.FindNext(p, cap, 8), 0);
    EXPECT_EQ(d.Position(), 8u);  // the next scan resumes at the first start not tried
    // A mask of "\!" or nothing is never searched; nor is an empty text or a stopped document.
    d.SetPosition(0);
    EXPECT_EQ(d.FindNext("\\!", cap), 0);
    EXPECT_EQ(d.FindNext("", cap), 0);
    d.StopFlag = 1;
    EXPECT_EQ(d.FindNext(p, cap), 0);
    InfoDocument empty;
    EXPECT_EQ(empty.FindNext("a", cap), 0);
}

// Malformed patterns get a clear error and never match; nothing is read past their end.
TEST(MaskMatcher, TruncatedPatternsAreErrors) {
    const char* bad[] = {"ab\\#", "ab\\<", "ab\\g", "\\u", "\\c:x", "\\cab", "\\d:x", "\\dx", "\\al-", "\\al-:x",
                         "\\s\\ca:\\ca:x\\e", "\\al-:\\e\\e\\c:"};
    for (const char* b : bad) {
        MaskPattern p(b);
        EXPECT_FALSE(p.Valid()) << b;
        EXPECT_FALSE(p.Error().empty()) << b;
        InfoDocument d;
        d.SetText("ab:x-xyz");
        std::string cap;
        EXPECT_EQ(d.FindNext(p, cap), 0) << b;
        EXPECT_EQ(d.LastError(), p.Error()) << b;
    }
    std::string deep;
    for (int i = 0; i < 100; ++i) deep += "\\d:";
    for (int i = 0; i < 100; ++i) deep += "\\e";
    EXPECT_FALSE(MaskPattern(deep).Valid());
    EXPECT_TRUE(MaskPattern("\\s\\ca:\\cb:\\<x\\e\\e").Valid());
}

// A hook that consumes its own key would call itself without end.
TEST(MaskMatcher, SelfConsumingHookIsBounded) {
    InfoDocument d;
    d.SetText("a-b.");
    std::string cap;
    EXPECT_EQ(d.FindNext("\\al-:-\\e\\*.", cap), 0);
    EXPECT_FALSE(d.LastError().empty());
    d.SetText("---");
    EXPECT_EQ(d.FindNext("\\ar-:\\#-\\e-", cap), 0);
    EXPECT_FALSE(d.LastError().empty());
}

// Nested wildcards over a text that never matches would take forever.
TEST(MaskMatcher, CostlyPatternGivesUp) {
    InfoDocument d;
    d.SetText(std::string(3000, 'a'));
    std::string cap;
    EXPECT_EQ(d.FindNext("a\\*a\\*a\\*a\\*a\\*a\\*z", cap), 0);
    EXPECT_NE(d.LastError().find("costly"), std::string::npos);
    // Sixteen pushes fill the stack; more are ignored.
    d.SetText(std::string(20, 'b'));
    std::string p;
    for (int i = 0; i < 20; ++i) p += "\\s\\~";
    p += "\\cb:\\<y\\e";
    EXPECT_EQ(d.FindNext(p, cap), 0);  // the text runs out before the choice
    d.SetText(std::string(21, 'b'));
    d.SetPosition(0);
    EXPECT_EQ(d.FindNext(p, cap), 1);
    EXPECT_EQ(cap, "y");
}

// The text can end before its last byte for a search: nothing at or past
// that end is read, and the match's start is reported.
TEST(MaskMatcher, TextEndBoundsTheMatch) {
    struct Row {
        const char* pattern;
        size_t textEnd;
        int found;
        const char* capture;
        size_t start;     // where the match began (when found)
        size_t position;  // afterwards
    };
    const Row rows[] = {
        {"a\\*c", 3, 0, "", 0, 3},    // "c" lies at the end
        {"a\\*c", 4, 1, "abc", 1, 4},
        {"a\\*", 3, 1, "ab", 1, 3},   // a trailing wildcard takes what is left before the end
        {"b\\?", 3, 0, "", 0, 3},
        {"x", 99, 0, "", 0, 6},       // an end past the text is the text's end
    };
    for (const Row& r : rows) {
        InfoDocument d;
        d.SetText("xabcbc");
        d.SetPosition(1);
        std::string cap;
        EXPECT_EQ(d.FindNext(MaskPattern(r.pattern), cap, SIZE_MAX, r.textEnd), r.found)
            << r.pattern << " ending at " << r.textEnd;
        EXPECT_EQ(cap, r.capture) << r.pattern << " ending at " << r.textEnd;
        if (r.found) {
            EXPECT_EQ(d.MatchStart(), r.start) << r.pattern << " ending at " << r.textEnd;
        }
        EXPECT_EQ(d.Position(), r.position) << r.pattern << " ending at " << r.textEnd;
    }
    // A search that starts past a shortened text finds nothing and stays where it was.
    InfoDocument d;
    d.SetText("abcabc");
    d.SetPosition(4);
    std::string cap;
    EXPECT_EQ(d.FindNext(MaskPattern("c"), cap, SIZE_MAX, 3), 0);
    EXPECT_EQ(d.Position(), 4u);
}

// A pattern that begins with a wildcard is not tried again from where an
// attempt that failed was in the same state: the result is the one every
// start position tried in turn gives, hooks, flags and choices included.
TEST(MaskMatcher, LeadingWildcardSkipsOnlyStartsThatMustFail) {
    const char* patterns[] = {
        "\\*</a>",
        "\\al<:\\w-\\e\\ar>:\\w+\\e\\*<\\# /A\\*>",  // a link's text
        "\\w-\\*>\\w+\\*\\w-</a>",
        "\\al-:\\g+\\e\\*ab",                        // a hook that makes the case count
        "\\ar<:\\s\\e\\*\\ca:x\\e\\d:\\<y\\e>",      // a hook that pushes a choice
        "\\al>:!\\e\\*a>",                           // a hook that fails
        "\\u+\\<[\\*b/",
        "\\ar/:\\ar/!\\e\\*//",                      // a hook that removes itself
    };
    const char alphabet[] = "<>/aAbx- ";
    unsigned seed = 7;
    auto next = [&] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    for (const char* pattern : patterns) {
        const MaskPattern p(pattern);
        ASSERT_TRUE(p.Valid()) << pattern;
        for (int round = 0; round < 300; ++round) {
            std::string text;
            for (size_t n = next() % 40; n > 0; --n) text += alphabet[next() % (sizeof alphabet - 1)];
            // One start position at a time: nothing can be skipped.
            long oneFound = 0;
            std::string oneCap;
            size_t oneStart = 0, onePos = text.size();
            InfoDocument one;
            one.SetText(text);
            for (size_t s = 0; s < text.size() && !oneFound; ++s) {
                one.SetPosition(s);
                oneFound = one.FindNext(p, oneCap, s + 1);
                oneStart = s;
                onePos = one.Position();
            }
            InfoDocument all;
            all.SetText(text);
            std::string cap;
            const long found = all.FindNext(p, cap);
            const std::string at = std::string(pattern) + " over \"" + text + "\"";
            ASSERT_EQ(found, oneFound) << at;
            ASSERT_EQ(cap, oneCap) << at;
            ASSERT_EQ(all.Position(), onePos) << at;
            if (found) {
                ASSERT_EQ(all.MatchStart(), oneStart) << at;
            }
        }
    }
}

// A link's text looked for over 200 KB without any "</a>": each start
// position would scan to the end again; the work stays in proportion to the text.
TEST(MaskMatcher, LeadingWildcardThatNeverMatchesCostsTheTextOnce) {
    std::string text;
    while (text.size() < 200000) text += "<b>word</b> more words ";
    InfoDocument d;
    d.SetText(text);
    std::string cap;
    EXPECT_EQ(d.FindNext(MaskPattern("\\al<:\\w-\\e\\ar>:\\w+\\e\\*<\\# /A\\*>"), cap), 0);
    EXPECT_EQ(d.LastError(), "");
    EXPECT_LT(d.StepsSpent(), 8 * text.size());
    EXPECT_EQ(d.Position(), text.size());
}
