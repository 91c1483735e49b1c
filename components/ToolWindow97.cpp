#include "components/ToolWindow97.h"

#include <algorithm>

#include "components/DragOutline.h"
#include "components/ToolbarHooks.h"
#include "components/core/ToolbarLayout.h"

namespace {
TDragOutline* g_outline = nullptr;
std::vector<TCustomToolWindow97*> g_toolWindows;

// The frame and caption are our own (see WM_NCCALCSIZE): no system caption.
const DWORD kFloatStyle = WS_POPUP | WS_CLIPCHILDREN;
const DWORD kFloatExStyle = WS_EX_TOOLWINDOW;
const DWORD kDockedStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
}  // namespace

TDragOutline* SetDragOutline(TDragOutline* outline) {
    TDragOutline* previous = g_outline;
    g_outline = outline;
    return previous;
}

TDragOutline& DragOutline() {
    static TDesktopOutline desktop;
    return g_outline ? *g_outline : desktop;
}

namespace {
RECT WorkAreaOf(HMONITOR monitor) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (monitor && GetMonitorInfoA(monitor, &mi)) return mi.rcWork;
    RECT work;
    if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) return work;
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}
}  // namespace

RECT GetMonitorWorkArea(const RECT& r) { return WorkAreaOf(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST)); }
RECT GetMonitorWorkArea(POINT pt) { return WorkAreaOf(MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST)); }

TCustomToolWindow97::TCustomToolWindow97(TForm* form) : TWinControl(form), form_(form) {
    DockPos = -1;
    g_toolWindows.push_back(this);
    RegisterHookProc(HookProc, HookKindBit(hkActivateApp) | HookKindBit(hkWindowPosChanged));
}

TCustomToolWindow97::~TCustomToolWindow97() {
    BeginDestroy();
    UnregisterHookProc(HookProc);
    for (TForm* form : dockForms_) form->RemoveFreeNotification(this);
    g_toolWindows.erase(std::find(g_toolWindows.begin(), g_toolWindows.end(), this));
    if (dockedTo_) dockedTo_->InsertRemoveBar(this, false, false);
    if (dockedTo_) dockedTo_->RemoveFreeNotification(this);
    if (lastDock_ && lastDock_ != dockedTo_) lastDock_->RemoveFreeNotification(this);
}

void TCustomToolWindow97::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == dockedTo_) dockedTo_ = nullptr;
    if (component == lastDock_) lastDock_ = nullptr;
    auto form = std::find(dockForms_.begin(), dockForms_.end(), component);
    if (form != dockForms_.end()) dockForms_.erase(form);
}

void TCustomToolWindow97::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = "TToolWindow97";
    if (dockedTo_) {
        p.Style = kDockedStyle | (Visible() ? WS_VISIBLE : 0);
        p.ExStyle = 0;
        p.WndParent = dockedTo_->Handle();
    } else {
        SIZE s = FloatingSize();
        // Shown once made, without taking the activation from the form.
        p.Style = kFloatStyle;
        p.ExStyle = kFloatExStyle;
        p.WndParent = form_->Handle();  // the owner: floats above the form
        p.X = FloatLeft;
        p.Y = FloatTop;
        p.Width = s.cx;
        p.Height = s.cy;
    }
}

bool TCustomToolWindow97::ShouldBeVisible(bool applicationActive) const {
    if (!Visible() || dockedTo_) return Visible();
    if (!form_->HandleAllocated()) return false;
    HWND form = form_->Handle();
    if (!IsWindowVisible(form) || IsIconic(form)) return false;
    return !(HidesWhileInactive && !applicationActive);
}

void TCustomToolWindow97::UpdateVisibility(bool applicationActive) {
    const bool inactive = !dockedTo_ && !HidesWhileInactive && !applicationActive;
    if (inactive != InactiveLook) {
        InactiveLook = inactive;
        if (!dockedTo_) NcPaintFloating();
    }
    if (dockedTo_ || !HandleAllocated()) return;
    const bool want = ShouldBeVisible(applicationActive);
    if ((IsWindowVisible(Handle()) != FALSE) == want) return;
    if (want) {
        ShowFloating();
    } else {
        ShowWindow(Handle(), SW_HIDE);
    }
}

