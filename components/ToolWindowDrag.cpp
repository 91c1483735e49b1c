// The mouse loops of a tool window: the drag (where the outline goes, and the
// move when the button is let go), the close box and the sizing of a
// floating window; and the docks a drag may enter.
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

// Without a dock under it, the cursor counts as within the work area of its
// monitor, and the window stays where its caption can still be taken.
RECT TCustomToolWindow97::FloatingTarget(POINT pt, POINT grab, SIZE oldSize) {
    const RECT work = GetMonitorWorkArea(pt);
    const TBarBounds area{work.left, work.top, work.right - work.left, work.bottom - work.top};
    int x = pt.x, y = pt.y;
    ClampToArea(x, y, area);
    const RECT r = PlaceAtGrab(POINT{x, y}, grab, oldSize, FloatingSize());
    const TBarBounds kept = KeepFloatingReachable({r.left, r.top, r.right - r.left, r.bottom - r.top}, area,
                                                  FloatFrame(), CaptionHeight());
    return {kept.Left, kept.Top, kept.Left + kept.Width, kept.Top + kept.Height};
}

void TCustomToolWindow97::BeginMoving(int x, int y) {
    HWND h = Handle();
    RECT start;
    GetWindowRect(h, &start);
    POINT grabScreen{x, y};
    ClientToScreen(h, &grabScreen);
    const POINT grab{grabScreen.x - start.left, grabScreen.y - start.top};
    const SIZE oldSize{start.right - start.left, start.bottom - start.top};
    const std::vector<TDock97*> docks = CandidateDocks();
    const int frame = FloatFrame();
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
        if (!target.Dock) target.Rect = FloatingTarget(pt, grab, oldSize);
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

// ---- docks a dragged window may enter

void TCustomToolWindow97::AddDockForm(TForm* form) {
    if (!form || form == form_ || std::find(dockForms_.begin(), dockForms_.end(), form) != dockForms_.end()) return;
    dockForms_.push_back(form);
    form->FreeNotification(this);
}

void TCustomToolWindow97::RemoveDockForm(TForm* form) {
    auto it = std::find(dockForms_.begin(), dockForms_.end(), form);
    if (it == dockForms_.end()) return;
    dockForms_.erase(it);
    form->RemoveFreeNotification(this);
}

std::vector<TDock97*> TCustomToolWindow97::CandidateDocks() const {
    // The own form first, then the others in the screen's order (top first).
    std::vector<TForm*> forms = dockForms_;
    std::stable_sort(forms.begin(), forms.end(), [](TForm* a, TForm* b) {
        if (!a->HandleAllocated() || !b->HandleAllocated()) return false;
        for (HWND w = GetWindow(a->Handle(), GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
            if (w == b->Handle()) return true;
        return false;
    });
    forms.insert(forms.begin(), form_);
    std::vector<TDock97*> docks;
    for (TForm* form : forms) {
        if (form->HandleAllocated() && !IsWindowVisible(form->Handle())) continue;
        std::vector<TDock97*> own;
        std::vector<TWinControl*> todo{form};
        while (!todo.empty()) {
            TWinControl* c = todo.back();
            todo.pop_back();
            for (int i = c->ControlCount(); i-- > 0;) {
                TWinControl* child = c->Controls(i);
                if (child == this) continue;
                auto* dock = dynamic_cast<TDock97*>(child);
                if (dock && dock->AllowDrag && dock->Visible()) own.push_back(dock);
                todo.push_back(child);
            }
        }
        // Top docks first, then bottom, left and right.
        std::stable_sort(own.begin(), own.end(), [](TDock97* a, TDock97* b) { return a->Position() < b->Position(); });
        docks.insert(docks.end(), own.begin(), own.end());
    }
    return docks;
}

// ---- the close box and the sizing loops

namespace {

// Runs a capture loop: handler answers each message; false ends the loop.
template <class F>
void CaptureLoop(HWND h, F&& handle) {
    SetCapture(h);
    MSG msg;
    while (GetCapture() == h) {
        if (!GetMessageA(&msg, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!handle(msg)) break;
    }
    if (GetCapture() == h) ReleaseCapture();
}

POINT ScreenPoint(const MSG& msg) {
    POINT pt{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
    ClientToScreen(msg.hwnd, &pt);
    return pt;
}

bool Swallowed(UINT m) {
    return (m >= WM_KEYFIRST && m <= WM_KEYLAST) || m == WM_RBUTTONDOWN || m == WM_RBUTTONUP || m == WM_RBUTTONDBLCLK ||
           m == WM_MBUTTONDOWN || m == WM_MBUTTONUP || m == WM_MBUTTONDBLCLK;
}

}  // namespace

void TCustomToolWindow97::CloseBoxLoop() {
    HWND h = Handle();
    auto overBox = [&](POINT screen) {
        RECT w, box = CloseBoxRect();
        GetWindowRect(h, &w);
        OffsetRect(&box, w.left, w.top);
        return PtInRect(&box, screen) != FALSE;
    };
    closePressed_ = true;
    NcPaintFloating();
    bool close = false;
    CaptureLoop(h, [&](MSG& msg) {
        switch (msg.message) {
            case WM_MOUSEMOVE:
                if (overBox(ScreenPoint(msg)) != closePressed_) {
                    closePressed_ = !closePressed_;
                    NcPaintFloating();
                }
                return true;
            case WM_LBUTTONUP:
                close = overBox(ScreenPoint(msg));
                return false;
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
                return false;
            default:
                if (!Swallowed(msg.message)) {
                    TranslateMessage(&msg);
                    DispatchMessageA(&msg);
                }
                return true;
        }
    });
    closePressed_ = false;
    NcPaintFloating();
    if (!close) return;
    Hide();
    if (OnClose) OnClose(this);
}

void TCustomToolWindow97::SizeWindow(int hit, POINT from) {
    SizingBegins(hit);
    bool accepted = false;
    try {
        accepted = SizeLoop(hit, from);
    } catch (...) {
        SizingEnds(false);
        throw;
    }
    SizingEnds(accepted);
}

bool TCustomToolWindow97::SizeLoop(int hit, POINT from) {
    HWND h = Handle();
    RECT start;
    GetWindowRect(h, &start);
    const int f = FloatFrame();
    const SIZE minClient = MinimumClientSize();
    const int minW = 2 * f + std::max<LONG>(minClient.cx, 1), minH = 2 * f + CaptionHeight() + std::max<LONG>(minClient.cy, 1);
    const bool moveLeft = hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT;
    const bool moveRight = hit == HTRIGHT || hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT;
    const bool moveTop = hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT;
    const bool moveBottom = hit == HTBOTTOM || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT;
    RECT now = start;
    auto recompute = [&](POINT pt) {
        const int dx = pt.x - from.x, dy = pt.y - from.y;
        now = start;
        if (moveLeft) now.left = std::min<LONG>(start.left + dx, start.right - minW);
        if (moveRight) now.right = std::max<LONG>(start.right + dx, start.left + minW);
        if (moveTop) now.top = std::min<LONG>(start.top + dy, start.bottom - minH);
        if (moveBottom) now.bottom = std::max<LONG>(start.bottom + dy, start.top + minH);
        AdjustSizingRect(hit, now);
        DragOutline().Show(now, f);
    };
    // The confinement is undone however the loop ends.
    struct CursorClip {
        RECT previous{};
        bool set = false;
        ~CursorClip() {
            if (set) ClipCursor(&previous);
        }
    } clip;
    RECT work;
    if (ConfinesCursorWhileSizing && GetSystemMetrics(SM_CMONITORS) <= 1 && SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
        GetClipCursor(&clip.previous);
        clip.set = ClipCursor(&work) != FALSE;
    }
    DragOutline().Begin();
    DragOutline().Show(start, f);
    bool accepted = false;
    CaptureLoop(h, [&](MSG& msg) {
        switch (msg.message) {
            case WM_MOUSEMOVE:
                recompute(ScreenPoint(msg));
                return true;
            case WM_LBUTTONUP:
                recompute(ScreenPoint(msg));
                accepted = true;
                return false;
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
                return false;
            case WM_KEYDOWN:
            case WM_KEYUP:
                return msg.wParam != VK_ESCAPE;
            default:
                if (!Swallowed(msg.message)) {
                    TranslateMessage(&msg);
                    DispatchMessageA(&msg);
                }
                return true;
        }
    });
    DragOutline().End();
    if (!accepted || EqualRect(&now, &start)) return accepted;
    FloatLeft = now.left;
    FloatTop = now.top;
    arranging_ = true;
    SetWindowPos(h, nullptr, now.left, now.top, now.right - now.left, now.bottom - now.top, SWP_NOZORDER | SWP_NOACTIVATE);
    arranging_ = false;
    MoveOnScreen();
    return true;
}
