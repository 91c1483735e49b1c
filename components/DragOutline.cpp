#include "components/DragOutline.h"

TDesktopOutline::~TDesktopOutline() { End(); }

void TDesktopOutline::Begin() {
    End();
    locked_ = LockWindowUpdate(GetDesktopWindow()) != FALSE;
    dc_ = GetDCEx(GetDesktopWindow(), nullptr, DCX_WINDOW | DCX_CACHE | (locked_ ? DCX_LOCKWINDOWUPDATE : 0));
    // 8 x 8 monochrome rows alternating 0x5555 / 0xAAAA: a 50 % checker.
    static const WORD rows[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
    HBITMAP pattern = CreateBitmap(8, 8, 1, 1, rows);
    brush_ = CreatePatternBrush(pattern);
    DeleteObject(pattern);
    shown_ = {};
    shownThickness_ = 0;
}

void TDesktopOutline::Invert(const RECT& r, int t) {
    if (!dc_ || IsRectEmpty(&r) || t <= 0) return;
    HGDIOBJ old = SelectObject(dc_, brush_);
    const int w = r.right - r.left, h = r.bottom - r.top;
    PatBlt(dc_, r.left, r.top, w, t, PATINVERT);
    PatBlt(dc_, r.left, r.bottom - t, w, t, PATINVERT);
    PatBlt(dc_, r.left, r.top + t, t, h - 2 * t, PATINVERT);
    PatBlt(dc_, r.right - t, r.top + t, t, h - 2 * t, PATINVERT);
    SelectObject(dc_, old);
}

// Inverting the old frame again erases it, so the desktop comes back as it was.
void TDesktopOutline::Show(const RECT& r, int thickness) {
    if (EqualRect(&r, &shown_) && thickness == shownThickness_) return;
    Invert(shown_, shownThickness_);
    Invert(r, thickness);
    shown_ = r;
    shownThickness_ = thickness;
}

void TDesktopOutline::End() {
    if (dc_) {
        Invert(shown_, shownThickness_);
        ReleaseDC(GetDesktopWindow(), dc_);
        dc_ = nullptr;
    }
    if (brush_) DeleteObject(brush_);
    brush_ = nullptr;
    if (locked_) LockWindowUpdate(nullptr);
    locked_ = false;
    shown_ = {};
}
