#include "HiddenWindow.h"

#include "Application.h"
#include "core/SysUtils.h"

LRESULT CALLBACK THiddenWindow::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<THiddenWindow*>(GetWindowLongPtrA(hwnd, 0));
    if (self && self->handler_) {
        LRESULT result = 0;
        bool handled = false;
        CallGuarded(nullptr, [&] { handled = self->handler_(msg, wp, lp, result); });
        if (handled) return result;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

THiddenWindow::THiddenWindow(const char* ClassName, Handler h) : handler_(std::move(h)) {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    WNDCLASSA wc;
    if (!GetClassInfoA(inst, ClassName, &wc)) {
        ZeroMemory(&wc, sizeof wc);
        wc.lpfnWndProc = WndProc;
        wc.cbWndExtra = sizeof(LONG_PTR);
        wc.hInstance = inst;
        wc.lpszClassName = ClassName;
        RegisterClassA(&wc);
    }
    hwnd_ = CreateWindowExA(WS_EX_TOOLWINDOW, ClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, inst,
                            nullptr);
    if (!hwnd_) throw Exception("Cannot create hidden window");
    SetWindowLongPtrA(hwnd_, 0, reinterpret_cast<LONG_PTR>(this));
}

THiddenWindow::~THiddenWindow() {
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, 0, 0);
        DestroyWindow(hwnd_);
    }
}
