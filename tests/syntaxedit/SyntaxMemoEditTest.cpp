// Lines added one by one, edits the undo log does not hold, and the word
// moves over a long text, on the editor without its window.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "KeyboardActionContoller.h"
#include "MemoHarness.h"
#include "SM_Settings.h"

namespace {

std::vector<std::string> LinesOf(MemoHarness& m) {
    std::vector<std::string> out;
    for (int32_t i = 0, n = m.Lines.Count(); i < n; i++) out.push_back(m.Lines.Get(i));
    return out;
}

}  // namespace

// An empty line added after a line of text is a line of its own: the next
// line goes after it, not into it.
TEST(SyntaxMemoLines, EmptyLinesAddedStayLines) {
    using Lines = std::vector<std::string>;
    struct Row {
        const char* name;
        Lines added;
        const char* text;  // as stored, CR line ends
        Lines lines;
    } const rows[] = {
        {"empty between", {"a", "", "c"}, "a\r\rc", {"a", "", "c"}},
        {"two empty between", {"a", "", "", "d"}, "a\r\r\rd", {"a", "", "", "d"}},
        {"empty last", {"a", "b", ""}, "a\rb\r", {"a", "b", ""}},
        {"empty first", {"", "b"}, "\rb", {"", "b"}},
        {"no empty", {"a", "b", "c"}, "a\rb\rc", {"a", "b", "c"}},
    };
    for (const Row& row : rows) {
        MemoHarness m;
        for (const std::string& s : row.added) m.Lines.Add(s);
        EXPECT_EQ(m.Text(), row.text) << row.name;
        EXPECT_EQ(LinesOf(m), row.lines) << row.name;
    }
}

// Under word wrap the lines are laid out again (a new width, another wrap
// column, wrapping switched): no text changes, so an empty line added before
// stays a line and the next one goes after it.
TEST(SyntaxMemoLines, EmptyLineAddedStaysThroughARewrap) {
    struct Row {
        const char* name;
        std::function<void(TSyntaxMemoCore&)> relayout;
    } const rows[] = {
        {"narrower window", [](TSyntaxMemoCore& c) { c.SetClientSize(2 + 24 * 8, 160); }},
        {"another wrap column", [](TSyntaxMemoCore& c) { c.SetWrapAtColumn(25); }},
        {"wrap switched off", [](TSyntaxMemoCore& c) { c.SetOptions(c.Options() & ~smoWordWrap); }},
        {"wrap switched on again", [](TSyntaxMemoCore& c) {
             c.SetOptions(c.Options() & ~smoWordWrap);
             c.SetOptions(c.Options() | smoWordWrap);
         }},
    };
    const std::string longLine = "alpha beta gamma delta epsilon zeta eta theta";
    for (const Row& row : rows) {
        MemoHarness m;
        m.Core.Settings().Options &= ~smoShowGutter;
        m.Core.SetClientSize(2 + 30 * 8, 160);
        m.Core.SetOptions(m.Core.Options() | smoWordWrap);
        m.Lines.Add(longLine);
        m.Lines.Add("");
        row.relayout(m.Core);
        m.Lines.Add("c");
        EXPECT_EQ(m.Text(), longLine + "\r\rc") << row.name;
        int32_t n = m.Lines.Count();
        EXPECT_EQ(m.Lines.Get(n - 1), "c") << row.name;
        EXPECT_EQ(m.Lines.Get(n - 2), "") << row.name;
    }
}

// A text that ends with a line break of its own (as loaded) still takes the
// next line into its empty last line.
TEST(SyntaxMemoLines, LoadedFinalLineBreakTakesTheNextLine) {
    MemoHarness m;
    m.Lines.SetText("a\r\nb\r\n");
    m.Lines.Add("c");
    EXPECT_EQ(m.Text(), "a\rb\rc");
    // Held only while the text is as Add left it: an edit after it ends that.
    m.Lines.Add("");
    m.Core.SetSelection(0, 0);
    m.Core.InsertAtCaret("x");
    m.Lines.Add("d");
    EXPECT_EQ(m.Text(), "xa\rb\rc\rd");
}

