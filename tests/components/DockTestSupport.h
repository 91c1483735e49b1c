// What the dock and tool window tests share: a form with a top dock, and
// small helpers for window bounds and posted mouse messages.
#pragma once

#include <windows.h>

#include "TestToolWindow.h"

namespace docktest {

// Docked size of a test window of length 100: grip 9 and 2 pixels a side.
constexpr int kDockedLength = 100 + 9 + 4;
constexpr int kDockedThickness = 22 + 4;

struct DockForm {
    DockForm() {
        form.SetBounds(0, 0, 600, 400);
        form.Handle();
        dock = new TDock97(&form, dpTop);
        dock->SetName("TopDock");
        dock->Handle();
        form.Show();
    }
    TTestToolWindow* Add(const char* name, int row, int pos, int length = 100) {
        auto* w = new TTestToolWindow(&form, name, length);
        w->DockRow = row;
        w->DockPos = pos;
        w->SetDockedTo(dock);
        return w;
    }
    // The application (de)activated through the message the system sends, its
    // state fixed so that other processes' activations on the desktop cannot interfere.
    void Activate(bool active) {
        FixApplicationActive(active);
        SendMessageA(form.Handle(), WM_ACTIVATEAPP, active, 0);
    }
    TFixedActivation activation;
    TForm form;
    TDock97* dock;
};

// Bounds of w in its parent's client area.
inline RECT InParent(TWinControl* w) {
    RECT r;
    GetWindowRect(w->Handle(), &r);
    MapWindowPoints(nullptr, GetParent(w->Handle()), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

inline LPARAM Point(int x, int y) { return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y))); }

inline void DrainMessages() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

}  // namespace docktest
