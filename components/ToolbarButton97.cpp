#include "components/ToolbarButton97.h"

#include <algorithm>
#include <cctype>
#include <typeinfo>
#include <vector>

#include "components/DropdownList.h"
#include "components/ToolbarHooks.h"
#include "runtime/Application.h"
#include "ui/Form.h"

namespace {

TToolbarButton97* g_hot = nullptr;
int g_buttonCount = 0;
std::vector<TToolbarButton97*> g_buttons;  // live buttons, in creation order
HHOOK g_dialogKeyHook = nullptr;
HBITMAP g_pattern = nullptr;
COLORREF g_patternColours[2];  // face and highlight the pattern was made in
constexpr UINT_PTR kHoverTimer = 1, kRepeatTimer = 2;

// 8 x 8 face colour with every pixel of even x + y in highlight: the latched
// look, made again after the system colours changed.
HBITMAP PatternBitmap() {
    const COLORREF face = ColorToRGB(clBtnFace), hilite = ColorToRGB(clBtnHighlight);
    if (g_pattern && (g_patternColours[0] != face || g_patternColours[1] != hilite)) {
        DeleteObject(g_pattern);
        g_pattern = nullptr;
    }
    if (!g_pattern) {
        g_patternColours[0] = face;
        g_patternColours[1] = hilite;
        TBitmap b(8, 8);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) b.Canvas().SetPixel(x, y, (x + y) % 2 == 0 ? clBtnHighlight : clBtnFace);
        g_pattern = static_cast<HBITMAP>(CopyImage(b.Handle(), IMAGE_BITMAP, 8, 8, 0));
    }
    return g_pattern;
}

// The caption's accelerator ("&&" is a plain ampersand) is c, in any case.
bool IsAccelerator(char c, const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return std::toupper(static_cast<unsigned char>(caption[i + 1])) == std::toupper(static_cast<unsigned char>(c));
    }
    return false;
}

}  // namespace

// Keys the focused control leaves alone reach the form's Default and Cancel
// buttons and its accelerators, as in a dialog.
LRESULT CALLBACK DialogKeyHook(int code, WPARAM wp, LPARAM lp) {
    auto* msg = reinterpret_cast<MSG*>(lp);
    if (code == HC_ACTION && wp == PM_REMOVE && msg->hwnd &&
        (msg->message == WM_KEYDOWN || msg->message == WM_CHAR || msg->message == WM_SYSCHAR)) {
        bool taken = false;
        CallGuarded(nullptr, [&] { taken = TToolbarButton97::DialogKey(msg->hwnd, msg->message, msg->wParam); });
        if (taken) msg->message = WM_NULL;
    }
    return CallNextHookEx(g_dialogKeyHook, code, wp, lp);
}

bool TToolbarButton97::CanTakeDialogKey() const {
    if (!HandleAllocated() || !Enabled() || !IsWindowVisible(Handle()) || !Parent()) return false;
    HWND parent = Parent()->Handle();
    return IsWindowEnabled(parent) && IsWindowVisible(parent);
}

bool TToolbarButton97::DialogKey(HWND target, UINT msg, WPARAM key) {
    HWND root = GetAncestor(target, GA_ROOT);
    MSG m{target, msg, key, 0, 0, {0, 0}};
    const LRESULT wants = SendMessageA(target, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&m));
    const bool plain = GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0;
    if (msg == WM_KEYDOWN) {
        if ((key != VK_RETURN && key != VK_ESCAPE) || !plain || (wants & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE))) return false;
    } else if (msg == WM_CHAR && (wants & DLGC_WANTCHARS)) {
        return false;
    }
    const std::vector<TToolbarButton97*> buttons = g_buttons;  // a click may free some
    for (TToolbarButton97* b : buttons) {
        if (std::find(g_buttons.begin(), g_buttons.end(), b) == g_buttons.end()) continue;
        if (!b->HandleAllocated() || GetAncestor(b->Handle(), GA_ROOT) != root || !b->CanTakeDialogKey()) continue;
        const bool hit = msg == WM_KEYDOWN ? (key == VK_RETURN ? b->Default : b->Cancel)
                                           : b->DisplayMode != dmGlyphOnly && IsAccelerator(static_cast<char>(key), b->Caption());
        if (!hit) continue;
        b->Click();
        return true;
    }
    return false;
}

TToolbarButton97* TToolbarButton97::HotButton() { return g_hot; }

