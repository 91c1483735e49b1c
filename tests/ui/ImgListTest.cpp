// The image list drawn into memory bitmaps, pixels checked.
#include <gtest/gtest.h>

#include "runtime/core/SysUtils.h"
#include "ui/ImgList.h"

namespace {

const TColor kFuchsia = 0xFF00FF;

// 0x00RRGGBB, as TBitmap::PixelRGB reports it.
uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// 16 x 16: a red square from (4, 4) to (11, 11) on fuchsia.
void PaintSquare(TBitmap& b) {
    b.SetSize(16, 16);
    b.Canvas().Brush.Color = kFuchsia;
    b.Canvas().FillRect({0, 0, 16, 16});
    b.Canvas().Brush.Color = clRed;
    b.Canvas().FillRect({4, 4, 12, 12});
}

void White(TBitmap& b, int w, int h) {
    b.SetSize(w, h);
    b.Canvas().Brush.Color = clWhite;
    b.Canvas().FillRect({0, 0, w, h});
}

}  // namespace

TEST(ImageList, MaskColourIsTransparentWhenDrawn) {
    TImageList list;
    TBitmap square;
    PaintSquare(square);
    EXPECT_EQ(list.AddMasked(square, kFuchsia), 0);
    EXPECT_EQ(list.Count(), 1);
    TBitmap target;
    White(target, 32, 32);
    list.Draw(target.Canvas(), 8, 8, 0);
    EXPECT_EQ(target.PixelRGB(8 + 4, 8 + 4), 0xFF0000u) << "square's corner";
    EXPECT_EQ(target.PixelRGB(8 + 11, 8 + 11), 0xFF0000u);
    EXPECT_EQ(target.PixelRGB(8 + 3, 8 + 3), 0xFFFFFFu) << "mask colour left the target alone";
    EXPECT_EQ(target.PixelRGB(8 + 15, 8), 0xFFFFFFu);
    EXPECT_EQ(target.PixelRGB(8 + 12, 8 + 12), 0xFFFFFFu);
}

TEST(ImageList, DisabledImageIsEmbossedInButtonColours) {
    TImageList list;
    TBitmap square;
    PaintSquare(square);
    list.AddMasked(square, kFuchsia);
    TBitmap target;
    White(target, 32, 32);
    list.Draw(target.Canvas(), 8, 8, 0, false);
    const uint32_t shadow = Rgb(GetSysColor(COLOR_BTNSHADOW));
    const uint32_t highlight = Rgb(GetSysColor(COLOR_BTNHIGHLIGHT));
    ASSERT_NE(shadow, 0xFFFFFFu);
    EXPECT_EQ(target.PixelRGB(8 + 4, 8 + 4), shadow);
    EXPECT_EQ(target.PixelRGB(8 + 11, 8 + 11), shadow);
    // The highlight shows one pixel beyond the square's right and bottom edges.
    EXPECT_EQ(target.PixelRGB(8 + 12, 8 + 8), highlight);
    EXPECT_EQ(target.PixelRGB(8 + 8, 8 + 12), highlight);
    EXPECT_EQ(target.PixelRGB(8 + 2, 8 + 2), 0xFFFFFFu);
}

TEST(ImageList, ExplicitMaskGetBitmapAndIcons) {
    TImageList list(nullptr, 16, 16);
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    TBitmap image, mask;
    image.SetSize(16, 16);
    image.Canvas().Brush.Color = clBlue;
    image.Canvas().FillRect({0, 0, 16, 16});
    White(mask, 16, 16);  // white: transparent
    mask.Canvas().Brush.Color = clBlack;
    mask.Canvas().FillRect({0, 0, 8, 16});  // left half opaque
    EXPECT_EQ(list.Add(image, &mask), 0);
    TBitmap target;
    White(target, 16, 16);
    list.Draw(target.Canvas(), 0, 0, 0);
    EXPECT_EQ(target.PixelRGB(2, 8), 0x0000FFu);
    EXPECT_EQ(target.PixelRGB(12, 8), 0xFFFFFFu);

    TBitmap copy;
    list.GetBitmap(0, copy);
    EXPECT_EQ(copy.Width(), 16);
    EXPECT_EQ(copy.PixelRGB(2, 2), 0x0000FFu);

    HICON icon = list.GetIcon(0);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(list.AddIcon(icon), 1);
    DestroyIcon(icon);
    White(target, 16, 16);
    list.Draw(target.Canvas(), 0, 0, 1);
    EXPECT_EQ(target.PixelRGB(2, 8), 0x0000FFu) << "the icon keeps image and mask";
    EXPECT_EQ(target.PixelRGB(12, 8), 0xFFFFFFu);
    EXPECT_EQ(list.GetIcon(5), nullptr);
    EXPECT_EQ(changes, 2);
}

TEST(ImageList, BadIndexesAndResizing) {
    TImageList list;
    TBitmap square;
    PaintSquare(square);
    list.AddMasked(square, kFuchsia);
    TBitmap target;
    White(target, 16, 16);
    list.Draw(target.Canvas(), 0, 0, 1);
    list.Draw(target.Canvas(), 0, 0, -1);
    EXPECT_EQ(target.PixelRGB(6, 6), 0xFFFFFFu);
    EXPECT_THROW(list.Delete(3), Exception);
    EXPECT_EQ(list.AddIcon(nullptr), -1);
    list.SetSize(32, 32);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.AddMasked(square, kFuchsia), 0) << "a smaller picture fills the top-left corner";
    list.Delete(0);
    EXPECT_EQ(list.Count(), 0);
}
