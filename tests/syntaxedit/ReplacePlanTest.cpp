#include <gtest/gtest.h>

#include <string>

#include "ReplacePlan.h"
#include "SearchOptions.h"
#include "TextStore.h"

namespace {

// The text after applying the plan the way the control does: each item in
// turn at its At position.
std::string Apply(TTextStore& store, const TReplacePlan& plan) {
    for (const TReplaceItem& item : plan.Items) {
        EXPECT_EQ(store.GetText(item.At, item.At + item.Length).size(), static_cast<size_t>(item.Length));
        store.DeleteText(item.At, item.At + item.Length);
        store.InsertText(item.At, item.Text);
    }
    return store.GetText();
}

// Letters with no repeating period, so a part of it occurs only where it was put.
std::string Word(int n) {
    std::string r;
    uint32_t x = 12345;
    for (int i = 0; i < n; i++) {
        x = x * 1103515245u + 12345u;
        r += static_cast<char>('a' + (x >> 16) % 26);
    }
    return r;
}

std::string Times(const std::string& s, int n) {
    std::string r;
    for (int i = 0; i < n; i++) r += s;
    return r;
}

}  // namespace

TEST(ReplaceTemplate, Table) {
    struct Case {
        const char* name;
        const char* pattern;
        const char* text;
        const char* replaceTemplate;
        const char* expected;
    } cases[] = {
        // name                     pattern              text        template      expected
        {"two literals in order", "ab", "xab", "%1%2", "ab"},
        {"two literals swapped", "ab", "xab", "%2%1", "ba"},
        {"percent percent", "ab", "ab", "100%%", "100%"},
        {"percent at the end", "ab", "ab", "x%", "x%"},
        {"percent before a letter", "ab", "ab", "%a%", "a%"},
        {"percent zero", "ab", "ab", "%0", "0"},
        {"past the last element", "ab", "ab", "[%3]", "[]"},
        {"three digits at most", "ab", "ab", "%0011", "a1"},
        {"above 255", "ab", "ab", "%300", "300"},
        {"group 1 is one element", "(ab)c", "abc", "%2%1", "cab"},
        {"a run is one element", "a+b", "aaab", "%2-%1", "b-aaa"},
        {"swap name and number", "([a-z]+)=([0-9]+)", "key=42", "%3%2%1", "42=key"},
        {"quoted literal", "\"=>\"x", "=>x", "%2%1", "x=>"},
        {"CR and LF", "ab", "ab", "a\\nb\\rc", "a\rb\nc"},
        {"tab space bell", "ab", "ab", "\\t\\S\\b\\f", "\t \b\f"},
        {"backslash", "ab", "ab", "a\\\\b", "a\\b"},
        {"hex and octal", "ab", "ab", "\\x41\\101\\x4g", "AA\4g"},
        {"other escapes", "ab", "ab", "\\q\\%1", "q%1"},
        {"backslash at the end", "ab", "ab", "a\\", "a\\"},
        {"octal above 255 ends it", "ab", "ab", "a\\400b", "a"},
        {"hex without digit ends it", "ab", "ab", "a\\xzb", "a"},
        {"code 0 ends it", "ab", "ab", "a\\0b", "a"},
        {"match with a line break", "b\\nc", "ab\rcd", "%3%2%1", "c\rb"},
    };
    for (const Case& c : cases) {
        TTextStore store;
        store.InsertText(0, c.text);
        TEdStream stream(&store);
        TREParser re;
        ASSERT_TRUE(re.SetPattern(c.pattern)) << c.name;
        ASSERT_TRUE(re.Search(&stream, true)) << c.name;
        EXPECT_EQ(TReplacePlan::ExpandTemplate(c.replaceTemplate, re, stream), c.expected) << "row \"" << c.name << "\"";
    }
}

