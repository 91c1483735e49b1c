// The drag loop of a tool window: where the outline goes, and the move when
// the button is let go.
#include <algorithm>

#include "components/ToolWindow97.h"

namespace {

struct TDragTarget {
    TDock97* Dock = nullptr;  // none: floating
    RECT Rect{};              // screen coordinates
};

// The window's rectangle at its new size, placed so that the grab point keeps
// its relative position.
RECT PlaceAtGrab(POINT pt, POINT grab, SIZE oldSize, SIZE size) {
    const int x = oldSize.cx > 1 ? grab.x * (size.cx - 1) / (oldSize.cx - 1) : 0;
    const int y = oldSize.cy > 1 ? grab.y * (size.cy - 1) / (oldSize.cy - 1) : 0;
    return {pt.x - x, pt.y - y, pt.x - x + size.cx, pt.y - y + size.cy};
}

void DispatchPendingPaints() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        DispatchMessageA(&msg);
    }
}

}  // namespace

void TCustomToolWindow97::BeginMoving(int x, int y) {
    HWND h = Handle();
    RECT start;
    GetWindowRect(h, &start);
    POINT grabScreen{x, y};
    ClientToScreen(h, &grabScreen);
    const POINT grab{grabScreen.x - start.left, grabScreen.y - start.top};
    const SIZE oldSize{start.right - start.left, start.bottom - start.top};
    const std::vector<TDock97*> docks = CandidateDocks();
    const int frame = GetSystemMetrics(SM_CXFRAME);
    bool noDock = GetKeyState(VK_CONTROL) < 0;
    TDragTarget target{dockedTo_, start};
    POINT last = grabScreen;

    auto recompute = [&](POINT pt) {
        last = pt;
        target = {};
        for (TDock97* dock : noDock ? std::vector<TDock97*>() : docks) {
            RECT dr;
            GetWindowRect(dock->Handle(), &dr);
            // An empty dock counts one pixel thick.
            if (dr.bottom == dr.top) ++dr.bottom;
            if (dr.right == dr.left) ++dr.right;
            const TBarBounds zone = DragTolerance({dr.left, dr.top, dr.right - dr.left, dr.bottom - dr.top}, grab.x,
                                                  grab.y, oldSize.cx, oldSize.cy);
            RECT wide{zone.Left, zone.Top, zone.Left + zone.Width, zone.Top + zone.Height};
            RECT proposed = PlaceAtGrab(pt, grab, oldSize, DockedSizeFor(dock->GetDockKind()));
            RECT hit;
            if (!PtInRect(&wide, pt) || !IntersectRect(&hit, &proposed, &dr)) continue;
            bool accept = true;
            if (dock->OnRequestDock) dock->OnRequestDock(dock, this, accept);
            if (!accept) continue;
            target = {dock, proposed};
            break;
        }
        if (!target.Dock) target.Rect = PlaceAtGrab(pt, grab, oldSize, FloatingSize());
        DragOutline().Show(target.Rect, target.Dock ? 1 : frame);
    };

    DispatchPendingPaints();
    DragOutline().Begin();
    SetCapture(h);
    DragOutline().Show(start, dockedTo_ ? 1 : frame);
    bool accepted = false, moved = false;
    MSG msg;
    while (GetCapture() == h) {
        if (!GetMessageA(&msg, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        switch (msg.message) {
            case WM_KEYDOWN:
            case WM_KEYUP:
                if (msg.wParam == VK_CONTROL) {
                    noDock = msg.message == WM_KEYDOWN;
                    recompute(last);
                } else if (msg.wParam == VK_ESCAPE && msg.message == WM_KEYDOWN) {
                    ReleaseCapture();
                }
                break;  // other keys are swallowed
            case WM_MOUSEMOVE: {
                POINT pt{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
                ClientToScreen(msg.hwnd, &pt);
                if (pt.x != last.x || pt.y != last.y) moved = true;
                recompute(pt);
                break;
            }
            case WM_LBUTTONUP:
                accepted = true;
                ReleaseCapture();
                break;
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
                ReleaseCapture();
                break;
            case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
            case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK:
                break;
            default:
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
        }
    }
    if (GetCapture() == h) ReleaseCapture();
    DragOutline().End();
    if (!accepted || !moved) return;

    if (!target.Dock) {
        Float(target.Rect.left, target.Rect.top);
        return;
    }
    TDock97* dock = target.Dock;
    RECT local = target.Rect;
    MapWindowPoints(nullptr, dock->Handle(), reinterpret_cast<POINT*>(&local), 2);
    const bool vertical = dock->GetDockKind() == 2;
    DockRow = DropRow(dock->Layout(), this, vertical ? (local.left + local.right) / 2 : (local.top + local.bottom) / 2);
    DockPos = std::max(0, static_cast<int>(vertical ? local.top : local.left));
    if (dock == dockedTo_) {
        dock->ArrangeToolbars();
    } else {
        SetDockedTo(dock);
    }
}
