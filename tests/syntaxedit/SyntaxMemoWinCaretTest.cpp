// The caret row's focus line, the block caret of overwrite mode, the press
// that follows a double click, and typing TAB and Ctrl+Enter, through the
// control's real window.
#include <gtest/gtest.h>

#include <string>

#include "MemoForm.h"
#include "TestSupport.h"

namespace {

const int32_t kShowGutter = 65536;

void Key(HWND h, WORD key) {
    PostMessageA(h, WM_KEYDOWN, key, 1);
    Drain();
}

// The caret's width as the window system has it (0: no caret).
int CaretWidth() {
    GUITHREADINFO gi{};
    gi.cbSize = sizeof gi;
    if (!GetGUIThreadInfo(GetCurrentThreadId(), &gi) || !gi.hwndCaret) return 0;
    return gi.rcCaret.right - gi.rcCaret.left;
}

// Whether the blinking caret inverts pixel (x, y) of the window at some
// moment within two blink periods (read from the window as displayed).
bool CaretBlinksAt(HWND h, int x, int y) {
    HDC dc = GetDC(h);
    COLORREF first = GetPixel(dc, x, y);
    bool changed = false;
    DWORD until = GetTickCount() + 2 * GetCaretBlinkTime() + 300;
    while (!changed && GetTickCount() < until) {
        Drain();
        Sleep(15);
        changed = GetPixel(dc, x, y) != first;
    }
    ReleaseDC(h, dc);
    return changed;
}

void Focus(TSyntaxMemo& memo) {
    if (GetFocus() == memo.Handle()) return;
    memo.SetFocus();
    Drain();
}

std::pair<int32_t, int32_t> Sel(TSyntaxMemo& m) { return {m.Core().Anchor(), m.Core().Caret()}; }

}  // namespace

TEST(SyntaxMemoWindowCaret, FocusLineOverAndUnderTheCaretRowInTheInverseBackground) {
    struct Case {
        TColor back;
        uint32_t line;  // RRGGBB
    } cases[] = {{kWhite, 0x000000}, {0x00FFFF, 0x0000FF}, {0x404040, 0xBFBFBF}};
    for (const Case& c : cases) {
        MemoForm f;
        f.memo->Setdef_BackColor(c.back);
        f.memo->SetText("abc\r\ndef\r\nghi");
        f.memo->Core().SetSelection(5, 5);
        int lh = f.memo->Core().LineHeight(), left = f.memo->Core().TextLeft();
        TBitmap& plain = f.Snap();
        EXPECT_EQ(plain.PixelRGB(300, lh), Rgb(c.back)) << "off by default";
        f.memo->SetShowFocusLine(true);
        TBitmap& bmp = f.Snap();
        for (int x : {left, 40, bmp.Width() - 1}) {
            EXPECT_EQ(bmp.PixelRGB(x, lh), c.line) << x;
            EXPECT_EQ(bmp.PixelRGB(x, 2 * lh - 1), c.line) << x;
        }
        EXPECT_EQ(bmp.PixelRGB(300, lh + 1), Rgb(c.back));
        EXPECT_EQ(bmp.PixelRGB(300, 0), Rgb(c.back));
        EXPECT_NE(bmp.PixelRGB(left - 1, lh), c.line) << "the margin has none";
        // The line follows the caret down.
        Key(f.memo->Handle(), VK_DOWN);
        f.Snap();
        EXPECT_EQ(bmp.PixelRGB(300, lh), Rgb(c.back));
        EXPECT_EQ(bmp.PixelRGB(300, 2 * lh), c.line);
        EXPECT_EQ(bmp.PixelRGB(300, 3 * lh - 1), c.line);
    }
}

TEST(SyntaxMemoWindowCaret, BlockCaretOnlyInOverwriteModeWithTheOption) {
    struct Case {
        const char* name;
        bool block;
        int insertPresses;
        bool wide;
    } cases[] = {
        {"insert mode", true, 0, false},
        {"overwrite with the option", true, 1, true},
        {"overwrite without it", false, 1, false},
        {"back to insert", true, 2, false},
    };
    for (const Case& c : cases) {
        MemoForm f;
        f.memo->SetOptions(c.block ? f.memo->Options() | smoBlockOverwriteCursor
                                   : f.memo->Options() & ~smoBlockOverwriteCursor);
        f.memo->SetText("overwrite");
        f.memo->SetFocus();
        Drain();
        for (int i = 0; i < c.insertPresses; i++) Key(f.memo->Handle(), VK_INSERT);
        // Another program's window may have taken the focus (and the caret) meanwhile.
        Focus(*f.memo);
        EXPECT_EQ(CaretWidth(), c.wide ? f.memo->Core().CharWidth() : 2) << c.name;
    }
}