TEST(ReplacePlan, RegExprReplacementContainsTheWord) {
    TTextStore store;
    store.InsertText(0, "cat dog cat\rcat");
    TEdStream stream(&store);
    TREParser re;
    TReplacePlan plan;
    ASSERT_EQ(plan.PlanRegExpr(re, "\"cat\"", stream, true, "%1s"), TReplacePlan::rpPlanned);
    ASSERT_EQ(plan.Items.size(), 3u);
    EXPECT_EQ(plan.Items[1].Start, 8);
    EXPECT_EQ(plan.Items[1].At, 9);
    EXPECT_EQ(plan.Items[2].At, 14);
    EXPECT_EQ(Apply(store, plan), "cats dog cats\rcats");
    EXPECT_EQ(plan.CaretAfter(), 14);
}

TEST(ReplacePlan, RegExprSwapsElements) {
    TTextStore store;
    store.InsertText(0, "a=1 bb=22\rccc=333");
    TEdStream stream(&store);
    TREParser re;
    TReplacePlan plan;
    ASSERT_EQ(plan.PlanRegExpr(re, "([a-z]+)=([0-9]+)", stream, true, "%3%2%1"), TReplacePlan::rpPlanned);
    EXPECT_EQ(Apply(store, plan), "1=a 22=bb\r333=ccc");
}

TEST(ReplacePlan, RegExprBackwardsFromTheStream) {
    TTextStore store;
    store.InsertText(0, "ab ab ab");
    TEdStream stream(&store);
    stream.MoveTo(5);
    TREParser re;
    TReplacePlan plan;
    ASSERT_EQ(plan.PlanRegExpr(re, "ab", stream, false, "xyz"), TReplacePlan::rpPlanned);
    ASSERT_EQ(plan.Items.size(), 2u);
    EXPECT_EQ(plan.Items[0].Start, 3);
    EXPECT_EQ(plan.Items[0].At, 3);  // nothing before it has changed
    EXPECT_EQ(plan.Items[1].At, 0);
    EXPECT_EQ(Apply(store, plan), "xyz xyz ab");
}

// A backward match that runs into the one after it would replace text twice.
TEST(ReplacePlan, RegExprBackwardsSkipsOverlaps) {
    TTextStore store;
    store.InsertText(0, "aaa");
    TEdStream stream(&store);
    stream.MoveTo(3);
    TREParser re;
    TReplacePlan plan;
    ASSERT_EQ(plan.PlanRegExpr(re, "aa", stream, false, "b"), TReplacePlan::rpPlanned);
    ASSERT_EQ(plan.Items.size(), 1u);
    EXPECT_EQ(Apply(store, plan), "ab");
}

TEST(ReplacePlan, RegExprOutcomes) {
    TTextStore store;
    store.InsertText(0, "aab " + Times("a", 60));
    TEdStream stream(&store);
    TREParser re;
    TReplacePlan plan;
    EXPECT_EQ(plan.PlanRegExpr(re, "a*", stream, true, "x"), TReplacePlan::rpPlanned);
    EXPECT_EQ(plan.Items.size(), 1u);  // stops at the empty match before "b"
    stream.MoveTo(0);
    EXPECT_EQ(plan.PlanRegExpr(re, "a**", stream, true, "x"), TReplacePlan::rpBadPattern);
    EXPECT_EQ(RegExprErrorText(re, "a**"), "Nested repeat\na**\n  ^");
    EXPECT_EQ(plan.PlanRegExpr(re, "q", stream, true, "x"), TReplacePlan::rpNotFound);
    stream.MoveTo(0);
    EXPECT_EQ(plan.PlanRegExpr(re, "(a|aa)+c", stream, true, "x"), TReplacePlan::rpSearchError);
    EXPECT_TRUE(plan.Items.empty());
    EXPECT_EQ(RegExprErrorText(re, "(a|aa)+c"), "Expression too complex\n(a|aa)+c");
}

