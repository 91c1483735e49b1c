#include "Graphics.h"

#include <algorithm>
#include <cstdio>
#include <vector>

COLORREF ColorToRGB(TColor c) {
    if (c < 0) return GetSysColor(static_cast<int>(static_cast<uint32_t>(c) & 0xFF));
    return static_cast<COLORREF>(c) & 0xFFFFFF;
}

namespace {
int ScreenDpi() {
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}
}  // namespace

// ---- TFont

TFont::TFont() = default;
TFont::TFont(const TFont& o) : name_(o.name_), height_(o.height_), style_(o.style_), color_(o.color_) {}
TFont& TFont::operator=(const TFont& o) {
    if (this != &o) {
        name_ = o.name_;
        height_ = o.height_;
        style_ = o.style_;
        color_ = o.color_;
        Changed();
    }
    return *this;
}
TFont::~TFont() {
    if (handle_) DeleteObject(handle_);
}

void TFont::Changed() {
    if (handle_) {
        DeleteObject(handle_);
        handle_ = nullptr;
    }
    if (OnChange) OnChange();
}

void TFont::SetName(const std::string& n) {
    if (n == name_) return;
    name_ = n;
    Changed();
}
int TFont::Size() const { return -MulDiv(height_, 72, ScreenDpi()); }
void TFont::SetSize(int points) { SetHeight(-MulDiv(points, ScreenDpi(), 72)); }
void TFont::SetHeight(int h) {
    if (h == height_) return;
    height_ = h;
    Changed();
}
void TFont::SetStyle(TFontStyles s) {
    if (s == style_) return;
    style_ = s;
    Changed();
}

HFONT TFont::Handle() const {
    if (!handle_) {
        LOGFONTA lf{};
        lf.lfHeight = height_;
        lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (style_ & fsItalic) != 0;
        lf.lfUnderline = (style_ & fsUnderline) != 0;
        lf.lfStrikeOut = (style_ & fsStrikeOut) != 0;
        lf.lfCharSet = DEFAULT_CHARSET;
        lstrcpynA(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
        handle_ = CreateFontIndirectA(&lf);
    }
    return handle_;
}

// ---- TCanvas

TCanvas::TCanvas(HDC dc) : dc_(dc) {}
TCanvas::~TCanvas() { Restore(); }

void TCanvas::SetHandle(HDC dc) {
    Restore();
    dc_ = dc;
}

void TCanvas::Restore() {
    if (dc_) {
        if (oldFont_) SelectObject(dc_, oldFont_);
        if (oldPen_) SelectObject(dc_, oldPen_);
        if (oldBrush_) SelectObject(dc_, oldBrush_);
    }
    oldFont_ = oldPen_ = oldBrush_ = nullptr;
    if (pen_) DeleteObject(pen_);
    if (brush_) DeleteObject(brush_);
    pen_ = nullptr;
    brush_ = nullptr;
}

void TCanvas::Select(bool font, bool pen, bool brush) {
    if (font) {
        HGDIOBJ old = SelectObject(dc_, Font.Handle());
        if (!oldFont_) oldFont_ = old;
        SetTextColor(dc_, ColorToRGB(Font.Color()));
        SetBkMode(dc_, Brush.Style == bsClear ? TRANSPARENT : OPAQUE);
        SetBkColor(dc_, ColorToRGB(Brush.Color));
    }
    if (pen) {
        HPEN p = CreatePen(Pen.Style, Pen.Width, ColorToRGB(Pen.Color));
        HGDIOBJ old = SelectObject(dc_, p);
        if (!oldPen_) oldPen_ = old;
        if (pen_) DeleteObject(pen_);
        pen_ = p;
    }
    if (brush) {
        HBRUSH b = Brush.Style == bsClear ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))
                                          : CreateSolidBrush(ColorToRGB(Brush.Color));
        HGDIOBJ old = SelectObject(dc_, b);
        if (!oldBrush_) oldBrush_ = old;
        if (brush_) DeleteObject(brush_);
        brush_ = Brush.Style == bsClear ? nullptr : b;
    }
}

void TCanvas::FillRect(const RECT& r) {
    if (Brush.Style == bsClear) return;
    HBRUSH b = CreateSolidBrush(ColorToRGB(Brush.Color));
    ::FillRect(dc_, &r, b);
    DeleteObject(b);
}

