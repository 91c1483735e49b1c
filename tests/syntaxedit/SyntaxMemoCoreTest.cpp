#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "EditorKeys.h"
#include "KeyboardActionContoller.h"
#include "MemoHarness.h"
#include "SM_Settings.h"
#include "StringList.h"
#include "SyntaxMemoErrors.h"
#include "UndoStack.h"

namespace {

const TColor kRed = 0x0000FF, kWhite = 0xFFFFFF, kGreen = 0x008000;

intptr_t Send(MemoHarness& m, uint32_t msg, intptr_t w = 0, intptr_t l = 0) {
    return m.Core.Message(msg, static_cast<uintptr_t>(w), l);
}

// The FTP log's write: add a line, then colour line Count + 1.
void LogLine(MemoHarness& m, const std::string& s, TColor text) {
    m.Lines.Add(s);
    int32_t n = m.Lines.Count();
    m.Core.SetLineTextColor(n + 1, text);
    m.Core.SetLineBackColor(n + 1, m.Core.DefBackColor());
}

}  // namespace

TEST(SyntaxMemoLines, FirstAddGoesInAloneAndTakesItsColour) {
    MemoHarness m;
    EXPECT_EQ(m.Lines.Count(), 0);
    LogLine(m, "220 ready", kRed);
    EXPECT_EQ(m.Text(), "220 ready");
    EXPECT_EQ(m.Lines.Count(), 1);
    EXPECT_EQ(m.Core.Store().Head()->TextColor, kRed);
    LogLine(m, "USER x", kGreen);
    EXPECT_EQ(m.Text(), "220 ready\rUSER x");
    EXPECT_EQ(m.Lines.Count(), 2);
    EXPECT_EQ(m.Core.Store().LineAt(0)->TextColor, kRed);
    EXPECT_EQ(m.Core.Store().LineAt(1)->TextColor, kGreen);
}

TEST(SyntaxMemoLines, CountWithoutWindowIsZero) {
    MemoHarness m;
    m.Window = false;
    EXPECT_EQ(m.Lines.Count(), 0);
}

TEST(SyntaxMemoLines, InsertDeleteGetAndAddStrings) {
    MemoHarness m;
    m.Lines.Add("a");
    m.Lines.Insert(0, "x");
    EXPECT_EQ(m.Text(), "x\ra");
    m.Lines.Delete(1);  // the last line goes with its line break
    EXPECT_EQ(m.Text(), "x");
    EXPECT_EQ(m.Lines.Count(), 1);
    m.Lines.Delete(0);
    EXPECT_EQ(m.Text(), "");
    EXPECT_EQ(m.Lines.Count(), 0);
    m.Lines.Delete(5);  // missing: nothing
    m.Lines.Add(std::string(5000, 'q'));
    EXPECT_EQ(m.Lines.Get(0), std::string(2047, 'q'));  // one piece of the cut line
    m.Lines.AddStrings({"one", "two"});
    EXPECT_EQ(m.Lines.Get(0), "one");
    EXPECT_EQ(m.Lines.Get(1), "two");
    EXPECT_EQ(m.Lines.Text(), "one\r\ntwo\r\n");
    m.Lines.Clear();
    EXPECT_EQ(m.Lines.Count(), 0);
}

// A harness whose Lines reach the editor itself for whole-text loading.
struct LoadingHarness : MemoHarness {
    TSyntaxMemoCore* TargetCore() override { return &Core; }
};

TEST(SyntaxMemoLines, AssignReplacesTextColoursAndHistory) {
    LoadingHarness m;
    LogLine(m, "old one", kRed);
    LogLine(m, "old two", kGreen);
    Send(m, smmsg::SetSel, 3, 3);
    Send(m, smmsg::ReplaceSel, 1, reinterpret_cast<intptr_t>("typed"));
    ASSERT_NE(Send(m, smmsg::CanUndo), 0);
    ASSERT_NE(Send(m, SMM_MODIFIED), 0);

    TStringList list;
    list.Add("first");
    list.Add("");
    list.Add("third");
    m.Lines.Assign(list);
    EXPECT_EQ(m.Lines.Text(), "first\r\n\r\nthird\r\n");
    EXPECT_EQ(m.Lines.Get(0), "first");
    EXPECT_EQ(m.Lines.Get(2), "third");
    // New lines: no colour left over from the old text.
    EXPECT_EQ(m.Core.Store().LineAt(0)->TextColor, -1);
    EXPECT_EQ(m.Core.Store().LineAt(1)->TextColor, -1);
    EXPECT_EQ(Send(m, smmsg::CanUndo), 0);
    EXPECT_EQ(Send(m, SMM_MODIFIED), 0);
    EXPECT_EQ(m.Core.Anchor(), 0);
    EXPECT_EQ(m.Core.Caret(), 0);
    EXPECT_TRUE(m.Core.Redraw());  // the update is over

    // From another editor's Lines, and an empty list empties the text.
    LoadingHarness other;
    other.Lines.Add("x");
    other.Lines.Add("y");
    m.Lines.Assign(other.Lines);
    EXPECT_EQ(m.Lines.Text(), "x\r\ny\r\n");
    m.Lines.Assign(m.Lines);  // itself: unchanged
    EXPECT_EQ(m.Lines.Text(), "x\r\ny\r\n");
    m.Lines.Assign(std::vector<std::string>());
    EXPECT_EQ(m.Lines.Count(), 0);
    EXPECT_EQ(m.Text(), "");
}

