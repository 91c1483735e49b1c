#include "components/ToolbarHooks.h"

namespace {

int g_fixedActive = -1;  // -1: the system's answer

LRESULT CALLBACK CallWndProcHook(int code, WPARAM wp, LPARAM lp);
LRESULT CALLBACK CbtHook(int code, WPARAM wp, LPARAM lp);
LRESULT CALLBACK GetMessageHook(int code, WPARAM wp, LPARAM lp);

class TThreadHookInstaller : public IHookInstaller {
public:
    uintptr_t Install(int hook) override {
        static const int types[kHookCount] = {WH_CALLWNDPROC, WH_CBT, WH_GETMESSAGE};
        static const HOOKPROC procs[kHookCount] = {CallWndProcHook, CbtHook, GetMessageHook};
        return reinterpret_cast<uintptr_t>(
            SetWindowsHookExA(types[hook], procs[hook], nullptr, GetCurrentThreadId()));
    }
    void Remove(int, uintptr_t handle) override { UnhookWindowsHookEx(reinterpret_cast<HHOOK>(handle)); }
};

THookList& List() {
    static TThreadHookInstaller installer;
    static THookList list(installer);
    return list;
}

HHOOK Handle(int hook) { return reinterpret_cast<HHOOK>(List().HookHandle(hook)); }

LRESULT CALLBACK CallWndProcHook(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && List().HasList()) {
        const CWPSTRUCT* m = reinterpret_cast<const CWPSTRUCT*>(lp);
        if (m->message == WM_ACTIVATEAPP) {
            const uintptr_t active = g_fixedActive < 0 ? m->wParam : static_cast<uintptr_t>(g_fixedActive);
            List().Dispatch(hkActivateApp, reinterpret_cast<uintptr_t>(m->hwnd), active, m->lParam);
        } else if (m->message == WM_WINDOWPOSCHANGED)
            List().Dispatch(hkWindowPosChanged, reinterpret_cast<uintptr_t>(m->hwnd), m->wParam, m->lParam);
    }
    return CallNextHookEx(Handle(0), code, wp, lp);
}

LRESULT CALLBACK CbtHook(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE && List().HasList()) List().Dispatch(hkActivate, wp, 0, 0);
    return CallNextHookEx(Handle(1), code, wp, lp);
}

LRESULT CALLBACK GetMessageHook(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && List().HasList()) {
        const MSG* m = reinterpret_cast<const MSG*>(lp);
        if (m->message == WM_MOUSEMOVE)
            List().Dispatch(hkMouseMove, reinterpret_cast<uintptr_t>(m->hwnd), m->wParam, m->lParam);
    }
    return CallNextHookEx(Handle(2), code, wp, lp);
}

}  // namespace

void RegisterHookProc(THookProc proc, THookKinds kinds, bool designing) {
    List().RegisterHookProc(proc, kinds, designing);
}
void UnregisterHookProc(THookProc proc) { List().UnregisterHookProc(proc); }
const THookList& ToolbarHookList() { return List(); }
bool IsApplicationActive() { return g_fixedActive < 0 ? GetActiveWindow() != nullptr : g_fixedActive != 0; }

void FixApplicationActive(bool active) {
    g_fixedActive = active ? 1 : 0;
    if (List().HasList()) List().Dispatch(hkActivateApp, 0, active ? 1 : 0, 0);
}

void ReleaseApplicationActive() { g_fixedActive = -1; }