void TCanvas::FrameRect(const RECT& r) {
    HBRUSH b = CreateSolidBrush(ColorToRGB(Brush.Color));
    ::FrameRect(dc_, &r, b);
    DeleteObject(b);
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    Select(false, true, true);
    ::Rectangle(dc_, x1, y1, x2, y2);
}

void TCanvas::MoveTo(int x, int y) { MoveToEx(dc_, x, y, nullptr); }
void TCanvas::LineTo(int x, int y) {
    Select(false, true, false);
    ::LineTo(dc_, x, y);
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    Select(true, false, false);
    TextOutA(dc_, x, y, text.data(), static_cast<int>(text.size()));
}

void TCanvas::TextRect(const RECT& r, int x, int y, const std::string& text) {
    Select(true, false, false);
    UINT opts = ETO_CLIPPED | (Brush.Style == bsClear ? 0 : ETO_OPAQUE);
    ExtTextOutA(dc_, x, y, opts, &r, text.data(), static_cast<UINT>(text.size()), nullptr);
}

void TCanvas::DrawText(const std::string& text, RECT& r, UINT format) {
    Select(true, false, false);
    DrawTextA(dc_, text.data(), static_cast<int>(text.size()), &r, format);
}

int TCanvas::TextWidth(const std::string& text) {
    Select(true, false, false);
    SIZE s{};
    GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &s);
    return s.cx;
}

int TCanvas::TextHeight(const std::string& text) {
    Select(true, false, false);
    SIZE s{};
    GetTextExtentPoint32A(dc_, text.empty() ? "W" : text.data(), text.empty() ? 1 : static_cast<int>(text.size()), &s);
    return s.cy;
}

void TCanvas::Draw(int x, int y, HBITMAP bmp, int w, int h) {
    HDC src = CreateCompatibleDC(dc_);
    HGDIOBJ old = SelectObject(src, bmp);
    BitBlt(dc_, x, y, w, h, src, 0, 0, SRCCOPY);
    SelectObject(src, old);
    DeleteDC(src);
}

COLORREF TCanvas::Pixel(int x, int y) const { return GetPixel(dc_, x, y); }
void TCanvas::SetPixel(int x, int y, TColor c) { ::SetPixel(dc_, x, y, ColorToRGB(c)); }

// ---- TBitmap

TBitmap::TBitmap(int width, int height) { SetSize(width, height); }
TBitmap::~TBitmap() { Free(); }

void TBitmap::Free() {
    canvas_.SetHandle(nullptr);
    if (dc_) {
        SelectObject(dc_, oldBmp_);
        DeleteDC(dc_);
    }
    if (bmp_) DeleteObject(bmp_);
    dc_ = nullptr;
    bmp_ = nullptr;
    bits_ = nullptr;
    width_ = height_ = 0;
}

void TBitmap::SetSize(int width, int height) {
    Free();
    if (width <= 0 || height <= 0) return;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bmp_ = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bmp_) return;
    dc_ = CreateCompatibleDC(nullptr);
    oldBmp_ = SelectObject(dc_, bmp_);
    bits_ = static_cast<uint32_t*>(bits);
    width_ = width;
    height_ = height;
    canvas_.SetHandle(dc_);
}

uint32_t TBitmap::PixelRGB(int x, int y) const {
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    GdiFlush();
    return bits_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] & 0xFFFFFF;
}

bool TBitmap::SaveToFile(const std::string& path) const {
    if (!bits_) return false;
    GdiFlush();
    // 24 bits a pixel: the DIB's fourth byte is no alpha (GDI leaves it 0
    // almost everywhere), but viewers of a 32-bit file take it for one and
    // show the picture nearly blank.
    const uint32_t rowBytes = (static_cast<uint32_t>(width_) * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(height_);
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + imageBytes;
    ih.biSize = sizeof ih;
    ih.biWidth = width_;
    ih.biHeight = -height_;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biCompression = BI_RGB;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(&fh, sizeof fh, 1, f) == 1 && std::fwrite(&ih, sizeof ih, 1, f) == 1;
    std::vector<uint8_t> row(rowBytes, 0);
    const uint8_t* src = reinterpret_cast<const uint8_t*>(bits_);
    for (int y = 0; ok && y < height_; y++) {
        for (int x = 0; x < width_; x++, src += 4) std::copy(src, src + 3, &row[static_cast<size_t>(x) * 3]);
        ok = std::fwrite(row.data(), rowBytes, 1, f) == 1;
    }
    return std::fclose(f) == 0 && ok;
}
