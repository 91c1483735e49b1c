#include "Control.h"

#include <algorithm>

#include "HintTracker.h"
#include "MessageCracker.h"
#include "WindowClass.h"
#include "runtime/Application.h"

namespace {
const char kSelfProp[] = "QfControl";
// The control whose window CreateWindowEx is making: messages arrive before
// CreateWindowEx returns the handle.
thread_local TWinControl* g_creating = nullptr;
}  // namespace

LRESULT CALLBACK QfControlWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    TWinControl* c = static_cast<TWinControl*>(GetPropA(hwnd, kSelfProp));
    if (!c && g_creating) {
        c = g_creating;
        g_creating = nullptr;
        c->hwnd_ = hwnd;
        SetPropA(hwnd, kSelfProp, c);
    }
    if (!c) return DefWindowProcA(hwnd, msg, wp, lp);

    TMessage m{msg, wp, lp, 0};
    bool handled = false;
    CallGuarded(c, [&] {
        // A handler would reach a half-destroyed control or a form whose members are gone
        // (a focused child's WM_KILLFOCUS as it is destroyed).
        if (!c->InDestruction()) handled = c->HandleMessage(m) || CrackMessage(*c, m);
        if (!handled) m.Result = c->DefaultHandler(m);
    });
    if (msg == WM_NCDESTROY) {
        RemovePropA(hwnd, kSelfProp);
        c->hwnd_ = nullptr;
    }
    return m.Result;
}

TWinControl::TWinControl(TWinControl* parent) : TComponent(parent), parent_(parent) {
    if (parent_) parent_->AddChild(this);
    font_.OnChange = [this] {
        if (hwnd_) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), TRUE);
    };
}

TWinControl::~TWinControl() {
    BeginDestroy();
    font_.OnChange = nullptr;
    if (THintTracker* hints = THintTracker::Existing()) hints->ControlDestroyed(this);
    ForgetPaintError(this);
    // Children first, while this object is still whole enough to forget them.
    while (!children_.empty()) delete children_.back();
    DestroyHandle();
    if (parent_) parent_->RemoveChild(this);
    if (colorBrush_) DeleteObject(colorBrush_);
}

TWinControl* TWinControl::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<TWinControl*>(GetPropA(hwnd, kSelfProp)) : nullptr;
}

bool TWinControl::InDestruction() const {
    for (const TWinControl* c = this; c; c = c->parent_)
        if (c->Destroying()) return true;
    return false;
}

HWND TWinControl::Handle() const {
    if (!hwnd_) const_cast<TWinControl*>(this)->CreateHandle();
    return hwnd_;
}

void TWinControl::AddChild(TWinControl* c) { children_.push_back(c); }
void TWinControl::RemoveChild(TWinControl* c) {
    children_.erase(std::remove(children_.begin(), children_.end(), c), children_.end());
    if (!Destroying()) Realign();
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.Caption = caption_;
    p.X = bounds_.Left;
    p.Y = bounds_.Top;
    p.Width = bounds_.Width;
    p.Height = bounds_.Height;
    if (parent_) {
        p.Style = WS_CHILD | WS_CLIPSIBLINGS;
        p.WndParent = parent_->Handle();
    } else {
        p.Style = WS_OVERLAPPEDWINDOW;
    }
    if (visible_ && parent_) p.Style |= WS_VISIBLE;
    if (!enabled_) p.Style |= WS_DISABLED;
    p.WinClassName = "QfControl";
}

void TWinControl::CreateHandle() {
    if (hwnd_) return;
    TCreateParams p;
    CreateParams(p);
    // Asking for the parent's window made the parent's children, this one too.
    if (hwnd_) return;
    if (tabStop_ >= 0) p.Style = tabStop_ ? p.Style | WS_TABSTOP : p.Style & ~static_cast<DWORD>(WS_TABSTOP);
    baseProc_ = TWindowClassRegistry::Ensure(p, QfControlWndProc);
    THintTracker::Instance();  // the mouse over the new window brings its hint
    g_creating = this;
    HWND h = CreateWindowExA(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                             p.Height, p.WndParent, nullptr, GetModuleHandleA(nullptr), nullptr);
    g_creating = nullptr;
    if (!h) throw Exception("Cannot create window of class " + p.WinClassName);
    hwnd_ = h;
    SetPropA(h, kSelfProp, this);
    SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), FALSE);
    SyncBoundsFromWindow();
    for (TWinControl* c : children_) c->CreateHandle();
    Realign();
    WndCreated();
}