TEST(SyntaxMemoMessages, Table) {
    MemoHarness m;
    m.Core.Settings().Options &= ~smoShowGutter;
    EXPECT_EQ(Send(m, smmsg::GetLineCount), 1);
    EXPECT_EQ(Send(m, smmsg::LineIndex, 0), 0);
    EXPECT_EQ(Send(m, smmsg::LineIndex, 1), -1);
    m.Lines.Add("abc");
    m.Lines.Add("defghi");
    EXPECT_EQ(Send(m, smmsg::LineIndex, 1), 4);
    EXPECT_EQ(Send(m, smmsg::LineIndex, 2), -1);
    EXPECT_EQ(Send(m, smmsg::LineIndex, 99), -1);
    EXPECT_EQ(Send(m, smmsg::LineLength, 0), 3);
    char buf[8] = {};
    uint16_t cap = 2;
    memcpy(buf, &cap, 2);
    EXPECT_EQ(Send(m, smmsg::GetLine, 1, reinterpret_cast<intptr_t>(buf)), 2);
    EXPECT_EQ(std::string(buf, 2), "de");
    EXPECT_EQ(Send(m, smmsg::GetLine, 7, reinterpret_cast<intptr_t>(buf)), 0);
    EXPECT_EQ(Send(m, smmsg::GetLine, 0, 0), 0);  // null buffer
    Send(m, smmsg::SetSel, 0, -1);
    EXPECT_EQ(m.Core.Anchor(), 0);
    EXPECT_EQ(m.Core.Caret(), 10);
    Send(m, smmsg::SetSel, 3, 500);  // clamped
    EXPECT_EQ(m.Core.Caret(), 10);
    int32_t a = -5, c = -5;
    EXPECT_EQ(Send(m, smmsg::GetSel, reinterpret_cast<intptr_t>(&a), reinterpret_cast<intptr_t>(&c)), 3 | (10 << 16));
    EXPECT_EQ(a, 3);
    EXPECT_EQ(c, 10);
    EXPECT_EQ(Send(m, smmsg::GetSel, 0, 0), 3 | (10 << 16));  // null pointers are fine
    // WM_GETTEXT into a short buffer: capacity - 1 characters and a NUL.
    char small[6];
    memset(small, 'Z', sizeof small);
    EXPECT_EQ(Send(m, smmsg::GetText, 5, reinterpret_cast<intptr_t>(small)), 4);
    EXPECT_STREQ(small, "abc\r");
    EXPECT_EQ(small[5], 'Z');
    EXPECT_EQ(Send(m, smmsg::GetText, 0, reinterpret_cast<intptr_t>(small)), 0);
    EXPECT_EQ(Send(m, smmsg::GetTextLength), 11);
    // EM_CHARFROMPOS: a point through lParam, inside and outside.
    int32_t pt[2] = {2 + 8 * 2, 16}, first[2] = {2 + 8, 0}, outside[2] = {1000, 0};
    EXPECT_EQ(Send(m, smmsg::CharFromPos, 0, reinterpret_cast<intptr_t>(pt)), 4 + 2);
    EXPECT_EQ(Send(m, smmsg::CharFromPos, 0, reinterpret_cast<intptr_t>(first)), 1);
    EXPECT_EQ(Send(m, smmsg::CharFromPos, 0, reinterpret_cast<intptr_t>(outside)), -1);
}

