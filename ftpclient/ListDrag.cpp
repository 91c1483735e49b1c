#include "ListDrag.h"

#include <cstdlib>

namespace {
POINT ScreenPointOf(HWND source, LPARAM lp) {
    POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    ClientToScreen(source, &p);
    return p;
}
}  // namespace

bool PointOnWindow(HWND Window, POINT Screen) {
    RECT r;
    return Window && IsWindowVisible(Window) && GetWindowRect(Window, &r) && PtInRect(&r, Screen);
}

TDragOutcome TrackDrag(HWND Source, POINT ClientStart, const std::function<bool(POINT Screen)>& OverTarget) {
    TDragOutcome out;
    const int dx = GetSystemMetrics(SM_CXDRAG), dy = GetSystemMetrics(SM_CYDRAG);
    bool dragging = false;
    SetCapture(Source);
    for (;;) {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (GetCapture() != Source) {
                out.End = dragging ? TDragEnd::Cancelled : TDragEnd::Click;
                break;
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            out.End = TDragEnd::Cancelled;
            break;
        }
        if (msg.message == WM_MOUSEMOVE && msg.hwnd == Source) {
            POINT c{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
            if (!dragging && (std::abs(c.x - ClientStart.x) > dx || std::abs(c.y - ClientStart.y) > dy)) dragging = true;
            if (dragging)
                SetCursor(LoadCursor(nullptr, OverTarget(ScreenPointOf(Source, msg.lParam)) ? IDC_HAND : IDC_NO));
            continue;
        }
        if (msg.message == WM_LBUTTONUP && msg.hwnd == Source) {
            out.Screen = ScreenPointOf(Source, msg.lParam);
            out.End = dragging ? (OverTarget(out.Screen) ? TDragEnd::Dropped : TDragEnd::Cancelled) : TDragEnd::Click;
            break;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            out.End = TDragEnd::Cancelled;
            break;
        }
        // Other mouse input belongs to the drag; everything else goes on as usual.
        if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (GetCapture() == Source) ReleaseCapture();
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    return out;
}
