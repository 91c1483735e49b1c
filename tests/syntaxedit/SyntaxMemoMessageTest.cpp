// Messages that carry points, counts and streams, and the tab-stop limits,
// on the editor without its window.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "MemoHarness.h"
#include "SM_Settings.h"
#include "Stream.h"
#include "SyntaxMemoErrors.h"

namespace {

intptr_t Send(MemoHarness& m, uint32_t msg, uintptr_t w = 0, intptr_t l = 0) { return m.Core.Message(msg, w, l); }
intptr_t Packed(int x, int y) { return (x & 0xFFFF) | ((y & 0xFFFF) << 16); }

std::string Numbered(int lines) {
    std::string s;
    for (int i = 0; i < lines; i++) s += "line " + std::to_string(i) + (i + 1 < lines ? "\r" : "");
    return s;
}

// Two lines, no gutter: text from x = 2, cells of 8 by 16.
struct PointMemo : MemoHarness {
    PointMemo() {
        Core.Settings().Options &= ~smoShowGutter;
        Core.InsertAtCaret("abc\rdefghi");
    }
};

}  // namespace

// EM_CHARFROMPOS reads its point through lParam only; EM_POSFROMCHAR writes
// through wParam only when it holds an address (a standard caller passes a
// character index there).
TEST(SyntaxMemoMessages, PointsTravelWhereTheMessagesSay) {
    PointMemo m;
    int32_t inside[2] = {2 + 8 * 2, 16}, right[2] = {1000, 0}, above[2] = {10, -1};
    struct Row {
        const char* name;
        uintptr_t w;
        intptr_t l;
        intptr_t result;
    } const rows[] = {
        {"point in lParam", 0, reinterpret_cast<intptr_t>(inside), 4 + 2},
        {"wParam not read", reinterpret_cast<uintptr_t>(right), reinterpret_cast<intptr_t>(inside), 4 + 2},
        {"right of the client", 0, reinterpret_cast<intptr_t>(right), -1},
        {"above the client", 0, reinterpret_cast<intptr_t>(above), -1},
        {"no point", reinterpret_cast<uintptr_t>(inside), 0, -1},
        {"packed, not an address", 0, Packed(18, 0), -1},
    };
    for (const Row& row : rows) EXPECT_EQ(Send(m, smmsg::CharFromPos, row.w, row.l), row.result) << row.name;

    int32_t pt[2] = {-7, -7};
    EXPECT_EQ(Send(m, smmsg::PosFromChar, reinterpret_cast<uintptr_t>(pt), 6), Packed(18, 16));
    EXPECT_EQ(pt[0], 18);
    EXPECT_EQ(pt[1], 16);
    // A standard caller: the index in wParam, nothing written through it.
    EXPECT_EQ(Send(m, smmsg::PosFromChar, 6, 0), Packed(18, 16));
    EXPECT_EQ(Send(m, smmsg::PosFromChar, 0, 6), Packed(18, 16));
    EXPECT_EQ(Send(m, smmsg::PosFromChar, 0, 0), Packed(2, 0));
}

// EM_LINESCROLL with counts of any size ends at the first or last line and
// column, never wrapping round.
TEST(SyntaxMemoMessages, LineScrollCountsOfAnySize) {
    const int32_t kLast = -1;  // the last column the range allows
    struct Row {
        const char* name;
        intptr_t columns, lines;
        int32_t top, left;
    } const rows[] = {
        {"most lines down", 0, INT32_MAX, 49, 0},
        {"most lines up", 0, INT32_MIN, 0, 0},
        {"a few down", 0, 5, 15, 0},
        {"most columns right", INT32_MAX, 0, 10, kLast},
        {"most columns left", INT32_MIN, 0, 10, 0},
        {"both", INT32_MAX, INT32_MAX, 49, kLast},
    };
    for (const Row& row : rows) {
        MemoHarness m;
        m.Core.InsertAtCaret(std::string(300, 'w') + "\r" + Numbered(49));
        m.Core.ScrollTo(0, 10);
        Send(m, smmsg::LineScroll, static_cast<uintptr_t>(row.columns), row.lines);
        EXPECT_EQ(m.Core.TopLine(), row.top) << row.name;
        EXPECT_EQ(m.Core.LeftCol(), row.left == kLast ? m.Core.MaxLineLen() - 1 : row.left) << row.name;
        EXPECT_GE(m.Core.MaxLineLen(), 300) << row.name;
    }
}

