// Pictures of the options dialog's five pages and of the completion list, saved
// under the build folder for people to look at (run under Xvfb for real
// glyphs); the test asserts only that the windows painted.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "SettingsProbe.h"
#include "TestSupport.h"
#include "SlotParsers.h"
#include "ScriptedModalRunner.h"
#include "syntaxedit/OptionsDialog.h"
#include "syntaxedit/SyntaxMemoMacros.h"

namespace {

void Settle(unsigned ms) {
    MSG msg;
    DWORD until = GetTickCount() + ms;
    // Bounded by time alone: a window that keeps posting to itself must not hold the picture up.
    while (GetTickCount() < until) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        else MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

std::set<uint32_t> Colours(TBitmap& bmp) {
    std::set<uint32_t> colours;
    for (int y = 0; y < bmp.Height(); y += 3)
        for (int x = 0; x < bmp.Width(); x += 3) colours.insert(bmp.PixelRGB(x, y));
    return colours;
}

// The window with its frame as the screen shows it, or, where the display
// keeps no screen (the null driver), from the window's own device context;
// true when it holds more than one colour.
bool Snap(HWND h, const std::string& name) {
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE | RDW_FRAME);
    // QF_SHOT_HOLD (ms) keeps each picture on screen longer, for a grab from outside.
    const char* hold = getenv("QF_SHOT_HOLD");
    Settle(700 + (hold ? static_cast<unsigned>(atoi(hold)) : 0));
    GdiFlush();
    // A pop-up closed meanwhile (another process took the activation) leaves nothing to take.
    if (!IsWindowVisible(h)) return false;
    RECT r;
    GetWindowRect(h, &r);
    TBitmap bmp(r.right - r.left, r.bottom - r.top);
    HDC screen = GetDC(nullptr);
    BitBlt(bmp.Canvas().Handle(), 0, 0, bmp.Width(), bmp.Height(), screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    if (Colours(bmp).size() <= 1) {
        HDC dc = GetWindowDC(h);
        BitBlt(bmp.Canvas().Handle(), 0, 0, bmp.Width(), bmp.Height(), dc, 0, 0, SRCCOPY);
        ReleaseDC(h, dc);
    }
    EXPECT_TRUE(bmp.SaveToFile(std::string(SCREENSHOT_DIR) + "/" + name + ".bmp"));
    return Colours(bmp).size() > 1;
}

}  // namespace

TEST(OptionsDialogScreenshot, EveryPage) {
    SettingsProbe probe;
    TScriptedModalRunner runner;
    runner.Expect("OptionsDialog", [&](TForm& form) {
        TOptionsDialog& d = dynamic_cast<TOptionsDialog&>(form);
        const char* names[] = {"options", "highlighting", "keys", "autocorrect", "templates"};
        d.CommandDescListBox->SetItemIndex(d.CommandDescListBox->Items().IndexOf("Undo"));
        d.CommandDescListBox->OnClick(d.CommandDescListBox);
        d.cteListBox->SetItemIndex(0);
        d.cteListBox->OnClick(d.cteListBox);
        for (int i = 0; i < d.PageControl1->PageCount(); i++) {
            d.PageControl1->SetActivePageIndex(i);
            EXPECT_TRUE(Snap(form.Handle(), std::string("options-dialog-") + names[i])) << names[i];
        }
        d.CancelButton->Click();
    });
    ExecuteOptionsDialog(probe.Settings(), kAllPropEdPages);
}

TEST(OptionsDialogScreenshot, ThroughAHighlighter) {
    // The palette closes when another process takes the activation.
    qftest::RetryWhileActivationTaken([] {
        TForm owner;
        TSyntaxMemoParser* parser = NewSchemeParser(&owner, "clike.sch");
        TScriptedModalRunner runner;
        runner.Expect("OptionsDialog", [&](TForm& form) {
            TOptionsDialog& d = dynamic_cast<TOptionsDialog&>(form);
            d.SyntaxMemo1->SetText("while (x) {\r\n  return 0; // done\r\n}");
            EXPECT_TRUE(Snap(form.Handle(), "options-dialog-highlighter-highlighting"));
            // The foreground button's palette open over the page.
            d.ForeButton->OpenPalette();
            ASSERT_TRUE(d.ForeButton->PaletteOpen());
            // Pictures only: the palette may close at any moment under another process.
            if (Snap(d.ForeButton->Palette()->Handle(), "colour-palette") && d.ForeButton->PaletteOpen())
                Snap(form.Handle(), "options-dialog-palette-open");
            // Another process taking the activation meanwhile has closed it already.
            if (d.ForeButton->PaletteOpen()) d.ForeButton->Palette()->ClosePalette();
            d.PageControl1->SetActivePage(d.TemplatesPage);
            EXPECT_TRUE(Snap(form.Handle(), "options-dialog-highlighter-templates"));
            d.CancelButton->Click();
        });
        ShowParserOptions(parser, kAllPropEdPages);
    });
}

// The preview in the language's own proportional font, keywords in bold.
TEST(OptionsDialogScreenshot, PreviewInTheLanguagesFontWithABoldElement) {
    TForm owner;
    TSyntaxMemoParser* parser = NewSchemeParser(&owner, "clike.sch");
    SetFontOf(SettingsOf(parser), "Arial", 12);
    TScriptedModalRunner runner;
    runner.Expect("OptionsDialog", [&](TForm& form) {
        TOptionsDialog& d = dynamic_cast<TOptionsDialog&>(form);
        d.SynElementsBox->SetItemIndex(0);  // "Keyword"
        d.SynElementsBox->OnClick(d.SynElementsBox);
        d.UseBoldBox->SetChecked(true);
        EXPECT_TRUE(Snap(form.Handle(), "options-dialog-preview-bold"));
        // The preview alone, painted into a bitmap of its own.
        RECT r;
        GetClientRect(d.FEditor->Handle(), &r);
        TBitmap bmp(r.right, r.bottom);
        d.FEditor->PaintTo(bmp.Canvas().Handle());
        EXPECT_GT(Colours(bmp).size(), 2u);
        EXPECT_TRUE(bmp.SaveToFile(std::string(SCREENSHOT_DIR) + "/options-dialog-preview-bold-editor.bmp"));
        d.CancelButton->Click();
    });
    ShowParserOptions(parser, ppHIGHLIGHTING);
}

TEST(OptionsDialogScreenshot, CompletionList) {
    TForm form;
    form.SetCaption("Completion list");
    form.SetBounds(40, 40, 480, 300);
    TSyntaxMemo* memo = new TSyntaxMemo(&form);
    memo->SetAlign(alClient);
    form.Show();
    TMacroKeyHandler& keys = memo->Macros().Keys();
    keys.AddTemplate("for", "counted loop", "for (|) {\r}");
    keys.AddTemplate("forin", "loop over a list", "for (| : ) {\r}");
    keys.AddTemplate("while", "loop while true", "while (|) {\r}");
    keys.AddTemplate("switch", "", "switch (|) {\r}");
    memo->SetText("int main() {\r\n    fo");
    memo->Core().SetSelection(memo->Core().TextLength(), memo->Core().TextLength());
    memo->SetFocus();
    Settle(300);
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_CONTROL] = 0x80;
    SetKeyboardState(state);
    SendMessageA(memo->Handle(), WM_KEYDOWN, 'J', 1);
    state[VK_CONTROL] = 0;
    SetKeyboardState(state);
    ASSERT_NE(memo->Macros().ListBox(), nullptr);
    EXPECT_TRUE(Snap(form.Handle(), "completion-list"));
}
