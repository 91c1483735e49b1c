// The toolbar kit's per-thread window hooks: callbacks registered with the kinds
// of event they want learn of activation, moves and mouse moves anywhere in the thread.
#pragma once

#include <windows.h>

#include "components/core/HookList.h"

void RegisterHookProc(THookProc proc, THookKinds kinds, bool designing = false);
void UnregisterHookProc(THookProc proc);
// The process's list (counts and handles), for tests and diagnostics.
const THookList& ToolbarHookList();
// True when the calling thread owns the active window, or the fixed state below.
bool IsApplicationActive();
// Fixes the application's activation: IsApplicationActive answers it and every
// activate-app event carries it, whatever the system reports, until released.
// Callbacks hear the new state at once. For tests, whose process is one of many
// under one desktop and cannot rely on being the active application.
void FixApplicationActive(bool active);
void ReleaseApplicationActive();
