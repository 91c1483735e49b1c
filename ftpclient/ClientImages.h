// The client's artwork as bitmaps and as small picture controls.
#pragma once

#include "ftpclient/core/ClientArt.h"
#include "ui/Control.h"
#include "ui/Graphics.h"

// The picture in bmp, sized to it; see-through parts in ArtTransparent.
void ArtToBitmap(TArt art, TBitmap& bmp);
// The picture's pixel as a colour (COLORREF order).
TColor ArtColour(uint32_t rgb);

// A fixed picture (the status bar's lights): see-through parts take the
// parent's colour.
class TArtImage : public TWinControl {
public:
    TArtImage(TWinControl* parent, TArt art);
    TArt Art() const { return art_; }
    bool PaintsItself() const override { return true; }
    void Paint(TCanvas& canvas) override;

private:
    TArt art_;
};