TToolbarButton97::TToolbarButton97(TWinControl* parent) : TWinControl(parent) {
    SetBounds(0, 0, 23, 22);
    SetColor(clBtnFace);
    glyph_.OnChange = [this] { Redraw(); };
    ++g_buttonCount;
    if (g_buttons.empty()) g_dialogKeyHook = SetWindowsHookExA(WH_GETMESSAGE, DialogKeyHook, nullptr, GetCurrentThreadId());
    g_buttons.push_back(this);
    RegisterHookProc(ButtonHookProc, HookKindBit(hkActivateApp) | HookKindBit(hkMouseMove));
}

TToolbarButton97::~TToolbarButton97() {
    if (menu_) menu_->RemoveFreeNotification(this);
    StopHoverTimer();
    glyph_.InvalidateImages();
    UnregisterHookProc(ButtonHookProc);
    if (Images()) Images()->RemoveFreeNotification(this);
    g_buttons.erase(std::find(g_buttons.begin(), g_buttons.end(), this));
    if (g_buttons.empty() && g_dialogKeyHook) {
        UnhookWindowsHookEx(g_dialogKeyHook);
        g_dialogKeyHook = nullptr;
    }
    if (--g_buttonCount == 0 && g_pattern) {
        DeleteObject(g_pattern);
        g_pattern = nullptr;
    }
}

void TToolbarButton97::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = "QfToolbarButton97";
}

void TToolbarButton97::WndCreated() {
    // Disabled before its window existed: no WM_ENABLE came.
    if (!Enabled()) state_ = bsDisabled;
}

bool TToolbarButton97::CursorOverMe() const {
    if (!HandleAllocated()) return false;
    POINT pt;
    GetCursorPos(&pt);
    RECT r;
    GetWindowRect(Handle(), &r);
    if (!PtInRect(&r, pt)) return false;
    // A disabled button is not hit by WindowFromPoint: its parent is.
    HWND at = WindowFromPoint(pt);
    return at == Handle() || (Parent() && at == Parent()->Handle());
}

bool TToolbarButton97::PointInButton(int x, int y) const {
    const int right = Width() - (combo_ && UsesDropdown() ? 11 : 0);
    return x >= 0 && x < right && y >= 0 && y < Height();
}

void TToolbarButton97::ButtonHookProc(THookKind kind, uintptr_t, uintptr_t wp, intptr_t) {
    if (!g_hot) return;
    if (kind == hkActivateApp && wp == 0 && !g_hot->ShowBorderWhenInactive) g_hot->MouseLeft();
    else if (kind == hkMouseMove && !g_hot->CursorOverMe()) g_hot->MouseLeft();
}

void TToolbarButton97::MouseEntered() {
    if (!Enabled() || mouseIn_) return;
    mouseIn_ = true;
    if (state_ == bsUp) state_ = bsHot;
    Redraw();
    if (OnMouseEnter) OnMouseEnter(this);
}

void TToolbarButton97::MouseLeft() {
    if (!Enabled() || !mouseIn_ || tracking_) return;
    mouseIn_ = false;
    StopHoverTimer();
    if (state_ == bsHot || (state_ == bsDown && !inClick_)) state_ = down_ && groupIndex_ != 0 ? bsExclusive : bsUp;
    Redraw();
    if (OnMouseExit) OnMouseExit(this);
}

void TToolbarButton97::StopHoverTimer() {
    if (g_hot != this) return;
    if (HandleAllocated()) KillTimer(Handle(), kHoverTimer);
    g_hot = nullptr;
}

void TToolbarButton97::StopRepeat() {
    if (repeatOn_ && HandleAllocated()) KillTimer(Handle(), kRepeatTimer);
    repeatOn_ = false;
}

void TToolbarButton97::RefreshHotState() {
    if (!Enabled()) return;
    const bool over = CursorOverMe();
    mouseIn_ = !over;  // so the call below always takes effect
    if (over) MouseEntered();
    else MouseLeft();
}

bool TToolbarButton97::Timer(UINT_PTR id) {
    if (id == kHoverTimer) {
        if (!CursorOverMe()) MouseLeft();
        return true;
    }
    if (id == kRepeatTimer) {
        SetTimer(Handle(), kRepeatTimer, static_cast<UINT>(RepeatInterval), nullptr);
        POINT pt;
        GetCursorPos(&pt);
        ScreenToClient(Handle(), &pt);
        if (Repeating && tracking_ && GetCapture() == Handle() && PointInButton(pt.x, pt.y)) Click();
        else StopRepeat();
        return true;
    }
    return false;
}

