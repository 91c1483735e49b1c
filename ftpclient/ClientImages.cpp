#include "ClientImages.h"

TColor ArtColour(uint32_t rgb) {
    return static_cast<TColor>(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
}

void ArtToBitmap(TArt art, TBitmap& bmp) {
    TArtPixels p = DrawArt(art);
    bmp.SetSize(p.Width, p.Height);
    for (int y = 0; y < p.Height; ++y)
        for (int x = 0; x < p.Width; ++x) bmp.Canvas().SetPixel(x, y, ArtColour(p.At(x, y)));
}

TArtImage::TArtImage(TWinControl* parent, TArt art) : TWinControl(parent), art_(art) {
    TArtPixels p = DrawArt(art);
    SetBounds(0, 0, p.Width, p.Height);
}

void TArtImage::Paint(TCanvas& canvas) {
    TArtPixels p = DrawArt(art_);
    const TColor ground = ColorToRGB(Parent() ? Parent()->Color() : Color());
    for (int y = 0; y < p.Height; ++y)
        for (int x = 0; x < p.Width; ++x) {
            uint32_t c = p.At(x, y);
            canvas.SetPixel(x, y, c == ArtTransparent ? ground : ArtColour(c));
        }
}
