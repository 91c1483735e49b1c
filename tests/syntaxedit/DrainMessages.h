// Delivers what is queued for this thread's windows. Keys are not translated:
// tests post the characters a key types themselves.
#pragma once

#include <windows.h>

inline void Drain() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;  // a stray quit must not end the next test's loop
        DispatchMessageA(&msg);
    }
}
