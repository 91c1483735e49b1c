// A timer component: OnTimer every Interval milliseconds while Enabled. A
// tick that comes while OnTimer still runs (a box it shows, an error it
// reports) is skipped; a handler that raised keeps its timer running.
#pragma once

#include <windows.h>

#include "runtime/core/Component.h"

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner = nullptr);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool e);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned ms);
    TNotifyEvent OnTimer;

private:
    static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD);
    void Restart();
    bool enabled_ = true;
    unsigned interval_ = 1000;
    UINT_PTR id_ = 0;
    // Set while OnTimer runs; points at a flag the destructor clears.
    bool* running_ = nullptr;
};
