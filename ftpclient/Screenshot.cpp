#include "Screenshot.h"

#include "runtime/Application.h"
#include "ui/Graphics.h"

bool SaveWindowShot(HWND Window, const std::string& Path) {
    RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    Application->ProcessMessages();
    RECT r;
    if (!GetWindowRect(Window, &r)) return false;
    TBitmap shot(r.right - r.left, r.bottom - r.top);
    HDC screen = GetDC(nullptr);
    BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return shot.SaveToFile(Path);
}
