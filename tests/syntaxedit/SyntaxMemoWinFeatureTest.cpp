// The control's gutter images, marks, visible blanks, hyperlinks, cursor,
// gutter clicks and files, driven through its real window.
#include <gtest/gtest.h>

#include <cstdio>

#include "MemoForm.h"
#include "TestSupport.h"
#include "SM_Settings.h"
#include "Stream.h"

namespace {

const int32_t kShowWrapGlyph = 0x200000;
const uint32_t kBookmarkBlue = 0x0000A0;  // the bookmark images' colour (RRGGBB)

// Counts the pixels of colour rgb in the rectangle.
int CountPixels(TBitmap& bmp, int x0, int y0, int x1, int y1, uint32_t rgb) {
    int n = 0;
    for (int y = y0; y < y1; y++)
        for (int x = x0; x < x1; x++) n += bmp.PixelRGB(x, y) == rgb ? 1 : 0;
    return n;
}

// Gives characters [from, to) of line a hyperlink style.
void LinkRun(TSyntaxMemo& memo, int32_t line, int from, int to) {
    TStyleEntry link;
    link.Defined = 1;
    link.Hotspot = 1;
    memo.Core().Settings().Styles[9] = link;
    TLineNode* n = memo.Core().Store().LineAt(line);
    n->Styles = new uint8_t[n->Len]();
    for (int k = from; k < to; k++) n->Styles[k] = 9;
}

}  // namespace

TEST(SyntaxMemoWindowDecor, BookmarkImagesAndTheWrapGlyphInTheGutter) {
    MemoForm f;
    f.memo->SetOptions((f.memo->Options() | smoShowGutter) & ~(smoWordWrap | kShowWrapGlyph));
    f.memo->SetText("first\r\nsecond\r\n" + std::string(3000, 'w'));
    f.memo->Core().SetBookmarkAt(3, 2, 1);
    int lh = f.memo->Core().LineHeight(), gutter = f.memo->Core().Gutter();
    TBitmap& bmp = f.Snap();
    EXPECT_EQ(CountPixels(bmp, 0, 0, gutter, lh, kBookmarkBlue), 0);
    EXPECT_GT(CountPixels(bmp, 0, lh, gutter, 2 * lh, kBookmarkBlue), 20);
    // Row 3 continues the long line: its glyph only with smoShowWrapGlyph.
    EXPECT_EQ(CountPixels(bmp, 0, 3 * lh, 16, 4 * lh, 0), 0);
    f.memo->SetOptions(f.memo->Options() | kShowWrapGlyph);
    f.Snap();
    EXPECT_GT(CountPixels(bmp, 0, 3 * lh, 16, 4 * lh, 0), 10);
}

TEST(SyntaxMemoWindowDecor, MarksZigzagOrTheirHandler) {
    MemoForm f;
    f.memo->SetText("one two three\r\nfour");
    int cw = f.memo->Core().CharWidth(), lh = f.memo->Core().LineHeight();
    f.memo->Core().Marks().Add(4, 7);  // "two"
    TBitmap& bmp = f.Snap();
    int x0 = 2 + 4 * cw, x1 = 2 + 7 * cw;
    EXPECT_GT(CountPixels(bmp, x0, lh - 3, x1 + 1, lh, 0xFF0000), 5);  // red along the bottom
    EXPECT_EQ(CountPixels(bmp, 0, lh - 3, x0 - 1, lh, 0xFF0000), 0);
    EXPECT_EQ(CountPixels(bmp, 0, lh, bmp.Width(), 2 * lh, 0xFF0000), 0);
    RECT got{};
    f.memo->OnDrawMark = [&](TObject*, HDC dc, TTextMark* mark, const RECT& r) {
        ASSERT_NE(dc, nullptr);
        EXPECT_EQ(mark->Start, 4);
        got = r;
        HBRUSH green = CreateSolidBrush(RGB(0, 200, 0));
        FillRect(dc, &r, green);
        DeleteObject(green);
    };
    f.Snap();
    EXPECT_EQ(got.left, x0);
    EXPECT_EQ(got.right, x1);
    EXPECT_EQ(CountPixels(bmp, x0, 0, x1, lh, 0x00C800), (x1 - x0) * lh);
    EXPECT_EQ(CountPixels(bmp, 0, 0, bmp.Width(), lh, 0xFF0000), 0);
}

