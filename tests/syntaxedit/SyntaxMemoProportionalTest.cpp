// Proportional fonts on the editor without its window: a fake measurer gives
// every character its own width, and offsets, points, runs and wrap cuts must
// follow the measured widths rather than one cell per character.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "MemoHarness.h"
#include "SM_Settings.h"

namespace {

// Narrow "i", "l" and blanks (3), wide "W" and "m" (12), the rest 7; a bold
// style's characters are one pixel wider.
class FakeMeasurer : public TTextMeasurer {
public:
    explicit FakeMeasurer(TSyntaxMemoCore& core) : core_(core) {}
    static int CharWidth(char c) { return c == 'i' || c == 'l' || c == ' ' ? 3 : c == 'W' || c == 'm' ? 12 : 7; }
    int32_t RunWidth(uint8_t style, const char* text, int32_t count, int32_t* ends) override {
        int bold = core_.Settings().Styles[style].FontStyle & 1;
        int32_t w = 0;
        for (int32_t i = 0; i < count; i++) {
            w += CharWidth(text[i]) + bold;
            if (ends) ends[i] = w;
        }
        return w;
    }

private:
    TSyntaxMemoCore& core_;
};

// Records every run with its x, its style and whether it was drawn selected.
class RunSurface : public TDrawSurface {
public:
    struct Run {
        int x;
        std::string text;
        uint8_t style;
        TColor back;
    };
    void FillRect(int x, int y, int, int, TColor) override {
        if (y == 0 && x >= 2) FillFrom = x;
    }
    void SelectStyle(uint8_t style) override { style_ = style; }
    void TextRun(int x, int y, const char* text, int count, TColor, TColor back, int) override {
        if (y == 0) Runs.push_back({x, std::string(text, static_cast<size_t>(count)), style_, back});
    }
    std::vector<Run> Runs;
    int FillFrom = -1;

private:
    uint8_t style_ = 0;
};

// A harness with no gutter, a 2-pixel margin and the fake measurer.
struct PropMemo : MemoHarness {
    PropMemo() : Fake(Core) {
        Core.Settings().Options &= ~smoShowGutter;
        Core.SetMetrics(7, 16, false);
        Core.SetMeasurer(&Fake);
    }
    FakeMeasurer Fake;
};

}  // namespace

TEST(SyntaxMemoProportional, OffsetsAndPointsFollowMeasuredWidths) {
    PropMemo m;
    m.Core.InsertAtCaret("Wim i\rWWW");
    ASSERT_FALSE(m.Core.FixedPitch());
    // Character boundaries of "Wim i": 2, 14, 17, 29, 32, 35.
    const int boundary[] = {2, 14, 17, 29, 32, 35};
    for (int32_t offset = 0; offset <= 5; offset++) {
        int32_t x, y;
        m.Core.PointOfOffset(offset, x, y);
        EXPECT_EQ(x, boundary[offset]) << offset;
        EXPECT_EQ(y, 0);
    }
    int32_t x, y;
    m.Core.PointOfOffset(8, x, y);  // the second line: after "WW"
    EXPECT_EQ(x, 26);
    EXPECT_EQ(y, 16);
    struct Case {
        int x;
        int32_t nearest, cell;
    } cases[] = {
        {0, 0, 0},    {7, 0, 0},   {8, 1, 0},  // W spans 2..14: its middle is 8
        {13, 1, 0},   {14, 1, 1},  {15, 1, 1},  // i spans 14..17
        {16, 2, 1},   {30, 3, 3},  {31, 4, 3},  // blank spans 29..32
        {34, 5, 4},   {100, 5, 5},             // past the end: the line's end
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m.Core.OffsetOfPoint(c.x, 3), c.nearest) << "x " << c.x;
        EXPECT_EQ(m.Core.OffsetOfPoint(c.x, 3, true), c.cell) << "cell at x " << c.x;
    }
    TLineNode* n = m.Core.Store().Head();
    EXPECT_EQ(m.Core.XOfColumn(n, 3), 29);
    EXPECT_EQ(m.Core.ColumnOfX(n, 29), 3);
    // Scrolled right by two columns: measuring starts at LeftCol.
    m.Core.ScrollTo(2, 0);
    EXPECT_EQ(m.Core.XOfColumn(n, 1), -1);
    EXPECT_EQ(m.Core.XOfColumn(n, 2), 2);
    EXPECT_EQ(m.Core.XOfColumn(n, 4), 17);
    EXPECT_EQ(m.Core.ColumnOfX(n, 15), 3);
    EXPECT_EQ(m.Core.ColumnOfX(n, 16), 4);
}

