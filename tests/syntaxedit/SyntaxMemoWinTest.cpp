// The editor control as a real window: pixels painted into a DIB, keys and
// mouse posted to it, scroll bars, clipboard and dropped files.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <set>
#include <thread>

#include <shlobj.h>

#include "CustomBookmarks.h"
#include "KeyboardActionContoller.h"
#include "SyntaxMemo.h"
#include "ui/Form.h"
#include "ui/Graphics.h"

#include "MemoForm.h"
#include "TestSupport.h"

TEST(SyntaxMemoWindow, NewControlDefaults) {
    TForm form;
    TSyntaxMemo memo(&form);
    EXPECT_EQ(memo.Width(), 185);
    EXPECT_EQ(memo.Height(), 89);
    EXPECT_EQ(memo.Version(), "2.00.02");
    EXPECT_EQ(memo.Lines().Count(), 0);  // no window yet
    EXPECT_FALSE(memo.HandleAllocated());
    EXPECT_EQ(memo.def_BackColor(), kWhite);
    EXPECT_EQ(memo.Core().ActiveParser(), 1);
    EXPECT_TRUE(memo.TabStop());
    EXPECT_EQ(memo.VisiblePropEdPages(), kAllPropEdPages);
    EXPECT_EQ(memo.About, "");
    EXPECT_EQ(memo.Settings, "");
}

TEST(SyntaxMemoWindow, VisiblePropEdPagesHoldsOnlyTheFivePages) {
    TForm form;
    TSyntaxMemo memo(&form);
    struct Case {
        unsigned set, got;
    } cases[] = {{ppKEYS, ppKEYS}, {0, 0}, {ppOPTIONS | ppTEMPLATES, ppOPTIONS | ppTEMPLATES}, {0xFFFFFFFF, 31},
                 {64 | ppHIGHLIGHTING, ppHIGHLIGHTING}};
    for (const Case& c : cases) {
        memo.SetVisiblePropEdPages(c.set);
        EXPECT_EQ(memo.VisiblePropEdPages(), c.got) << c.set;
    }
    EXPECT_FALSE(memo.HandleAllocated());  // no window needed
}

TEST(SyntaxMemoWindow, LogLinesPaintInTheirColours) {
    MemoForm f;
    f.memo->SetReadOnly(true);
    f.Log("Status:     Connecting", kRed);
    f.Log("Command:    USER x", kGreen);
    f.Log("            331 Password", kRed);
    EXPECT_EQ(f.memo->Lines().Count(), 3);
    TBitmap& b = f.Snap();
    int cw = f.memo->Core().CharWidth();
    // Margin and the row past the text: white; the text: red glyphs on white.
    EXPECT_EQ(b.PixelRGB(0, 2), 0xFFFFFFu);
    std::set<uint32_t> row0 = f.RowColours(0, 2, 2 + 22 * cw);
    EXPECT_EQ(row0, (std::set<uint32_t>{Rgb(kRed), 0xFFFFFF}));
    EXPECT_EQ(f.RowColours(1, 2, 2 + 18 * cw), (std::set<uint32_t>{Rgb(kGreen), 0xFFFFFF}));
    EXPECT_EQ(f.RowColours(0, 2 + 23 * cw), (std::set<uint32_t>{0xFFFFFF}));
    // Highlighting off: black on white, the line colours unused.
    f.memo->SetOptions(f.memo->Options() & ~smoSyntaxHighlight);
    f.Snap();
    EXPECT_EQ(f.RowColours(0, 2, 2 + 22 * cw), (std::set<uint32_t>{0, 0xFFFFFF}));
}

namespace {

// Counts the paint messages a window gets (subclassed in front of its procedure).
struct PaintCounter {
    static int& Count() {
        static int n = 0;
        return n;
    }
    static WNDPROC& Old() {
        static WNDPROC p = nullptr;
        return p;
    }
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l) {
        if (msg == WM_PAINT) Count()++;
        return CallWindowProcA(Old(), h, msg, w, l);
    }
    explicit PaintCounter(HWND h) : hwnd(h) {
        Count() = 0;
        Old() = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
    }
    ~PaintCounter() { SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Old())); }
    HWND hwnd;
};

// The colours of a row as the window itself shows them.
std::set<uint32_t> WindowRowColours(TSyntaxMemo* memo, int row, int x0, int x1) {
    RECT r;
    GetClientRect(memo->Handle(), &r);
    TBitmap shown(r.right, r.bottom);
    HDC dc = GetDC(memo->Handle());
    BitBlt(shown.Canvas().Handle(), 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(memo->Handle(), dc);
    std::set<uint32_t> out;
    int lh = memo->Core().LineHeight();
    for (int y = row * lh; y < (row + 1) * lh; y++)
        for (int x = x0; x < x1; x++) out.insert(shown.PixelRGB(x, y));
    return out;
}

}  // namespace

