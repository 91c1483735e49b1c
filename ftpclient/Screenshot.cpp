#include "Screenshot.h"

#include "ui/Graphics.h"

namespace {
// Copies the area of dc (released afterwards) into a .bmp.
bool SaveDCArea(HWND owner, HDC dc, const RECT& area, const std::string& path) {
    TBitmap shot(area.right - area.left, area.bottom - area.top);
    BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), dc, area.left, area.top, SRCCOPY);
    ReleaseDC(owner, dc);
    return shot.SaveToFile(path);
}
}  // namespace

bool SaveWindowShot(HWND Window, const std::string& Path) {
    // Painted now, without pumping messages: a transfer in progress must not run on meanwhile.
    RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    RECT r;
    if (!GetWindowRect(Window, &r)) return false;
    // The window's own pixels: what the display shows may lag behind them.
    return SaveDCArea(Window, GetWindowDC(Window), {0, 0, r.right - r.left, r.bottom - r.top}, Path);
}

bool SaveScreenArea(const RECT& Area, const std::string& Path) {
    return SaveDCArea(nullptr, GetDC(nullptr), Area, Path);
}
