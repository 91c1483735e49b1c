#include "HintTracker.h"

#include <algorithm>

namespace {

constexpr UINT_PTR kPauseTimer = 1, kHideTimer = 2, kWatchTimer = 3;
// How often the tracker looks whether the mouse left for a window that is not
// ours (no message of ours says so).
constexpr UINT kWatchInterval = 100;

HHOOK g_hook = nullptr;
DWORD g_thread = 0;
THintTracker* g_tracker = nullptr;

bool OurWindow(HWND w) { return w && GetWindowThreadProcessId(w, nullptr) == g_thread; }

// While a menu is open its items give the application's hint.
bool InMenuMode() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(g_thread, &info) && (info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE)) != 0;
}

bool IsMenuWindow(HWND w) {
    char cls[16] = {};
    GetClassNameA(w, cls, sizeof cls);
    return lstrcmpA(cls, "#32768") == 0;
}

bool TakesTipDown(UINT msg) {
    switch (msg) {
        case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: case WM_NCLBUTTONDOWN: case WM_NCLBUTTONDBLCLK:
        case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN: case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_MOUSEWHEEL:
            return true;
        default:
            return false;
    }
}

LRESULT CALLBACK MessageHook(int code, WPARAM wp, LPARAM lp) {
    const auto* msg = reinterpret_cast<const MSG*>(lp);
    if (code == HC_ACTION && wp == PM_REMOVE && msg->hwnd) {
        CallGuarded(nullptr, [msg] {
            THintTracker& t = THintTracker::Instance();
            if (msg->message == WM_MOUSEMOVE) {
                POINT p{static_cast<short>(LOWORD(msg->lParam)), static_cast<short>(HIWORD(msg->lParam))};
                ClientToScreen(msg->hwnd, &p);
                t.MouseMoved(msg->hwnd, p);
            } else if (msg->message == WM_NCMOUSEMOVE) {
                t.MouseMoved(msg->hwnd, {static_cast<short>(LOWORD(msg->lParam)), static_cast<short>(HIWORD(msg->lParam))});
            } else if (TakesTipDown(msg->message)) {
                t.CancelHint();
            }
        });
    }
    return CallNextHookEx(g_hook, code, wp, lp);
}

}  // namespace

TWinControl* HintControlAt(HWND target, POINT screen) {
    TWinControl* c = nullptr;
    for (HWND w = target; w && OurWindow(w) && !c; w = GetAncestor(w, GA_PARENT)) c = TWinControl::FromHandle(w);
    if (!c || dynamic_cast<THintWindow*>(c)) return nullptr;
    // The platform gives a disabled child's mouse to its parent; the hint is the child's.
    for (;;) {
        POINT cp = screen;
        ScreenToClient(c->Handle(), &cp);
        HWND child = ChildWindowFromPointEx(c->Handle(), cp, CWP_SKIPINVISIBLE);
        TWinControl* inner = child && child != c->Handle() ? TWinControl::FromHandle(child) : nullptr;
        if (!inner) break;
        c = inner;
    }
    return c->InDestruction() ? nullptr : c;
}

std::string HintOfControl(TWinControl* c, POINT screen, int& part, TWinControl*& source) {
    POINT cp = screen;
    ScreenToClient(c->Handle(), &cp);
    part = -1;
    source = c;
    std::string hint = c->HintAt(cp, part);
    for (TWinControl* p = c->Parent(); hint.empty() && p; p = p->Parent()) {
        hint = p->Hint;
        source = p;
    }
    return hint;
}

THintTracker& THintTracker::Instance() {
    if (!g_tracker) g_tracker = new THintTracker();  // lives as long as the process's windows
    return *g_tracker;
}

THintTracker* THintTracker::Existing() { return g_tracker; }

THintTracker::THintTracker() {
    timers_ = std::make_unique<THiddenWindow>("QfHintTracker", [this](UINT msg, WPARAM wp, LPARAM, LRESULT& r) {
        if (msg != WM_TIMER) return false;
        r = 0;
        return OnTimer(wp);
    });
    g_thread = GetCurrentThreadId();
    g_hook = SetWindowsHookExA(WH_GETMESSAGE, MessageHook, nullptr, g_thread);
    Application->SetHintService(this);
    if (Application->ShowHint()) window_ = MakeHintWindow();
}

THintTracker::~THintTracker() {
    Application->SetHintService(nullptr);
    if (g_hook) UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
}

void THintTracker::ShowHintChanged(bool show) {
    if (state_ == tsPending || state_ == tsShowing) state_ = tsDone;
    HideTipAndPauses();
    window_.reset();
    if (show) window_ = MakeHintWindow();
}