TEST(SyntaxMemoWindowCaret, PressSoonAfterADoubleClickIsPlacedNotDragged) {
    MemoForm f;
    f.memo->SetText("hello world");
    int cw = f.memo->Core().CharWidth(), lh = f.memo->Core().LineHeight();
    HWND h = f.memo->Handle();
    auto at = [&](int col) { return MAKELPARAM(2 + col * cw + 1, lh / 2); };
    // The third press of a triple click starts a new selection from the click.
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, at(8));
    PostMessageA(h, WM_LBUTTONUP, 0, at(8));
    PostMessageA(h, WM_LBUTTONDBLCLK, MK_LBUTTON, at(8));
    PostMessageA(h, WM_LBUTTONUP, 0, at(8));
    Drain();
    ASSERT_EQ(Sel(*f.memo), std::make_pair(6, 11));
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, at(7));
    Drain();
    EXPECT_EQ(Sel(*f.memo), std::make_pair(7, 7));
    PostMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, at(10));
    PostMessageA(h, WM_LBUTTONUP, 0, at(10));
    Drain();
    EXPECT_EQ(Sel(*f.memo), std::make_pair(7, 10));
    // Once the interval has passed, a press inside the selection waits for a
    // drag and a release without one places the caret.
    f.memo->DoubleClickTime = 1;
    PostMessageA(h, WM_LBUTTONDBLCLK, MK_LBUTTON, at(8));
    PostMessageA(h, WM_LBUTTONUP, 0, at(8));
    Drain();
    Sleep(30);
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, at(7));
    Drain();
    EXPECT_EQ(Sel(*f.memo), std::make_pair(6, 11));
    PostMessageA(h, WM_LBUTTONUP, 0, at(7));
    Drain();
    EXPECT_EQ(Sel(*f.memo), std::make_pair(7, 7));
}

TEST(SyntaxMemoWindowCaret, TabGoesUnderTheNextWordAndCtrlEnterBreaksTheLine) {
    MemoForm f;
    f.memo->SetOptions(f.memo->Options() | smoTabToColumn | smoUseTAB | smoSmartFill);
    f.memo->SetText("foo  bar\r\n");
    f.memo->Core().SetTabDefault(4);
    f.memo->Core().SetSelection(9, 9);
    f.memo->SetFocus();
    HWND h = f.memo->Handle();
    PostMessageA(h, WM_CHAR, '\t', 1);
    PostMessageA(h, WM_CHAR, 'x', 1);
    Drain();
    EXPECT_EQ(f.memo->Core().Store().GetText(), "foo  bar\r\t x");
    // Without WantReturns Enter belongs to the dialog; Ctrl+Enter's LF breaks the line.
    f.memo->Core().WantReturns = false;
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_CONTROL] = 0x80;
    SetKeyboardState(state);
    PostMessageA(h, WM_CHAR, '\r', 1);
    PostMessageA(h, WM_CHAR, '\n', 1);
    Drain();
    state[VK_CONTROL] = 0;
    SetKeyboardState(state);
    EXPECT_EQ(f.memo->Core().Store().GetText(), "foo  bar\r\t x\r\t ");  // auto-indented
}

TEST(SyntaxMemoWindowCaret, CaretHiddenWhileItsLineIsScrolledAway) {
    // The caret goes with the focus, which another process showing a window
    // takes meanwhile: such a run is repeated.
    qftest::RetryWhileActivationTaken([] {
        MemoForm f;
        std::string text;
        for (int i = 0; i < 40; i++) text += "line " + std::to_string(i) + "\r\n";
        f.memo->SetText(text);
        f.memo->Core().SetSelection(0, 0);
        Focus(*f.memo);
        HWND h = f.memo->Handle();
        const int y = f.memo->Core().LineHeight() / 2;
        EXPECT_TRUE(CaretBlinksAt(h, f.memo->Core().TextLeft(), y));
        // Above the top line the caret's point is (-1, -1): it would blink over the margin.
        SendMessageA(h, WM_VSCROLL, SB_PAGEDOWN, 0);
        Focus(*f.memo);
        ASSERT_GT(f.memo->Core().TopLine(), 0);
        EXPECT_FALSE(CaretBlinksAt(h, 0, y));
        SendMessageA(h, WM_VSCROLL, SB_PAGEUP, 0);
        Focus(*f.memo);
        EXPECT_TRUE(CaretBlinksAt(h, f.memo->Core().TextLeft(), y));
    });
}
