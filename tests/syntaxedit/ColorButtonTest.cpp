#include "ZOVColorButton.h"

#include <gtest/gtest.h>

namespace {

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
    TForm form;
    form.SetBounds(100, 100, 300, 200);
    TZOVColorButton b(&form);
    b.SetBounds(10, 10, 45, 22);
    form.Show();
    b.SetColorValue(RGB(0, 0, 255));
    b.OpenPalette();
    ASSERT_TRUE(b.PaletteOpen());
    TTSM_ZOVColorButtonPalette* p = b.Palette();
    EXPECT_TRUE(p->HotCell() == (TPaletteCell{1, 4}));
    RECT br;
    GetWindowRect(b.Handle(), &br);
    EXPECT_EQ(br.bottom, p->Top()) << "opens below the button";
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
    TForm form;
    form.SetBounds(100, 100, 300, 200);
    TZOVColorButton b(&form);
    b.SetBounds(10, 10, 45, 22);
    b.SetColorValue(RGB(0, 128, 255));
    form.Show();
    UpdateWindow(b.Handle());
    TBitmap shot(b.Width(), b.Height());
    HDC dc = GetDC(b.Handle());
    BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(b.Handle(), dc);
    EXPECT_EQ(0x0080FFu, shot.PixelRGB(17, 11));  // 0xRRGGBB
    EXPECT_NE(0x0080FFu, shot.PixelRGB(35, 11)) << "the arrow part";
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
