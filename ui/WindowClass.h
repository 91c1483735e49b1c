// Window classes of our controls, registered once per process. A superclass
// of a system class (BUTTON, EDIT, SysListView32, ...) keeps that class's
// window procedure, which the control calls for what it does not handle.
#pragma once

#include <windows.h>

#include <string>

struct TCreateParams;

class TWindowClassRegistry {
public:
    // Registers params.WinClassName with proc unless done already; returns the
    // system class's procedure for a superclass, else DefWindowProcA.
    static WNDPROC Ensure(const TCreateParams& params, WNDPROC proc);
};