// The application (de)activated, or a form shown, hidden or minimised: the
// floating windows follow.
void TCustomToolWindow97::HookProc(THookKind kind, uintptr_t wnd, uintptr_t wp, intptr_t lp) {
    const std::vector<TCustomToolWindow97*> windows = g_toolWindows;
    if (kind == hkActivateApp) {
        for (TCustomToolWindow97* w : windows) w->UpdateVisibility(wp != 0);
        return;
    }
    if (kind != hkWindowPosChanged || !lp) return;
    const auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
    if (!(pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED))) return;
    HWND changed = reinterpret_cast<HWND>(wnd);
    for (TCustomToolWindow97* w : windows) {
        if (!w->form_->HandleAllocated()) continue;
        HWND form = w->form_->Handle();
        if (changed == form || IsChild(changed, form)) w->UpdateVisibility(IsApplicationActive());
    }
}

void TCustomToolWindow97::WndCreated() {
    if (!dockedTo_ && ShouldBeVisible(IsApplicationActive())) ShowFloating();
}

// The window is never activated itself, so its caption is told to look
// active as the form's does.
void TCustomToolWindow97::ShowFloating() {
    ShowWindow(Handle(), SW_SHOWNA);
    SendMessageA(Handle(), WM_NCACTIVATE, TRUE, 0);
}

int TCustomToolWindow97::GripWidth() const {
    if (!dockedTo_ || !dockedTo_->AllowDrag) return 0;
    return GripStyle == 1 ? 0 : GripStyle == 2 ? 6 : 9;
}

SIZE TCustomToolWindow97::DockedSizeFor(int dockKind) {
    TDock97* dock = dockedTo_;
    SIZE s = OrderControls(false, dockKind, dock);
    const int grip = (dock && !dock->AllowDrag) || GripStyle == 1 ? 0 : GripStyle == 2 ? 6 : 9;
    s.cx += 4;
    s.cy += 4;
    if (dockKind == 2) s.cy += grip; else s.cx += grip;
    return s;
}

SIZE TCustomToolWindow97::FloatingSize() {
    SIZE s = OrderControls(false, 0, nullptr);
    const int f = FloatFrame();
    return {s.cx + 2 * f, s.cy + 2 * f + CaptionHeight()};
}

int TCustomToolWindow97::FloatFrame() const {
    return GetSystemMetrics(SizableWhenFloating ? SM_CXFRAME : SM_CXDLGFRAME);
}

int TCustomToolWindow97::RowExtent(bool vertical) const {
    SIZE s = const_cast<TCustomToolWindow97*>(this)->DockedSizeFor(vertical ? 2 : 1);
    return vertical ? s.cy : s.cx;
}

int TCustomToolWindow97::DockedBaseSize(int dockKind) const {
    SIZE s = const_cast<TCustomToolWindow97*>(this)->DockedSizeFor(dockKind);
    return dockKind == 2 ? s.cx : s.cy;
}

void TCustomToolWindow97::SetDockedBounds(const TBarBounds& b) {
    arranging_ = true;
    SetWindowPos(Handle(), nullptr, b.Left, b.Top, b.Width, b.Height, SWP_NOZORDER | SWP_NOACTIVATE);
    arranging_ = false;
}

void TCustomToolWindow97::SetDockRow(int row) {
    DockRow = row;
    if (dockedTo_) dockedTo_->ArrangeToolbars();
}

void TCustomToolWindow97::SetDockPos(int pos) {
    DockPos = pos;
    if (dockedTo_) dockedTo_->ArrangeToolbars();
}

