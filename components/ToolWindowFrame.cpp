// The tool window's frame: the docked frame with its grip, the floating
// frame with our own caption and close box, its hit test, and the client
// area over a dock's background.
#include <algorithm>

#include "components/ToolWindow97.h"

void TCustomToolWindow97::NcCalcSize(TMessage& m) {
    RECT* r = reinterpret_cast<RECT*>(m.LParam);
    m.Result = 0;
    if (!dockedTo_) {
        const int f = FloatFrame();
        r->left += f;
        r->right -= f;
        r->top += f + CaptionHeight();
        r->bottom -= f;
        if (r->right < r->left) r->right = r->left;
        if (r->bottom < r->top) r->bottom = r->top;
        return;
    }
    const int grip = GripWidth();
    InflateRect(r, -2, -2);
    if (dockedTo_->GetDockKind() == 2) r->top += grip; else r->left += grip;
    m.Result = 0;
}

HPALETTE TCustomToolWindow97::Palette() const {
    return dockedTo_ && dockedTo_->BackgroundOnToolbars() ? dockedTo_->BackgroundPalette() : nullptr;
}

bool TCustomToolWindow97::RealizeDockPalette(bool background) {
    HDC dc = GetDC(Handle());
    HPALETTE old = SelectPalette(dc, Palette(), background);
    const UINT changed = RealizePalette(dc);
    SelectPalette(dc, old, TRUE);
    ReleaseDC(Handle(), dc);
    if (changed != 0 && changed != GDI_ERROR) InvalidateRect(Handle(), nullptr, FALSE);
    return changed != 0 && changed != GDI_ERROR;
}

// The floating caption is ours to draw: a new caption repaints the frame.
void TCustomToolWindow97::TextChanged() {
    if (HandleAllocated() && !Docked()) RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TCustomToolWindow97::ScheduleFrameRedraw() {
    if (!HandleAllocated()) return;
    MSG queued;
    while (PeekMessageA(&queued, Handle(), RedrawDockedFrameMessage, RedrawDockedFrameMessage, PM_REMOVE)) {
    }
    PostMessageA(Handle(), RedrawDockedFrameMessage, 0, 0);
}

void TCustomToolWindow97::NcPaintDocked() {
    HWND h = Handle();
    HDC dc = GetWindowDC(h);
    RECT w;
    GetWindowRect(h, &w);
    OffsetRect(&w, -w.left, -w.top);
    const bool vertical = dockedTo_->GetDockKind() == 2;
    const int grip = GripWidth();
    bool tiled = false;
    if (dockedTo_->BackgroundOnToolbars() && dockedTo_->Parent()) {
        // The dock's background under the frame, lined up with the dock's own.
        RECT client;
        GetClientRect(h, &client);
        MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&client), 2);
        RECT screen;
        GetWindowRect(h, &screen);
        OffsetRect(&client, -screen.left, -screen.top);
        POINT origin{screen.left, screen.top};
        ScreenToClient(dockedTo_->Parent()->Handle(), &origin);
        const int saved = SaveDC(dc);
        ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
        tiled = dockedTo_->DrawBackground(dc, w, origin);
        RestoreDC(dc, saved);
    }
    if (!tiled) {
        HBRUSH face = CreateSolidBrush(ColorToRGB(Color()));
        RECT inner = w;
        InflateRect(&inner, -1, -1);
        FrameRect(dc, &inner, face);
        RECT strip = vertical ? RECT{1, 1, w.right - 1, 2 + grip} : RECT{1, 1, 2 + grip, w.bottom - 1};
        FillRect(dc, &strip, face);
        DeleteObject(face);
    }
    DrawEdge(dc, &w, BDR_RAISEDINNER, BF_RECT);
    const int bars = GripStyle == 0 ? 2 : GripStyle == 2 ? 1 : 0;
    for (int i = 0; i < bars; ++i) {
        const int at = i == 0 ? 4 : 7;
        RECT bar = vertical ? RECT{3, at, w.right - 3, at + 3} : RECT{at, 3, at + 3, w.bottom - 3};
        DrawEdge(dc, &bar, BDR_RAISEDINNER, BF_RECT);
    }
    ReleaseDC(h, dc);
}

// ---- the floating frame: raised edge, small caption, our own close box

RECT TCustomToolWindow97::CloseBoxRect() const {
    if (!ShowsCloseBox || !HandleAllocated()) return RECT{};
    RECT w;
    GetWindowRect(Handle(), &w);
    const int f = FloatFrame(), ch = CaptionHeight();
    const int right = w.right - w.left - f;
    return {right - (ch - 1) + 2, f + 2, right - 2, f + ch - 3};
}

