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

void TCustomToolWindow97::NcCalcSize(TMessage& m) {
    RECT* r = reinterpret_cast<RECT*>(m.LParam);
    m.Result = 0;
    if (!dockedTo_) {
        const int f = FloatFrame();
        r->left += f;
        r->right -= f;
        r->top += f + CaptionHeight();
        r->bottom -= f;
        if (r->right < r->left) r->right = r->left;
        if (r->bottom < r->top) r->bottom = r->top;
        return;
    }
    const int grip = GripWidth();
    InflateRect(r, -2, -2);
    if (dockedTo_->GetDockKind() == 2) r->top += grip; else r->left += grip;
    m.Result = 0;
}

HPALETTE TCustomToolWindow97::Palette() const {
    return dockedTo_ && dockedTo_->BackgroundOnToolbars() ? dockedTo_->BackgroundPalette() : nullptr;
}

bool TCustomToolWindow97::RealizeDockPalette(bool background) {
    HDC dc = GetDC(Handle());
    HPALETTE old = SelectPalette(dc, Palette(), background);
    const UINT changed = RealizePalette(dc);
    SelectPalette(dc, old, TRUE);
    ReleaseDC(Handle(), dc);
    if (changed != 0 && changed != GDI_ERROR) InvalidateRect(Handle(), nullptr, FALSE);
    return changed != 0 && changed != GDI_ERROR;
}

// The floating caption is ours to draw: a new caption repaints the frame.
void TCustomToolWindow97::TextChanged() {
    if (HandleAllocated() && !Docked()) RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TCustomToolWindow97::ScheduleFrameRedraw() {
    if (!HandleAllocated()) return;
    MSG queued;
    while (PeekMessageA(&queued, Handle(), RedrawDockedFrameMessage, RedrawDockedFrameMessage, PM_REMOVE)) {
    }
    PostMessageA(Handle(), RedrawDockedFrameMessage, 0, 0);
}

void TCustomToolWindow97::NcPaintDocked() {
    HWND h = Handle();
    HDC dc = GetWindowDC(h);
    RECT w;
    GetWindowRect(h, &w);
    OffsetRect(&w, -w.left, -w.top);
    const bool vertical = dockedTo_->GetDockKind() == 2;
    const int grip = GripWidth();
    bool tiled = false;
    if (dockedTo_->BackgroundOnToolbars() && dockedTo_->Parent()) {
        // The dock's background under the frame, lined up with the dock's own.
        RECT client;
        GetClientRect(h, &client);
        MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&client), 2);
        RECT screen;
        GetWindowRect(h, &screen);
        OffsetRect(&client, -screen.left, -screen.top);
        POINT origin{screen.left, screen.top};
        ScreenToClient(dockedTo_->Parent()->Handle(), &origin);
        const int saved = SaveDC(dc);
        ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
        tiled = dockedTo_->DrawBackground(dc, w, origin);
        RestoreDC(dc, saved);
    }
    if (!tiled) {
        HBRUSH face = CreateSolidBrush(ColorToRGB(Color()));
        RECT inner = w;
        InflateRect(&inner, -1, -1);
        FrameRect(dc, &inner, face);
        RECT strip = vertical ? RECT{1, 1, w.right - 1, 2 + grip} : RECT{1, 1, 2 + grip, w.bottom - 1};
        FillRect(dc, &strip, face);
        DeleteObject(face);
    }
    DrawEdge(dc, &w, BDR_RAISEDINNER, BF_RECT);
    const int bars = GripStyle == 0 ? 2 : GripStyle == 2 ? 1 : 0;
    for (int i = 0; i < bars; ++i) {
        const int at = i == 0 ? 4 : 7;
        RECT bar = vertical ? RECT{3, at, w.right - 3, at + 3} : RECT{at, 3, at + 3, w.bottom - 3};
        DrawEdge(dc, &bar, BDR_RAISEDINNER, BF_RECT);
    }
    ReleaseDC(h, dc);
}

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

// ---- the floating frame: raised edge, small caption, our own close box

RECT TCustomToolWindow97::CloseBoxRect() const {
    if (!ShowsCloseBox || !HandleAllocated()) return RECT{};
    RECT w;
    GetWindowRect(Handle(), &w);
    const int f = FloatFrame(), ch = CaptionHeight();
    const int right = w.right - w.left - f;
    return {right - (ch - 1) + 2, f + 2, right - 2, f + ch - 3};
}

