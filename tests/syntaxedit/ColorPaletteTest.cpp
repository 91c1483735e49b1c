#include "ZOVColorButtonPalette.h"

#include <gtest/gtest.h>

#include <functional>

#include "ScriptedPrompter.h"
#include "ButtonOnForm.h"

namespace {

uint32_t Rrggbb(TColor c) {
    uint32_t u = static_cast<uint32_t>(c);
    COLORREF v = (u & 0x80000000u) ? GetSysColor(static_cast<int>(u & 0xFF)) : u;
    return (GetRValue(v) << 16) | (GetGValue(v) << 8) | GetBValue(v);
}

struct Shot {
    TBitmap bmp{TPaletteLayout::kClientWidth, TPaletteLayout::kClientHeight};
    explicit Shot(TTSM_ZOVColorButtonPalette& p) { p.Paint(bmp.Canvas()); }
    uint32_t Centre(TPaletteCell c) {
        TPaletteRect r = TPaletteLayout::CellRect(c);
        return bmp.PixelRGB(r.Left + 8, r.Top + 8);
    }
    uint32_t OuterFrame(TPaletteCell c) {
        TPaletteRect r = TPaletteLayout::CellRect(c);
        return bmp.PixelRGB(r.Left, r.Top + 8);
    }
};

TEST(ColorPalette, PaintsTheGridAndMarksTheCurrentColour) {
    TTSM_ZOVColorButtonPalette p;
    p.SetCurrentColor(RGB(255, 0, 0));
    EXPECT_TRUE(p.HotCell() == (TPaletteCell{1, 2}));
    Shot s(p);
    struct Case {
        const char* name;
        TPaletteCell cell;
        uint32_t rgb;
    } cases[] = {
        {"white", {1, 1}, 0xFFFFFF}, {"black", {2, 1}, 0x000000}, {"red", {1, 2}, 0xFF0000},
        {"dark red", {2, 2}, 0x7F0000}, {"blue", {1, 4}, 0x0000FF}, {"last", {4, 5}, 0x9F9F9F},
        {"other", {0, 0}, Rrggbb(clBtnFace)},
    };
    for (const Case& c : cases) EXPECT_EQ(c.rgb, s.Centre(c.cell)) << c.name;
    // The hot cell's outer frame is the dark 3-D shadow; others the form's colour.
    EXPECT_EQ(Rrggbb(SysColor(COLOR_3DDKSHADOW)), s.OuterFrame({1, 2}));
    EXPECT_EQ(Rrggbb(p.Color()), s.OuterFrame({1, 1}));
    EXPECT_EQ(Rrggbb(clBtnShadow), s.bmp.PixelRGB(10, 93));
    EXPECT_EQ(Rrggbb(clBtnHighlight), s.bmp.PixelRGB(10, 94));
}

TEST(ColorPalette, AColourOffTheGridBecomesTheOtherColour) {
    TTSM_ZOVColorButtonPalette p;
    p.SetCurrentColor(RGB(0x12, 0x34, 0x56));
    EXPECT_TRUE(p.HotCell() == (TPaletteCell{0, 0}));
    Shot s(p);
    EXPECT_EQ(0x123456u, s.Centre({0, 0}));
}

TEST(ColorPalette, MouseAndKeysSelectAndClose) {
    TTSM_ZOVColorButtonPalette p;
    std::vector<TColor> chosen;
    int closes = 0;
    p.OnSelect = [&](TTSM_ZOVColorButtonPalette&, TColor c) { chosen.push_back(c); };
    p.OnPaletteClose = [&](TTSM_ZOVColorButtonPalette&, TCloseAction& a) {
        EXPECT_EQ(caFree, a);
        closes++;
    };
    p.MouseMove(0, 20, 40);
    EXPECT_TRUE(p.HotCell() == (TPaletteCell{2, 3}));
    p.MouseMove(0, 100, 5);  // off the grid: the hot cell stays
    EXPECT_TRUE(p.HotCell() == (TPaletteCell{2, 3}));
    p.MouseUp(mbLeft, 0, 40, 5);
    ASSERT_EQ(1u, chosen.size());
    EXPECT_EQ(RGB(191, 191, 191), chosen[0]);
    EXPECT_EQ(1, closes);
    EXPECT_TRUE(p.Closed());

    TTSM_ZOVColorButtonPalette q;
    q.OnSelect = p.OnSelect;
    q.OnPaletteClose = p.OnPaletteClose;
    q.MouseUp(mbLeft, 0, 10, 100);  // outside every cell: closes, no choice
    EXPECT_EQ(1u, chosen.size());
    EXPECT_EQ(2, closes);

    TTSM_ZOVColorButtonPalette r;
    r.OnPaletteClose = p.OnPaletteClose;
    WORD key = VK_ESCAPE;
    r.KeyDown(key, 0);
    EXPECT_EQ(3, closes);
}

TEST(ColorPalette, OtherButtonAsksForAColour) {
    TScriptedPrompter prompter;
    TTSM_ZOVColorButtonPalette p;
    std::vector<TColor> chosen;
    p.OnSelect = [&](TTSM_ZOVColorButtonPalette&, TColor c) { chosen.push_back(c); };
    prompter.AnswerColor(false);
    p.btnOther->Click();
    EXPECT_TRUE(chosen.empty());
    EXPECT_FALSE(p.Closed());
    prompter.AnswerColor(true, RGB(1, 2, 3));
    p.btnOther->Click();
    ASSERT_EQ(1u, chosen.size());
    EXPECT_EQ(RGB(1, 2, 3), chosen[0]);
    EXPECT_EQ(RGB(1, 2, 3), p.OtherColor);
    EXPECT_TRUE(p.Closed());
}

// A colour dialog played by the test, custom colours included.
struct ColourDialogPrompter : TPrompter {
    std::function<bool(uint32_t& color, uint32_t (&custom)[16])> dialog;
    TPrompter* previous = SetPrompter(this);
    ~ColourDialogPrompter() override { SetPrompter(previous); }
    int ShowMessageBox(const std::string&, const std::string&, unsigned) override { return IDOK; }
    bool OpenFileDialog(TFileDialogRequest&) override { return false; }
    bool SaveFileDialog(TFileDialogRequest&) override { return false; }
    bool ColorDialog(uint32_t&) override { return false; }
    bool CustomColorDialog(uint32_t& color, uint32_t (&custom)[16]) override { return dialog(color, custom); }
    bool PrintDialog(TPrintRequest&) override { return false; }
};

TEST(ColorPalette, TheColourDialogShowsTheCustomColoursAndGivesThemBackOnOk) {
    ColourDialogPrompter prompter;
    TTSM_ZOVColorButtonPalette p;
    p.CustomColors.Set(2, 1, RGB(1, 1, 1));
    p.CustomColors.Set(8, 2, RGB(2, 2, 2));
    std::vector<TColor> chosen;
    p.OnSelect = [&](TTSM_ZOVColorButtonPalette&, TColor c) { chosen.push_back(c); };
    struct Row {
        const char* name;
        bool ok;
        TColor cell21, cell12;  // custom (2, 1) and (1, 2) afterwards
    } rows[] = {
        {"cancel keeps the palette's custom colours", false, RGB(1, 1, 1), 0xFFFFFF},
        {"OK takes the dialog's", true, RGB(9, 9, 9), RGB(7, 7, 7)},
    };
    for (const Row& r : rows) {
        prompter.dialog = [&](uint32_t& color, uint32_t (&custom)[16]) {
            EXPECT_EQ(RGB(1, 1, 1), custom[1]) << "cell (2, 1)";
            EXPECT_EQ(RGB(2, 2, 2), custom[15]) << "cell (8, 2)";
            EXPECT_EQ(0xFFFFFFu, custom[8]) << "cell (1, 2)";
            custom[1] = RGB(9, 9, 9);
            custom[8] = RGB(7, 7, 7);
            color = RGB(5, 6, 7);
            return r.ok;
        };
        p.btnOther->Click();
        EXPECT_EQ(r.cell21, p.CustomColors.Get(2, 1)) << r.name;
        EXPECT_EQ(r.cell12, p.CustomColors.Get(1, 2)) << r.name;
        EXPECT_EQ(r.ok, p.Closed()) << r.name;
    }
    EXPECT_EQ(std::vector<TColor>{RGB(5, 6, 7)}, chosen);
}

TEST(ColorPalette, LosingTheActivationClosesItUnlessTheColourDialogIsOpen) {
    ButtonOnForm f;
    TZOVColorButton& b = f.b;
    TForm& form = f.form;
    struct Row {
        const char* name;
        std::function<void(TTSM_ZOVColorButtonPalette&)> away;
        bool closes;
    } rows[] = {
        {"another window activated", [&](TTSM_ZOVColorButtonPalette&) { SetActiveWindow(form.Handle()); }, true},
        {"the application deactivated",
         [](TTSM_ZOVColorButtonPalette& p) { SendMessageA(p.Handle(), WM_ACTIVATEAPP, FALSE, 0); }, true},
        {"the application activated",
         [](TTSM_ZOVColorButtonPalette& p) { SendMessageA(p.Handle(), WM_ACTIVATEAPP, TRUE, 0); }, false},
        {"activation moves to the colour dialog",
         [&](TTSM_ZOVColorButtonPalette& p) {
             ColourDialogPrompter prompter;
             prompter.dialog = [&](uint32_t&, uint32_t(&)[16]) {
                 SetActiveWindow(form.Handle());
                 return false;
             };
             p.btnOther->Click();
         },
         false},
    };
    for (const Row& r : rows) {
        b.OpenPalette();
        ASSERT_TRUE(b.PaletteOpen()) << r.name;
        TTSM_ZOVColorButtonPalette* p = b.Palette();
        SetActiveWindow(p->Handle());
        r.away(*p);
        EXPECT_EQ(r.closes, !b.PaletteOpen()) << r.name;
        if (b.PaletteOpen()) p->ClosePalette();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
}

}  // namespace
