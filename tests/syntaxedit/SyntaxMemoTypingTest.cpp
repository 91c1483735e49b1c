// Typing on the editor without its window: filling with blanks, TAB to the
// next tab stop or to a word of a line above, line breaks with auto-indent.
#include <gtest/gtest.h>

#include <string>

#include "MemoHarness.h"
#include "SM_Settings.h"

namespace {

const int32_t kNoOptions = 0;

void Start(MemoHarness& m, const std::string& text, int32_t caret, int32_t options, int32_t tab = 4) {
    m.Core.Settings().Options = options;
    m.Core.SetTabDefault(tab);
    m.Core.InsertAtCaret(text);
    m.Core.Undo().Clear();
    m.Core.SetSelection(caret, caret);
}

// One key typed at caret into text under options.
struct TypingCase {
    const char* name;
    int32_t options;
    std::string text;
    int32_t caret;
    std::string expected;
};

}  // namespace

TEST(SyntaxMemoTyping, FillUsesTabsOnlyWithUseTabAndSmartFill) {
    struct Case {
        int32_t options, tab, from, to;
        const char* expected;
    } cases[] = {
        {smoUseTAB | smoSmartFill, 8, 0, 10, "\t  "},
        {smoUseTAB | smoSmartFill, 4, 1, 9, "\t\t "},
        {smoUseTAB | smoSmartFill, 4, 5, 8, "\t"},
        {smoUseTAB | smoSmartFill, 4, 5, 7, "  "},
        {smoUseTAB, 8, 0, 10, "          "},
        {smoSmartFill, 8, 0, 10, "          "},
        {smoUseTAB | smoSmartFill, 4, 6, 6, ""},
        {smoUseTAB | smoSmartFill, 4, 6, 2, ""},
    };
    for (const Case& c : cases) {
        MemoHarness m;
        Start(m, "", 0, c.options, c.tab);
        EXPECT_EQ(m.Core.FillText(c.from, c.to), c.expected) << c.options << " " << c.from << ".." << c.to;
    }
}

TEST(SyntaxMemoTyping, TabGoesToTheNextWordAboveOrTheNextTabStop) {
    const int32_t smart = smoTabToColumn;
    const TypingCase cases[] = {
        {"word start above", smart, "foo  bar\r", 9, "foo  bar\r     "},
        {"inside a word", smart, "foo  bar\rx", 10, "foo  bar\rx    "},
        {"short line passed over", smart, "one two three\rab\rxyzw", 21, "one two three\rab\rxyzw    "},
        {"line ending first: its last character", smart, "abc  defgh\rabcdef", 17, "abc  defgh\rabcdef   "},
        {"nothing further above: next tab stop", smart, "ab cd\rabcd", 10, "ab cd\rabcd    "},
        {"first line: next tab stop", smart, "ab", 2, "ab  "},
        {"smart fill uses TABs", smart | smoUseTAB | smoSmartFill, "abcdefg hij\r", 12, "abcdefg hij\r\t\t"},
        {"plain TAB with smoUseTAB", smoUseTAB, "ab", 2, "ab\t"},
        {"plain TAB when wrapping", smart | smoUseTAB | smoWordWrap, "foo  bar\r", 9, "foo  bar\r\t"},
        {"tab stop without either", kNoOptions, "foo  bar\rx", 10, "foo  bar\rx   "},
    };
    for (const TypingCase& c : cases) {
        MemoHarness m;
        Start(m, c.text, c.caret, c.options);
        EXPECT_TRUE(m.Core.TypeChar('\t')) << c.name;
        EXPECT_EQ(m.Text(), c.expected) << c.name;
        EXPECT_EQ(m.Core.Caret(), static_cast<int32_t>(c.expected.size())) << c.name;
        m.Core.Undo().Undo();
        EXPECT_EQ(m.Text(), c.text) << c.name << ": one undo takes the whole gap";
    }
}