TEST(SyntaxMemoProportional, TabsStylesAndFixedPitchUnchanged) {
    PropMemo m;
    m.Core.Settings().Styles[1].FontStyle = 1;  // bold
    m.Core.InsertAtCaret("a\tbc");
    // "a" 7, the TAB's three blanks 9: "b" starts at 2 + 16.
    int32_t x, y;
    m.Core.PointOfOffset(2, x, y);
    EXPECT_EQ(x, 18);
    uint8_t styles[4] = {0, 1, 1, 1};
    int32_t range[3] = {0, -1, 4};
    m.Core.Message(SMM_SETLINESTYLES, reinterpret_cast<uintptr_t>(range), reinterpret_cast<intptr_t>(styles));
    // The TAB's cells are bold now: 3 x 4; "b" bold 8.
    m.Core.PointOfOffset(3, x, y);
    EXPECT_EQ(x, 2 + 7 + 12 + 8);
    // Without the measurer the same line is laid out in cells again.
    m.Core.SetMetrics(7, 16, true);
    m.Core.PointOfOffset(3, x, y);
    EXPECT_EQ(x, 2 + 5 * 7);
    EXPECT_EQ(m.Core.OffsetOfPoint(2 + 5 * 7, 0), 3);
}

TEST(SyntaxMemoProportional, PaintedRunsAndSelectionCoverMeasuredWidths) {
    PropMemo m;
    m.Core.Settings().Styles[1].FontStyle = 1;
    m.Core.Settings().Styles[1].Defined = 1;
    m.Core.InsertAtCaret("Wim iW");
    uint8_t styles[6] = {0, 0, 0, 1, 1, 1};
    int32_t range[3] = {0, -1, 6};
    m.Core.Message(SMM_SETLINESTYLES, reinterpret_cast<uintptr_t>(range), reinterpret_cast<intptr_t>(styles));
    m.Core.SetSelection(1, 4);  // "im" and the bold blank
    RunSurface s;
    m.Core.Paint(s);
    TColor selBack = m.Core.Settings().SelTextBack;
    ASSERT_EQ(s.Runs.size(), 4u);
    struct Expect {
        int x;
        const char* text;
        uint8_t style;
        bool selected;
    } expect[] = {{2, "W", 0, false}, {14, "im", 0, true}, {29, " ", 1, true}, {33, "iW", 1, false}};
    for (size_t i = 0; i < 4; i++) {
        EXPECT_EQ(s.Runs[i].x, expect[i].x) << i;
        EXPECT_EQ(s.Runs[i].text, expect[i].text) << i;
        EXPECT_EQ(s.Runs[i].style, expect[i].style) << i;
        EXPECT_EQ(s.Runs[i].back == selBack, expect[i].selected) << i;
    }
    // The rest of the row is filled after the bold "iW" (4 + 13).
    EXPECT_EQ(s.FillFrom, 33 + 4 + 13);
}

TEST(SyntaxMemoProportional, WrapCutsAtTheMeasuredWidth) {
    // Width 20 columns of 7 pixels: 140 pixels of text per piece.
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> pieces;
    } cases[] = {
        {"narrow characters fit beyond 20", std::string(30, 'i') + " " + std::string(10, 'l'),
         {std::string(30, 'i') + " " + std::string(10, 'l')}},
        {"a wide word goes to the next piece", "WWWWWWWWWW WWWW", {"WWWWWWWWWW ", "WWWW"}},
        {"a word wider than the width is cut", std::string(15, 'W'), {std::string(11, 'W'), std::string(4, 'W')}},
        {"mixed", "ab cd WWWW mmmm iiii abcd", {"ab cd WWWW mmmm ", "iiii abcd"}},
    };
    for (const Case& c : cases) {
        PropMemo m;
        m.Core.Settings().WrapAtColumn = 20;
        m.Core.SetOptions(m.Core.Options() | smoWordWrap);
        m.Core.InsertAtCaret(c.text);
        TTextStore& st = m.Core.Store();
        EXPECT_EQ(st.CheckInvariants(), "") << c.name;
        std::vector<std::string> got;
        for (TLineNode* n = st.Head(); n; n = n->Next) got.emplace_back(n->Text, n->Len);
        EXPECT_EQ(got, c.pieces) << c.name;
        EXPECT_EQ(st.GetText(), c.text) << c.name;
    }
}