TEST(SyntaxMemoWindowDecor, VisibleBlanksDrawTheBlankAndTheTab) {
    MemoForm f;
    f.memo->SetText("a b\tc");
    int cw = f.memo->Core().CharWidth(), lh = f.memo->Core().LineHeight();
    auto ink = [&](int col) { return CountPixels(f.bmp, 2 + col * cw, 0, 2 + (col + 1) * cw, lh, 0); };
    f.Snap();
    EXPECT_EQ(ink(1), 0);  // the blank
    EXPECT_EQ(ink(3), 0);  // the TAB's one cell (to column 4)
    f.memo->SetOptions(f.memo->Options() | smoShowBlanksBit);
    f.Snap();
    EXPECT_GT(ink(1), 0);  // "."
    EXPECT_GT(ink(3), 0);  // the arrow
}

TEST(SyntaxMemoWindowMouse, HyperlinkHoverClickAndCursorRules) {
    MemoForm f;
    f.memo->SetText("go to http://host/x now\r\nplain");
    LinkRun(*f.memo, 0, 6, 19);
    f.memo->HyperCursor = -21;
    int cw = f.memo->Core().CharWidth(), lh = f.memo->Core().LineHeight();
    HWND h = f.memo->Handle();
    auto at = [&](int col, int row) { return MAKELPARAM(2 + col * cw + 2, row * lh + 3); };
    int hovers = 0;
    std::string clicked;
    int type = -1;
    f.memo->OnHyperlinkHover = [&](TObject*) { hovers++; };
    f.memo->OnHyperlinkClick = [&](TObject*, const std::string& text, int t) { clicked = text, type = t; };
    PostMessageA(h, WM_MOUSEMOVE, 0, at(1, 1));
    Drain();
    EXPECT_EQ(f.memo->Cursor(), -4);
    PostMessageA(h, WM_MOUSEMOVE, 0, at(10, 0));
    Drain();
    EXPECT_TRUE(f.memo->HyperlinkHover());
    EXPECT_EQ(f.memo->Cursor(), -21);
    EXPECT_EQ(hovers, 1);
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, at(10, 0));
    PostMessageA(h, WM_LBUTTONUP, 0, at(10, 0));
    Drain();
    EXPECT_EQ(clicked, "http://host/x");
    EXPECT_EQ(type, 9);
    EXPECT_EQ(f.memo->Core().Caret(), 10);
    PostMessageA(h, WM_MOUSEMOVE, 0, at(2, 0));
    Drain();
    EXPECT_FALSE(f.memo->HyperlinkHover());
    EXPECT_EQ(f.memo->Cursor(), -4);
    f.memo->SetCursor(-11);  // the program's own cursor stays
    PostMessageA(h, WM_MOUSEMOVE, 0, at(10, 0));
    Drain();
    EXPECT_EQ(f.memo->Cursor(), -11);
}

TEST(SyntaxMemoWindowMouse, GutterClickGivesTheWrappedLinesFirstPiece) {
    MemoForm f(300, 200);
    f.memo->SetOptions(f.memo->Options() | smoShowGutter | smoWordWrap);
    f.memo->Core().SetWrapAtColumn(20);
    f.memo->SetText("short\r\n" + std::string(50, 'x') + "\r\nend");
    ASSERT_EQ(f.memo->Core().LineCount(), 5);  // the long line in three pieces
    std::vector<int32_t> clicks;
    f.memo->OnGutterClick = [&](TObject*, int32_t line) { clicks.push_back(line); };
    int lh = f.memo->Core().LineHeight();
    for (int row : {0, 3, 4}) PostMessageA(f.memo->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, row * lh + 2));
    Drain();
    EXPECT_EQ(clicks, (std::vector<int32_t>{1, 2, 5}));
    EXPECT_EQ(f.memo->Core().Caret(), 0);
}

TEST(SyntaxMemoWindowFiles, LinesSaveAndLoadInTheSaveFormat) {
    MemoForm f;
    f.memo->SetText("alpha\r\nbeta");
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    std::string name = std::string(dir) + "memo_lines.txt";
    f.memo->SetSaveFormat(sfUNIX);
    f.memo->Lines().SaveToFile(name);
    TFileStream in(name, fmOpenRead);
    std::string bytes(static_cast<size_t>(in.Size()), '\0');
    in.Read(&bytes[0], static_cast<int32_t>(bytes.size()));
    EXPECT_EQ(bytes, "alpha\nbeta");
    MemoForm g;
    g.memo->Lines().LoadFromFile(name);
    EXPECT_EQ(g.memo->Lines().Count(), 2);
    EXPECT_EQ(g.memo->Lines().Get(1), "beta");
    std::remove(name.c_str());
}

