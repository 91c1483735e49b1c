#include "Screenshot.h"

#include "ui/Graphics.h"

bool SaveWindowShot(HWND Window, const std::string& Path) {
    // Painted now, without pumping messages: a transfer in progress must not run on meanwhile.
    RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    RECT r;
    if (!GetWindowRect(Window, &r)) return false;
    TBitmap shot(r.right - r.left, r.bottom - r.top);
    // The window's own pixels: what the display shows may lag behind them.
    HDC dc = GetWindowDC(Window);
    BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(Window, dc);
    return shot.SaveToFile(Path);
}