// The log's Repaint draws the new line at once, without a paint message; a
// burst of lines, repainted or not, ends on one paint when the messages run.
TEST(SyntaxMemoWindow, LogRepaintDrawsAtOnceAndABurstPaintsOnce) {
    MemoForm f(400, 64);
    f.memo->SetReadOnly(true);
    int cw = f.memo->Core().CharWidth();
    auto lastRow = [&] { return f.memo->Core().LineCount() - 1 - f.memo->Core().TopLine(); };
    PaintCounter paints(f.memo->Handle());
    for (int i = 0; i < 200; i++) {
        f.Log("Status:     line " + std::to_string(i), i % 2 ? kGreen : kRed);
        // The line just added is on the screen as soon as Repaint returns.
        if (i >= 197) EXPECT_TRUE(WindowRowColours(f.memo, lastRow(), 2, 2 + 10 * cw).count(Rgb(i % 2 ? kGreen : kRed))) << i;
    }
    EXPECT_EQ(PaintCounter::Count(), 0);
    Drain();
    EXPECT_EQ(PaintCounter::Count(), 1);
    // Without Repaint: one paint for the burst, showing its last line.
    PaintCounter::Count() = 0;
    for (int i = 0; i < 100; i++) {
        f.memo->Lines().Add("Command:    more " + std::to_string(i));
        int n = f.memo->Lines().Count();
        f.memo->SetLineTextColor(n + 1, i == 99 ? kRed : kGreen);
        f.memo->SetLineTextBack(n + 1, f.memo->def_BackColor());
    }
    Drain();
    EXPECT_EQ(PaintCounter::Count(), 1);
    EXPECT_EQ(f.memo->Lines().Count(), 300);
    EXPECT_EQ(f.memo->Lines().Get(299), "Command:    more 99");
    EXPECT_TRUE(WindowRowColours(f.memo, lastRow(), 2, 2 + 10 * cw).count(Rgb(kRed)));
}

