// The toolbar hooks on real windows: what the thread's hooks deliver.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "ComponentTestSupport.h"
#include "components/ToolbarHooks.h"
#include "ui/Form.h"

namespace {

struct Seen {
    THookKind kind;
    HWND wnd;
    WPARAM wp;
};
std::vector<Seen> seenA, seenB;
void ProcA(THookKind k, uintptr_t w, uintptr_t wp, intptr_t) { seenA.push_back({k, reinterpret_cast<HWND>(w), wp}); }
void ProcThrows(THookKind, uintptr_t, uintptr_t, intptr_t) { throw std::runtime_error("fault in a callback"); }
void ProcB(THookKind k, uintptr_t w, uintptr_t wp, intptr_t) { seenB.push_back({k, reinterpret_cast<HWND>(w), wp}); }

int Count(const std::vector<Seen>& v, THookKind k, HWND w) {
    int n = 0;
    for (const Seen& s : v)
        if (s.kind == k && (!w || s.wnd == w)) ++n;
    return n;
}

const THookKinds kAll = HookKindBit(hkActivateApp) | HookKindBit(hkWindowPosChanged) |
                        HookKindBit(hkActivate) | HookKindBit(hkMouseMove);

}  // namespace

TEST(ToolbarHooks, CountsAndHandlesFollowRegistrations) {
    const THookList& l = ToolbarHookList();
    const int base0 = l.HookCount(0), base2 = l.HookCount(2);
    RegisterHookProc(ProcA, HookKindBit(hkActivateApp) | HookKindBit(hkMouseMove));
    EXPECT_EQ(l.HookCount(0), base0 + 1);
    EXPECT_EQ(l.HookCount(2), base2 + 1);
    EXPECT_NE(l.HookHandle(0), 0u);
    EXPECT_NE(l.HookHandle(2), 0u);
    RegisterHookProc(ProcB, HookKindBit(hkActivate));
    EXPECT_NE(l.HookHandle(1), 0u);
    UnregisterHookProc(ProcB);
    EXPECT_EQ(l.HookHandle(1), 0u);
    UnregisterHookProc(ProcA);
    EXPECT_EQ(l.HookCount(0), base0);
    EXPECT_EQ(l.HookCount(2), base2);
    if (base0 == 0) {
        EXPECT_EQ(l.HookHandle(0), 0u);
    }
    EXPECT_FALSE(l.HasList());
}

TEST(ToolbarHooks, RealMessagesReachTheCallbacksAndAThrowingOneStopsNothing) {
    seenA.clear();
    seenB.clear();
    TForm f;
    f.SetBounds(10, 10, 200, 100);
    f.Show();
    RegisterHookProc(ProcA, kAll);
    RegisterHookProc(ProcThrows, kAll);
    RegisterHookProc(ProcB, kAll);
    // Sent: activate-app and a move.
    SendMessageA(f.Handle(), WM_ACTIVATEAPP, 0, 0);
    SetWindowPos(f.Handle(), nullptr, 30, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Queued: a posted mouse move, taken by the message loop.
    PostMessageA(f.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    Drain();
    // Activation through the CBT hook.
    TForm other;
    other.SetBounds(300, 10, 100, 100);
    other.Show();
    SetActiveWindow(f.Handle());
    SetActiveWindow(other.Handle());
    Drain();
    for (auto* seen : {&seenA, &seenB}) {
        EXPECT_GE(Count(*seen, hkActivateApp, f.Handle()), 1);
        EXPECT_GE(Count(*seen, hkWindowPosChanged, f.Handle()), 1);
        EXPECT_GE(Count(*seen, hkMouseMove, f.Handle()), 1);
        EXPECT_GE(Count(*seen, hkActivate, nullptr), 1);
    }
    EXPECT_EQ(seenA.size(), seenB.size()) << "the callback after the throwing one saw everything";
    UnregisterHookProc(ProcA);
    UnregisterHookProc(ProcThrows);
    UnregisterHookProc(ProcB);
    EXPECT_EQ(ToolbarHookList().HookCount(0), 0);
    EXPECT_EQ(ToolbarHookList().HookCount(1), 0);
    EXPECT_EQ(ToolbarHookList().HookCount(2), 0);
    EXPECT_EQ(ToolbarHookList().HookHandle(1), 0u);
}