bool TToolbarButton97::MouseMove(TShiftState shift, int x, int y) {
    TWinControl::MouseMove(shift, x, y);
    if (g_hot != this && CursorOverMe()) {
        if (g_hot) g_hot->MouseLeft();
        if (ShowBorderWhenInactive || IsApplicationActive()) {
            g_hot = this;
            SetTimer(Handle(), kHoverTimer, 125, nullptr);
            MouseEntered();
        }
    }
    if (tracking_) {
        const bool inside = PointInButton(x, y);
        if (inside && Repeating && !repeatOn_) {
            repeatOn_ = true;
            SetTimer(Handle(), kRepeatTimer, static_cast<UINT>(RepeatInterval), nullptr);
        }
        const TButtonPaintState s = down_ ? bsExclusive : inside ? bsDown : bsUp;
        if (s != state_) {
            state_ = s;
            Redraw();
        }
    }
    return true;
}

bool TToolbarButton97::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (!Enabled()) return TWinControl::MouseDown(button, shift, x, y);
    MouseEntered();
    if (button != mbLeft) return TWinControl::MouseDown(button, shift, x, y);
    arrowPressed_ = UsesDropdown() && (!combo_ || x >= Width() - 11);
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{arrowPressed_};
    if (!down_) {
        state_ = bsDown;
        Redraw();
    } else if (allowAllUp_) {
        Redraw();
    }
    if (!arrowPressed_) {
        tracking_ = true;
        SetCapture(Handle());
    }
    TWinControl::MouseDown(button, shift, x, y);
    if (arrowPressed_) {
        Click();
    } else if (Repeating) {
        Click();
        repeatOn_ = true;
        SetTimer(Handle(), kRepeatTimer, static_cast<UINT>(RepeatDelay), nullptr);
    }
    return true;
}

bool TToolbarButton97::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    StopRepeat();
    if (button == mbRight && Enabled()) {
        tracking_ = false;
        MouseLeft();
    }
    TWinControl::MouseUp(button, shift, x, y);
    if (button == mbLeft && tracking_) {
        tracking_ = false;
        if (GetCapture() == Handle()) ReleaseCapture();
        if (!PointInButton(x, y) || Repeating) {
            if (state_ == bsDown) state_ = down_ ? bsExclusive : bsUp;
            MouseLeft();
            Redraw();
        } else {
            Click();
        }
    }
    return true;
}

bool TToolbarButton97::DblClick(TMouseButton button, TShiftState shift, int x, int y) {
    // A double click is a second press; a latched button also reports it.
    MouseDown(button, shift, x, y);
    if (down_ && OnDblClick) OnDblClick(this);
    return true;
}

void TToolbarButton97::Click() {
    if (Repeating && !arrowPressed_) {
        DoClick();
        return;
    }
    inClick_ = true;
    struct Finish {
        TToolbarButton97& b;
        ~Finish() {
            b.inClick_ = false;
            if (b.state_ == bsDown) b.state_ = bsUp;
            if (!b.Destroying()) {
                b.Redraw();
                b.RefreshHotState();
            }
        }
    } finish{*this};
    if (groupIndex_ != 0) SetDown(!down_);
    if (state_ == bsUp || state_ == bsHot) {
        state_ = bsDown;
        Redraw();
    }
    MouseLeft();
    if (!UsesDropdown() || (combo_ && !arrowPressed_)) {
        if (ModalResult)
            for (TWinControl* p = Parent(); p; p = p->Parent())
                if (auto* f = dynamic_cast<TForm*>(p)) {
                    f->SetModalResult(ModalResult);
                    break;
                }
        DoClick();
        return;
    }
    if (!combo_) DoClick();
    DropDown();
}

