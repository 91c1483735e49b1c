#include "MessageCracker.h"

#include <windowsx.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <string>

#include "Form.h"

namespace {

TShiftState MouseShift(WPARAM wp) {
    TShiftState s = 0;
    if (wp & MK_SHIFT) s |= ssShift;
    if (wp & MK_CONTROL) s |= ssCtrl;
    if (wp & MK_LBUTTON) s |= ssLeft;
    if (wp & MK_RBUTTON) s |= ssRight;
    if (wp & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TMouseButton ButtonOf(UINT msg) {
    switch (msg) {
        case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: return mbRight;
        case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK: return mbMiddle;
        default: return mbLeft;
    }
}

bool MouseDown(TWinControl& c, TMessage& m) {
    return c.MouseDown(ButtonOf(m.Msg), MouseShift(m.WParam), GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
}
bool MouseUp(TWinControl& c, TMessage& m) {
    return c.MouseUp(ButtonOf(m.Msg), MouseShift(m.WParam), GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
}
bool DblClick(TWinControl& c, TMessage& m) {
    return c.DblClick(ButtonOf(m.Msg), MouseShift(m.WParam) | ssDouble, GET_X_LPARAM(m.LParam),
                      GET_Y_LPARAM(m.LParam));
}
bool MouseMove(TWinControl& c, TMessage& m) {
    return c.MouseMove(MouseShift(m.WParam), GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
}
bool MouseWheel(TWinControl& c, TMessage& m) {
    POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    ScreenToClient(c.Handle(), &p);
    return c.MouseWheel(GET_WHEEL_DELTA_WPARAM(m.WParam), MouseShift(GET_KEYSTATE_WPARAM(m.WParam)), p.x, p.y);
}

bool KeyDown(TWinControl& c, TMessage& m) {
    WORD key = static_cast<WORD>(m.WParam);
    const TShiftState shift = KeyboardShiftState();
    if (m.Msg == WM_KEYDOWN && PreviewKey(c, key, shift)) return true;
    bool handled = c.KeyDown(key, shift);
    if (handled || key == 0) return true;  // a handler that clears the key swallows it
    return m.Msg == WM_KEYDOWN && DialogKey(c, key, shift);
}
bool KeyUp(TWinControl& c, TMessage& m) {
    WORD key = static_cast<WORD>(m.WParam);
    bool handled = c.KeyUp(key, KeyboardShiftState());
    return handled || key == 0;
}
bool Char(TWinControl& c, TMessage& m) {
    char key = static_cast<char>(m.WParam);
    bool handled = c.KeyPress(key);
    if (key == 0) return true;
    m.WParam = static_cast<unsigned char>(key);  // a handler may change the character
    return handled;
}

// The paint ends (the update region validated) also when Paint raises: the
// error is reported once, not again at every paint the report's box brings.
class TPaintScope {
public:
    explicit TPaintScope(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
    ~TPaintScope() { EndPaint(hwnd_, &ps_); }
    TPaintScope(const TPaintScope&) = delete;
    TPaintScope& operator=(const TPaintScope&) = delete;
    HDC DC() const { return dc_; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_;
    HDC dc_;
};

// Paint errors reported, by control. A control that keeps failing the same
// way is reported once: the report's box, as it closes, uncovers the control
// and brings the next paint, which must not bring the next box.
std::map<const TWinControl*, std::string>& ReportedPaintErrors() {
    static std::map<const TWinControl*, std::string> reported;
    return reported;
}

bool Paint(TWinControl& c, TMessage&) {
    if (!c.PaintsItself()) return false;
    TPaintScope paint(c.Handle());
    TCanvas canvas(paint.DC());
    canvas.Font = c.Font();
    auto& reported = ReportedPaintErrors();
    try {
        c.Paint(canvas);
        reported.erase(&c);
    } catch (const std::exception& e) {
        auto it = reported.find(&c);
        if (it != reported.end() && it->second == e.what()) return true;
        reported[&c] = e.what();
        throw;
    }
    return true;
}
bool EraseBackground(TWinControl& c, TMessage& m) {
    if (!c.PaintsItself()) return false;
    // Our own background is painted whole by Paint, without flicker; a
    // transparent child (a flat toolbar) asks for it with its own DC.
    auto dc = reinterpret_cast<HDC>(m.WParam);
    if (WindowFromDC(dc) != c.Handle()) {
        RECT r;
        GetClipBox(dc, &r);
        HBRUSH b = CreateSolidBrush(ColorToRGB(c.Color()));
        FillRect(dc, &r, b);
        DeleteObject(b);
    }
    m.Result = 1;
    return true;
}

bool SetFocus(TWinControl& c, TMessage&) {
    c.FocusChanged(true);
    return false;
}
bool KillFocus(TWinControl& c, TMessage&) {
    c.FocusChanged(false);
    return false;
}
bool Size(TWinControl& c, TMessage&) {
    c.Resized();
    return false;
}

// WM_COMMAND / WM_NOTIFY / WM_CTLCOLOR* / WM_DRAWITEM go to the child that sent them,
// unless it is being destroyed.
TWinControl* ChildOf(HWND hwnd) {
    TWinControl* child = hwnd ? TWinControl::FromHandle(hwnd) : nullptr;
    return child && !child->InDestruction() ? child : nullptr;
}

bool Command(TWinControl& c, TMessage& m) {
    if (TWinControl* child = ChildOf(reinterpret_cast<HWND>(m.LParam)))
        return child->Command(HIWORD(m.WParam));
    if (m.LParam == 0) return c.MenuCommand(LOWORD(m.WParam));
    return false;
}
bool Notify(TWinControl&, TMessage& m) {
    auto* header = reinterpret_cast<NMHDR*>(m.LParam);
    TWinControl* child = header ? ChildOf(header->hwndFrom) : nullptr;
    return child && child->Notify(header, m.Result);
}
bool CtlColor(TWinControl& c, TMessage& m) {
    TWinControl* child = ChildOf(reinterpret_cast<HWND>(m.LParam));
    if (!child) return false;
    HBRUSH b = c.ChildColors(*child, reinterpret_cast<HDC>(m.WParam));
    if (!b) return false;
    m.Result = reinterpret_cast<LRESULT>(b);
    return true;
}
bool DrawItem(TWinControl& c, TMessage& m) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    TWinControl* child = dis->CtlType == ODT_MENU ? nullptr : ChildOf(dis->hwndItem);
    bool done = child ? child->DrawItem(*dis) : c.DrawItem(*dis);
    if (done) m.Result = TRUE;
    return done;
}
bool MeasureItem(TWinControl& c, TMessage& m) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
    bool done = false;
    if (mis->CtlType != ODT_MENU) {
        if (TWinControl* child = ChildOf(GetDlgItem(c.Handle(), static_cast<int>(mis->CtlID))))
            done = child->MeasureItem(*mis);
    }
    if (!done) done = c.MeasureItem(*mis);
    if (done) m.Result = TRUE;
    return done;
}
bool ScrollMsg(TWinControl& c, TMessage& m) {
    const int bar = m.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT;
    if (TWinControl* child = ChildOf(reinterpret_cast<HWND>(m.LParam)))
        return child->Scroll(SB_CTL, LOWORD(m.WParam), static_cast<short>(HIWORD(m.WParam)));
    return c.Scroll(bar, LOWORD(m.WParam), static_cast<short>(HIWORD(m.WParam)));
}
bool TimerMsg(TWinControl& c, TMessage& m) { return c.Timer(m.WParam); }

struct Entry {
    UINT msg;
    bool (*crack)(TWinControl&, TMessage&);
};

// Sorted by message number, searched by halves.
constexpr Entry kCrackers[] = {
    {WM_SIZE, Size},
    {WM_SETFOCUS, SetFocus},
    {WM_KILLFOCUS, KillFocus},
    {WM_PAINT, Paint},
    {WM_ERASEBKGND, EraseBackground},
    {WM_DRAWITEM, DrawItem},
    {WM_MEASUREITEM, MeasureItem},
    {WM_NOTIFY, Notify},
    {WM_KEYDOWN, KeyDown},
    {WM_KEYUP, KeyUp},
    {WM_CHAR, Char},
    {WM_SYSKEYDOWN, KeyDown},
    {WM_SYSKEYUP, KeyUp},
    {WM_COMMAND, Command},
    {WM_TIMER, TimerMsg},
    {WM_HSCROLL, ScrollMsg},
    {WM_VSCROLL, ScrollMsg},
    {WM_CTLCOLOREDIT, CtlColor},
    {WM_CTLCOLORLISTBOX, CtlColor},
    {WM_CTLCOLORBTN, CtlColor},
    {WM_CTLCOLORSTATIC, CtlColor},
    {WM_MOUSEMOVE, MouseMove},
    {WM_LBUTTONDOWN, MouseDown},
    {WM_LBUTTONUP, MouseUp},
    {WM_LBUTTONDBLCLK, DblClick},
    {WM_RBUTTONDOWN, MouseDown},
    {WM_RBUTTONUP, MouseUp},
    {WM_RBUTTONDBLCLK, DblClick},
    {WM_MBUTTONDOWN, MouseDown},
    {WM_MBUTTONUP, MouseUp},
    {WM_MBUTTONDBLCLK, DblClick},
    {WM_MOUSEWHEEL, MouseWheel},
};

constexpr bool Sorted() {
    for (size_t i = 1; i < std::size(kCrackers); ++i)
        if (kCrackers[i - 1].msg >= kCrackers[i].msg) return false;
    return true;
}
static_assert(Sorted(), "crackers must stay sorted by message number");

}  // namespace

TShiftState KeyboardShiftState() {
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

void ForgetPaintError(const TWinControl* c) { ReportedPaintErrors().erase(c); }

bool CrackMessage(TWinControl& c, TMessage& m) {
    auto it = std::lower_bound(std::begin(kCrackers), std::end(kCrackers), m.Msg,
                               [](const Entry& e, UINT msg) { return e.msg < msg; });
    if (it == std::end(kCrackers) || it->msg != m.Msg) return false;
    return it->crack(c, m);
}
