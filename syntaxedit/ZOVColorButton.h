// The colour button: shows its colour and opens the colour palette below
// itself; and the hot-key edit that captures one key combination.
#pragma once

#include <string>
#include <vector>

#include "syntaxedit/ZOVColorButtonPalette.h"
#include "ui/Menus.h"

class TZOVColorButton : public TButton {
public:
    explicit TZOVColorButton(TWinControl* parent);
    ~TZOVColorButton() override;

    int Style() const { return style_; }
    bool Flat() const { return flat_; }
    // Store and repaint when changed.
    void SetStyle(int style);
    void SetFlat(bool flat);
    std::string OtherBtnCaption = "&Other";
    TColor OtherColor = clBtnFace;
    TColorArrayClass PaletteColors{4, 5};
    TColorArrayClass CustomColors{8, 2};
    std::string CustomColorsKey;
    TNotifyEvent OnColorChange;

    TColor ColorValue() const { return color_; }
    // Stores a different colour, repaints and raises OnColorChange.
    void SetColorValue(TColor c);
    void ResetColors();
    // "<parent>.<name>", or the name alone without a parent.
    std::string QualifiedName() const;

    // Opens the palette under the button (above it near the work area's bottom).
    void OpenPalette();
    TTSM_ZOVColorButtonPalette* Palette() const { return palette_; }
    bool PaletteOpen() const { return palette_ != nullptr; }

    bool Command(WORD code) override;
    bool DrawItem(DRAWITEMSTRUCT& dis) override;
    // A double click counts as a second press; the mouse coming and going
    // repaints a flat button.
    bool HandleMessage(TMessage& m) override;
    bool MouseInside() const { return mouseInside_; }

protected:
    void CreateParams(TCreateParams& p) override;

private:
    TColor color_ = 0;
    TTSM_ZOVColorButtonPalette* palette_ = nullptr;
    bool mouseInside_ = false;
    int style_ = 0;
    bool flat_ = false;
    // Windows of this thread that were top-most when the palette opened.
    std::vector<HWND> topMosts_;
};

class TSM_HotKey : public TEdit {
public:
    explicit TSM_HotKey(TWinControl* parent);
    TShortCut HotKey() const { return hotKey_; }
    // Stores the value and shows its text ("Ctrl+F5").
    void SetHotKey(TShortCut value);
    bool KeyDown(WORD& key, TShiftState shift) override;

private:
    TShortCut hotKey_ = 0;
};