void TToolbarButton97::DropDown() {
    if (GetCapture() == Handle()) ReleaseCapture();
    bool showMenu = menu_ != nullptr, removeClicks = true;
    if (OnDropdown) OnDropdown(this, showMenu, removeClicks);
    if (showMenu && menu_) {
        POINT anchor{0, Height()};
        bool right = false;
        if (auto* site = dynamic_cast<IMenuAnchorSite*>(Parent()); site && site->GetDockKind() == 2) {
            if (site->DockedAtLeft()) anchor = {Width(), 0};
            else {
                anchor = {0, 0};
                right = true;
            }
        }
        ClientToScreen(Handle(), &anchor);
        TPopupMenu& menu = *menu_;
        const TPopupAlignment saved = menu.Alignment;
        struct Restore {
            TPopupMenu& m;
            TPopupAlignment a;
            ~Restore() { m.Alignment = a; }
        } restore{menu, saved};
        menu.Alignment = right ? paRight : paLeft;
        menu.PopupComponent = this;
        if (typeid(menu) == typeid(TPopupMenu) && TDropdownList::Exists() && TDropdownList::Instance().Window()) {
            if (menu.OnPopup) menu.OnPopup(&menu);
            const UINT flags = menu.Alignment == paRight ? TPM_RIGHTALIGN : menu.Alignment == paCenter ? TPM_CENTERALIGN : 0;
            HWND owner = TDropdownList::Instance().Window();
            SetForegroundWindow(owner);
            TrackPopupMenu(menu.Handle(), flags, anchor.x, anchor.y, 0, owner, nullptr);
            PostMessageA(owner, WM_NULL, 0, 0);
        } else {
            menu.Popup(anchor.x, anchor.y);
        }
    }
    if (removeClicks) RemovePendingClicks();
}

void TToolbarButton97::RemovePendingClicks() {
    // The click that closed the menu over this button must not drop it again.
    std::vector<MSG> keep;
    MSG m;
    RECT r;
    GetWindowRect(Handle(), &r);
    while (PeekMessageA(&m, nullptr, WM_LBUTTONDOWN, WM_MBUTTONDBLCLK, PM_REMOVE)) {
        const bool press = m.message == WM_LBUTTONDOWN || m.message == WM_LBUTTONDBLCLK ||
                           m.message == WM_RBUTTONDOWN || m.message == WM_RBUTTONDBLCLK ||
                           m.message == WM_MBUTTONDOWN || m.message == WM_MBUTTONDBLCLK;
        POINT pt{static_cast<short>(LOWORD(m.lParam)), static_cast<short>(HIWORD(m.lParam))};
        if (m.hwnd) ClientToScreen(m.hwnd, &pt);
        if (press && PtInRect(&r, pt)) continue;
        keep.push_back(m);
    }
    for (const MSG& k : keep) PostMessageA(k.hwnd, k.message, k.wParam, k.lParam);
}

void TToolbarButton97::SetDropdownMenu(TPopupMenu* m) {
    if (m == menu_) return;
    const bool was = UsesDropdown();
    if (menu_) menu_->RemoveFreeNotification(this);
    menu_ = m;
    if (m) {
        m->FreeNotification(this);
        TDropdownList::Instance().AddMenu(m);
    }
    if (was != UsesDropdown() && (DropdownArrow || combo_)) Redraw();
}

void TToolbarButton97::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == menu_) menu_ = nullptr;
    if (Operation == opRemove && AComponent == Images()) glyph_.SetImages(nullptr);
}

void TToolbarButton97::SetImages(TImageList* images) {
    if (images == Images()) return;
    if (Images()) Images()->RemoveFreeNotification(this);
    glyph_.SetImages(images);
    if (images) images->FreeNotification(this);
}

void TToolbarButton97::SetDown(bool d) {
    if (groupIndex_ == 0) d = false;
    if (d == down_ || (down_ && !allowAllUp_)) return;
    down_ = d;
    state_ = !Enabled() ? bsDisabled : d ? bsExclusive : bsUp;
    Redraw();
    if (d) ReleaseGroupSiblings();
}

void TToolbarButton97::SetGroupIndex(int g) {
    if (g == groupIndex_) return;
    groupIndex_ = g;
    ReleaseGroupSiblings();
}

void TToolbarButton97::SetAllowAllUp(bool a) {
    if (a == allowAllUp_) return;
    allowAllUp_ = a;
    ReleaseGroupSiblings();
}

void TToolbarButton97::ReleaseGroupSiblings() {
    if (groupIndex_ == 0 || !Parent()) return;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* b = dynamic_cast<TToolbarButton97*>(Parent()->Controls(i));
        if (!b || b == this || b->groupIndex_ != groupIndex_) continue;
        if (down_ && b->down_) {
            b->down_ = false;
            b->state_ = bsUp;
            b->Redraw();
        }
        b->allowAllUp_ = allowAllUp_;
    }
}

void TToolbarButton97::SetMargin(int m) {
    if (m < -1 || m == margin_) return;
    margin_ = m;
    Redraw();
}

void TToolbarButton97::SetDropdownCombo(bool c) {
    if (c == combo_) return;
    combo_ = c;
    const int w = c ? Width() + 11 : (Width() >= 12 ? Width() - 11 : 1);
    SetBounds(Left(), Top(), w, Height());
    Redraw();
}

