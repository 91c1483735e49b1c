// The colour button's drop-down: a caption-less form with a 4 x 5 grid of
// colours, an other-colour swatch and a button for the colour dialog.
#pragma once

#include <functional>

#include "syntaxedit/core/ColorArrayClass.h"
#include "syntaxedit/core/PaletteLayout.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

class TTSM_ZOVColorButtonPalette;

// Fills a 4 x 5 colour array with the palette's grid colours: the defaults,
// or on a 16-colour screen the screen's first 20 solid pens.
void FillPaletteGrid(TColorArrayClass& grid);
using TPaletteSelectEvent = std::function<void(TTSM_ZOVColorButtonPalette& palette, TColor color)>;
using TPaletteCloseEvent = std::function<void(TTSM_ZOVColorButtonPalette& palette, TCloseAction& action)>;

class TTSM_ZOVColorButtonPalette : public TForm {
public:
    explicit TTSM_ZOVColorButtonPalette(TForm* owner = nullptr);

    TButton* btnOther;
    TColorArrayClass GridColors{4, 5};
    TColorArrayClass CustomColors{8, 2};
    TColor OtherColor = clBtnFace;
    TPaletteSelectEvent OnSelect;
    TPaletteCloseEvent OnPaletteClose;

    // Selects the grid cell of that colour (compared as RGB), else makes it
    // the other colour.
    void SetCurrentColor(TColor c);
    TColor CurrentColor() const { return current_; }
    TPaletteCell HotCell() const { return hot_; }
    // Whether the palette is gone (closed; the owner frees it).
    bool Closed() const { return closed_; }

    // The colour of a cell ((0, 0): the other colour).
    TColor CellColor(TPaletteCell c) const;
    // Closes unless the colour dialog is open: OnPaletteClose, then hidden.
    void ClosePalette();
    // The other-colour button: the colour dialog on the other colour.
    void ChooseOther();

    void Paint(TCanvas& canvas) override;
    bool MouseMove(TShiftState shift, int x, int y) override;
    bool MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    bool KeyDown(WORD& key, TShiftState shift) override;
    // Losing activation, or the application losing it, closes the palette.
    bool HandleMessage(TMessage& m) override;

protected:
    void CreateParams(TCreateParams& p) override;

private:
    void PaintCell(TCanvas& canvas, TPaletteCell c, bool hot);
    TColor current_ = 0;
    TPaletteCell hot_;
    bool dialogOpen_ = false;
    bool closed_ = false;
};