TEST(SyntaxMemoMessages, FiveThousandCharactersGivePiecesWithContinuation) {
    MemoHarness m;
    std::string s(5000, 'x');
    Send(m, smmsg::ReplaceSel, 0, reinterpret_cast<intptr_t>(s.c_str()));
    TTextStore& st = m.Core.Store();
    ASSERT_EQ(st.LineCount(), 3);
    EXPECT_EQ(st.LineAt(0)->Len, 2047);
    EXPECT_EQ(st.LineAt(1)->Len, 2047);
    EXPECT_EQ(st.LineAt(2)->Len, 906);
    EXPECT_EQ(st.LineAt(0)->GutterMarks & gmContinuation, 0);
    EXPECT_EQ(st.LineAt(1)->GutterMarks & gmContinuation, gmContinuation);
    EXPECT_EQ(st.LineAt(2)->GutterMarks & gmContinuation, gmContinuation);
    EXPECT_EQ(st.CheckInvariants(), "");
}

TEST(SyntaxMemoMessages, ColourInheritanceOnInsert) {
    MemoHarness m;
    m.Lines.Add("hello");
    m.Core.SetLineTextColor(1, kRed);
    m.Core.SetLineBackColor(1, kWhite);
    Send(m, smmsg::SetSel, 5, 5);
    Send(m, smmsg::ReplaceSel, 0, reinterpret_cast<intptr_t>("!"));
    EXPECT_EQ(m.Core.Store().Head()->TextColor, kRed);
    Send(m, smmsg::SetSel, 2, 2);
    Send(m, smmsg::ReplaceSel, 0, reinterpret_cast<intptr_t>("a\rb"));
    EXPECT_EQ(m.Core.Store().LineAt(0)->TextColor, kRed);
    EXPECT_EQ(m.Core.Store().LineAt(1)->TextColor, -1);
}

TEST(SyntaxMemoMessages, DeletionsKeepMarksInOrderAndInside) {
    MemoHarness m;
    m.Lines.Add("abcdef");
    m.Core.SetSelection(5, 2);
    m.Core.ReplaceSelection("", 0);
    EXPECT_EQ(m.Core.Anchor(), 2);
    EXPECT_EQ(m.Core.Caret(), 2);
    m.Core.SetSelection(100, -3);
    EXPECT_EQ(m.Core.Anchor(), 3);
    EXPECT_EQ(m.Core.Caret(), 0);
}

TEST(SyntaxMemoMessages, SetLineStylesIsBoundedAndAllocates) {
    MemoHarness m;
    m.Lines.Add("abc");
    m.Lines.Add("de");
    uint8_t styles[4] = {1, 2, 3, 4};
    int32_t range[3] = {0, -1, 4};  // 4 bytes: line 0 (4 with CR) only
    EXPECT_EQ(Send(m, SMM_SETLINESTYLES, reinterpret_cast<intptr_t>(range), reinterpret_cast<intptr_t>(styles)), 4);
    ASSERT_NE(m.Core.Store().LineAt(0)->Styles, nullptr);
    EXPECT_EQ(m.Core.Store().LineAt(0)->Styles[2], 3);
    EXPECT_EQ(m.Core.Store().LineAt(1)->Styles, nullptr);
    EXPECT_EQ(Send(m, SMM_SETLINESTYLES, 0, reinterpret_cast<intptr_t>(styles)), 0);
}

TEST(SyntaxMemoMessages, UndoLogAndClipboardFormatName) {
    MemoHarness m;
    EXPECT_STREQ(reinterpret_cast<const char*>(Send(m, SMM_CLIPFORMATNAME)), "<TSyntaxMemo>:2.00.02");
    TUndoStack* own = m.Core.Undo().Log();
    EXPECT_EQ(reinterpret_cast<TUndoStack*>(Send(m, SMM_UNDOLOG)), own);
    // Another log records the edits from now on; the own one keeps its past.
    m.Core.InsertAtCaret("a");
    TUndoStack shared;
    Send(m, SMM_UNDOLOG, 1, reinterpret_cast<intptr_t>(&shared));
    EXPECT_EQ(reinterpret_cast<TUndoStack*>(Send(m, SMM_UNDOLOG)), &shared);
    int32_t ownSize = own->Size;
    m.Core.InsertAtCaret("b");
    EXPECT_GT(shared.Size, 0);
    EXPECT_EQ(own->Size, ownSize);
    EXPECT_EQ(Send(m, smmsg::CanUndo), 1);
    Send(m, smmsg::Undo);
    EXPECT_EQ(m.Text(), "a");
    // No log at all: edits still work and nothing can be undone.
    Send(m, SMM_UNDOLOG, 1, 0);
    m.Core.InsertAtCaret("c");
    EXPECT_EQ(m.Text(), "ac");
    EXPECT_EQ(Send(m, smmsg::CanUndo), 0);
    Send(m, smmsg::Undo);
    EXPECT_EQ(m.Text(), "ac");
    Send(m, SMM_UNDOLOG, 1, reinterpret_cast<intptr_t>(own));
}

