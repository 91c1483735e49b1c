// The editor control's font in the variants its styles ask for (bold,
// italic, underline, strike-out), and the widths of text runs measured in
// them for proportional fonts. Windows only.
#pragma once

#include <windows.h>

#include <string>

#include "SyntaxMemoCore.h"

class TMemoFonts : public TTextMeasurer {
public:
    // Measures on a device like compatibleWith (a printer's), else the screen.
    explicit TMemoFonts(TSyntaxMemoCore& core, HDC compatibleWith = nullptr);
    ~TMemoFonts() override;
    TMemoFonts(const TMemoFonts&) = delete;
    TMemoFonts& operator=(const TMemoFonts&) = delete;

    // A new face and pixel height (negative: character height); the
    // variants are made again when next asked for.
    void SetFont(const std::string& face, int height);
    HFONT Base() { return Variant(0); }
    // The font a style's runs are drawn in.
    HFONT ForStyle(uint8_t style);
    int32_t RunWidth(uint8_t style, const char* text, int32_t count, int32_t* ends) override;

private:
    HFONT Variant(unsigned fontStyle);
    void Clear();
    TSyntaxMemoCore& core_;
    HDC dc_;
    HGDIOBJ oldFont_ = nullptr;
    HFONT selected_ = nullptr;
    std::string face_ = "Courier New";
    int height_ = 0;
    HFONT variants_[16] = {};
    int overhang_[16] = {};
};