TEST(SyntaxMemoProportional, ScrollIntoViewMeasuresTheCaretsX) {
    PropMemo m;
    m.Core.InsertAtCaret(std::string(60, 'W'));
    // 56 columns of 7 pixels fit, but column 40 of "W"s lies at 482.
    m.Core.ScrollTo(0, 0);
    m.Core.ScrollIntoView(40);
    EXPECT_EQ(m.Core.LeftCol(), 8);
    int32_t x, y;
    m.Core.PointOfOffset(40, x, y);
    EXPECT_LT(x, m.Core.ClientWidth());
    EXPECT_GE(x, m.Core.TextLeft());
}

TEST(SyntaxMemoProportional, HoverFindsTheHyperlinkUnderTheMeasuredX) {
    PropMemo m;
    TStyleEntry link;
    link.Hotspot = 1;
    link.Defined = 1;
    m.Core.Settings().SetStyle(2, link);
    m.Core.InsertAtCaret("Wim link");
    uint8_t styles[8] = {0, 0, 0, 0, 2, 2, 2, 2};
    int32_t range[3] = {0, -1, 8};
    m.Core.Message(SMM_SETLINESTYLES, reinterpret_cast<uintptr_t>(range), reinterpret_cast<intptr_t>(styles));
    // "Wim " is 30 pixels wide: the link starts at x 32 (a grid of 7 would put column 4 at 30).
    const int cursor = -21;
    struct Case {
        int x;
        bool link;
    } cases[] = {{2, false}, {31, false}, {32, true}, {40, true}, {49, true}, {60, false}};
    for (const Case& c : cases) EXPECT_EQ(m.Core.HoverAt(c.x, 4, cursor, false).Hyperlink, c.link) << c.x;
}

namespace {
// Every printed run with its row, x and style.
class PageSurface : public TDrawSurface {
public:
    struct Run {
        int row, x;
        std::string text;
        uint8_t style;
    };
    void FillRect(int, int, int, int, TColor) override {}
    void SelectStyle(uint8_t style) override { style_ = style; }
    void TextRun(int x, int y, const char* text, int count, TColor, TColor, int) override {
        Runs.push_back({y / 16, x, std::string(text, static_cast<size_t>(count)), style_});
    }
    std::vector<Run> Runs;

private:
    uint8_t style_ = 0;
};
}  // namespace

// On paper a proportional font is measured too: runs stand at measured x,
// in their style's font, and wrapped rows are cut at the measured width.
TEST(SyntaxMemoProportional, PrintingMeasuresRunsAndWrapsAtTheMeasuredWidth) {
    PropMemo m;
    m.Core.Settings().Styles[1].FontStyle = 1;
    m.Core.Settings().Styles[1].Defined = 1;
    m.Core.Settings().Options = smoPrintWrap | smoSyntaxHighlight;
    // 147 wide: text from x 70 (10 cells of 7), 10 cells = 70 pixels a row.
    m.Lines.Add(std::string(18, 'i') + " iii");  // 66 pixels: one row, not 10 cells
    m.Lines.Add("WWWWWW WW");                    // 6 x 12 = 72: five W, then the rest
    m.Lines.Add("ii WW");
    uint8_t styles[5] = {1, 1, 0, 0, 0};
    int32_t range[3] = {2, -1, 5};
    m.Core.Message(SMM_SETLINESTYLES, reinterpret_cast<uintptr_t>(range), reinterpret_cast<intptr_t>(styles));
    m.Core.SetSelection(-1, 0);
    PageSurface page;
    ASSERT_EQ(m.Core.PrintSelection(page, 147, 320, nullptr), 1);
    struct Expect {
        int row, x;
        const char* text;
        uint8_t style;
    } expect[] = {
        {2, 70, "iiiiiiiiiiiiiiiiii iii", 0},
        {3, 70, "WWWWW", 0},
        {4, 70, "W WW", 0},
        {5, 70, "ii", 1},
        {5, 70 + 8, " WW", 0},  // after the bold "ii": 2 x (3 + 1)
    };
    ASSERT_EQ(page.Runs.size(), std::size(expect));
    for (size_t i = 0; i < std::size(expect); i++) {
        EXPECT_EQ(page.Runs[i].row, expect[i].row) << i;
        EXPECT_EQ(page.Runs[i].x, expect[i].x) << i;
        EXPECT_EQ(page.Runs[i].text, expect[i].text) << i;
        EXPECT_EQ(page.Runs[i].style, expect[i].style) << i;
    }
}

