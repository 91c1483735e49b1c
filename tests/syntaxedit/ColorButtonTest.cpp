#include "ZOVColorButton.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "ButtonOnForm.h"

namespace {

// The button as its window shows it.
std::unique_ptr<TBitmap> Shot(TZOVColorButton& b) {
    RedrawWindow(b.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    auto shot = std::make_unique<TBitmap>(b.Width(), b.Height());
    HDC dc = GetDC(b.Handle());
    BitBlt(shot->Canvas().Handle(), 0, 0, shot->Width(), shot->Height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(b.Handle(), dc);
    return shot;
}

uint32_t Rrggbb(TColor c) {
    COLORREF v = static_cast<COLORREF>(ColorToRGB(c));
    return (GetRValue(v) << 16) | (GetGValue(v) << 8) | GetBValue(v);
}

TEST(ColorButton, StartsWithItsDefaultsAndRaisesColourChanges) {
    TForm form;
    form.SetName("OptionsForm");
    TZOVColorButton b(&form);
    b.SetName("ColorButton1");
    EXPECT_EQ(45, b.Width());
    EXPECT_EQ(22, b.Height());
    EXPECT_EQ("OptionsForm.ColorButton1", b.QualifiedName());
    EXPECT_EQ(0xFFFFFF, b.CustomColors.Get(8, 2));
    EXPECT_EQ(0x0000FF, b.PaletteColors.Get(1, 2));
    EXPECT_EQ(clBtnFace, b.OtherColor);
    int changes = 0;
    b.OnColorChange = [&](TObject*) { changes++; };
    b.SetColorValue(0);  // the same colour: nothing
    b.SetColorValue(0x00FF00);
    EXPECT_EQ(1, changes);
}

TEST(ColorButton, PaletteOpensOnTheCurrentColourAndSetsTheChoice) {
    ButtonOnForm f;
    TZOVColorButton& b = f.b;
    b.SetColorValue(RGB(0, 0, 255));
    b.OpenPalette();
    ASSERT_TRUE(b.PaletteOpen());
    TTSM_ZOVColorButtonPalette* p = b.Palette();
    EXPECT_TRUE(p->HotCell() == (TPaletteCell{1, 4}));
    RECT br;
    GetWindowRect(b.Handle(), &br);
    EXPECT_EQ(br.bottom, p->Top()) << "opens below the button";
    RECT client;
    GetClientRect(p->Handle(), &client);
    EXPECT_EQ(LONG{TPaletteLayout::kClientWidth}, client.right);
    EXPECT_EQ(LONG{TPaletteLayout::kClientHeight}, client.bottom);
    EXPECT_EQ(0, GetWindowLongA(p->Handle(), GWL_STYLE) & WS_CAPTION) << "no caption bar";
    int changes = 0;
    b.OnColorChange = [&](TObject*) { changes++; };
    p->CustomColors.Set(1, 1, 0x123456);
    p->MouseUp(mbLeft, 0, 1, 1);  // white
    EXPECT_EQ(0xFFFFFF, b.ColorValue());
    EXPECT_EQ(1, changes);
    EXPECT_FALSE(b.PaletteOpen());
    EXPECT_EQ(0x123456, b.CustomColors.Get(1, 1));
}

TEST(ColorButton, DrawsItsSwatch) {
    ButtonOnForm f;
    TZOVColorButton& b = f.b;
    b.SetColorValue(RGB(0, 128, 255));
    std::unique_ptr<TBitmap> shot = Shot(b);
    EXPECT_EQ(0x0080FFu, shot->PixelRGB(17, 11));  // 0xRRGGBB
    EXPECT_NE(0x0080FFu, shot->PixelRGB(35, 11)) << "the arrow part";
}

TEST(ColorButton, TopMostWindowsStandBackWhileThePaletteIsOpen) {
    ButtonOnForm f;
    TForm onTop;
    onTop.SetBounds(400, 100, 200, 100);
    onTop.Show();
    SetWindowPos(onTop.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    auto topMost = [&] { return (GetWindowLongA(onTop.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    ASSERT_TRUE(topMost());
    f.b.OpenPalette();
    EXPECT_FALSE(topMost()) << "the palette must show above it";
    f.b.Palette()->ClosePalette();
    EXPECT_TRUE(topMost()) << "back on top once the palette is gone";
}

TEST(ColorButton, ADisabledSwatchIsFramedAndDitheredNotColoured) {
    ButtonOnForm f;
    TZOVColorButton& b = f.b;
    b.SetColorValue(RGB(255, 0, 0));
    b.SetEnabled(false);
    std::unique_ptr<TBitmap> held = Shot(b);
    TBitmap& shot = *held;
    // The swatch is (6, 5)-(29, 17): its frame, then every other pixel black.
    EXPECT_EQ(Rrggbb(SysColor(COLOR_WINDOWFRAME)), shot.PixelRGB(6, 11));
    std::set<uint32_t> inside;
    int black = 0;
    for (int y = 7; y < 15; y++)
        for (int x = 8; x < 22; x++) {
            uint32_t p = shot.PixelRGB(x, y);
            inside.insert(p);
            if (p == 0) black++;
            EXPECT_EQ(p == 0, shot.PixelRGB(x + 1, y) != 0) << x << "," << y << ": a checker";
        }
    EXPECT_EQ(0u, inside.count(0xFF0000u)) << "no colour while disabled";
    EXPECT_EQ(14 * 8 / 2, black);
    b.SetEnabled(true);
    EXPECT_EQ(0xFF0000u, Shot(b)->PixelRGB(15, 11));
}

TEST(ColorButton, AFlatButtonShowsItsBorderOnlyWhileTheMouseIsOverIt) {
    ButtonOnForm f;
    TZOVColorButton& b = f.b;
    uint32_t face = Rrggbb(clBtnFace);
    // The bottom-right edge of a raised button is drawn in the dark shadow.
    auto edge = [&] { return Shot(b)->PixelRGB(b.Width() - 1, b.Height() / 2); };
    struct Row {
        const char* name;
        bool flat;
        UINT mouse;  // 0: none sent
        bool border;
    } rows[] = {
        {"raised", false, 0, true},
        {"flat, mouse away", true, 0, false},
        {"flat, mouse over", true, WM_MOUSEMOVE, true},
        {"flat, mouse gone", true, WM_MOUSELEAVE, false},
        {"raised, mouse gone", false, WM_MOUSELEAVE, true},
    };
    for (const Row& r : rows) {
        b.SetFlat(r.flat);
        if (r.mouse) SendMessageA(b.Handle(), r.mouse, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(r.border, edge() != face) << r.name;
    }
    EXPECT_FALSE(b.MouseInside());
    // Style 1 puts a shadow line around the raised button.
    b.SetStyle(1);
    EXPECT_EQ(Rrggbb(clBtnShadow), Shot(b)->PixelRGB(0, b.Height() / 2));
    b.SetStyle(0);
    EXPECT_NE(Rrggbb(clBtnShadow), Shot(b)->PixelRGB(0, b.Height() / 2));
}

TEST(ColorButton, ASecondQuickClickPressesTheButtonAgain) {
    ButtonOnForm f;
    TZOVColorButton& b = f.b;
    SendMessageA(b.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(b.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(b.PaletteOpen());
    b.Palette()->ClosePalette();
    ASSERT_FALSE(b.PaletteOpen());
    SendMessageA(b.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(b.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(b.PaletteOpen()) << "the double click opened the palette again";
}

TEST(HotKeyEdit, CapturesOneKeyCombination) {
    TForm form;
    TSM_HotKey h(&form);
    WORD key = VK_F5;
    h.KeyDown(key, ssCtrl);
    EXPECT_EQ(ShortCut(VK_F5, ssCtrl), h.HotKey());
    EXPECT_EQ("Ctrl+F5", h.Text());
    h.SetHotKey(0);
    EXPECT_EQ("", h.Text());
    EXPECT_TRUE(h.ReadOnly());
}

}  // namespace
