// The process-wide list of toolbar hook callbacks and the per-thread hooks
// they need, counted per hook. Installing a hook is behind an interface so the
// bookkeeping is tested without a window system.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

enum THookKind { hkActivateApp, hkWindowPosChanged, hkActivate, hkMouseMove };
using THookKinds = uint8_t;  // bit n = kind n
constexpr THookKinds HookKindBit(THookKind k) { return static_cast<THookKinds>(1u << k); }

// Hook 0: sent messages (activate-app, window-pos-changed); 1: activation; 2: queued mouse moves.
constexpr int kHookCount = 3;
using THookSet = uint8_t;  // bit n = hook n
THookSet HooksForKinds(THookKinds kinds);

// Opaque platform values: window, wParam, lParam.
using THookProc = void (*)(THookKind Kind, uintptr_t Wnd, uintptr_t WParam, intptr_t LParam);

class IHookInstaller {
public:
    virtual ~IHookInstaller() = default;
    // Returns a non-zero handle, or 0 when the hook could not be set.
    virtual uintptr_t Install(int hook) = 0;
    virtual void Remove(int hook, uintptr_t handle) = 0;
};

class THookList {
public:
    explicit THookList(IHookInstaller& installer) : installer_(installer) {}
    ~THookList();  // removes every hook by force
    THookList(const THookList&) = delete;
    THookList& operator=(const THookList&) = delete;

    void RegisterHookProc(THookProc proc, THookKinds kinds, bool designing);
    void UnregisterHookProc(THookProc proc);
    void InstallThreadHooks(THookSet hooks);
    void RemoveThreadHooks(THookSet hooks, bool force);

    // Calls every registration that wants kind; an exception in one callback
    // does not stop the others. Returns how many were called.
    int Dispatch(THookKind kind, uintptr_t wnd, uintptr_t wp, intptr_t lp);

    bool HasList() const { return !list_.empty(); }
    int RegistrationCount() const { return static_cast<int>(list_.size()); }
    int HookCount(int hook) const { return counts_[hook]; }
    uintptr_t HookHandle(int hook) const { return handles_[hook]; }

private:
    struct Registration {
        THookProc Proc;
        int RefCount;
        THookKinds Kinds;
    };
    IHookInstaller& installer_;
    std::vector<Registration*> list_;
    int counts_[kHookCount] = {0, 0, 0};
    uintptr_t handles_[kHookCount] = {0, 0, 0};
};

// Sorts items in place with compare(a, b, data) < 0, == 0, > 0 (a quicksort;
// fewer than two items are left alone). The toolbar units sort their lists with it.
using TListSortCompare = int (*)(void* item1, void* item2, void* data);
void SortListWith(std::vector<void*>& list, TListSortCompare compare, void* data);