void TToolbarButton97::EnabledChanged(bool enabled) {
    if (!enabled) {
        state_ = bsDisabled;
        mouseIn_ = tracking_ = false;
        StopHoverTimer();
        StopRepeat();
    } else if (state_ == bsDisabled) {
        state_ = down_ && groupIndex_ != 0 ? bsExclusive : bsUp;
    }
    Redraw();
}

bool TToolbarButton97::HandleMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_ENABLE:
        EnabledChanged(m.WParam != 0);
        return false;
    case WM_CANCELMODE:
        StopRepeat();
        if (tracking_) {
            tracking_ = false;
            MouseLeft();
        }
        return false;
    case WM_SETTEXT:
        m.Result = DefaultHandler(m);
        Redraw();
        return true;
    case WM_SYSCOLORCHANGE:
        // The pattern and the glyph's images are made again in the new colours when drawn.
        Redraw();
        return false;
    default:
        return false;
    }
}

void TToolbarButton97::Paint(TCanvas& canvas) {
    const int w = Width(), h = Height();
    TBitmap off(w, h);
    TCanvas& c = off.Canvas();
    RECT all{0, 0, w, h};
    if (Opaque || !Flat) {
        c.Brush.Color = Color();
        c.FillRect(all);
    } else {
        PaintParentBackground(c.Handle());
    }
    c.Font = Font();
    HDC dc = c.Handle();
    RECT r = all;
    const bool pushed = state_ == bsDown || state_ == bsExclusive;
    const bool combo = combo_ && UsesDropdown();
    const bool border = !NoBorder && (pushed || !Flat || (mouseIn_ && state_ != bsDisabled));
    auto edge = [&](RECT e, bool sunken) {
        if (Flat) DrawEdge(dc, &e, sunken ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        else DrawEdge(dc, &e, sunken ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_SOFT);
    };
    if (combo) {
        if (border) edge(RECT{w - 11, 0, w - 2, h}, pushed && arrowPressed_);
        r.right = w - 11;
    }
    if (border) edge(r, pushed && !(combo && arrowPressed_));
    if (!NoBorder) InflateRect(&r, Flat ? -1 : -2, Flat ? -1 : -2);
    const TLayoutPoint offset = pushed && !(combo && arrowPressed_) ? TLayoutPoint{1, 1} : TLayoutPoint{0, 0};
    if (state_ == bsExclusive && (!Flat || !mouseIn_)) {
        HBRUSH pattern = CreatePatternBrush(PatternBitmap());
        RECT pr = r;
        OffsetRect(&pr, offset.X, offset.Y);
        FillRect(dc, &pr, pattern);
        DeleteObject(pattern);
    }
    TLayoutInput in;
    in.Client = {r.left, r.top, r.right, r.bottom};
    in.Offset = offset;
    in.Caption = Caption();
    in.Layout = Layout;
    in.Margin = margin_;
    in.Spacing = Spacing;
    in.WordWrap = WordWrap;
    in.ShowArrow = DropdownArrow && !combo_ && UsesDropdown();
    in.ShowText = DisplayMode != dmGlyphOnly;
    in.ShowGlyph = DisplayMode != dmTextOnly;
    const UINT align = Alignment == taLeftJustify ? DT_LEFT : Alignment == taRightJustify ? DT_RIGHT : DT_CENTER;
    glyph_.Draw(c, in, state_, align);
    if (combo) TButtonGlyph::DrawArrow(c, w - 13, h / 2 - 1, state_);
    BitBlt(canvas.Handle(), 0, 0, w, h, dc, 0, 0, SRCCOPY);
}

void TToolbarButton97::PaintParentBackground(HDC dc) {
    TWinControl* parent = Parent();
    if (!parent || !parent->HandleAllocated() || !HandleAllocated()) {
        RECT all{0, 0, Width(), Height()};
        HBRUSH b = CreateSolidBrush(ColorToRGB(Color()));
        FillRect(dc, &all, b);
        DeleteObject(b);
        return;
    }
    POINT origin{0, 0};
    MapWindowPoints(Handle(), parent->Handle(), &origin, 1);
    const int saved = SaveDC(dc);
    SetViewportOrgEx(dc, -origin.x, -origin.y, nullptr);
    TCanvas pc(dc);
    parent->Paint(pc);
    pc.SetHandle(nullptr);
    RestoreDC(dc, saved);
}
