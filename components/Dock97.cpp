#include "components/Dock97.h"

#include "components/ToolWindow97.h"

#include <cstring>
#include <vector>

TDock97::TDock97(TWinControl* parent, TDockPosition position) : TWinControl(parent), layout_(position) {
    if (dynamic_cast<TDock97*>(parent) || dynamic_cast<TCustomToolWindow97*>(parent))
        throw EInvalidOperation("A TDock97 control cannot be placed inside a tool window or another TDock97");
    static const TAlign aligns[] = {alTop, alBottom, alLeft, alRight};
    SetAlign(aligns[position]);
    SetBounds(0, 0, 1, 1);
}

void TDock97::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.Style |= WS_CLIPCHILDREN;
    p.WinClassName = "TDock97";
    // Thickness changes repaint only what they uncover.
    p.ClassStyle &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TDock97::SetPosition(TDockPosition position) {
    if (position == layout_.Position) return;
    if (!layout_.DockList.empty())
        throw EInvalidOperation("Cannot change Position of a TDock97 if it already contains controls");
    layout_.Position = position;
    static const TAlign aligns[] = {alTop, alBottom, alLeft, alRight};
    SetAlign(aligns[position]);
    ArrangeToolbars();
}

void TDock97::SetFixAlign(bool value) {
    layout_.FixAlign = value;
    ArrangeToolbars();
}

void TDock97::SetLimitToOneRow(bool value) {
    layout_.LimitToOneRow = value;
    ArrangeToolbars();
}

void TDock97::EndUpdate() {
    if (updateLock_ > 0) --updateLock_;
    if (updateLock_ == 0 && layout_.ArrangeNeeded()) {
        layout_.ClientLength = layout_.Vertical() ? ClientHeight() : ClientWidth();
        layout_.EndUpdate();
        ApplyThickness();
    } else {
        layout_.EndUpdate();
    }
}

TCustomToolWindow97* TDock97::ToolWindows(int i) const {
    return dynamic_cast<TCustomToolWindow97*>(layout_.DockList.at(static_cast<size_t>(i)));
}

void TDock97::ArrangeToolbars() {
    if (!HandleAllocated()) {
        // Nothing to place yet: the windows are placed when the dock is made.
        layout_.ClientLength = layout_.Vertical() ? Height() : Width();
    } else {
        layout_.ClientLength = layout_.Vertical() ? ClientHeight() : ClientWidth();
    }
    if (layout_.ArrangeToolbars()) ApplyThickness();
}

// Grows or shrinks across the edge to the rows, keeping the aligned edge.
void TDock97::ApplyThickness() {
    if (sizing_) return;
    sizing_ = true;
    int nonClient = 0;
    if (HandleAllocated()) {
        RECT w, c;
        GetWindowRect(Handle(), &w);
        GetClientRect(Handle(), &c);
        nonClient = layout_.Vertical() ? (w.right - w.left) - c.right : (w.bottom - w.top) - c.bottom;
    }
    TBarBounds b = layout_.ResizedBounds({Left(), Top(), Width(), Height()}, nonClient);
    SetBounds(b.Left, b.Top, b.Width, b.Height);
    sizing_ = false;
}

void TDock97::InsertRemoveBar(TCustomToolWindow97* bar, bool inserting, bool force) {
    if (!layout_.InsertRemoveBar(bar, inserting, force)) return;
    ArrangeToolbars();
    if (OnInsertRemoveBar && !Destroying()) OnInsertRemoveBar(this, inserting, bar);
}

void TDock97::Resized() {
    TWinControl::Resized();
    if (!sizing_) ArrangeToolbars();
}

void TDock97::SetBoundLines(TDockBoundLines lines) {
    if (lines == boundLines_) return;
    boundLines_ = lines;
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ArrangeToolbars();
}

bool TDock97::HandleMessage(TMessage& m) {
    if (m.Msg == WM_NCCALCSIZE && boundLines_) {
        RECT* r = reinterpret_cast<RECT*>(m.LParam);
        if (boundLines_ & blTop) ++r->top;
        if (boundLines_ & blBottom) --r->bottom;
        if (boundLines_ & blLeft) ++r->left;
        if (boundLines_ & blRight) --r->right;
        m.Result = 0;
        return true;
    }
    if (m.Msg == WM_NCPAINT && boundLines_) {
        if (!layout_.DockList.empty()) PaintBoundLines();
        m.Result = 0;
        return true;
    }
    return false;
}

// Top and left lines in the shadow colour, bottom and right in the highlight.
void TDock97::PaintBoundLines() {
    HWND h = Handle();
    HDC dc = GetWindowDC(h);
    RECT w;
    GetWindowRect(h, &w);
    OffsetRect(&w, -w.left, -w.top);
    HBRUSH shadow = GetSysColorBrush(COLOR_BTNSHADOW), light = GetSysColorBrush(COLOR_BTNHIGHLIGHT);
    RECT line;
    if (boundLines_ & blTop) FillRect(dc, &(line = {w.left, w.top, w.right, w.top + 1}), shadow);
    if (boundLines_ & blLeft) FillRect(dc, &(line = {w.left, w.top, w.left + 1, w.bottom}), shadow);
    if (boundLines_ & blBottom) FillRect(dc, &(line = {w.left, w.bottom - 1, w.right, w.bottom}), light);
    if (boundLines_ & blRight) FillRect(dc, &(line = {w.right - 1, w.top, w.right, w.bottom}), light);
    ReleaseDC(h, dc);
}