// The right-margin line stands at its column's measured x on each row, and
// the mouse finds it there (for hovering and dragging).
TEST(SyntaxMemoProportional, MarginGuideAtTheMeasuredColumnOfEachRow) {
    const int32_t kShowRMargin = 32768;
    PropMemo m;
    m.Core.InsertAtCaret("WWW\riii\rWWWWWWWW");
    m.Core.Settings().Options |= kShowRMargin;
    m.Core.Settings().RightMargin = 6;
    class GuideSurface : public TDrawSurface {
    public:
        void FillRect(int x, int y, int w, int, TColor c) override {
            if (w == 1 && c == 12632256 && !XOfRow.count(y / 16)) XOfRow[y / 16] = x;
        }
        void TextRun(int, int, const char*, int, TColor, TColor, int) override {}
        std::map<int, int> XOfRow;
    } s;
    m.Core.Paint(s);
    // "WWW" 36 and "iii" 9, then cells of 7 up to column 6; across the long
    // third line after its sixth "W"; rows past the text on the grid.
    EXPECT_EQ(s.XOfRow[0], 2 + 36 + 3 * 7);
    EXPECT_EQ(s.XOfRow[1], 2 + 9 + 3 * 7);
    EXPECT_EQ(s.XOfRow[2], 2 + 6 * 12);
    EXPECT_EQ(s.XOfRow[3], 2 + 6 * 7);
    struct Case {
        int x, y;
        bool margin;
    } cases[] = {{59, 0, true}, {32, 16, true}, {32, 0, false}, {59, 16, false}, {74, 32, false}, {44, 48, true}};
    for (const Case& c : cases) {
        EXPECT_EQ(m.Core.HoverAt(c.x, c.y, -3, false).Margin, c.margin) << c.x << "," << c.y;
        if (c.margin) {
            EXPECT_EQ(m.Core.GuideColumnAt(c.x, c.y), 6) << c.x << "," << c.y;
        }
    }
}

// 56 columns of 7 pixels make the page; the caret's cell must fit in 400.
TEST(SyntaxMemoProportional, HorizontalBarReachesTheEndOfEachLine) {
    struct Case {
        std::string text;
        bool fixed;
        int32_t range, lastLeft;  // the bar's range, the column its last position shows
    } cases[] = {
        // 32 "W"s of 12 fit before the caret's cell: the end needs column 68.
        {std::string(100, 'W'), false, 68 + 55, 68},
        {std::string(100, 'x'), false, 100, 45},  // average widths: the cell grid
        {std::string(100, 'i'), false, 100, 45},  // fits whole; never less than the columns
        {std::string(50, 'i') + std::string(50, 'W'), false, 68 + 55, 68},
        {"short\r" + std::string(100, 'W'), false, 68 + 55, 68},
        {std::string(300, 'W'), false, 268 + 55, 268},  // measured from two pages before the end
        {std::string(250, 'i') + std::string(50, 'W'), false, 268 + 55, 268},
        {std::string(100, 'W') + std::string(200, 'i'), false, 300, 245},
        {std::string(100, 'W'), true, 100, 45},  // fixed pitch: columns as before
    };
    for (const Case& c : cases) {
        PropMemo m;
        if (c.fixed) m.Core.SetMetrics(7, 16, true);
        m.Core.InsertAtCaret(c.text);
        m.Core.ScrollTo(0, 0);
        RunSurface s;
        m.Core.Paint(s);
        m.Core.UpdateScrollBars();
        EXPECT_EQ(m.Bars[false], (std::vector<int32_t>{c.range, 56, 0})) << c.text;
        // The thumb at the end of the bar.
        int32_t last = c.range - 56 + 1;
        m.Core.Message(smmsg::HScroll, 5 | static_cast<uintptr_t>(last) << 16, 0);
        EXPECT_EQ(m.Core.LeftCol(), c.lastLeft) << c.text;
        int32_t x, y, end = m.Core.TextLength();
        m.Core.PointOfOffset(end, x, y);
        EXPECT_LE(x + 7, m.Core.ClientWidth()) << c.text;
        if (c.range > static_cast<int32_t>(c.text.size())) {
            // One column less would leave the end outside.
            m.Core.ScrollTo(c.lastLeft - 1, 0);
            m.Core.PointOfOffset(end, x, y);
            EXPECT_GT(x + 7, m.Core.ClientWidth()) << c.text;
        }
    }
}

