#include "components/ToolWindow97.h"

#include <algorithm>

#include "components/DragOutline.h"
#include "components/core/ToolbarLayout.h"

namespace {
TDragOutline* g_outline = nullptr;

const DWORD kFloatStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
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

TCustomToolWindow97::TCustomToolWindow97(TForm* form) : TWinControl(form), form_(form) { DockPos = -1; }

TCustomToolWindow97::~TCustomToolWindow97() {
    BeginDestroy();
    if (dockedTo_) dockedTo_->InsertRemoveBar(this, false, false);
    if (dockedTo_) dockedTo_->RemoveFreeNotification(this);
    if (lastDock_ && lastDock_ != dockedTo_) lastDock_->RemoveFreeNotification(this);
}

void TCustomToolWindow97::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == dockedTo_) dockedTo_ = nullptr;
    if (component == lastDock_) lastDock_ = nullptr;
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

void TCustomToolWindow97::WndCreated() {
    if (!dockedTo_ && Visible()) ShowFloating();
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
    RECT r{0, 0, s.cx, s.cy};
    AdjustWindowRectEx(&r, kFloatStyle, FALSE, kFloatExStyle);
    return {r.right - r.left, r.bottom - r.top};
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
        } else {
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
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    RECT work;
    if (GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi)) {
        work = mi.rcWork;
    } else if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
        work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
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
            if (!dockedTo_) return false;
            NcCalcSize(m);
            return true;
        case WM_NCPAINT:
            if (!dockedTo_) return false;
            NcPaintDocked();
            return true;
        case WM_NCHITTEST:
            if (!dockedTo_) return false;
            m.Result = HTCLIENT;  // the grip is dragged like the client area
            return true;
        case WM_NCLBUTTONDOWN:
            if (dockedTo_ || m.WParam != HTCAPTION) return false;
            {
                POINT pt{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
                ScreenToClient(Handle(), &pt);
                BeginMoving(pt.x, pt.y);
            }
            return true;
        case WM_NCLBUTTONDBLCLK:
            if (dockedTo_ || m.WParam != HTCAPTION) return false;
            DblClick(mbLeft, ssDouble, 0, 0);
            return true;
        case WM_SYSCOMMAND:
            if ((m.WParam & 0xFFF0) != SC_CLOSE) return false;
            Hide();  // the close box hides the tool window
            return true;
        case WM_MOVE:
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

void TCustomToolWindow97::NcCalcSize(TMessage& m) {
    RECT* r = reinterpret_cast<RECT*>(m.LParam);
    const int grip = GripWidth();
    InflateRect(r, -2, -2);
    if (dockedTo_->GetDockKind() == 2) r->top += grip; else r->left += grip;
    m.Result = 0;
}

void TCustomToolWindow97::NcPaintDocked() {
    HWND h = Handle();
    HDC dc = GetWindowDC(h);
    RECT w;
    GetWindowRect(h, &w);
    OffsetRect(&w, -w.left, -w.top);
    HBRUSH face = CreateSolidBrush(ColorToRGB(Color()));
    RECT inner = w;
    InflateRect(&inner, -1, -1);
    FrameRect(dc, &inner, face);
    const bool vertical = dockedTo_->GetDockKind() == 2;
    const int grip = GripWidth();
    RECT strip = vertical ? RECT{1, 1, w.right - 1, 2 + grip} : RECT{1, 1, 2 + grip, w.bottom - 1};
    FillRect(dc, &strip, face);
    DeleteObject(face);
    DrawEdge(dc, &w, BDR_RAISEDINNER, BF_RECT);
    const int bars = GripStyle == 0 ? 2 : GripStyle == 2 ? 1 : 0;
    for (int i = 0; i < bars; ++i) {
        const int at = i == 0 ? 4 : 7;
        RECT bar = vertical ? RECT{3, at, w.right - 3, at + 3} : RECT{at, 3, at + 3, w.bottom - 3};
        DrawEdge(dc, &bar, BDR_RAISEDINNER, BF_RECT);
    }
    ReleaseDC(h, dc);
}

std::vector<TDock97*> TCustomToolWindow97::CandidateDocks() const {
    std::vector<TDock97*> docks;
    std::vector<TWinControl*> todo{form_};
    while (!todo.empty()) {
        TWinControl* c = todo.back();
        todo.pop_back();
        for (int i = c->ControlCount(); i-- > 0;) {
            TWinControl* child = c->Controls(i);
            if (child == this) continue;
            auto* dock = dynamic_cast<TDock97*>(child);
            if (dock && dock->AllowDrag && dock->Visible()) docks.push_back(dock);
            todo.push_back(child);
        }
    }
    // Top docks first, then bottom, left and right.
    std::stable_sort(docks.begin(), docks.end(),
                     [](TDock97* a, TDock97* b) { return a->Position() < b->Position(); });
    return docks;
}
