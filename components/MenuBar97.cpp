#include "components/MenuBar97.h"

#include <commctrl.h>

namespace {
const int kButtonHeight = 20;
const int kCharWidth = 6;  // button width per caption character
const UINT_PTR kSubclassId = 0x4D42;
// The bar whose drop-down is open (one menu loop per thread).
TCustomMenuBar97* g_bar = nullptr;
HHOOK g_filter = nullptr;
}  // namespace

// ---- buttons

TMenuSpeedButton97::TMenuSpeedButton97(TCustomMenuBar97* bar, TMenuItem* item)
    : TWinControl(bar), bar_(bar), item_(item) {
    if (item_) item_->FreeNotification(this);
}

void TMenuSpeedButton97::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove || AComponent != item_) return;
    item_ = nullptr;
    if (HandleAllocated()) Invalidate();
}

void TMenuSpeedButton97::MouseEnter() {
    hot_ = true;
    Invalidate();
}

void TMenuSpeedButton97::MouseLeave() {
    hot_ = false;
    Invalidate();
}

void TMenuSpeedButton97::Paint(TCanvas& canvas) {
    RECT r;
    GetClientRect(Handle(), &r);
    canvas.Brush.Color = clBtnFace;
    canvas.FillRect(r);
    if (pressed_) {
        DrawEdge(canvas.Handle(), &r, BDR_SUNKENOUTER, BF_RECT);
    } else if (hot_) {
        DrawEdge(canvas.Handle(), &r, BDR_RAISEDINNER, BF_RECT);
    }
    canvas.Font = Font();
    canvas.Font.SetColor(ItemEnabled() ? clBtnText : clGrayText);
    canvas.Brush.Style = bsClear;
    if (pressed_) OffsetRect(&r, 1, 1);
    canvas.DrawText(item_ ? item_->Caption() : Caption(), r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

bool TMenuSpeedButton97::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (pressed_) return true;
    TWinControl::MouseDown(button, shift, x, y);
    if (button == mbLeft && ItemEnabled()) bar_->OpenButton(bar_->IndexOf(this));
    return true;
}

bool TMenuSpeedButton97::MouseMove(TShiftState shift, int x, int y) {
    TWinControl::MouseMove(shift, x, y);
    if (!hot_ && !bar_->state_.KeyboardMode) {
        MouseEnter();
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, Handle(), 0};
        TrackMouseEvent(&tme);
    }
    return false;
}

bool TMenuSpeedButton97::HandleMessage(TMessage& m) {
    if (m.Msg == WM_MOUSELEAVE && !bar_->state_.KeyboardMode) MouseLeave();
    return false;
}

// ---- the bar

