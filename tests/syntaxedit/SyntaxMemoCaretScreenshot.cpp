// A picture of the focus line and the block caret of overwrite mode, taken
// from the window as the display shows it (caret included), for people to
// look at. Asserts only that the window painted.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "Settle.h"
#include "SyntaxMemo.h"
#include "ui/Form.h"
#include "ui/Graphics.h"

TEST(SyntaxMemoScreenshot, FocusLineAndBlockCaret) {
    TForm form;
    form.SetCaption("Editor caret");
    form.SetBounds(40, 40, 520, 260);
    TSyntaxMemo* memo = new TSyntaxMemo(&form);
    memo->SetAlign(alClient);
    form.Show();
    memo->SetOptions(memo->Options() | smoBlockOverwriteCursor | smoShowGutter);
    memo->SetText("procedure Log;\r\nbegin\r\n  Writeln('overwrite here');\r\nend;\r\n");
    memo->SetShowFocusLine(true);
    memo->SetFocus();
    SettleWindows(form.Handle(), 800);
    memo->Core().SetSelection(26, 26);  // inside 'overwrite'
    PostMessageA(memo->Handle(), WM_KEYDOWN, VK_INSERT, 1);
    SettleWindows(form.Handle(), 300);
    // Shown again so the blinking caret is on when the picture is taken.
    HideCaret(memo->Handle());
    ShowCaret(memo->Handle());
    RECT c;
    GetClientRect(memo->Handle(), &c);
    TBitmap shot(c.right, c.bottom);
    HDC wdc = GetDC(memo->Handle());
    BitBlt(shot.Canvas().Handle(), 0, 0, c.right, c.bottom, wdc, 0, 0, SRCCOPY);
    ReleaseDC(memo->Handle(), wdc);
    EXPECT_TRUE(shot.SaveToFile(std::string(SCREENSHOT_DIR) + "/syntaxmemo-caret.bmp"));
    std::set<uint32_t> colours;
    for (int y = 0; y < shot.Height(); y += 2)
        for (int x = 0; x < shot.Width(); x += 2) colours.insert(shot.PixelRGB(x, y));
    EXPECT_GT(colours.size(), 2u);
}