// ---- background

TDock97::~TDock97() {
    if (background_) DeleteObject(background_);
    if (transparentCopy_) DeleteObject(transparentCopy_);
    if (palette_) DeleteObject(palette_);
}

void TDock97::SetBackground(HBITMAP bmp) {
    if (background_) DeleteObject(background_);
    if (palette_) DeleteObject(palette_);
    palette_ = nullptr;
    background_ = bmp ? static_cast<HBITMAP>(CopyImage(bmp, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)) : nullptr;
    BackgroundChanged();
}

void TDock97::SetBackgroundOnToolbars(bool on) {
    onToolbars_ = on;
    BackgroundChanged();
}

void TDock97::SetBackgroundTransparent(bool on) {
    transparent_ = on;
    BackgroundChanged();
}

// The copy is made again on need; the dock and its windows repaint.
void TDock97::BackgroundChanged() {
    if (transparentCopy_) DeleteObject(transparentCopy_);
    transparentCopy_ = nullptr;
    if (!HandleAllocated()) return;
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

HPALETTE TDock97::BackgroundPalette() {
    if (palette_ || !background_) return palette_;
    DIBSECTION ds{};
    if (GetObjectA(background_, sizeof ds, &ds) != sizeof ds || ds.dsBm.bmBitsPixel > 8) return nullptr;
    RGBQUAD table[256];
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, background_);
    const UINT n = GetDIBColorTable(mem, 0, 256, table);
    SelectObject(mem, old);
    DeleteDC(mem);
    if (n == 0) return nullptr;
    std::vector<BYTE> buf(sizeof(LOGPALETTE) + n * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(buf.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = static_cast<WORD>(n);
    for (UINT i = 0; i < n; ++i) lp->palPalEntry[i] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
    palette_ = CreatePalette(lp);
    return palette_;
}

bool TDock97::DrawBackground(HDC dc, const RECT& area, POINT origin) {
    if (!background_) return false;
    BITMAP bm{};
    GetObjectA(background_, sizeof bm, &bm);
    const int w = bm.bmWidth, h = bm.bmHeight;
    if (w <= 0 || h <= 0) return false;
    HBITMAP tile = background_;
    if (transparent_) {
        if (!transparentCopy_) {
            // Every pixel of the lower-left pixel's colour in the dock's colour.
            BITMAPINFO bi{};
            bi.bmiHeader.biSize = sizeof bi.bmiHeader;
            bi.bmiHeader.biWidth = w;
            bi.bmiHeader.biHeight = -h;
            bi.bmiHeader.biPlanes = 1;
            bi.bmiHeader.biBitCount = 32;
            std::vector<uint32_t> px(static_cast<size_t>(w) * h);
            HDC screen = GetDC(nullptr);
            GetDIBits(screen, background_, 0, static_cast<UINT>(h), px.data(), &bi, DIB_RGB_COLORS);
            const uint32_t key = px[static_cast<size_t>(h - 1) * w] & 0xFFFFFF;
            const COLORREF c = ColorToRGB(Color());
            const uint32_t face = (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
            for (uint32_t& p : px)
                if ((p & 0xFFFFFF) == key) p = face;
            void* bits = nullptr;
            transparentCopy_ = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
            ReleaseDC(nullptr, screen);
            if (transparentCopy_ && bits) memcpy(bits, px.data(), px.size() * 4);
        }
        if (transparentCopy_) tile = transparentCopy_;
    }
    HDC src = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(src, tile);
    // The first tile starts at a multiple of the picture's size in the parent's coordinates.
    auto floorMod = [](int v, int m) { return ((v % m) + m) % m; };
    const int startX = area.left - floorMod(area.left + origin.x, w);
    const int startY = area.top - floorMod(area.top + origin.y, h);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    if (HPALETTE palette = BackgroundPalette()) {
        SelectPalette(dc, palette, TRUE);
        RealizePalette(dc);
    }
    for (int y = startY; y < area.bottom; y += h)
        for (int x = startX; x < area.right; x += w) BitBlt(dc, x, y, w, h, src, 0, 0, SRCCOPY);
    RestoreDC(dc, saved);
    SelectObject(src, old);
    DeleteDC(src);
    return true;
}

void TDock97::Paint(TCanvas& canvas) {
    RECT r;
    GetClientRect(Handle(), &r);
    POINT origin{0, 0};
    MapWindowPoints(Handle(), Parent() ? Parent()->Handle() : nullptr, &origin, 1);
    if (!DrawBackground(canvas.Handle(), r, origin)) TWinControl::Paint(canvas);
}
