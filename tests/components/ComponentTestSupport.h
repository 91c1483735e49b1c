// Helpers of the component tests: window snapshots and glyph bitmaps.
#pragma once

#include <windows.h>

#include <string>

#include "ui/Control.h"
#include "ui/Graphics.h"

// The window's whole area (client DC, or whole-window DC with nonClient) into shot.
inline void Snapshot(TWinControl& c, TBitmap& shot, bool nonClient = false) {
    HWND h = c.Handle();
    RECT r;
    if (nonClient) GetWindowRect(h, &r);
    else GetClientRect(h, &r);
    shot.SetSize(r.right - r.left, r.bottom - r.top);
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ERASE);
    HDC dc = nonClient ? GetWindowDC(h) : GetDC(h);
    BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(h, dc);
}

inline uint32_t SysRGB(int index) {
    const COLORREF c = GetSysColor(index);
    return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

// Drains WM_QUIT and every waiting message.
inline void Drain() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) continue;
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}