TEST(SyntaxMemoProperties, TabDefaultAndTabColumns) {
    MemoHarness m;
    EXPECT_THROW(m.Core.SetTabDefault(0), ESyntaxMemo);
    EXPECT_THROW(m.Core.SetTabDefault(-4), ESyntaxMemo);
    EXPECT_EQ(m.Core.TabDefault(), 4);
    m.Core.SetTabColumns("5 9;13");
    EXPECT_EQ(m.Core.TabColumns(), "5 9 13");
    EXPECT_THROW(m.Core.SetTabColumns("9 5"), ESyntaxMemo);
    EXPECT_THROW(m.Core.SetTabColumns("1"), ESyntaxMemo);
    EXPECT_EQ(m.Core.TabColumns(), "5 9 13");
    EXPECT_THROW(m.Core.SetActiveParser(7), ESyntaxMemo);
    EXPECT_EQ(m.Core.ActiveParser(), 1);
}

TEST(SyntaxMemoProperties, LineColourNumbersClamp) {
    MemoHarness m;
    m.Core.SetLineBackColor(1, kRed);  // empty: nothing
    m.Lines.Add("a");
    m.Lines.Add("b");
    m.Lines.Add("c");
    m.Core.SetLineBackColor(0, 1);
    EXPECT_EQ(m.Core.Store().LineAt(0)->BackColor, 1);
    m.Core.SetLineBackColor(1000, 2);
    EXPECT_EQ(m.Core.Store().LineAt(2)->BackColor, 2);
}

TEST(SyntaxMemoUndo, ReadOnlyControlKeepsNoUndoOfItsLog) {
    MemoHarness m;
    m.Core.ReadOnly = true;
    for (int i = 0; i < 100; i++) m.Lines.Add("line " + std::to_string(i));
    EXPECT_FALSE(m.Core.Undo().CanUndo());
    EXPECT_EQ(m.Core.Undo().Log()->Size, 0);
    MemoHarness e;
    e.Lines.Add("x");
    EXPECT_TRUE(e.Core.Undo().CanUndo());
}

TEST(SyntaxMemoPaint, LineColoursSelectionHighlightOffDisabled) {
    MemoHarness m;
    m.Core.Settings().Options &= ~smoShowGutter;
    LogLine(m, "red", kRed);
    LogLine(m, "plain", kGreen);
    m.Core.Store().LineAt(1)->BackColor = -1;  // no own colours: style 0
    int x0 = 2;                                 // the margin
    CellSurface s(8, 16);
    m.Core.Paint(s);
    EXPECT_EQ(s.At(0, x0).ch, 'r');
    EXPECT_EQ(s.At(0, x0).text, kRed);
    EXPECT_EQ(s.At(0, x0).back, kWhite);
    EXPECT_EQ(s.At(1, x0).text, 0);
    EXPECT_EQ(s.FillAt(0, 0), kWhite);  // margin
    // A selection in the first line.
    m.Core.SetSelection(1, 2);
    CellSurface sel(8, 16);
    m.Core.Paint(sel);
    EXPECT_EQ(sel.At(0, x0 + 8).back, m.Core.Settings().SelTextBack);
    EXPECT_EQ(sel.At(0, x0).back, kWhite);
    m.Core.SetSelection(0, 0);
    m.Core.Settings().Options &= ~smoSyntaxHighlight;
    CellSurface off(8, 16);
    m.Core.Paint(off);
    EXPECT_EQ(off.At(0, x0).text, 0);
    m.Core.Settings().Options |= smoSyntaxHighlight;
    m.Enabled = false;
    CellSurface dis(8, 16);
    m.Core.Paint(dis);
    EXPECT_EQ(dis.At(0, x0).back, 12632256);
}

TEST(SyntaxMemoPaint, TabExpansion) {
    MemoHarness m;
    m.Core.Settings().Options &= ~smoShowGutter;
    m.Core.InsertAtCaret("\ta\tb");
    EXPECT_EQ(m.Core.ExpandLine(m.Core.Store().Head()), "    a   b");
    m.Core.SetTabColumns("5 9");
    EXPECT_EQ(m.Core.ExpandLine(m.Core.Store().Head()), "    a   b");
    m.Core.InsertAtCaret("\tc");
    EXPECT_EQ(m.Core.ExpandLine(m.Core.Store().Head()), "    a   b   c");
    EXPECT_EQ(m.Core.TextLeft(), 2);
}