TEST(SyntaxMemoProportional, HorizontalRangeFollowsTheWidthAndTheText) {
    PropMemo m;
    m.Core.InsertAtCaret(std::string(100, 'W'));
    m.Core.UpdateScrollBars();
    EXPECT_EQ(m.Bars[false][0], 68 + 55);
    // 28 columns: 15 "W"s fit before the caret's cell.
    m.Core.SetClientSize(200, 160);
    EXPECT_EQ(m.Bars[false], (std::vector<int32_t>{85 + 27, 28, m.Core.LeftCol()}));
    m.Core.ScrollTo(1000, 0);
    EXPECT_EQ(m.Core.LeftCol(), 85 + 27 - 1);
    m.Core.ClearText();
    EXPECT_EQ(m.Bars[false][0], 0);
    // Word wrap has no horizontal range.
    m.Core.InsertAtCaret(std::string(100, 'W'));
    m.Core.SetOptions(m.Core.Options() | smoWordWrap);
    EXPECT_EQ(m.Bars[false][0], 0);
}

TEST(SyntaxMemoProportional, ScrollIntoViewLeavesTheCaretsCellInside) {
    struct Case {
        std::string text;
        int32_t width, left, offset, expected;
    } cases[] = {
        {std::string(60, 'W'), 400, 0, 40, 8},
        {std::string(200, 'W'), 400, 0, 200, 168},     // the end of a long line
        {std::string(200, 'W'), 400, 160, 20, 16},     // back left, eight at a time
        {std::string(200, 'W'), 400, 168, 100, 96},
        {std::string(200, 'i'), 400, 0, 200, 72},
        {std::string(60, 'x'), 400, 0, 56, 8},         // x 394: its cell would cross the edge
        {std::string(60, 'W'), 60, 0, 45, 41},         // eight columns wider than the window
        {std::string(60, 'W'), 400, 0, 30, 0},         // inside: stays
    };
    for (const Case& c : cases) {
        PropMemo m;
        m.Core.ScrollBack = false;  // the measured moves alone
        m.Core.SetClientSize(c.width, 160);
        m.Core.InsertAtCaret(c.text);
        m.Core.ScrollTo(c.left, 0);
        ASSERT_EQ(m.Core.LeftCol(), c.left);
        m.Core.ScrollIntoView(c.offset);
        EXPECT_EQ(m.Core.LeftCol(), c.expected) << c.text.size() << c.text[0] << " " << c.offset;
        int32_t x, y;
        m.Core.PointOfOffset(c.offset, x, y);
        EXPECT_GE(x, m.Core.TextLeft()) << c.offset;
        EXPECT_LE(x + 7, c.width) << c.offset;
    }
}

TEST(SyntaxMemoProportional, DraggingPastAnEdgeScrollsOneColumnAMove) {
    PropMemo m;
    std::string text = std::string(200, 'W');
    for (int i = 0; i < 15; i++) text += "\rabc";
    m.Core.InsertAtCaret(text);
    m.Core.SetSelection(0, 0);
    TSyntaxMemoCore::TMouseScope mouse(m.Core);
    struct Move {
        int x, y;
        int32_t left, top, caret;
    } moves[] = {
        // Right of the text: one column, the caret on the last boundary whose cell fits.
        {450, 8, 1, 0, 33},
        {450, 8, 2, 0, 34},
        {199, 8, 2, 0, 18},  // inside: the nearest boundary
        {-5, 8, 1, 0, 1},    // left of the text
        {-5, 8, 0, 0, 0},
        {-5, 8, 0, 0, 0},
        {100, 170, 0, 1, 201 + 9 * 4 + 3},  // below: one line, the last row's end
    };
    for (const Move& mv : moves) {
        m.Core.SetSelection(0, m.Core.DragSelectOffset(mv.x, mv.y));
        EXPECT_EQ(m.Core.LeftCol(), mv.left) << mv.x << "," << mv.y;
        EXPECT_EQ(m.Core.TopLine(), mv.top) << mv.x << "," << mv.y;
        EXPECT_EQ(m.Core.Caret(), mv.caret) << mv.x << "," << mv.y;
    }
}