TEST(SyntaxMemoWindow, BackColourSelectionDisabledAndTabs) {
    MemoForm f;
    f.Log("abcdef", kRed);
    f.memo->SetLineTextBack(1, kGreen);
    f.memo->Lines().Add("\tX");
    int cw = f.memo->Core().CharWidth();
    f.Snap();
    EXPECT_EQ(f.RowColours(0, 2 + 7 * cw), (std::set<uint32_t>{Rgb(kGreen)}));
    // The TAB expands to four blank cells: no glyph before column 4.
    EXPECT_EQ(f.RowColours(1, 2, 2 + 4 * cw), (std::set<uint32_t>{0xFFFFFF}));
    EXPECT_GT(f.RowColours(1, 2 + 4 * cw, 2 + 5 * cw).size(), 1u);
    // A selection of "cd" (shown unfocused too, with HideSelection off).
    f.memo->Core().HideSelection = false;
    f.memo->Perform(EM_SETSEL, 2, 4);
    f.Snap();
    uint32_t hl = Rgb(SysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(f.bmp.PixelRGB(2 + 2 * cw, 0), hl);
    EXPECT_EQ(f.bmp.PixelRGB(2 + 4 * cw, 0), Rgb(kGreen));
    // Disabled: every background silver.
    f.memo->Perform(EM_SETSEL, 0, 0);
    f.memo->SetEnabled(false);
    f.Snap();
    EXPECT_EQ(f.bmp.PixelRGB(2 + 10 * cw, 0), 0xC0C0C0u);
    EXPECT_EQ(f.bmp.PixelRGB(2 + 10 * cw, f.memo->Core().LineHeight() * 3), 0xC0C0C0u);
}

TEST(SyntaxMemoWindow, WordWrapAtWidths56And20) {
    for (int cols : {60, 20}) {
        MemoForm f(2 + 8 * cols + 40, 300);
        int cw = f.memo->Core().CharWidth();
        RECT r;
        GetClientRect(f.memo->Handle(), &r);
        f.memo->SetBounds(0, 0, 2 + cw * cols + (f.memo->Width() - r.right), 300);
        f.memo->SetWordWrap(true);
        EXPECT_EQ(f.memo->Core().WrapWidth(), cols == 60 ? 56 : 20) << cols;
        std::string words;
        for (int i = 0; i < 30; i++) words += "word" + std::to_string(i) + " ";
        f.memo->Lines().Add(words + std::string(70, 'L'));
        TTextStore& st = f.memo->Core().Store();
        for (TLineNode* n = st.Head(); n; n = n->Next) EXPECT_LE(n->Len, f.memo->Core().WrapWidth()) << cols;
        EXPECT_EQ(st.CheckInvariants(), "");
        f.Snap();
        // Every piece is painted on a row of its own.
        EXPECT_GT(f.RowColours(st.LineCount() - 1, 2, 2 + cw).size(), 1u) << cols;
    }
}

TEST(SyntaxMemoWindow, FortyThousandLinesScaleTheScrollBar) {
    MemoForm f;
    std::string text;
    for (int i = 0; i < 40000; i++) text += "line\r\n";
    f.memo->SetText(text);
    Drain();
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(f.memo->Handle(), SB_VERT, &si);
    EXPECT_EQ(si.nMax, 20000);
    SendMessageA(f.memo->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(f.memo->Perform(EM_GETFIRSTVISIBLELINE, 0, 0), f.memo->Core().VisibleLines());
}

namespace {

void PostKey(HWND h, WORD key, bool shift = false, bool ctrl = false) {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(state);
    PostMessageA(h, WM_KEYDOWN, key, 1);
    Drain();
    state[VK_SHIFT] = state[VK_CONTROL] = 0;
    SetKeyboardState(state);
}

std::pair<int32_t, int32_t> Sel(TSyntaxMemo& m) { return {m.Core().Anchor(), m.Core().Caret()}; }

}  // namespace

TEST(SyntaxMemoWindow, PostedKeysMoveSelectAndType) {
    MemoForm f;
    f.memo->SetText("abc de\r\n  fghijk");
    f.memo->SetFocus();
    HWND h = f.memo->Handle();
    struct Case {
        const char* name;
        WORD key;
        bool shift, ctrl;
        std::pair<int32_t, int32_t> sel;
    } cases[] = {
        {"right", VK_RIGHT, false, false, {5, 5}}, {"shift right", VK_RIGHT, true, false, {4, 5}},
        {"end", VK_END, false, false, {6, 6}},     {"shift home", VK_HOME, true, false, {4, 0}},
        {"down", VK_DOWN, false, false, {11, 11}}, {"ctrl end", VK_END, false, true, {15, 15}},
    };
    for (const Case& c : cases) {
        f.memo->Core().SetSelection(4, 4);
        PostKey(h, c.key, c.shift, c.ctrl);
        EXPECT_EQ(Sel(*f.memo), c.sel) << c.name;
    }
    // Ctrl+K 2 sets bookmark 2; Ctrl+Q 2 returns to it.
    f.memo->Core().SetSelection(7, 7);
    PostKey(h, 'K', false, true);
    PostKey(h, '2');
    f.memo->Core().SetSelection(0, 0);
    PostKey(h, 'Q', false, true);
    PostKey(h, '2');
    EXPECT_EQ(Sel(*f.memo), std::make_pair(7, 7));
    // Typing with auto-indent, then overwrite.
    f.memo->Core().SetSelection(15, 15);
    PostMessageA(h, WM_CHAR, '\r', 1);
    PostMessageA(h, WM_CHAR, 'z', 1);
    Drain();
    EXPECT_EQ(f.memo->Core().Store().GetText(7), "  fghijk\r  z");
    PostKey(h, VK_INSERT);
    f.memo->Core().SetSelection(0, 0);
    PostMessageA(h, WM_CHAR, 'X', 1);
    Drain();
    EXPECT_EQ(f.memo->Core().Store().GetText(0, 3), "Xbc");
}

TEST(SyntaxMemoWindow, MouseClickShiftClickDragDoubleClickAndGutter) {
    MemoForm f;
    f.memo->SetText("hello world\r\nsecond line");
    int cw = f.memo->Core().CharWidth(), lh = f.memo->Core().LineHeight();
    HWND h = f.memo->Handle();
    auto at = [&](int col, int row) { return MAKELPARAM(2 + col * cw + 1, row * lh + 2); };
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, at(3, 0));
    PostMessageA(h, WM_LBUTTONUP, 0, at(3, 0));
    Drain();
    EXPECT_EQ(Sel(*f.memo), std::make_pair(3, 3));
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, at(2, 1));
    PostMessageA(h, WM_LBUTTONUP, 0, at(2, 1));
    Drain();
    EXPECT_EQ(Sel(*f.memo), std::make_pair(3, 14));
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, at(1, 0));
    PostMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, at(8, 0));
    PostMessageA(h, WM_LBUTTONUP, 0, at(8, 0));
    Drain();
    EXPECT_EQ(Sel(*f.memo), std::make_pair(1, 8));
    PostMessageA(h, WM_LBUTTONDBLCLK, MK_LBUTTON, at(8, 0));
    Drain();
    EXPECT_EQ(Sel(*f.memo), std::make_pair(6, 11));
    // With the gutter shown a click in it reports the line.
    f.memo->SetOptions(f.memo->Options() | smoShowGutter);
    int clicked = -1;
    f.memo->OnGutterClick = [&](TObject*, int32_t line) { clicked = line; };
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, lh + 2));
    Drain();
    EXPECT_EQ(clicked, 2);  // 1-based
    EXPECT_EQ(Sel(*f.memo), std::make_pair(6, 11));  // the caret stays
}