TEST(SyntaxMemoLayout, WrapWidthsAndLongWords) {
    struct Case {
        const char* name;
        int clientCols;
        int32_t wrapAt;
        int32_t width;
    } cases[] = {{"60 columns", 60, 0, 56}, {"20 columns", 20, 0, 20}, {"fixed column 10", 60, 10, 20}};
    for (const Case& c : cases) {
        MemoHarness m;
        m.Core.Settings().Options &= ~smoShowGutter;
        m.Core.Settings().WrapAtColumn = c.wrapAt;
        m.Core.SetClientSize(2 + c.clientCols * 8, 160);
        EXPECT_EQ(m.Core.WrapWidth(), c.width) << c.name;
    }
    MemoHarness m;
    m.Core.Settings().Options &= ~smoShowGutter;
    m.Core.SetClientSize(2 + 20 * 8, 160);
    m.Core.SetOptions(m.Core.Options() | smoWordWrap);
    m.Core.InsertAtCaret("alpha beta gamma delta epsilon " + std::string(50, 'w') + " end");
    TTextStore& st = m.Core.Store();
    EXPECT_EQ(st.CheckInvariants(), "");
    for (TLineNode* n = st.Head(); n; n = n->Next) EXPECT_LE(n->Len, 20) << std::string(n->Text, n->Len);
    EXPECT_EQ(std::string(st.Head()->Text, st.Head()->Len), "alpha beta gamma ");
    EXPECT_EQ(st.GetText(), "alpha beta gamma delta epsilon " + std::string(50, 'w') + " end");
    // The long word is cut at the width.
    EXPECT_EQ(st.LineAt(2)->Len, 20);
}

TEST(SyntaxMemoLayout, FortyThousandLinesScaleTheScrollRange) {
    MemoHarness m;
    std::string text;
    for (int i = 0; i < 40000; i++) text += "l\r";
    text.pop_back();
    m.Core.InsertAtCaret(text);
    TScrollValues v = m.Core.VerticalScroll();
    EXPECT_EQ(v.Scale, 2);
    EXPECT_EQ(v.Max, 20000);
    m.Core.UpdateScrollBars();
    EXPECT_EQ(m.Bars[true][0], 20000);
}

TEST(SyntaxMemoKeys, MovementWithAndWithoutShift) {
    struct Case {
        const char* name;
        uint16_t key;
        uint8_t shift;
        int32_t anchor, caret;
    } cases[] = {
        {"right", vkRight, 0, 5, 5},        {"shift right", vkRight, ssShift, 4, 5},
        {"left", vkLeft, 0, 3, 3},          {"home", vkHome, 0, 0, 0},
        {"shift end", vkEnd, ssShift, 4, 6}, {"down", vkDown, 0, 11, 11},
        {"shift down", vkDown, ssShift, 4, 11}, {"ctrl end", vkEnd, ssCtrl, 13, 13},
        {"ctrl+shift home", vkHome, ssCtrl | ssShift, 4, 0}, {"ctrl right", vkRight, ssCtrl, 7, 7},
    };
    for (const Case& c : cases) {
        MemoHarness m;
        m.Core.InsertAtCaret("abc de\rfghijk");
        m.Core.SetSelection(4, 4);
        EXPECT_TRUE(m.Core.HandleKey(c.key, c.shift)) << c.name;
        EXPECT_EQ(m.Core.Anchor(), c.anchor) << c.name;
        EXPECT_EQ(m.Core.Caret(), c.caret) << c.name;
    }
}

