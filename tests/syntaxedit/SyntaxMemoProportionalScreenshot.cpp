// The editor in a proportional font ("Arial") with a bold run and a selection
// over three lines, word wrap on: saved under the build folder for people to look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "SM_Settings.h"
#include "Settle.h"
#include "SyntaxMemo.h"
#include "ui/Form.h"
#include "ui/Graphics.h"

// Makes a style of the editor's settings a bold one of its own colour.
static void MakeBoldStyle(TSyntaxMemoCore& core, uint8_t style, TColor color) {
    TStyleEntry bold;
    bold.Defined = 1;
    bold.FontStyle = 1;
    bold.TextColor = color;
    core.Settings().Styles[style] = bold;
}

// An Arial editor filling a form of the given caption and bounds.
struct ArialEditorForm {
    ArialEditorForm(const char* caption, int top, int height) : memo(new TSyntaxMemo(&form)) {
        form.SetCaption(caption);
        form.SetBounds(40, top, 520, height);
        memo->SetAlign(alClient);
        memo->Font().SetName("Arial");
    }
    // The editor's client area as it paints it, saved under the build folder.
    void Save(TBitmap& client, const char* file) {
        RECT c;
        GetClientRect(memo->Handle(), &c);
        client.SetSize(c.right, c.bottom);
        memo->PaintTo(client.Canvas().Handle());
        EXPECT_TRUE(client.SaveToFile(std::string(SCREENSHOT_DIR) + "/" + file));
    }
    TForm form;
    TSyntaxMemo* memo;
};

TEST(SyntaxMemoScreenshot, ProportionalFontWithSelection) {
    ArialEditorForm f("Editor - Arial", 40, 300);
    TForm& form = f.form;
    TSyntaxMemo* memo = f.memo;
    memo->Core().HideSelection = false;
    memo->SetWordWrap(true);
    form.Show();
    const char* text =
        "Wide and narrow letters: WWW MMM mmm iii lll ... every one in its own width.\r\n"
        "The caret, the mouse and the selection follow the measured widths.\r\n"
        "A long line wraps where its measured width no longer fits into the wrap width, "
        "at the start of the word that would not fit.\r\n"
        "\tA TAB expands to blanks up to its stop.\r\n"
        "Last line.";
    memo->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    // "Wide and narrow" in a bold style of its own colour.
    MakeBoldStyle(memo->Core(), 1, 0x800000);
    uint8_t styles[128] = {};
    std::fill(styles, styles + 15, 1);
    int32_t range[3] = {0, 0, 128};
    memo->Perform(SMM_SETLINESTYLES, reinterpret_cast<WPARAM>(range), reinterpret_cast<LPARAM>(styles));
    memo->Perform(EM_SETSEL, 31, 120);
    SettleWindows(form.Handle(), 1500);
    TBitmap client;
    f.Save(client, "syntaxmemo-proportional.bmp");
    std::set<uint32_t> colours;
    for (int y = 0; y < client.Height(); y += 2)
        for (int x = 0; x < client.Width(); x += 2) colours.insert(client.PixelRGB(x, y));
    EXPECT_GT(colours.size(), 2u);
}

TEST(SyntaxMemoScreenshot, ProportionalLongLineScrolledToItsEnd) {
    ArialEditorForm f("Editor - Arial, scrolled to the end", 360, 200);
    TForm& form = f.form;
    TSyntaxMemo* memo = f.memo;
    form.Show();
    std::string text = "Short line.\r\n";
    for (int i = 0; i < 12; i++) text += "WWW MMM mmm wide words ";
    text += "END\r\n";
    for (int i = 0; i < 30; i++) text += "iii lll ";
    text += "narrow end";
    memo->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    memo->Perform(EM_SETSEL, 0, 0);
    SettleWindows(form.Handle(), 300);
    // The thumb dragged to the end of the bar.
    SetScrollPos(memo->Handle(), SB_HORZ, 100000, FALSE);
    SendMessageA(memo->Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0), 0);
    SettleWindows(form.Handle(), 1500);
    TBitmap client;
    f.Save(client, "syntaxmemo-proportional-scrolled.bmp");
    // The wide line's last word ends inside the view, near its right edge
    // (the control keeps one character per line break).
    LPARAM wideEnd = static_cast<LPARAM>(text.find("\r\n", 13)) - 1;
    int end = static_cast<short>(LOWORD(memo->Perform(EM_POSFROMCHAR, 0, wideEnd)));
    EXPECT_GT(end, client.Width() / 2);
    EXPECT_LT(end, client.Width());
}

TEST(SyntaxMemoScreenshot, FixedPitchSelectionDraggedPastTheRightEdge) {
    ArialEditorForm f("Editor - Courier New, selection dragged past the edge", 580, 160);
    f.memo->Font().SetName("Courier New");
    f.form.Show();
    std::string text;
    for (int i = 0; i < 4; i++) text += "column " + std::to_string(i) + " of a line much wider than the window, 0123456789 end\r\n";
    f.memo->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SettleWindows(f.form.Handle(), 300);
    ASSERT_TRUE(f.memo->Core().FixedPitch());
    HWND h = f.memo->Handle();
    RECT c;
    GetClientRect(h, &c);
    int lh = f.memo->Core().LineHeight(), left = f.memo->Core().TextLeft();
    SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(left + 3, lh / 2));
    for (int move = 0; move < 4; move++) SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(c.right + 40, lh / 2));
    SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(c.right + 40, lh / 2));
    SettleWindows(f.form.Handle(), 1000);
    // Four columns for four moves, the caret at the right edge.
    EXPECT_EQ(f.memo->Core().LeftCol(), 4);
    TBitmap client;
    f.Save(client, "syntaxmemo-fixed-drag-past-edge.bmp");
}