TEST(SyntaxMemoTyping, LineBreakCarriesTheIndentAsDisplayWidth) {
    const TypingCase cases[] = {
        {"blanks copied", smoAutoIndent, "    foo", 7, "    foo\r    "},
        {"as TABs with smart fill", smoAutoIndent | smoUseTAB | smoSmartFill, "    foo", 7, "    foo\r\t"},
        {"a TAB becomes its width", smoAutoIndent, "\tfoo", 4, "\tfoo\r    "},
        {"no more than the caret's position", smoAutoIndent, "    foo", 2, "  \r    foo"},
        {"text at the line start: none", smoAutoIndent, "foo", 0, "\rfoo"},
        {"empty line: the line above", smoAutoIndent, "  a\r\r", 4, "  a\r\r  \r"},
        {"blank lines above skipped", smoAutoIndent, "  a\r \r", 6, "  a\r \r\r  "},
        {"first line empty", smoAutoIndent, "", 0, "\r"},
        {"without auto-indent", kNoOptions, "    foo", 7, "    foo\r"},
    };
    for (const TypingCase& c : cases) {
        MemoHarness m;
        Start(m, c.text, c.caret, c.options);
        EXPECT_TRUE(m.Core.TypeChar('\r')) << c.name;
        EXPECT_EQ(m.Text(), c.expected) << c.name;
        m.Core.Undo().Undo();
        EXPECT_EQ(m.Text(), c.text) << c.name << ": one undo takes break and indent";
    }
}

TEST(SyntaxMemoTyping, ControlCharactersAndOverwrite) {
    MemoHarness m;
    Start(m, "abc", 1, kNoOptions);
    EXPECT_FALSE(m.Core.TypeChar('\n'));   // Enter is the break while the control wants returns
    EXPECT_FALSE(m.Core.TypeChar('\x7f'));  // Ctrl+Backspace's character
    EXPECT_FALSE(m.Core.TypeChar('\x02'));
    EXPECT_EQ(m.Text(), "abc");
    m.Core.WantReturns = false;
    EXPECT_FALSE(m.Core.TypeChar('\r'));
    EXPECT_TRUE(m.Core.TypeChar('\n'));  // Ctrl+Enter
    EXPECT_EQ(m.Text(), "a\rbc");
    // Overwrite replaces the character under the caret, never the line's CR.
    m.Core.InsertMode = false;
    m.Core.SetSelection(0, 0);
    EXPECT_TRUE(m.Core.TypeChar('X'));
    EXPECT_TRUE(m.Core.TypeChar('Y'));
    EXPECT_EQ(m.Text(), "XY\rbc");
}

// The gutter takes 0 or 34 pixels and up, at most a fifth of the client width.
TEST(SyntaxMemoLayout, GutterWidthsOutsideTheirRangeAreIgnored) {
    struct Case {
        int32_t clientWidth, value, expected;
    } cases[] = {
        {300, 20, 34}, {300, 1, 34},  {300, 33, 34},  {300, 0, 0},    {300, 61, 61},
        {300, 63, 34}, {300, -1, 34}, {0, 40, 34},    {1000, 200, 200}, {1000, 210, 34},
    };
    for (const Case& c : cases) {
        MemoHarness m;
        m.Core.Settings().Options |= smoShowGutter;
        m.Core.Settings().Gutter = 34;
        m.Core.SetClientSize(c.clientWidth, 160);
        int32_t cols = m.Core.VisibleCols();
        m.Bars.clear();
        m.Core.SetGutter(c.value);
        EXPECT_EQ(m.Core.Gutter(), c.expected) << c.clientWidth << " " << c.value;
        EXPECT_EQ(m.Core.TextLeft(), m.Core.Margin() + c.expected);
        if (c.expected != 34) {
            EXPECT_EQ(m.Bars[false].at(1), m.Core.VisibleCols()) << "the scroll bar's page follows";
            EXPECT_NE(m.Core.VisibleCols(), cols);
        }
    }
}