TEST(SyntaxMemoKeys, PageKeysMoveTheViewByAPage) {
    // 100 lines, 10 rows shown: the view moves by the page with the caret.
    struct Case {
        const char* name;
        int32_t caretLine, topLine;
        uint16_t key;
        uint8_t shift;
        int32_t wantCaretLine, wantTop;
        bool extended;
        bool columnTrack = true;  // off: the caret lands at the line's start
    } cases[] = {
        {"down from the top", 0, 0, vkNext, 0, 10, 10, false},
        {"down again", 10, 10, vkNext, 0, 20, 20, false},
        {"up", 25, 20, vkPrior, 0, 15, 10, false},
        {"up stops at the first line", 4, 3, vkPrior, 0, 0, 0, false},
        {"down near the end", 95, 90, vkNext, 0, 99, 90, false},
        {"down on the last line: nothing", 99, 90, vkNext, 0, 99, 90, false},
        {"up on the first line: nothing", 0, 0, vkPrior, 0, 0, 0, false},
        {"shift down extends", 0, 0, vkNext, ssShift, 10, 10, true},
        {"without column tracking", 0, 0, vkNext, 0, 10, 10, false, false},
    };
    for (const Case& c : cases) {
        MemoHarness m;
        std::string text;
        for (int i = 0; i < 100; i++) text += "line " + std::to_string(i) + (i < 99 ? "\r" : "");
        m.Core.InsertAtCaret(text);
        if (!c.columnTrack) m.Core.SetOptions(m.Core.Options() & ~smoColumnTrack);
        int32_t at = m.Core.Store().LineStart(c.caretLine) + 2;
        m.Core.SetSelection(at, at);
        m.Core.ScrollTo(0, c.topLine);
        ASSERT_EQ(m.Core.TopLine(), c.topLine) << c.name;
        EXPECT_TRUE(m.Core.HandleKey(c.key, c.shift)) << c.name;
        EXPECT_EQ(m.Core.LineOfOffset(m.Core.Caret()), c.wantCaretLine) << c.name;
        int32_t column = m.Core.Caret() - m.Core.Store().LineStart(c.wantCaretLine);
        EXPECT_EQ(column, c.columnTrack || c.wantCaretLine == c.caretLine ? 2 : 0) << c.name;
        EXPECT_EQ(m.Core.TopLine(), c.wantTop) << c.name;
        EXPECT_EQ(m.Core.Anchor() != m.Core.Caret(), c.extended) << c.name;
    }
}

TEST(SyntaxMemoKeys, RecognisedCommandCanBeChanged) {
    MemoHarness m;
    m.Core.InsertAtCaret("abc");
    m.Core.SetSelection(1, 1);
    std::vector<int32_t> seen;
    m.Core.OnCommandRecognised = [&](int32_t& command) {
        seen.push_back(command);
        if (command == caLEFT) command = caDOCEND;
    };
    EXPECT_TRUE(m.Core.HandleKey(vkLeft, 0));
    EXPECT_EQ(m.Core.Caret(), 3);  // ran Document end instead
    EXPECT_TRUE(m.Core.HandleKey('K', ssCtrl));  // a prefix is no command yet
    EXPECT_TRUE(m.Core.HandleKey('3', 0));
    EXPECT_EQ(seen, (std::vector<int32_t>{caLEFT, caSETBOOKMARK0 + 3}));
    EXPECT_EQ(m.Core.BookmarkLine(3), 0);
}

TEST(SyntaxMemoKeys, TwoStrokeBookmarksTypingAutoIndentOverwrite) {
    MemoHarness m;
    m.Core.InsertAtCaret("  one\r\rthree");
    m.Core.SetSelection(6, 6);  // the empty line
    EXPECT_TRUE(m.Core.HandleKey('K', ssCtrl));
    EXPECT_TRUE(m.Core.HandleKey('3', 0));
    EXPECT_EQ(m.Core.BookmarkLine(3), 1);
    m.Core.SetSelection(0, 0);
    EXPECT_TRUE(m.Core.HandleKey('Q', ssCtrl));
    EXPECT_TRUE(m.Core.HandleKey('3', ssShift));
    EXPECT_EQ(m.Core.Caret(), 6);  // the start of the empty line, not before it
    m.Core.SetSelection(5, 5);
    EXPECT_TRUE(m.Core.TypeChar('\r'));
    EXPECT_EQ(m.Core.Store().GetText(0, 9), "  one\r  \r");
    m.Core.InsertMode = false;
    m.Core.SetSelection(2, 2);
    m.Core.TypeChar('O');
    EXPECT_EQ(m.Core.Store().GetText(0, 5), "  One");
    m.Core.ReadOnly = true;
    EXPECT_FALSE(m.Core.TypeChar('x'));
}

TEST(SyntaxMemoKeys, WordSelectAndPointMapping) {
    MemoHarness m;
    m.Core.Settings().Options &= ~smoShowGutter;
    m.Core.InsertAtCaret("hello world\rnext");
    m.Core.SelectWordAt(8);
    EXPECT_EQ(m.Core.Anchor(), 6);
    EXPECT_EQ(m.Core.Caret(), 11);
    EXPECT_EQ(m.Core.OffsetOfPoint(2 + 8 * 2, 16 + 3), 14);
    int32_t x, y;
    m.Core.PointOfOffset(14, x, y);
    EXPECT_EQ(x, 2 + 16);
    EXPECT_EQ(y, 16);
}