TEST(SyntaxMemoWindowMouse, ShiftClickMovesTheNearerEndAndDragScrolls) {
    MemoForm f(300, 100);
    std::string text;
    for (int i = 0; i < 40; i++) text += "line " + std::to_string(i) + "\r\n";
    f.memo->SetText(text);
    int cw = f.memo->Core().CharWidth(), lh = f.memo->Core().LineHeight();
    HWND h = f.memo->Handle();
    f.memo->Core().SetSelection(8, 20);
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(2 + 2 * cw + 1, 2));  // before the start
    PostMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(2 + 2 * cw + 1, 2));
    Drain();
    EXPECT_EQ(f.memo->Core().Anchor(), 20);
    EXPECT_EQ(f.memo->Core().Caret(), 2);
    // Dragging below the window scrolls a line per move and extends the selection.
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2 + cw, 2));
    for (int i = 0; i < 5; i++) PostMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2 + cw, 100 + lh));
    PostMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(2 + cw, 100 + lh));
    Drain();
    EXPECT_EQ(f.memo->Core().TopLine(), 5);
    EXPECT_EQ(f.memo->Core().Anchor(), 1);
    EXPECT_GT(f.memo->Core().LineOfOffset(f.memo->Core().Caret()), 5);
}

TEST(SyntaxMemoWindowMouse, DraggingTheRightMarginLineSetsIt) {
    // Another process moving the shared cursor meanwhile moves the line: such a run is repeated.
    POINT at{};
    qftest::RetryWhileDisturbed([&] {
        MemoForm f;
        f.memo->SetOptions(f.memo->Options() | 32768);  // smoShowRMargin
        f.memo->Core().SetRightMargin(12);
        f.memo->SetText("short\r\nlines");
        int cw = f.memo->Core().CharWidth(), lh = f.memo->Core().LineHeight();
        TBitmap& bmp = f.Snap();
        int x12 = 2 + 12 * cw;
        EXPECT_EQ(CountPixels(bmp, x12, 0, x12 + 1, lh, 0xC0C0C0), lh);  // the silver line
        HWND h = f.memo->Handle();
        // The real cursor goes where the messages say: Wine makes up moves from it.
        at = POINT{x12 + 1, 3};
        ClientToScreen(h, &at);
        SetCursorPos(at.x, at.y);
        PostMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(x12 + 1, 3));
        PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x12 + 1, 3));
        Drain();
        EXPECT_EQ(f.memo->Cursor(), -14);
        // Sent and pictured at once: a mouse move Wine makes up from the real
        // cursor could otherwise move the line in between.
        at = POINT{2 + 20 * cw + 1, 3};
        ClientToScreen(h, &at);
        SetCursorPos(at.x, at.y);
        SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2 + 20 * cw + 1, 3));
        f.Snap();
        EXPECT_EQ(CountPixels(bmp, 2 + 20 * cw, 0, 2 + 20 * cw + 1, lh, 0xC0C0C0), lh / 2);  // dotted while dragged
        PostMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(2 + 20 * cw + 1, 3));
        Drain();
        EXPECT_EQ(f.memo->Core().RightMargin(), 20);
        EXPECT_EQ(f.memo->Core().Caret(), 0);  // the text was not clicked
    }, [&] {
        POINT now;
        GetCursorPos(&now);
        return now.x != at.x || now.y != at.y;
    });
}

TEST(SyntaxMemoWindowFiles, HtmlSavedWithoutPrintingCarriesTodaysDate) {
    MemoForm f;
    f.memo->SetText("a < b");
    f.memo->SetSaveFormat(sfHTML);
    TMemoryStream out;
    f.memo->SaveToStream(out);
    std::string html(reinterpret_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size()));
    char today[128] = {};
    ASSERT_GT(GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, today, sizeof today), 0);
    EXPECT_NE(html.find(std::string("<META NAME=\"Date\" CONTENT=\"") + today + "\">"), std::string::npos) << html;
    EXPECT_NE(html.find("a &lt; b"), std::string::npos);
}