// An edit that the undo log does not record (a read-only control, recording
// off) leaves the log's offsets stale: the log is emptied, so a later Undo
// cannot replay at the wrong place.
TEST(SyntaxMemoUndo, UnrecordedEditEmptiesTheLog) {
    struct Row {
        const char* name;
        std::function<void(MemoHarness&)> edit;
        const char* text;
    } const rows[] = {
        {"read-only insert", [](MemoHarness& m) { m.Lines.Insert(0, "123"); }, "123\rabcX"},
        {"read-only indent",
         [](MemoHarness& m) {
             m.Core.SetSelection(0, 2);
             m.Core.Message(SMM_INDENT, 2, 0);
         },
         "  abcX"},
        {"read-only put", [](MemoHarness& m) { m.Lines.Put(0, "zz"); }, "zz"},
    };
    for (const Row& row : rows) {
        MemoHarness m;
        m.Lines.Add("abc");
        m.Core.SetSelection(3, 3);
        ASSERT_TRUE(m.Core.TypeChar('X'));
        ASSERT_TRUE(m.Core.Undo().CanUndo()) << row.name;
        m.Core.ReadOnly = true;
        row.edit(m);
        m.Core.ReadOnly = false;
        EXPECT_FALSE(m.Core.Undo().CanUndo()) << row.name;
        m.Core.Message(smmsg::Undo, 0, 0);
        EXPECT_EQ(m.Text(), row.text) << row.name;
    }
    // Recording switched off: the same.
    MemoHarness m;
    m.Core.InsertAtCaret("abc");
    m.Core.Undo().Stop();
    m.Core.SetSelection(0, 0);
    m.Core.InsertAtCaret("1");
    m.Core.Undo().Start();
    EXPECT_FALSE(m.Core.Undo().CanUndo());
    // Undo and redo themselves are not recorded and keep the log.
    m.Core.InsertAtCaret("2");
    m.Core.Message(smmsg::Undo, 0, 0);
    EXPECT_EQ(m.Text(), "1abc");
    EXPECT_TRUE(m.Core.Undo().CanRedo());
    m.Core.Message(SMM_REDO, 0, 0);
    EXPECT_EQ(m.Text(), "12abc");
}

// Ctrl+Right and Ctrl+Left reach the next and previous word however much
// lies between, across line ends.
TEST(SyntaxMemoKeys, WordMovesReachAcrossLongGaps) {
    const std::string gap(5000, ' '), lines(3000, '\r');
    struct Row {
        const char* name;
        std::string text;
        int32_t caret;
        int32_t before, after;
    } const rows[] = {
        {"blanks", "one" + gap + "two", 0, 0, 3 + 5000},
        {"blanks back", "one" + gap + "two", 3 + 5000 + 3, 3 + 5000, 3 + 5000 + 3},
        {"line ends", "one" + lines + "two", 1, 0, 3 + 3000},
        {"line ends back", "one" + lines + "two", 3 + 3000, 0, 3 + 3000 + 3},
        {"in a word", "alpha beta", 7, 6, 10},
    };
    for (const Row& row : rows) {
        MemoHarness m;
        m.Core.InsertAtCaret(row.text);
        EXPECT_EQ(m.Core.WordStartBefore(row.caret), row.before) << row.name;
        EXPECT_EQ(m.Core.WordEndAfter(row.caret), row.after) << row.name;
    }
    // Through the commands, Ctrl+Backspace included.
    MemoHarness m;
    m.Core.InsertAtCaret("one" + gap + "two");
    m.Core.SetSelection(0, 0);
    m.Core.ExecuteCommand(caWORDRIGHT);
    EXPECT_EQ(m.Core.Caret(), 5003);
    m.Core.SetSelection(5006, 5006);
    m.Core.ExecuteCommand(caDELPREVWORD);
    EXPECT_EQ(m.Text(), "one" + gap);
    m.Core.ExecuteCommand(caDELPREVWORD);
    EXPECT_EQ(m.Text(), "");
}