TEST(SyntaxMemoKeys, WordStartAndEndWithTheDefaultAndOwnWordTests) {
    struct Case {
        const char* name;
        const char* text;
        int32_t caret;
        bool ownTests;  // digits start words, "-" is not in one
        int32_t start, end;
    } cases[] = {
        {"inside a word", "alpha beta", 8, false, 6, 10},
        {"at a word's start", "alpha beta", 6, false, 0, 10},
        {"between words", "alpha  beta", 6, false, 0, 7},
        {"offset 0", "alpha", 0, false, 0, 5},
        {"only blanks before", "   alpha", 2, false, -1, 3},
        {"a digit cannot start a word", "x 9abc", 6, false, 3, 6},
        {"own tests: a digit starts one", "x 9abc", 6, true, 2, 6},
        {"default: a hyphen is in a word", "re-do it", 5, false, 0, 6},
        {"own tests: the hyphen splits", "re-do it", 5, true, 3, 6},
    };
    for (const Case& c : cases) {
        MemoHarness m;
        if (c.ownTests) {
            m.Core.fn_CharIsInWord = [](uint8_t ch) { return isalnum(ch) != 0; };
            m.Core.fn_CharStartsWord = [](uint8_t ch) { return isalnum(ch) != 0; };
        }
        m.Core.InsertAtCaret(c.text);
        EXPECT_EQ(m.Core.WordStartBefore(c.caret), c.start) << c.name;
        EXPECT_EQ(m.Core.WordEndAfter(c.caret), c.end) << c.name;
    }
    // No word before the caret: Ctrl+Left stays, Ctrl+Backspace takes nothing.
    MemoHarness m;
    m.Core.InsertAtCaret("   alpha");
    m.Core.SetSelection(2, 2);
    EXPECT_TRUE(m.Core.HandleKey(vkLeft, ssCtrl));
    EXPECT_EQ(m.Core.Caret(), 2);
    EXPECT_TRUE(m.Core.HandleKey(vkBack, ssCtrl));
    EXPECT_EQ(m.Text(), "   alpha");
}