TEST(SyntaxMemoProportional, FixedPitchDragPastAnEdgeScrollsOneColumnAMove) {
    PropMemo f;
    f.Core.SetMetrics(7, 16, true);
    f.Core.InsertAtCaret(std::string(200, 'W') + "\rabc");
    f.Core.SetSelection(0, 0);
    TSyntaxMemoCore::TMouseScope mouse(f.Core);
    // 56 cells of 7 after the 2-pixel margin: the caret stays on the last
    // boundary inside the window, the point taken inside the client.
    struct Move {
        int x;
        int32_t left, caret;
    } moves[] = {{450, 1, 56}, {401, 2, 57}, {2000, 3, 58}, {380, 3, 57}, {-5, 2, 2}, {-5, 1, 1}, {30, 1, 5}};
    for (const Move& mv : moves) {
        f.Core.SetSelection(0, f.Core.DragSelectOffset(mv.x, 8));
        EXPECT_EQ(f.Core.LeftCol(), mv.left) << mv.x;
        EXPECT_EQ(f.Core.Caret(), mv.caret) << mv.x;
    }
}

TEST(SyntaxMemoProportional, ScrollIntoViewComesBackToColumnZeroWhenTheColumnFits) {
    // 400 pixels, a 2-pixel margin, cells of 7: 56 columns; "W" 12, "i" 3.
    struct Case {
        bool fixed;
        char ch;
        int32_t left, offset;
        bool back;
        int32_t expected;
    } cases[] = {
        {true, 'x', 16, 30, true, 0},
        {true, 'x', 16, 55, true, 0},    // the last column that fits
        {true, 'x', 16, 56, true, 16},   // one more: stays, already in view
        {true, 'x', 16, 30, false, 16},  // not with the mouse
        {true, 'x', 40, 20, true, 0},
        {true, 'x', 40, 20, false, 16},  // eight at a time to the column
        {true, 'x', 150, 180, true, 150},
        {false, 'W', 40, 32, true, 0},   // x 384: its cell fits
        {false, 'W', 40, 33, true, 32},  // x 396: it does not
        {false, 'W', 8, 20, false, 8},
        {false, 'i', 120, 100, true, 0},  // measured: 100 narrow columns fit
        {false, 'i', 120, 100, false, 96},
        {false, 'i', 120, 130, true, 0},   // x 390, the last that fits
        {false, 'i', 120, 131, true, 120},
    };
    for (const Case& c : cases) {
        PropMemo m;
        if (c.fixed) m.Core.SetMetrics(7, 16, true);
        m.Core.InsertAtCaret(std::string(300, c.ch) + "\rshort");
        m.Core.ScrollTo(c.left, 0);
        ASSERT_EQ(m.Core.LeftCol(), c.left);
        m.Core.ScrollBack = c.back;
        m.Core.ScrollIntoView(c.offset);
        EXPECT_EQ(m.Core.LeftCol(), c.expected) << c.ch << " " << c.left << " " << c.offset << " " << c.back;
        int32_t x, y;
        m.Core.PointOfOffset(c.offset, x, y);
        EXPECT_GE(x, m.Core.TextLeft()) << c.offset;
        EXPECT_LE(x + 7, m.Core.ClientWidth()) << c.offset;
    }
}

TEST(SyntaxMemoProportional, PageLeftAndRightMoveByTheClientWidthInCharacters) {
    // 400 / 7 = 57 columns a page, whether or not a gutter narrows the text.
    struct Case {
        bool fixed, gutter;
        int32_t left;
        uintptr_t code;
        int32_t expected;
    } cases[] = {
        {true, false, 100, 3, 157}, {true, false, 100, 2, 43}, {true, true, 100, 3, 157},
        {true, true, 100, 2, 43},   {true, true, 40, 2, 0},    {false, true, 100, 3, 157},
        {false, false, 100, 2, 43}, {true, false, 0, 1, 1},    {true, false, 5, 0, 4},
    };
    for (const Case& c : cases) {
        PropMemo m;
        if (c.fixed) m.Core.SetMetrics(7, 16, true);
        if (c.gutter) m.Core.Settings().Options |= smoShowGutter;
        m.Core.InsertAtCaret(std::string(400, 'x'));
        m.Core.SetSelection(0, 0);
        RunSurface s;
        m.Core.Paint(s);
        m.Core.ScrollTo(c.left, 0);
        ASSERT_EQ(m.Core.LeftCol(), c.left);
        m.Core.Message(smmsg::HScroll, c.code, 0);
        EXPECT_EQ(m.Core.LeftCol(), c.expected) << c.fixed << c.gutter << " " << c.code;
    }
}