void TWinControl::DestroyHandle() {
    if (!hwnd_) return;
    for (TWinControl* c : children_) c->DestroyHandle();
    HWND h = hwnd_;
    DestroyWindow(h);
    hwnd_ = nullptr;
}

void TWinControl::RecreateHandle() {
    if (!hwnd_) return;
    caption_ = Caption();
    DestroyHandle();
    CreateHandle();
}

void TWinControl::SyncBoundsFromWindow() {
    RECT r;
    GetWindowRect(hwnd_, &r);
    if (parent_ && parent_->hwnd_) MapWindowPoints(nullptr, parent_->hwnd_, reinterpret_cast<POINT*>(&r), 2);
    bounds_ = {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    TBounds b{left, top, std::max(0, width), std::max(0, height)};
    if (b == bounds_) return;
    bounds_ = b;
    if (hwnd_) PlaceWindow(b);
    if (parent_ && align_ != alNone) parent_->Realign();
}

int TWinControl::ClientWidth() const {
    RECT r{};
    GetClientRect(Handle(), &r);
    return r.right;
}
int TWinControl::ClientHeight() const {
    RECT r{};
    GetClientRect(Handle(), &r);
    return r.bottom;
}

void TWinControl::PlaceWindow(const TBounds& b) { MoveWindow(hwnd_, b.Left, b.Top, b.Width, b.Height, TRUE); }

void TWinControl::SetAlign(TAlign a) {
    if (a == align_) return;
    align_ = a;
    if (parent_) parent_->Realign();
}

void TWinControl::Realign() {
    if (!hwnd_ || children_.empty()) return;
    // A minimised window has no client area; aligning to it would cut every child to nothing.
    if (IsIconic(GetAncestor(hwnd_, GA_ROOT))) return;
    std::vector<TAlignItem> items;
    for (TWinControl* c : children_) items.push_back({c->align_, c->bounds_, c->visible_});
    RECT r;
    GetClientRect(hwnd_, &r);
    AlignItems({0, 0, r.right, r.bottom}, items);
    for (size_t i = 0; i < children_.size(); ++i) {
        TWinControl* c = children_[i];
        if (c->align_ == alNone || items[i].Bounds == c->bounds_) continue;
        c->bounds_ = items[i].Bounds;
        if (c->hwnd_) c->PlaceWindow(c->bounds_);
    }
}

void TWinControl::CreateMissingHandles() {
    for (TWinControl* c : children_) {
        if (!c->hwnd_) c->CreateHandle();
        else c->CreateMissingHandles();
    }
}

void TWinControl::SetVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    // Controls made after this window was (something asked for it early) come with it.
    if (v && hwnd_) CreateMissingHandles();
    if (hwnd_ || (v && parent_ == nullptr)) ShowWindow(Handle(), v ? SW_SHOW : SW_HIDE);
    if (parent_ && align_ != alNone) parent_->Realign();
}

bool TWinControl::TabStop() const {
    if (tabStop_ >= 0) return tabStop_ != 0;
    return hwnd_ && (GetWindowLongA(hwnd_, GWL_STYLE) & WS_TABSTOP) != 0;
}

void TWinControl::SetTabStop(bool on) {
    tabStop_ = on ? 1 : 0;
    if (!hwnd_) return;
    LONG style = GetWindowLongA(hwnd_, GWL_STYLE);
    SetWindowLongA(hwnd_, GWL_STYLE, on ? style | WS_TABSTOP : style & ~static_cast<LONG>(WS_TABSTOP));
}

void TWinControl::SetEnabled(bool e) {
    enabled_ = e;
    if (hwnd_) EnableWindow(hwnd_, e);
}