// The default tab width and the tab-stop columns have upper limits; values
// past them get their own message and leave the old ones.
TEST(SyntaxMemoProperties, TabLimits) {
    struct Row {
        const char* name;
        const char* columns;
        const char* error;  // "" when taken
    } const rows[] = {
        {"largest", "99999", ""},
        {"too large", "100000", "Tab column must be < 100000"},
        {"too large after others", "5 9 100000", "Tab column must be < 100000"},
        {"far too large", "99999999999999999999", "Tab column must be < 100000"},
        {"out of order", "9 5", "Tab columns must be in order and unique"},
        {"one", "1", "Tab column must be > 1"},
    };
    for (const Row& row : rows) {
        MemoHarness m;
        m.Core.SetTabColumns("3");
        std::string error;
        try {
            m.Core.SetTabColumns(row.columns);
        } catch (const ESyntaxMemo& e) {
            error = e.what();
        }
        EXPECT_EQ(error, row.error) << row.name;
        EXPECT_EQ(m.Core.TabColumns(), *row.error ? "3" : row.columns) << row.name;
    }
    MemoHarness m;
    m.Core.SetTabDefault(256);
    EXPECT_EQ(m.Core.TabDefault(), 256);
    for (int32_t wide : {257, 100000, INT32_MAX}) {
        EXPECT_THROW(m.Core.SetTabDefault(wide), ESyntaxMemo) << wide;
        EXPECT_EQ(m.Core.TabDefault(), 256) << wide;
    }
    // Settings that came from elsewhere (a stream, a scheme) are held to the
    // same limits when a TAB is expanded.
    m.Core.InsertAtCaret("\tx");
    m.Core.Settings().TabDefault = INT32_MAX;
    EXPECT_EQ(m.Core.ExpandLine(m.Core.Store().Head()), std::string(256, ' ') + "x");
    m.Core.Settings().TabDefault = 4;
    m.Core.Settings().TabColumns[0] = INT32_MAX - 1;
    EXPECT_EQ(m.Core.ExpandLine(m.Core.Store().Head()), "    x");
    EXPECT_EQ(m.Core.NextTabStop(INT32_MAX - 2), INT32_MAX);
}

// Releasing a held display measures, brings the caret into view and sets
// the scroll bars for what changed while it was held.
TEST(SyntaxMemoMessages, ReleasingTheHeldDisplayCatchesUp) {
    MemoHarness m;
    m.Core.InsertAtCaret(Numbered(50));
    m.Core.SetSelection(0, 0);
    m.Core.UpdateScrollBars();
    ASSERT_EQ(m.Core.TopLine(), 0);
    Send(m, SMM_HOLDDISPLAY, 1, 1);
    int32_t pair[2] = {m.Core.Store().LineStart(40), m.Core.Store().LineStart(40)};
    Send(m, SMM_SELECTION, 1 | 2, reinterpret_cast<intptr_t>(pair));  // no repaint
    m.Core.InsertAtCaret(std::string(500, 'w'));
    EXPECT_EQ(m.Core.TopLine(), 0);
    int32_t heldMax = m.Bars[false][0];
    EXPECT_LT(heldMax, 500);
    Send(m, SMM_HOLDDISPLAY, 1, 0);
    int32_t rows = m.Core.VisibleLines();
    EXPECT_LE(m.Core.TopLine(), 40);
    EXPECT_GT(m.Core.TopLine() + rows, 40);
    EXPECT_EQ(m.Bars[true][2], m.Core.TopLine());
    EXPECT_GE(m.Bars[false][0], 500);
    // Released without repaint: nothing more.
    Send(m, SMM_HOLDDISPLAY, 1, 1);
    m.Core.ScrollTo(0, 0);
    Send(m, SMM_HOLDDISPLAY, 1 | 2, 0);
    EXPECT_EQ(m.Core.TopLine(), 0);
}

// SMM_LOADSTREAM: without the raw bit the text ends at a NUL; with it the
// stream's length counts. Either way the caret ends in view.
TEST(SyntaxMemoMessages, LoadStreamRawBitAndCaret) {
    struct Row {
        const char* name;
        uintptr_t w;
        std::string bytes;
        std::string text;
        bool caretShown;
    } const rows[] = {
        {"zero-terminated", 0, std::string("ab\0cd", 5), "ab", true},
        {"raw", 4, std::string("ab\0cd", 5), "ab.cd", true},
        {"long", 0, Numbered(50), Numbered(50), true},
        {"long, no repaint", 2, Numbered(50), Numbered(50), false},
    };
    for (const Row& row : rows) {
        MemoHarness m;
        TMemoryStream s;
        s.Write(row.bytes.data(), static_cast<int32_t>(row.bytes.size()));
        s.SetPosition(0);
        Send(m, SMM_LOADSTREAM, row.w, reinterpret_cast<intptr_t>(&s));
        EXPECT_EQ(m.Text(), row.text) << row.name;
        int32_t line = m.Core.LineOfOffset(m.Core.Caret());
        bool shown = line >= m.Core.TopLine() && line < m.Core.TopLine() + m.Core.VisibleLines();
        EXPECT_EQ(shown, row.caretShown) << row.name;
    }
}