LRESULT TCustomToolWindow97::FloatingHitTest(POINT pt) const {
    RECT w;
    GetWindowRect(Handle(), &w);
    const int x = pt.x - w.left, y = pt.y - w.top, width = w.right - w.left, height = w.bottom - w.top;
    const int f = FloatFrame(), corner = f + CaptionHeight();
    RECT box = CloseBoxRect();
    if (PtInRect(&box, POINT{x, y})) return HTCLOSE;
    const bool left = x < f, right = x >= width - f, top = y < f, bottom = y >= height - f;
    if (left || right || top || bottom) {
        if (!SizableWhenFloating) return HTBORDER;
        const bool nearLeft = x < corner, nearRight = x >= width - corner;
        const bool nearTop = y < corner, nearBottom = y >= height - corner;
        if ((top && nearLeft) || (left && nearTop)) return HTTOPLEFT;
        if ((top && nearRight) || (right && nearTop)) return HTTOPRIGHT;
        if ((bottom && nearLeft) || (left && nearBottom)) return HTBOTTOMLEFT;
        if ((bottom && nearRight) || (right && nearBottom)) return HTBOTTOMRIGHT;
        return left ? HTLEFT : right ? HTRIGHT : top ? HTTOP : HTBOTTOM;
    }
    return HTCLIENT;  // the caption too: the window drags itself
}

namespace {

// A cross of two-pixel diagonals: the close glyph, drawn without the
// symbol font the caption buttons of the platform take theirs from.
void DrawCloseGlyph(HDC dc, RECT r, COLORREF ink) {
    const int size = std::min(r.right - r.left, r.bottom - r.top) - 6;
    if (size < 3) return;
    const int x0 = r.left + (r.right - r.left - size) / 2, y0 = r.top + (r.bottom - r.top - size) / 2;
    for (int i = 0; i < size; ++i)
        for (int t = 0; t < 2; ++t) {
            if (i + t < size) {
                SetPixel(dc, x0 + i + t, y0 + i, ink);
                SetPixel(dc, x0 + size - 1 - i - t, y0 + i, ink);
            }
        }
}

}  // namespace

void TCustomToolWindow97::NcPaintFloating() {
    if (!HandleAllocated() || !IsWindowVisible(Handle())) return;
    HWND h = Handle();
    HDC dc = GetWindowDC(h);
    RECT w;
    GetWindowRect(h, &w);
    OffsetRect(&w, -w.left, -w.top);
    const int f = FloatFrame(), ch = CaptionHeight();
    // Frame: a raised edge and the face inside it.
    HBRUSH face = CreateSolidBrush(ColorToRGB(clBtnFace));
    RECT band = w;
    for (int i = 0; i < f; ++i) {
        FrameRect(dc, &band, face);
        InflateRect(&band, -1, -1);
    }
    DrawEdge(dc, &w, EDGE_RAISED, BF_RECT);
    // Caption, and a face-coloured line under it.
    RECT cap{f, f, w.right - f, f + ch - 1};
    BOOL gradient = FALSE;
    SystemParametersInfoA(SPI_GETGRADIENTCAPTIONS, 0, &gradient, 0);
    // The form's caption look: a tool window is never activated itself.
    const bool active = !InactiveLook;
    DrawCaption(h, dc, &cap, DC_SMALLCAP | DC_TEXT | (active ? DC_ACTIVE : 0) | (gradient ? DC_GRADIENT : 0));
    RECT line{f, f + ch - 1, w.right - f, f + ch};
    FillRect(dc, &line, face);
    if (ShowsCloseBox) {
        RECT box = CloseBoxRect();
        RECT frame = box;
        InflateRect(&frame, 1, 1);
        HBRUSH capBrush = CreateSolidBrush(GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
        FrameRect(dc, &frame, capBrush);
        DeleteObject(capBrush);
        FillRect(dc, &box, face);
        DrawEdge(dc, &box, closePressed_ ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        RECT glyph = box;
        if (closePressed_) OffsetRect(&glyph, 1, 1);
        DrawCloseGlyph(dc, glyph, GetSysColor(COLOR_BTNTEXT));
    }
    DeleteObject(face);
    ReleaseDC(h, dc);
}

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

void TCustomToolWindow97::Paint(TCanvas& canvas) {
    RECT r;
    GetClientRect(Handle(), &r);
    if (dockedTo_ && dockedTo_->BackgroundOnToolbars() && dockedTo_->Parent()) {
        POINT origin{0, 0};
        MapWindowPoints(Handle(), dockedTo_->Parent()->Handle(), &origin, 1);
        if (dockedTo_->DrawBackground(canvas.Handle(), r, origin)) return;
    }
    TWinControl::Paint(canvas);
}