std::string TWinControl::Caption() const {
    if (!hwnd_) return caption_;
    int n = GetWindowTextLengthA(hwnd_);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    n = GetWindowTextA(hwnd_, &s[0], n + 1);
    s.resize(static_cast<size_t>(std::max(0, n)));
    return s;
}

void TWinControl::SetCaption(const std::string& s) {
    caption_ = s;
    if (hwnd_) SetWindowTextA(hwnd_, s.c_str());
    TextChanged();
}

void TWinControl::SetColor(TColor c) {
    color_ = c;
    if (colorBrush_) DeleteObject(colorBrush_);
    colorBrush_ = nullptr;
    Invalidate();
    ColorChanged();
}

bool TWinControl::ShowHint() const {
    const TWinControl* c = this;
    while (c->parentShowHint_ && c->parent_) c = c->parent_;
    return c->showHint_;
}

void TWinControl::SetShowHint(bool show) {
    showHint_ = show;
    parentShowHint_ = false;
}

std::string TWinControl::HintAt(POINT, int& part) const {
    part = -1;
    return Hint;
}

void TWinControl::SetFocus() { ::SetFocus(Handle()); }
void TWinControl::Invalidate() {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}
void TWinControl::Repaint() {
    Invalidate();
    Update();
}

LRESULT TWinControl::DefaultHandler(TMessage& m) {
    return CallWindowProcA(baseProc_ ? baseProc_ : DefWindowProcA, hwnd_, m.Msg, m.WParam, m.LParam);
}

// ---- default handlers: raise the events, let the default procedure go on.

bool TWinControl::MouseDown(TMouseButton b, TShiftState s, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, b, s, x, y);
    return false;
}
bool TWinControl::MouseUp(TMouseButton b, TShiftState s, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, b, s, x, y);
    return false;
}
bool TWinControl::MouseMove(TShiftState s, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, s, x, y);
    return false;
}
bool TWinControl::DblClick(TMouseButton b, TShiftState s, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, b, s, x, y);
    if (b == mbLeft && OnDblClick) OnDblClick(this);
    return false;
}
bool TWinControl::MouseWheel(int, TShiftState, int, int) { return false; }
bool TWinControl::KeyDown(WORD& key, TShiftState s) {
    if (OnKeyDown) OnKeyDown(this, key, s);
    return false;
}
bool TWinControl::KeyUp(WORD& key, TShiftState s) {
    if (OnKeyUp) OnKeyUp(this, key, s);
    return false;
}
bool TWinControl::KeyPress(char& key) {
    if (OnKeyPress) OnKeyPress(this, key);
    return false;
}
void TWinControl::Paint(TCanvas& canvas) {
    canvas.Brush.Color = color_;
    RECT r;
    GetClientRect(hwnd_, &r);
    canvas.FillRect(r);
}
void TWinControl::FocusChanged(bool gained) {
    // A control going with its form (or alone) may lose the focus on the way;
    // the handlers belong to parts of the form that are gone by then.
    if (InDestruction()) return;
    const TNotifyEvent& e = gained ? OnEnter : OnExit;
    if (e) e(this);
}
void TWinControl::Resized() {
    SyncBoundsFromWindow();
    Realign();
    if (OnResize) OnResize(this);
}
bool TWinControl::Command(WORD) { return false; }
bool TWinControl::Notify(NMHDR*, LRESULT&) { return false; }
bool TWinControl::MenuCommand(WORD) { return false; }
bool TWinControl::Scroll(int, int, int) { return false; }
bool TWinControl::Timer(UINT_PTR) { return false; }
bool TWinControl::DrawItem(DRAWITEMSTRUCT&) { return false; }
bool TWinControl::MeasureItem(MEASUREITEMSTRUCT&) { return false; }
bool TWinControl::HandleMessage(TMessage&) { return false; }

HBRUSH TWinControl::ChildColors(TWinControl& child, HDC dc) {
    SetTextColor(dc, ColorToRGB(child.font_.Color()));
    SetBkColor(dc, ColorToRGB(child.color_));
    if (!child.colorBrush_) child.colorBrush_ = CreateSolidBrush(ColorToRGB(child.color_));
    return child.colorBrush_;
}
