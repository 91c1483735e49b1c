#include "components/core/HookList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace {

class FakeInstaller : public IHookInstaller {
public:
    uintptr_t Install(int hook) override {
        installs.push_back(hook);
        return 100 + static_cast<uintptr_t>(hook);
    }
    void Remove(int hook, uintptr_t handle) override {
        EXPECT_EQ(handle, 100 + static_cast<uintptr_t>(hook));
        removes.push_back(hook);
    }
    std::vector<int> installs, removes;
};

std::vector<int> calls;
void ProcA(THookKind k, uintptr_t, uintptr_t, intptr_t) { calls.push_back(10 + k); }
void ProcThrows(THookKind, uintptr_t, uintptr_t, intptr_t) { throw std::runtime_error("callback fault"); }
void ProcB(THookKind k, uintptr_t, uintptr_t, intptr_t) { calls.push_back(20 + k); }

const THookKinds kButtonKinds = HookKindBit(hkActivateApp) | HookKindBit(hkMouseMove);

}  // namespace

TEST(HookList, TwoButtonsShareHooksUntilTheLastGoes) {
    FakeInstaller inst;
    THookList list(inst);
    list.RegisterHookProc(ProcA, kButtonKinds, false);
    list.RegisterHookProc(ProcA, kButtonKinds, false);
    EXPECT_EQ(list.RegistrationCount(), 1);
    EXPECT_EQ(list.HookCount(0), 2);
    EXPECT_EQ(list.HookCount(1), 0);
    EXPECT_EQ(list.HookCount(2), 2);
    EXPECT_EQ(inst.installs, (std::vector<int>{0, 2}));
    list.UnregisterHookProc(ProcA);
    EXPECT_NE(list.HookHandle(0), 0u);
    EXPECT_TRUE(inst.removes.empty());
    list.UnregisterHookProc(ProcA);
    EXPECT_EQ(list.HookHandle(0), 0u);
    EXPECT_EQ(list.HookHandle(2), 0u);
    EXPECT_EQ(list.HookCount(0), 0);
    EXPECT_EQ(list.HookCount(2), 0);
    EXPECT_FALSE(list.HasList());
}

// The record's kinds are needed after the last reference frees it (ASan
// reports a use after free if they are read from the record).
TEST(HookList, LastUnregisterUsesKindsCopiedBeforeTheRecordIsFreed) {
    FakeInstaller inst;
    THookList list(inst);
    list.RegisterHookProc(ProcB, HookKindBit(hkActivate), false);
    list.UnregisterHookProc(ProcB);
    EXPECT_EQ(inst.removes, (std::vector<int>{1}));
    EXPECT_EQ(list.HookCount(1), 0);
}

TEST(HookList, DesignTimeRegistrationInstallsNothing) {
    FakeInstaller inst;
    THookList list(inst);
    list.RegisterHookProc(ProcA, kButtonKinds, true);
    EXPECT_TRUE(inst.installs.empty());
    list.UnregisterHookProc(ProcA);
    EXPECT_EQ(list.HookCount(0), 0);
    EXPECT_EQ(list.HookCount(2), 0);
    list.UnregisterHookProc(ProcB);  // never registered: nothing changes
    EXPECT_FALSE(list.HasList());
}

TEST(HookList, ThrowingCallbackDoesNotStopTheOthers) {
    FakeInstaller inst;
    THookList list(inst);
    calls.clear();
    list.RegisterHookProc(ProcA, kButtonKinds, false);
    list.RegisterHookProc(ProcThrows, kButtonKinds, false);
    list.RegisterHookProc(ProcB, HookKindBit(hkMouseMove), false);
    EXPECT_EQ(list.Dispatch(hkMouseMove, 1, 0, 0), 3);
    EXPECT_EQ(calls, (std::vector<int>{10 + hkMouseMove, 20 + hkMouseMove}));
    calls.clear();
    EXPECT_EQ(list.Dispatch(hkActivateApp, 1, 0, 0), 2);
    EXPECT_EQ(calls, (std::vector<int>{10 + hkActivateApp}));
}

TEST(HookList, DestructionRemovesHooksByForce) {
    FakeInstaller inst;
    {
        THookList list(inst);
        list.RegisterHookProc(ProcA, kButtonKinds, false);
        list.RegisterHookProc(ProcB, HookKindBit(hkActivate), false);
    }
    EXPECT_EQ(inst.removes, (std::vector<int>{0, 1, 2}));
}

namespace {
int CompareInts(void* a, void* b, void* data) {
    ++*static_cast<int*>(data);
    return *static_cast<int*>(a) - *static_cast<int*>(b);
}
}  // namespace

TEST(HookList, SortListWithTable) {
    struct Case {
        const char* name;
        std::vector<int> in;
    } cases[] = {{"empty", {}}, {"one", {5}}, {"reversed", {5, 4, 3, 2, 1}},
                 {"duplicates", {2, 1, 2, 1, 2}}, {"sorted", {1, 2, 3, 4}}, {"mixed", {7, -3, 0, 12, 5, 5, -8}}};
    for (Case& c : cases) {
        std::vector<void*> items;
        for (int& v : c.in) items.push_back(&v);
        int calls = 0;
        SortListWith(items, CompareInts, &calls);
        std::vector<int> out;
        for (void* p : items) out.push_back(*static_cast<int*>(p));
        std::vector<int> expected = c.in;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(out, expected) << c.name;
        if (c.in.size() < 2) {
            EXPECT_EQ(calls, 0) << c.name;
        }
    }
}