TEST(ReplacePlan, PlainReplacementContainsTheWord) {
    TTextStore store;
    store.InsertText(0, "a cat, a concat, a cat");
    TEdStream stream(&store);
    TSearchTables tables;
    TReplacePlan plan;
    ASSERT_EQ(plan.PlanPlain(stream, tables, nullptr, "cat", true, true, 0, "cat and cat"), TReplacePlan::rpPlanned);
    EXPECT_EQ(Apply(store, plan), "a cat and cat, a concat, a cat and cat");
    EXPECT_EQ(plan.CaretAfter(), 27);
    TTextStore other;
    other.InsertText(0, "Cat cat");
    TEdStream otherStream(&other);
    ASSERT_EQ(plan.PlanPlain(otherStream, tables, nullptr, "CAT", false, false, 1, "dog"), TReplacePlan::rpPlanned);
    EXPECT_EQ(Apply(other, plan), "Cat dog");
    EXPECT_EQ(plan.PlanPlain(otherStream, tables, nullptr, "", false, false, 0, "dog"), TReplacePlan::rpNotFound);
}

// Search texts are used whole: a text that only shares its first 79 (plain)
// or 254 (regular expression) characters with the document is not found.
TEST(ReplacePlan, LongSearchTextsAreNotCut) {
    std::string word = Word(300);
    TTextStore store;
    store.InsertText(0, word.substr(0, 260) + "\r" + word);
    TEdStream stream(&store);
    TSearchTables tables;
    TReplacePlan plan;
    ASSERT_EQ(plan.PlanPlain(stream, tables, nullptr, word.substr(0, 100), false, true, 0, "x"),
              TReplacePlan::rpPlanned);
    EXPECT_EQ(plan.Items.size(), 2u);
    ASSERT_EQ(plan.PlanPlain(stream, tables, nullptr, word, false, true, 0, "x"), TReplacePlan::rpPlanned);
    ASSERT_EQ(plan.Items.size(), 1u);
    EXPECT_EQ(plan.Items[0].Start, 261);
    TREParser re;
    stream.MoveTo(0);
    ASSERT_EQ(plan.PlanRegExpr(re, "\"" + word + "\"", stream, true, "x"), TReplacePlan::rpPlanned);
    ASSERT_EQ(plan.Items.size(), 1u);
    EXPECT_EQ(plan.Items[0].Start, 261);
    // Too long for the program: refused with a message, not cut.
    stream.MoveTo(0);
    EXPECT_EQ(plan.PlanRegExpr(re, Times("\"" + word + "\"", 14), stream, true, "x"), TReplacePlan::rpBadPattern);
    EXPECT_EQ(re.ErrorMessage(), "Expression too complex");
}

TEST(SearchOptions, FlagsAndTexts) {
    struct Case {
        uint32_t flags;
        bool atOnce, matchCase, regExpr, wholeWord, backward;
    } cases[] = {
        {0x08, true, false, false, false, false}, {0x10, false, true, false, false, false},
        {0x20, false, false, true, false, false}, {0x40, false, false, false, true, false},
        {0x80, false, false, false, false, true}, {0xF8, true, true, true, true, true},
        {0x07, false, false, false, false, false},
    };
    for (const Case& c : cases) {
        TSearchOptions o = TSearchOptions::FromFlags(c.flags);
        EXPECT_EQ(o.FindAtOnce, c.atOnce) << std::hex << c.flags;
        EXPECT_EQ(o.MatchCase, c.matchCase) << std::hex << c.flags;
        EXPECT_EQ(o.RegExpr, c.regExpr) << std::hex << c.flags;
        EXPECT_EQ(o.WholeWord, c.wholeWord) << std::hex << c.flags;
        EXPECT_EQ(o.Backward, c.backward) << std::hex << c.flags;
        EXPECT_EQ(o.Flags(), c.flags & 0xF8) << std::hex << c.flags;
    }
    EXPECT_EQ(SearchFailText("abc"), "Search string \"abc\" not found.");
    EXPECT_EQ(ReplaceQuestionText("a", "b"), "Replace this occurence of 'a' with 'b' ?");
}