LRESULT CALLBACK MenuBarFormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* bar = reinterpret_cast<TCustomMenuBar97*>(data);
    // The menu key alone toggles the bar's keyboard mode instead of the form's own menu.
    if (msg == WM_SYSCOMMAND && (wp & 0xFFF0) == SC_KEYMENU && lp == 0) {
        SendMessageA(bar->Handle(), msg, wp, lp);
        return 0;
    }
    if (msg == WM_KEYDOWN && bar->state_.KeyboardMode &&
        (wp == VK_ESCAPE || wp == VK_LEFT || wp == VK_RIGHT || wp == VK_DOWN)) {
        SendMessageA(bar->Handle(), msg, wp, lp);
        return 0;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

// While a drop-down of the bar is open: arrows and the mouse move to the neighbours.
LRESULT CALLBACK MenuBarFilter(int code, WPARAM wp, LPARAM lp) {
    auto* msg = reinterpret_cast<MSG*>(lp);
    TCustomMenuBar97* bar = g_bar;
    if (code != MSGF_MENU || !bar || bar->buttons_.empty()) return CallNextHookEx(g_filter, code, wp, lp);
    const int count = bar->ButtonCount();
    const int current = bar->state_.Index;
    switch (msg->message) {
        case WM_KEYDOWN:
            if (msg->wParam == VK_ESCAPE) bar->state_.OpenedByKeyboard = false;
            if (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT) {
                const int next = WrapButtonIndex(current, count, msg->wParam == VK_RIGHT);
                if (next != current) {
                    bar->next_ = next;
                    EndMenu();
                }
                return 1;
            }
            break;
        case WM_SYSKEYDOWN:
            if (msg->wParam == VK_MENU) bar->state_.OpenedByKeyboard = false;
            break;
        case WM_MOUSEMOVE: {
            POINT pt = msg->pt;
            for (int i = 0; i < count; ++i) {
                RECT r;
                GetWindowRect(bar->Buttons(i)->Handle(), &r);
                if (i != current && PtInRect(&r, pt)) {
                    bar->next_ = i;
                    EndMenu();
                    return 1;
                }
            }
            break;
        }
        case WM_LBUTTONDOWN: {
            RECT r;
            GetWindowRect(bar->Buttons(current)->Handle(), &r);
            if (PtInRect(&r, msg->pt)) {
                // A click on the open button closes its drop-down.
                bar->state_.OpenedByKeyboard = false;
                EndMenu();
                return 1;
            }
            break;
        }
    }
    return CallNextHookEx(g_filter, code, wp, lp);
}

TCustomMenuBar97::TCustomMenuBar97(TForm* form) : TWinControl(form), form_(form) {
    SetAlign(alTop);
    SetBounds(0, 0, 100, kButtonHeight + 1);
    SetWindowSubclass(form_->Handle(), MenuBarFormProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

TCustomMenuBar97::~TCustomMenuBar97() {
    BeginDestroy();
    if (g_bar == this) g_bar = nullptr;
    if (form_->HandleAllocated()) RemoveWindowSubclass(form_->Handle(), MenuBarFormProc, kSubclassId);
}

int TCustomMenuBar97::IndexOf(const TMenuSpeedButton97* b) const {
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i] == b) return static_cast<int>(i);
    return -1;
}

void TCustomMenuBar97::SetMenu(TMainMenu* menu) {
    for (TMenuSpeedButton97* b : buttons_) delete b;
    buttons_.clear();
    menu_ = menu;
    if (!menu_) return;
    int left = 0;
    TMenuItem* root = menu_->Items();
    for (int i = 0; i < root->Count(); ++i) {
        TMenuItem* item = root->Items(i);
        if (!item->Visible()) continue;
        auto* b = new TMenuSpeedButton97(this, item);
        const int width = kCharWidth * static_cast<int>(item->Caption().size());
        b->SetBounds(left, 0, width, kButtonHeight);
        b->SetCaption(item->Caption());
        b->Hint = item->Caption();
        if (HandleAllocated()) b->Handle();
        left += width;
        buttons_.push_back(b);
    }
    SetBounds(Left(), Top(), Width(), kButtonHeight + 1);
}

void TCustomMenuBar97::Apply(const TMenuBarStep& step) {
    if (step.Leave >= 0 && step.Leave < ButtonCount()) Buttons(step.Leave)->MouseLeave();
    if (step.Enter >= 0 && step.Enter < ButtonCount()) Buttons(step.Enter)->MouseEnter();
    if (step.Focus) SetFocus();
    if (step.Press) OpenButton(state_.Index);
}

void TCustomMenuBar97::OpenButton(int i) {
    next_ = i;
    while (next_ >= 0 && next_ < ButtonCount()) {
        const int at = next_;
        next_ = -1;
        if (!Buttons(at)->ItemEnabled()) break;
        Track(at);
    }
}

void TCustomMenuBar97::Track(int i) {
    TMenuSpeedButton97* b = Buttons(i);
    if (state_.Index != i && state_.Index < ButtonCount()) Buttons(state_.Index)->MouseLeave();
    state_.Index = i;
    b->pressed_ = true;
    b->MouseEnter();
    b->Update();
    RECT r;
    GetWindowRect(b->Handle(), &r);
    g_bar = this;
    if (!g_filter) g_filter = SetWindowsHookExA(WH_MSGFILTER, MenuBarFilter, nullptr, GetCurrentThreadId());
    HMENU dropDown = b->Item()->Handle();
    TrackPopupMenu(dropDown, TPM_LEFTALIGN | TPM_LEFTBUTTON, r.left, r.bottom, 0, form_->Handle(), nullptr);
    if (g_filter) UnhookWindowsHookEx(g_filter);
    g_filter = nullptr;
    g_bar = nullptr;
    b->pressed_ = false;
    if (!state_.KeyboardMode) b->MouseLeave(); else b->Invalidate();
}

bool TCustomMenuBar97::HandleMessage(TMessage& m) {
    switch (m.Msg) {
        case WM_GETDLGCODE:
            if (!state_.KeyboardMode) return false;
            m.Result = DLGC_WANTARROWS;
            return true;
        case WM_KEYDOWN: {
            const TMenuBarKey key = m.WParam == VK_LEFT ? mkLeft : m.WParam == VK_RIGHT ? mkRight
                                  : m.WParam == VK_DOWN ? mkDown : m.WParam == VK_ESCAPE ? mkEscape : mkOther;
            TMenuBarStep step = state_.KeyDown(key, ButtonCount());
            if (!step.Handled) return false;
            Apply(step);
            m.Result = 0;
            return true;
        }
        case WM_SYSCOMMAND:
            if ((m.WParam & 0xFFF0) != SC_KEYMENU || m.LParam != 0) return false;
            Apply(state_.KeyMenu(ButtonCount()));
            m.Result = 0;
            return true;
    }
    return false;
}