TEST(SyntaxMemoWindow, FixedPitchDragPastTheEdgeClickAndKeysScrollBack) {
    MemoForm f;
    ASSERT_TRUE(f.memo->Core().FixedPitch());
    f.memo->SetText(std::string(300, 'x') + "\r\n" + std::string(20, 'y'));
    f.memo->SetFocus();
    Drain();
    HWND h = f.memo->Handle();
    RECT r;
    GetClientRect(h, &r);
    int cw = f.memo->Core().CharWidth(), lh = f.memo->Core().LineHeight();
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, lh / 2));
    Drain();
    for (int move = 1; move <= 5; move++) {
        PostMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(r.right + 30, lh / 2));
        Drain();
        // One column a move, the caret on the last boundary inside.
        EXPECT_EQ(f.memo->Core().LeftCol(), move);
        int x = static_cast<short>(LOWORD(f.memo->Perform(EM_POSFROMCHAR, 0, f.memo->Core().Caret())));
        EXPECT_LE(x + cw, r.right) << move;
        EXPECT_GT(x + 2 * cw, r.right) << move;
    }
    PostMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(r.right + 30, lh / 2));
    Drain();
    // A click inside the first screen's columns leaves the view where it is.
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2 + 10 * cw + 1, lh / 2));
    PostMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(2 + 10 * cw + 1, lh / 2));
    Drain();
    EXPECT_EQ(f.memo->Core().Caret(), 15);
    EXPECT_EQ(f.memo->Core().LeftCol(), 5);
    // End of the long line, then down to the short one: its column fits the
    // first screen, so the view comes back to column 0.
    PostKey(h, VK_END);
    EXPECT_EQ(f.memo->Core().Caret(), 300);
    EXPECT_GT(f.memo->Core().LeftCol(), 200);
    PostKey(h, VK_DOWN);
    EXPECT_EQ(f.memo->Core().Caret(), 301 + 20);
    EXPECT_EQ(f.memo->Core().LeftCol(), 0);
}

TEST(SyntaxMemoWindow, WithoutTabStopTypingAndMouseOnlyRaiseEvents) {
    MemoForm f;
    f.memo->SetText("hello world");
    f.memo->SetFocus();
    int cw = f.memo->Core().CharWidth(), lh = f.memo->Core().LineHeight();
    HWND h = f.memo->Handle();
    auto at = [&](int col) { return MAKELPARAM(2 + col * cw + 1, lh / 2); };
    int downs = 0, moves = 0, ups = 0, presses = 0;
    f.memo->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    f.memo->OnMouseMove = [&](TObject*, TShiftState, int, int) { ++moves; };
    f.memo->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++ups; };
    f.memo->OnKeyPress = [&](TObject*, char&) { ++presses; };
    f.memo->SetTabStop(false);
    EXPECT_EQ(GetWindowLongA(h, GWL_STYLE) & WS_TABSTOP, 0);
    f.memo->Core().SetSelection(2, 2);
    PostMessageA(h, WM_CHAR, 'z', 1);
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, at(1));
    PostMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, at(6));
    PostMessageA(h, WM_LBUTTONUP, 0, at(6));
    Drain();
    EXPECT_EQ(f.memo->Core().Store().GetText(), "hello world");
    EXPECT_EQ(Sel(*f.memo), std::make_pair(2, 2));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(downs, 1);
    EXPECT_GE(moves, 1);
    EXPECT_EQ(ups, 1);
    // Key-down commands still run; only typing and the mouse wait for TabStop.
    PostKey(h, VK_END);
    EXPECT_EQ(Sel(*f.memo), std::make_pair(11, 11));

    f.memo->SetTabStop(true);
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, at(1));
    PostMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, at(6));
    PostMessageA(h, WM_LBUTTONUP, 0, at(6));
    PostMessageA(h, WM_CHAR, 'z', 1);
    Drain();
    EXPECT_EQ(f.memo->Core().Store().GetText(), "hzworld");
}