void THintTracker::CancelHint() {
    if (state_ == tsNone) return;
    HideTipAndPauses();
    state_ = tsDone;
    shortPause_ = false;
}

void THintTracker::ControlDestroyed(const TWinControl* c) {
    if (window_.get() == c) return;
    if (c != control_) return;
    HideTip();
    StopTimers();
    control_ = nullptr;
    state_ = tsNone;
}

void THintTracker::MouseMoved(HWND target, POINT screen) {
    if (IsMenuWindow(target) || InMenuMode()) return;
    Enter(HintControlAt(target, screen), screen);
}

void THintTracker::Enter(TWinControl* c, POINT screen) {
    if (!c) {
        Leave();
        return;
    }
    int part = -1;
    TWinControl* source = c;
    const std::string hint = HintOfControl(c, screen, part, source);
    if (c == control_ && part == part_ && hint == text_) {
        // A menu had the application's hint meanwhile.
        Application->SetHint(hint);
        return;
    }
    if (state_ == tsShowing) shortPause_ = true;
    HideTipAndPauses();
    control_ = c;
    part_ = part;
    text_ = hint;
    state_ = tsNone;
    SetTimer(timers_->Handle(), kWatchTimer, kWatchInterval, nullptr);
    if (!hint.empty() && source->ShowHint() && Application->ShowHint()) {
        state_ = tsPending;
        const int pause = shortPause_ ? Application->HintShortPause : Application->HintPause;
        SetTimer(timers_->Handle(), kPauseTimer, static_cast<UINT>(std::max(1, pause)), nullptr);
    } else {
        shortPause_ = false;  // the short pause is only from one tip straight to the next
    }
    Application->SetHint(hint);
}

void THintTracker::Leave() {
    const bool had = control_ != nullptr;
    HideTip();
    StopTimers();
    control_ = nullptr;
    part_ = -1;
    text_.clear();
    state_ = tsNone;
    shortPause_ = false;
    if (had) Application->SetHint("");
}

void THintTracker::HideTipAndPauses() {
    HideTip();
    KillTimer(timers_->Handle(), kPauseTimer);
    KillTimer(timers_->Handle(), kHideTimer);
}

void THintTracker::StopTimers() {
    for (UINT_PTR id : {kPauseTimer, kHideTimer, kWatchTimer}) KillTimer(timers_->Handle(), id);
}

TWinControl* THintTracker::ControlAtCursor(POINT& at) const {
    GetCursorPos(&at);
    HWND w = WindowFromPoint(at);
    return OurWindow(w) && !IsMenuWindow(w) ? HintControlAt(w, at) : nullptr;
}

bool THintTracker::OnTimer(UINT_PTR id) {
    if (id != kPauseTimer && id != kHideTimer && id != kWatchTimer) return false;
    if (id != kWatchTimer) KillTimer(timers_->Handle(), id);
    if (!control_) {
        StopTimers();
        return true;
    }
    if (InMenuMode()) return true;
    // The mouse may have gone where no message of ours follows it.
    POINT at;
    TWinControl* now = ControlAtCursor(at);
    if (now != control_) {
        Enter(now, at);
        return true;
    }
    if (id == kPauseTimer && state_ == tsPending) {
        ShowTip();
    } else if (id == kHideTimer && state_ == tsShowing) {
        HideTip();
        state_ = tsDone;
        shortPause_ = false;
    } else if (id == kWatchTimer) {
        Enter(now, at);  // another part of the same control (a toolbar button, a tab)
    }
    return true;
}

void THintTracker::ShowTip() {
    if (!window_) {
        state_ = tsNone;
        return;
    }
    POINT cursor;
    GetCursorPos(&cursor);
    HCURSOR shape = GetCursor();
    const int below = THintWindow::CursorHeight(shape ? shape : LoadCursor(nullptr, IDC_ARROW));
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    RECT r = window_->CalcHintRect(screenW, text_);
    OffsetRect(&r, cursor.x, cursor.y + below);
    // Kept on the screen, its size kept.
    if (r.right > screenW) OffsetRect(&r, screenW - r.right, 0);
    if (r.bottom > screenH) OffsetRect(&r, 0, screenH - r.bottom);
    if (r.left < 0) OffsetRect(&r, -r.left, 0);
    if (r.top < 0) OffsetRect(&r, 0, -r.top);
    window_->ActivateHint(r, text_);
    state_ = tsShowing;
    SetTimer(timers_->Handle(), kHideTimer, static_cast<UINT>(std::max(1, Application->HintHidePause)), nullptr);
}

void THintTracker::HideTip() {
    if (window_) window_->ReleaseHint();
}
