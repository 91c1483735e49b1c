// The editor in a proportional font ("Arial") with a bold run and a selection
// over three lines, word wrap on: saved under the build folder for people to look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

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

TEST(SyntaxMemoScreenshot, ProportionalFontWithSelection) {
    TForm form;
    form.SetCaption("Editor - Arial");
    form.SetBounds(40, 40, 520, 300);
    TSyntaxMemo* memo = new TSyntaxMemo(&form);
    memo->SetAlign(alClient);
    memo->Font().SetName("Arial");
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
    RECT c;
    GetClientRect(memo->Handle(), &c);
    TBitmap client(c.right, c.bottom);
    memo->PaintTo(client.Canvas().Handle());
    EXPECT_TRUE(client.SaveToFile(std::string(SCREENSHOT_DIR) + "/syntaxmemo-proportional.bmp"));
    std::set<uint32_t> colours;
    for (int y = 0; y < client.Height(); y += 2)
        for (int x = 0; x < client.Width(); x += 2) colours.insert(client.PixelRGB(x, y));
    EXPECT_GT(colours.size(), 2u);
}
