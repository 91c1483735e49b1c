#include "Timer.h"

#include <map>

#include "runtime/Application.h"

namespace {
// Thread timers are told apart by id only.
std::map<UINT_PTR, TTimer*>& Live() {
    static std::map<UINT_PTR, TTimer*> timers;
    return timers;
}
}  // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) { Restart(); }

TTimer::~TTimer() {
    BeginDestroy();
    if (running_) *running_ = false;
    enabled_ = false;
    Restart();
}

void TTimer::SetEnabled(bool e) {
    if (e == enabled_) return;
    enabled_ = e;
    Restart();
}

void TTimer::SetInterval(unsigned ms) {
    if (ms == interval_) return;
    interval_ = ms;
    Restart();
}

void TTimer::Restart() {
    if (id_) {
        KillTimer(nullptr, id_);
        Live().erase(id_);
        id_ = 0;
    }
    if (enabled_ && interval_ > 0 && !Destroying()) {
        id_ = SetTimer(nullptr, 0, interval_, Fire);
        if (id_) Live()[id_] = this;
    }
}

void CALLBACK TTimer::Fire(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = Live().find(id);
    if (it == Live().end()) return;
    TTimer* t = it->second;
    if (t->running_) return;
    bool alive = true;
    t->running_ = &alive;
    CallGuarded(t, [t] {
        if (t->OnTimer) t->OnTimer(t);
    });
    // The handler may have freed its timer.
    if (alive) t->running_ = nullptr;
}