TEST(SyntaxMemoLayout, WordBreakKindsAndItsHandler) {
    MemoHarness m;
    const char* t = "ab  cd\xA0" "ef";
    struct Case {
        int32_t pos, kind, want;
    } cases[] = {
        {5, 0, 4}, {1, 0, 0}, {2, 0, 4}, {3, 0, 4}, {7, 0, 7},  // 160 is a blank
        {0, 1, 4}, {4, 1, 7}, {7, 1, 9},
        {2, 2, 1}, {0, 2, 0}, {6, 2, 1}, {0, 9, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(m.Core.WordBreak(t, c.pos, c.kind, 9), c.want) << c.pos << " kind " << c.kind;
    m.Core.OnWordBreakProc = [](const char*, int32_t pos, int32_t kind, int32_t) { return kind == 0 ? pos : -5; };
    EXPECT_EQ(m.Core.WordBreak(t, 5, 0, 9), 5);
    EXPECT_EQ(m.Core.WordBreak(t, 5, 1, 9), -5);
    // The wrap asks the handler where a piece ends: here, at the width itself.
    m.Core.Settings().Options &= ~smoShowGutter;
    m.Core.SetClientSize(2 + 20 * 8, 160);
    m.Core.SetOptions(m.Core.Options() | smoWordWrap);
    m.Core.InsertAtCaret("alpha beta gamma delta epsilon");
    EXPECT_EQ(std::string(m.Core.Store().Head()->Text, m.Core.Store().Head()->Len), "alpha beta gamma del");
}

TEST(SyntaxMemoLayout, WrapBreaksAtBlanksAndHonoursTheOverride) {
    struct Case {
        const char* name;
        const char* text;
        bool override;
        const char* firstPiece;
        int32_t pieces;
    } cases[] = {
        // 20 columns; no piece passes the width, its blanks included.
        {"a word across the width moves down", "twenty characters okay then", false, "twenty characters ", 2},
        {"a hard space breaks too", "twenty\xA0" "characters\xA0" "okay", false, "twenty\xA0" "characters\xA0", 2},
        {"a quoted line stays whole", "> quoted text that is longer than twenty", true, nullptr, 1},
        {"the override needs the option", "> quoted text that is longer than twenty", false, "> quoted text that ", 3},
        {"other lines still wrap", "plain text that is longer than twenty", true, "plain text that is ", 2},
    };
    for (const Case& c : cases) {
        MemoHarness m;
        m.Core.Settings().Options &= ~smoShowGutter;
        m.Core.SetClientSize(2 + 20 * 8, 160);
        int32_t opts = m.Core.Options() | smoWordWrap;
        m.Core.SetOptions(c.override ? opts | smoWrapOverride : opts & ~smoWrapOverride);
        m.Core.InsertAtCaret(c.text);
        TTextStore& st = m.Core.Store();
        EXPECT_EQ(st.CheckInvariants(), "") << c.name;
        EXPECT_EQ(st.LineCount(), c.pieces) << c.name;
        if (c.firstPiece) {
            EXPECT_EQ(std::string(st.Head()->Text, st.Head()->Len), c.firstPiece) << c.name;
        }
        EXPECT_EQ(st.GetText(), c.text) << c.name;
    }
}

TEST(SyntaxMemoKeys, EditingCommandTable) {
    struct Case {
        const char* name;
        uint16_t key;
        uint8_t shift;
        int32_t anchor, caret;
        const char* want;
    } cases[] = {
        {"Ctrl+Y takes the caret's line and its break", 'Y', ssCtrl, 5, 5, "one\rthree"},
        {"Ctrl+Y on the last line", 'Y', ssCtrl, 10, 10, "one\rtwo\r"},
        {"Ctrl+Y with a selection does nothing", 'Y', ssCtrl, 1, 5, "one\rtwo\rthree"},
        {"Backspace at 0 does nothing", vkBack, 0, 0, 0, "one\rtwo\rthree"},
        {"Delete at the end does nothing", vkDelete, 0, 13, 13, "one\rtwo\rthree"},
        {"Delete joins lines", vkDelete, 0, 3, 3, "onetwo\rthree"},
        {"Backspace takes the selection", vkBack, 0, 1, 6, "oo\rthree"},
    };
    for (const Case& c : cases) {
        MemoHarness m;
        m.Core.InsertAtCaret("one\rtwo\rthree");
        m.Core.SetSelection(c.anchor, c.caret);
        EXPECT_TRUE(m.Core.HandleKey(c.key, c.shift)) << c.name;
        EXPECT_EQ(m.Text(), c.want) << c.name;
    }
}

TEST(SyntaxMemoKeys, VerticalMovesAroundAFinalLineBreak) {
    struct Case {
        const char* name;
        const char* text;
        int32_t caret;
        uint16_t key;
        int32_t want;
    } cases[] = {
        {"down from the last line ending in CR: the text end", "ab\rcd\r", 4, vkDown, 6},
        {"down at the text end: unchanged", "ab\rcd\r", 6, vkDown, 6},
        {"up from after the final CR: the last line's start", "ab\rcd\r", 6, vkUp, 3},
        {"up from after a single line's CR: 0", "ab\r", 3, vkUp, 0},
        {"home after the final CR: nothing", "ab\rcd\r", 6, vkHome, 6},
        {"end: before the CR", "ab\rcd\r", 3, vkEnd, 5},
        {"up on the first line: unchanged", "ab\rcd", 1, vkUp, 1},
        {"down to a last line without CR", "ab\rcd", 1, vkDown, 4},
        {"down on a last line without CR: unchanged", "ab\rcd", 4, vkDown, 4},
    };
    for (const Case& c : cases) {
        MemoHarness m;
        m.Core.InsertAtCaret(c.text);
        m.Core.SetSelection(c.caret, c.caret);
        EXPECT_TRUE(m.Core.HandleKey(c.key, 0)) << c.name;
        EXPECT_EQ(m.Core.Caret(), c.want) << c.name;
    }
}

TEST(SyntaxMemoKeys, ShiftExtendsTheMovementKeysOfTheMapInForce) {
    MemoHarness m;
    m.Core.InsertAtCaret("ab\rcd");
    const uint16_t vkF6 = 117;
    m.Core.Settings().KeyController->AddKey(vkF6, 0, caDOWN);
    m.Core.SetSelection(1, 1);
    // Until the settings are applied, Shift stays part of the key: no binding.
    EXPECT_FALSE(m.Core.HandleKey(vkF6, ssShift));
    Send(m, SMM_SETTINGSCHANGED);
    EXPECT_TRUE(m.Core.HandleKey(vkF6, ssShift));
    EXPECT_EQ(m.Core.Anchor(), 1);
    EXPECT_EQ(m.Core.Caret(), 4);
    EXPECT_TRUE(m.Core.HandleKey(vkLeft, ssShift));  // the default keys still extend
    EXPECT_EQ(m.Core.Anchor(), 1);
    EXPECT_EQ(m.Core.Caret(), 3);
}
