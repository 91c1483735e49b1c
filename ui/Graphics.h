// Fonts, pens, brushes, the canvas over a device context, and a 32-bit DIB
// bitmap whose pixels tests can read directly.
#pragma once

#include <windows.h>
// The canvas's member names are the framework's own, not the API's macros.
#undef TextOut
#undef DrawText

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

using TColor = int32_t;  // a COLORREF, or a system colour as 0x80000000 | COLOR_xxx
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clBlack = 0x000000, clWhite = 0xFFFFFF, clRed = 0x0000FF, clGreen = 0x008000,
                 clBlue = 0xFF0000, clNavy = 0x800000, clGray = 0x808080, clSilver = 0xC0C0C0,
                 clYellow = 0x00FFFF, clMaroon = 0x000080;
constexpr TColor SysColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(index)); }
const TColor clBtnFace = SysColor(COLOR_BTNFACE), clWindow = SysColor(COLOR_WINDOW),
             clWindowText = SysColor(COLOR_WINDOWTEXT), clHighlight = SysColor(COLOR_HIGHLIGHT),
             clHighlightText = SysColor(COLOR_HIGHLIGHTTEXT), clBtnShadow = SysColor(COLOR_BTNSHADOW),
             clBtnHighlight = SysColor(COLOR_BTNHIGHLIGHT), clBtnText = SysColor(COLOR_BTNTEXT),
             clGrayText = SysColor(COLOR_GRAYTEXT);

// The RGB value of a colour, system colours resolved.
COLORREF ColorToRGB(TColor c);

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

// A font description; the GDI font is made when first needed and kept until
// the description changes.
class TFont {
public:
    TFont();
    TFont(const TFont& o);
    TFont& operator=(const TFont& o);
    ~TFont();

    std::string Name() const { return name_; }
    void SetName(const std::string& n);
    int Size() const;  // points, from Height at the screen's resolution
    void SetSize(int points);
    int Height() const { return height_; }  // pixels; negative = character height
    void SetHeight(int h);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles s);
    TColor Color() const { return color_; }
    void SetColor(TColor c) { color_ = c; }

    HFONT Handle() const;
    // Raised after any change that alters the GDI font (not the colour).
    std::function<void()> OnChange;

private:
    void Changed();
    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    TFontStyles style_ = 0;
    TColor color_ = clWindowText;
    mutable HFONT handle_ = nullptr;
};

enum TBrushStyle { bsSolid, bsClear };

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
};

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    int Style = PS_SOLID;
};

// Drawing on a device context with the current font, pen and brush. The
// canvas selects its objects before each operation and restores the DC's own
// when it goes.
class TCanvas {
public:
    explicit TCanvas(HDC dc = nullptr);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    HDC Handle() const { return dc_; }
    void SetHandle(HDC dc);

    TFont Font;
    TBrush Brush;
    TPen Pen;

    void FillRect(const RECT& r);
    void FrameRect(const RECT& r);
    void Rectangle(int x1, int y1, int x2, int y2);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void TextOut(int x, int y, const std::string& text);
    void TextRect(const RECT& r, int x, int y, const std::string& text);
    // DrawText with the canvas's font and colours (DT_ flags).
    void DrawText(const std::string& text, RECT& r, UINT format);
    int TextWidth(const std::string& text);
    int TextHeight(const std::string& text);
    void Draw(int x, int y, HBITMAP bmp, int w, int h);
    COLORREF Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor c);

private:
    void Select(bool font, bool pen, bool brush);
    void Restore();
    HDC dc_;
    HGDIOBJ oldFont_ = nullptr, oldPen_ = nullptr, oldBrush_ = nullptr;
    HPEN pen_ = nullptr;
    HBRUSH brush_ = nullptr;
};

// A top-down 32-bit DIB section with its own memory DC and canvas. Pixels are
// read straight from the bits (0x00RRGGBB), which is what pixel tests compare.
class TBitmap {
public:
    TBitmap() = default;
    TBitmap(int width, int height);
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    void SetSize(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }
    HBITMAP Handle() const { return bmp_; }
    TCanvas& Canvas() { return canvas_; }
    // 0x00RRGGBB of the pixel; 0 outside the bitmap.
    uint32_t PixelRGB(int x, int y) const;
    // Writes the bitmap as a .bmp file (for screenshots people look at).
    bool SaveToFile(const std::string& path) const;

private:
    void Free();
    int width_ = 0, height_ = 0;
    HBITMAP bmp_ = nullptr;
    HGDIOBJ oldBmp_ = nullptr;
    HDC dc_ = nullptr;
    uint32_t* bits_ = nullptr;
    TCanvas canvas_;
};