LRESULT TCustomToolWindow97::FloatingHitTest(POINT pt) const {
    RECT w;
    GetWindowRect(Handle(), &w);
    const int x = pt.x - w.left, y = pt.y - w.top, width = w.right - w.left, height = w.bottom - w.top;
    const int f = FloatFrame(), corner = f + CaptionHeight();
    RECT box = CloseBoxRect();
    if (PtInRect(&box, POINT{x, y})) return HTCLOSE;
    const bool left = x < f, right = x >= width - f, top = y < f, bottom = y >= height - f;
    if (left || right || top || bottom) {
        if (!SizableWhenFloating) return HTBORDER;
        const bool nearLeft = x < corner, nearRight = x >= width - corner;
        const bool nearTop = y < corner, nearBottom = y >= height - corner;
        if ((top && nearLeft) || (left && nearTop)) return HTTOPLEFT;
        if ((top && nearRight) || (right && nearTop)) return HTTOPRIGHT;
        if ((bottom && nearLeft) || (left && nearBottom)) return HTBOTTOMLEFT;
        if ((bottom && nearRight) || (right && nearBottom)) return HTBOTTOMRIGHT;
        return left ? HTLEFT : right ? HTRIGHT : top ? HTTOP : HTBOTTOM;
    }
    return HTCLIENT;  // the caption too: the window drags itself
}

namespace {

// A cross of two-pixel diagonals: the close glyph, drawn without the
// symbol font the caption buttons of the platform take theirs from.
void DrawCloseGlyph(HDC dc, RECT r, COLORREF ink) {
    const int size = std::min(r.right - r.left, r.bottom - r.top) - 6;
    if (size < 3) return;
    const int x0 = r.left + (r.right - r.left - size) / 2, y0 = r.top + (r.bottom - r.top - size) / 2;
    for (int i = 0; i < size; ++i)
        for (int t = 0; t < 2; ++t) {
            if (i + t < size) {
                SetPixel(dc, x0 + i + t, y0 + i, ink);
                SetPixel(dc, x0 + size - 1 - i - t, y0 + i, ink);
            }
        }
}

}  // namespace

void TCustomToolWindow97::NcPaintFloating() {
    if (!HandleAllocated() || !IsWindowVisible(Handle())) return;
    HWND h = Handle();
    HDC dc = GetWindowDC(h);
    RECT w;
    GetWindowRect(h, &w);
    OffsetRect(&w, -w.left, -w.top);
    const int f = FloatFrame(), ch = CaptionHeight();
    // Frame: a raised edge and the face inside it.
    HBRUSH face = CreateSolidBrush(ColorToRGB(clBtnFace));
    RECT band = w;
    for (int i = 0; i < f; ++i) {
        FrameRect(dc, &band, face);
        InflateRect(&band, -1, -1);
    }
    DrawEdge(dc, &w, EDGE_RAISED, BF_RECT);
    // Caption, and a face-coloured line under it.
    RECT cap{f, f, w.right - f, f + ch - 1};
    BOOL gradient = FALSE;
    SystemParametersInfoA(SPI_GETGRADIENTCAPTIONS, 0, &gradient, 0);
    // The form's caption look: a tool window is never activated itself.
    const bool active = !InactiveLook;
    DrawCaption(h, dc, &cap, DC_SMALLCAP | DC_TEXT | (active ? DC_ACTIVE : 0) | (gradient ? DC_GRADIENT : 0));
    RECT line{f, f + ch - 1, w.right - f, f + ch};
    FillRect(dc, &line, face);
    if (ShowsCloseBox) {
        RECT box = CloseBoxRect();
        RECT frame = box;
        InflateRect(&frame, 1, 1);
        HBRUSH capBrush = CreateSolidBrush(GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
        FrameRect(dc, &frame, capBrush);
        DeleteObject(capBrush);
        FillRect(dc, &box, face);
        DrawEdge(dc, &box, closePressed_ ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        RECT glyph = box;
        if (closePressed_) OffsetRect(&glyph, 1, 1);
        DrawCloseGlyph(dc, glyph, GetSysColor(COLOR_BTNTEXT));
    }
    DeleteObject(face);
    ReleaseDC(h, dc);
}

void TCustomToolWindow97::Paint(TCanvas& canvas) {
    RECT r;
    GetClientRect(Handle(), &r);
    if (dockedTo_ && dockedTo_->BackgroundOnToolbars() && dockedTo_->Parent()) {
        POINT origin{0, 0};
        MapWindowPoints(Handle(), dockedTo_->Parent()->Handle(), &origin, 1);
        if (dockedTo_->DrawBackground(canvas.Handle(), r, origin)) return;
    }
    TWinControl::Paint(canvas);
}