TEST(SyntaxMemoWindow, AssigningLinesReplacesTheText) {
    MemoForm f;
    f.memo->SetText("old\r\ntext");
    f.memo->Core().SetLineTextColor(1, kRed);
    TStringList list;
    list.Add("new");
    list.Add("lines");
    f.memo->SetLines(list);
    EXPECT_EQ(f.memo->Lines().Text(), "new\r\nlines\r\n");
    EXPECT_EQ(f.memo->Core().Store().LineAt(0)->TextColor, -1);
    EXPECT_FALSE(f.memo->Modified());
    EXPECT_EQ(SendMessageA(f.memo->Handle(), EM_CANUNDO, 0, 0), 0);
}

TEST(SyntaxMemoClipboard, TextAndRichTextRoundTrip) {
    MemoForm f;
    f.memo->SetText("first {line}\r\nsecond");
    f.memo->Perform(EM_SETSEL, 6, 16);
    SendMessageA(f.memo->Handle(), WM_COPY, 0, 0);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE t = GetClipboardData(CF_TEXT);
    ASSERT_NE(t, nullptr);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(t)), "{line}\r\nsec");
    GlobalUnlock(t);
    HANDLE r = GetClipboardData(RegisterClipboardFormatA("Rich Text Format"));
    ASSERT_NE(r, nullptr);
    std::string rtf(static_cast<const char*>(GlobalLock(r)), GlobalSize(r));
    GlobalUnlock(r);
    CloseClipboard();
    EXPECT_NE(rtf.find("\\{line\\}\\line \r\nsec\r\n}}"), std::string::npos) << rtf;
    MemoForm g;
    SendMessageA(g.memo->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(g.memo->Core().Store().GetText(), "{line}\rsec");
    g.memo->SetReadOnly(true);
    SendMessageA(g.memo->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(g.memo->Core().Store().GetText(), "{line}\rsec");
}

TEST(SyntaxMemoWindow, DroppedFilesAreReportedAndReleased) {
    MemoForm f;
    f.memo->SetOptions(f.memo->Options() | smoProcessDroppedFiles);
    std::vector<std::string> got;
    f.memo->OnFilesDropped = [&](TObject*, const std::vector<std::string>& files, POINT) { got = files; };
    const char names[] = "C:\\a.txt\0C:\\b.txt\0";
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + sizeof names + 1);
    auto* df = static_cast<DROPFILES*>(GlobalLock(block));
    df->pFiles = sizeof(DROPFILES);
    memcpy(reinterpret_cast<char*>(df) + sizeof(DROPFILES), names, sizeof names);
    GlobalUnlock(block);
    SendMessageA(f.memo->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
    EXPECT_EQ(got, (std::vector<std::string>{"C:\\a.txt", "C:\\b.txt"}));
    // DragFinish freed the block.
    EXPECT_EQ(GlobalSize(block), 0u);
}

TEST(SyntaxMemoClipboard, CopyPlacesOnlyTheChosenFormats) {
    const UINT rtf = RegisterClipboardFormatA("Rich Text Format");
    struct Case {
        const char* name;
        uint8_t formats;
        bool text, rich;
    } cases[] = {
        {"both", smTEXT | smRTF, true, true},
        {"text only", smTEXT, true, false},
        {"RTF only", smRTF, false, true},
        {"none: the clipboard is only emptied", 0, false, false},
    };
    MemoForm f;
    f.memo->Font().SetName("Arial");
    f.memo->SetText("one two");
    f.memo->Perform(EM_SETSEL, 4, 7);
    for (const Case& c : cases) {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        HGLOBAL old = GlobalAlloc(GMEM_MOVEABLE, 4);
        memcpy(GlobalLock(old), "old", 4);
        GlobalUnlock(old);
        SetClipboardData(CF_TEXT, old);
        CloseClipboard();
        f.memo->ClipCopyFormats = c.formats;
        SendMessageA(f.memo->Handle(), WM_COPY, 0, 0);
        EXPECT_EQ(IsClipboardFormatAvailable(CF_TEXT) != 0, c.text) << c.name;
        EXPECT_EQ(IsClipboardFormatAvailable(rtf) != 0, c.rich) << c.name;
        if (!c.rich) continue;
        ASSERT_TRUE(OpenClipboard(nullptr));
        HANDLE r = GetClipboardData(rtf);
        std::string text(static_cast<const char*>(GlobalLock(r)), GlobalSize(r));
        GlobalUnlock(r);
        CloseClipboard();
        // The RTF names the control's font, and copying leaves it alone.
        EXPECT_NE(text.find("{\\f1 \\fnil Arial;}"), std::string::npos) << text;
    }
    EXPECT_EQ(f.memo->Core().FontName, "Arial");
}

TEST(SyntaxMemoClipboard, CutIsOneUndoStep) {
    MemoForm f;
    f.memo->SetText("one two three");
    f.memo->Perform(EM_SETSEL, 3, 7);
    SendMessageA(f.memo->Handle(), WM_CUT, 0, 0);
    EXPECT_EQ(f.memo->Core().Store().GetText(), "one three");
    f.memo->Perform(EM_UNDO, 0, 0);
    EXPECT_EQ(f.memo->Core().Store().GetText(), "one two three");
    EXPECT_EQ(f.memo->Perform(EM_CANUNDO, 0, 0), 0);
}

TEST(SyntaxMemoWindow, BorderStyleNoneOrSingleRemakesTheWindow) {
    MemoForm f;
    f.memo->SetText("kept\r\ntext");
    auto edge = [&] { return (GetWindowLongA(f.memo->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0; };
    EXPECT_EQ(f.memo->BorderStyle(), 1);
    EXPECT_TRUE(edge());
    HWND first = f.memo->Handle();
    RECT before;
    GetClientRect(first, &before);
    f.memo->SetBorderStyle(0);
    Drain();
    EXPECT_FALSE(edge());
    RECT after;
    GetClientRect(f.memo->Handle(), &after);
    EXPECT_GT(after.right, before.right);  // the edge's room goes to the text
    EXPECT_EQ(f.memo->Core().ClientWidth(), after.right);
    EXPECT_EQ(f.memo->Lines().Count(), 2);
    EXPECT_EQ(f.memo->Lines().Get(1), "text");
    f.memo->SetBorderStyle(7);  // not a border style: ignored
    EXPECT_EQ(f.memo->BorderStyle(), 0);
    f.memo->SetBorderStyle(1);
    EXPECT_TRUE(edge());
    // The new window is a working one: a posted key still types.
    SetFocus(f.memo->Handle());
    PostMessageA(f.memo->Handle(), WM_CHAR, 'x', 1);
    Drain();
    EXPECT_EQ(f.memo->Lines().Get(0), "xkept");
}

TEST(SyntaxMemoWindow, TextChangeAndRecognisedCommandEvents) {
    MemoForm f;
    f.memo->SetText("abc\r\ndef");
    HWND h = f.memo->Handle();
    SetFocus(h);
    std::vector<std::pair<int32_t, int32_t>> changes;
    f.memo->OnTextChange = [&](TObject* s, int32_t start, int32_t count) {
        EXPECT_EQ(s, f.memo);
        changes.push_back({start, count});
    };
    std::vector<int32_t> commands;
    f.memo->OnCommandRecognised = [&](TObject*, int32_t& code) {
        commands.push_back(code);
        if (code == caDOWN) code = caDOCEND;  // the application runs another command
    };
    f.memo->Perform(EM_SETSEL, 1, 1);
    PostMessageA(h, WM_CHAR, 'x', 1);
    Drain();
    PostKey(h, VK_BACK);
    PostKey(h, VK_DOWN);
    EXPECT_EQ(Sel(*f.memo), std::make_pair(7, 7));  // Document end ran instead of Down
    f.memo->Perform(EM_SETSEL, 0, -1);
    f.memo->Perform(EM_REPLACESEL, 0, reinterpret_cast<intptr_t>(""));
    EXPECT_EQ(commands, (std::vector<int32_t>{caBACKSPACE, caDOWN}));
    EXPECT_EQ(changes, (std::vector<std::pair<int32_t, int32_t>>{{1, 1}, {1, -1}, {0, 0}}));
}

TEST(SyntaxMemoWindow, NamedBookmarkInsideADeletionIsReported) {
    MemoForm f;
    f.memo->SetText("abcdef");
    std::vector<std::string> freed;
    f.memo->OnCustomBookmarkFree = [&](TObject* s, const std::string& name) {
        EXPECT_EQ(s, f.memo);
        freed.push_back(name);
    };
    f.memo->Core().Bookmarks().Add("in", 3);
    f.memo->Core().Bookmarks().Add("after", 5);
    f.memo->Perform(EM_SETSEL, 1, 4);
    f.memo->Perform(EM_REPLACESEL, 0, reinterpret_cast<intptr_t>(""));
    EXPECT_EQ(freed, std::vector<std::string>{"in"});
    EXPECT_EQ(f.memo->Core().Bookmarks().PositionOf("after"), 2);
}

TEST(SyntaxMemoWindow, PublishedFlagsReachTheWindow) {
    MemoForm f;
    HWND h = f.memo->Handle();
    struct Case {
        bool wantTab, wantReturns;
        LRESULT code;
    } cases[] = {
        {true, true, DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB | DLGC_WANTALLKEYS},
        {false, true, DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS},
        {true, false, DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB},
        {false, false, DLGC_WANTARROWS | DLGC_WANTCHARS},
    };
    for (const Case& c : cases) {
        f.memo->SetWantTab(c.wantTab);
        f.memo->SetWantReturns(c.wantReturns);
        EXPECT_EQ(SendMessageA(h, WM_GETDLGCODE, 0, 0), c.code) << c.wantTab << c.wantReturns;
    }
    // Modified follows the edits and can be cleared.
    EXPECT_FALSE(f.memo->Modified());
    f.memo->Lines().Add("x");
    EXPECT_TRUE(f.memo->Modified());
    EXPECT_EQ(SendMessageA(h, EM_GETMODIFY, 0, 0), 1);
    f.memo->SetModified(false);
    EXPECT_FALSE(f.memo->Modified());
    EXPECT_EQ(SendMessageA(h, EM_CANUNDO, 0, 0), 0);
    f.memo->Lines().Add("read with the form");
    f.memo->Loaded();
    EXPECT_FALSE(f.memo->Modified());
    // With HideSelection on (the default) an unfocused control shows none.
    f.memo->SetText("abcdef");
    f.memo->Perform(EM_SETSEL, 0, 6);
    SetFocus(nullptr);
    Drain();
    uint32_t hl = Rgb(SysColor(COLOR_HIGHLIGHT));
    int cw = f.memo->Core().CharWidth();
    EXPECT_EQ(f.Snap().PixelRGB(2 + cw, 1), Rgb(f.memo->def_BackColor()));
    f.memo->SetHideSelection(false);
    EXPECT_EQ(f.Snap().PixelRGB(2 + cw, 1), hl);
    f.memo->SetRightMargin(30);
    EXPECT_EQ(f.memo->Core().RightMargin(), 30);
}

TEST(SyntaxMemoWindow, ScrollCodesMoveTheView) {
    MemoForm f;
    std::string text;
    for (int i = 0; i < 300; i++) text += "line " + std::to_string(i) + "\r\n";
    f.memo->SetText(text);
    HWND h = f.memo->Handle();
    int32_t lines = f.memo->Core().LineCount(), page = f.memo->Core().VisibleLines();
    struct Case {
        const char* name;
        int code;
        int32_t want;
    } cases[] = {
        {"bottom: the last page", SB_BOTTOM, lines - page},
        {"line up", SB_LINEUP, lines - page - 1},
        {"page up", SB_PAGEUP, lines - 2 * page - 1},
        {"top", SB_TOP, 0},
        {"line up at the top stays", SB_LINEUP, 0},
        {"line down", SB_LINEDOWN, 1},
        {"page down", SB_PAGEDOWN, 1 + page},
        {"end of scrolling changes nothing", SB_ENDSCROLL, 1 + page},
    };
    for (const Case& c : cases) {
        SendMessageA(h, WM_VSCROLL, static_cast<WPARAM>(c.code), 0);
        EXPECT_EQ(f.memo->Perform(EM_GETFIRSTVISIBLELINE, 0, 0), c.want) << c.name;
    }
}

// Over a selection that can be dragged the cursor is the arrow; off it the
// I-beam again. A cursor the program set stays.
TEST(SyntaxMemoWindowMouse, ArrowOverTheSelectionComesBackToTheIBeam) {
    const int32_t kArrow = -2, kIBeam = -4;
    MemoForm f;
    f.memo->SetText("hello world");
    ASSERT_TRUE(f.memo->Options() & 0x2000000);  // smoOLEDragSource, on by default
    f.memo->Perform(EM_SETSEL, 0, 5);
    int cw = f.memo->Core().CharWidth(), lh = f.memo->Core().LineHeight();
    HWND h = f.memo->Handle();
    auto moveTo = [&](int col) { SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(2 + col * cw + 1, lh / 2)); };
    struct Step {
        int col;
        int32_t cursor;
    } const steps[] = {{2, kArrow}, {8, kIBeam}, {3, kArrow}, {5, kIBeam}, {1, kArrow}};
    for (const Step& s : steps) {
        moveTo(s.col);
        EXPECT_EQ(f.memo->Cursor(), s.cursor) << "column " << s.col;
    }
    f.memo->SetCursor(kArrow);
    moveTo(8);
    EXPECT_EQ(f.memo->Cursor(), kArrow);
}

// Cut puts the text on the clipboard and then deletes it; when the clipboard
// cannot be opened nothing reaches it and the text stays.
TEST(SyntaxMemoClipboard, CutKeepsTheTextWhenTheClipboardIsHeld) {
    MemoForm f;
    f.memo->SetText("one two three");
    f.memo->Perform(EM_SETSEL, 3, 7);
    // Another thread holds the clipboard open meanwhile.
    HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr), release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    bool held = false;
    std::thread holder([&] {
        held = OpenClipboard(nullptr) != 0;
        SetEvent(opened);
        WaitForSingleObject(release, 10000);
        if (held) CloseClipboard();
    });
    WaitForSingleObject(opened, 10000);
    ASSERT_TRUE(held);
    SendMessageA(f.memo->Handle(), WM_CUT, 0, 0);
    EXPECT_EQ(f.memo->Core().Store().GetText(), "one two three");
    EXPECT_EQ(f.memo->Perform(EM_CANUNDO, 0, 0), 0);
    EXPECT_FALSE(f.memo->CopyToClipboard());
    SetEvent(release);
    holder.join();
    CloseHandle(opened);
    CloseHandle(release);
    // Free again: the cut goes through.
    SendMessageA(f.memo->Handle(), WM_CUT, 0, 0);
    EXPECT_EQ(f.memo->Core().Store().GetText(), "one three");
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE t = GetClipboardData(CF_TEXT);
    std::string clip = t ? static_cast<const char*>(GlobalLock(t)) : "";
    if (t) GlobalUnlock(t);
    EmptyClipboard();
    CloseClipboard();
    EXPECT_EQ(clip, " two");
}

// Selecting with the mouse held still below the text keeps scrolling, a
// line a tick, until the mouse comes back or is released.
TEST(SyntaxMemoWindowMouse, SelectionHeldBelowTheTextKeepsScrolling) {
    std::optional<qftest::ForeignActivation> watch;
    HWND h = nullptr;
    bool lost = false;
    qftest::RetryWhileDisturbed([&] {
        watch.reset();
        watch.emplace();
        MemoForm f;
        std::string text;
        for (int i = 0; i < 100; i++) text += "line " + std::to_string(i) + "\r\n";
        f.memo->SetText(text);
        h = f.memo->Handle();
        f.memo->SetFocus();
        Drain();
        RECT r;
        GetClientRect(h, &r);
        int lh = f.memo->Core().LineHeight(), rows = f.memo->Core().VisibleLines();
        lost = false;
        SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, lh / 2));
        SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, r.bottom + 20));
        EXPECT_EQ(f.memo->Core().TopLine(), 1);
        // A tick while the input does not say the button is held does nothing.
        SendMessageA(h, WM_TIMER, TSyntaxMemo::kTrackTimer, 0);
        EXPECT_EQ(f.memo->Core().TopLine(), 1);
        // Held (this thread's key state says so) and still: the timer's ticks
        // (sent here, not waited for) go on a line each.
        BYTE keys[256], held[256];
        GetKeyboardState(keys);
        memcpy(held, keys, sizeof keys);
        held[VK_LBUTTON] = 0x80;
        SetKeyboardState(held);
        for (int tick = 1; tick <= 4; tick++) {
            SendMessageA(h, WM_TIMER, TSyntaxMemo::kTrackTimer, 0);
            EXPECT_EQ(f.memo->Core().TopLine(), 1 + tick) << tick;
            EXPECT_EQ(f.memo->Core().LineOfOffset(f.memo->Core().Caret()), 1 + tick + rows - 1) << tick;
        }
        EXPECT_EQ(f.memo->Core().Anchor(), 0);
        if (GetFocus() != h || GetCapture() != h) lost = true;
        // Back inside the text: the timer stops.
        SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, lh + 2));
        EXPECT_FALSE(KillTimer(h, TSyntaxMemo::kTrackTimer));
        SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, -20));
        EXPECT_TRUE(KillTimer(h, TSyntaxMemo::kTrackTimer));
        SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, -20));
        SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(10, -20));
        EXPECT_FALSE(KillTimer(h, TSyntaxMemo::kTrackTimer));
        int32_t top = f.memo->Core().TopLine();
        SendMessageA(h, WM_TIMER, TSyntaxMemo::kTrackTimer, 0);
        EXPECT_EQ(f.memo->Core().TopLine(), top);
        SetKeyboardState(keys);
    }, [&] { return lost || watch->Taken(); });
}