// Switches the real window between a child of the dock and a pop-up owned by
// the form in place: the window (and its controls) stay the same objects.
void TCustomToolWindow97::SetDockedTo(TDock97* dock) {
    if (dock == dockedTo_) return;
    TDock97* old = dockedTo_;
    // Both docks arrange once, at the end, on every path.
    struct Updates {
        TDock97 *a, *b;
        Updates(TDock97* x, TDock97* y) : a(x), b(y) {
            if (a) a->BeginUpdate();
            if (b) b->BeginUpdate();
        }
        ~Updates() {
            if (b) b->EndUpdate();
            if (a) a->EndUpdate();
        }
    };
    {
        Updates updates(old, dock);
        if (old) old->InsertRemoveBar(this, false, false);
        dockedTo_ = dock;
        if (dock) {
            if (lastDock_ && lastDock_ != dock && lastDock_ != old) lastDock_->RemoveFreeNotification(this);
            lastDock_ = dock;
            dock->FreeNotification(this);
        }
        if (HandleAllocated()) {
            HWND h = Handle();
            // The switch moves the window: that is not a floating place.
            arranging_ = true;
            ShowWindow(h, SW_HIDE);
            if (dock) {
                SetWindowLongPtrA(h, GWL_STYLE, static_cast<LONG_PTR>(kDockedStyle));
                SetWindowLongPtrA(h, GWL_EXSTYLE, 0);
                ::SetParent(h, dock->Handle());
            } else {
                ::SetParent(h, nullptr);
                SetWindowLongPtrA(h, GWL_STYLE, static_cast<LONG_PTR>(kFloatStyle));
                SetWindowLongPtrA(h, GWL_EXSTYLE, static_cast<LONG_PTR>(kFloatExStyle));
                SetWindowLongPtrA(h, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(form_->Handle()));
            }
            SetWindowPos(h, nullptr, 0, 0, 0, 0,
                         SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            arranging_ = false;
        }
        if (dock && Visible()) dock->InsertRemoveBar(this, true, true);
        SizeForDockKind();
    }
    if (HandleAllocated() && Visible()) {
        if (dock) {
            ShowWindow(Handle(), SW_SHOWNA);
        } else if (ShouldBeVisible(IsApplicationActive())) {
            ShowFloating();
        }
    }
}

// A floating window takes its floating size at its floating place; a docked
// one is sized by its dock's arrange.
void TCustomToolWindow97::SizeForDockKind() {
    OrderControls(true, GetDockKind(dockedTo_ ? &dockedTo_->Layout() : nullptr), dockedTo_);
    if (dockedTo_ || !HandleAllocated()) return;
    SIZE s = FloatingSize();
    arranging_ = true;
    SetWindowPos(Handle(), nullptr, FloatLeft, FloatTop, s.cx, s.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    arranging_ = false;
}

void TCustomToolWindow97::Float(int left, int top) {
    PlaceFloating(left, top);
    MoveOnScreen();
}

void TCustomToolWindow97::PlaceFloating(int left, int top) {
    FloatLeft = left;
    FloatTop = top;
    if (dockedTo_) {
        SetDockedTo(nullptr);
    } else {
        SizeForDockKind();
    }
}

void TCustomToolWindow97::MoveOnScreen() {
    if (dockedTo_ || !HandleAllocated()) return;
    RECT r;
    GetWindowRect(Handle(), &r);
    const RECT work = GetMonitorWorkArea(r);
    TBarBounds moved = ::MoveOnScreen({r.left, r.top, r.right - r.left, r.bottom - r.top},
                                      {work.left, work.top, work.right - work.left, work.bottom - work.top});
    if (moved.Left != r.left || moved.Top != r.top) {
        FloatLeft = moved.Left;
        FloatTop = moved.Top;
        SetWindowPos(Handle(), nullptr, moved.Left, moved.Top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

bool TCustomToolWindow97::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TWinControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || (dockedTo_ && !dockedTo_->AllowDrag)) return false;
    BeginMoving(x, y);
    return true;
}

bool TCustomToolWindow97::DblClick(TMouseButton button, TShiftState shift, int x, int y) {
    TWinControl::DblClick(button, shift, x, y);
    if (button != mbLeft || (dockedTo_ && !dockedTo_->AllowDrag)) return false;
    if (dockedTo_) {
        RECT r;
        GetWindowRect(Handle(), &r);
        Float(r.left, r.top);
    } else if (lastDock_) {
        // Row 0, before every other window of the row.
        DockRow = 0;
        DockPos = -8;
        SetDockedTo(lastDock_);
    }
    return true;
}

bool TCustomToolWindow97::HandleMessage(TMessage& m) {
    switch (m.Msg) {
        case WM_NCCALCSIZE:
            NcCalcSize(m);
            return true;
        case WM_NCPAINT:
            if (dockedTo_) NcPaintDocked();
            else NcPaintFloating();
            return true;
        case WM_NCACTIVATE:
            // The system would draw its own caption over ours.
            if (!dockedTo_) NcPaintFloating();
            m.Result = TRUE;
            return true;
        case WM_SETTEXT:
            m.Result = DefaultHandler(m);
            if (!dockedTo_) NcPaintFloating();
            return true;
        case WM_NCHITTEST:
            if (dockedTo_) {
                m.Result = HTCLIENT;  // the grip is dragged like the client area
            } else {
                m.Result = FloatingHitTest({static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))});
            }
            return true;
        case WM_NCLBUTTONDOWN:
            if (dockedTo_) return false;
            if (m.WParam == HTCLOSE) CloseBoxLoop();
            else if (m.WParam >= HTLEFT && m.WParam <= HTBOTTOMRIGHT)
                SizeWindow(static_cast<int>(m.WParam), {static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))});
            return true;
        case WM_NCLBUTTONDBLCLK:
            return !dockedTo_;
        case WM_SYSCOMMAND:
            if ((m.WParam & 0xFFF0) != SC_CLOSE) return false;
            Hide();  // the close box hides the tool window
            if (OnClose) OnClose(this);
            return true;
        case RedrawDockedFrameMessage:
            if (dockedTo_) NcPaintDocked();
            return true;
        case WM_QUERYNEWPALETTE:
            if (!Palette()) return false;
            RealizeDockPalette(false);
            m.Result = TRUE;
            return true;
        case WM_PALETTECHANGED:
            if (!Palette()) return false;
            if (reinterpret_cast<HWND>(m.WParam) != Handle()) RealizeDockPalette(true);
            return true;
        case WM_MOVE:
            // The moved frame's background no longer lines up with the dock's.
            if (dockedTo_ && dockedTo_->HasBackground() && dockedTo_->BackgroundOnToolbars()) {
                ScheduleFrameRedraw();
                InvalidateRect(Handle(), nullptr, FALSE);
            }
            if (!dockedTo_ && !arranging_ && HandleAllocated()) {
                RECT r;
                GetWindowRect(Handle(), &r);
                FloatLeft = r.left;
                FloatTop = r.top;
            }
            return false;
        case WM_SHOWWINDOW:
            // A hidden docked window gives up its place in the rows.
            if (dockedTo_ && !arranging_ && m.LParam == 0) {
                auto& list = dockedTo_->Layout().DockList;
                const bool listed = std::find(list.begin(), list.end(), this) != list.end();
                if ((m.WParam != 0) != listed) dockedTo_->InsertRemoveBar(this, m.WParam != 0, true);
            }
            return false;
        case WM_MOUSEACTIVATE:
            if (dockedTo_) return false;
            // A click on a floating tool window leaves the form active.
            SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            if (GetActiveWindow() != form_->Handle()) SetActiveWindow(form_->Handle());
            m.Result = MA_NOACTIVATE;
            return true;
        case WM_GETMINMAXINFO: {
            auto* mmi = reinterpret_cast<MINMAXINFO*>(m.LParam);
            mmi->ptMinTrackSize = {1, 1};
            mmi->ptMaxTrackSize = {32767, 32767};
            return true;
        }
    }
    return false;
}
