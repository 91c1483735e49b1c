// A hidden popup tool window of size 0 whose messages go to a handler: the
// notification target of sockets and engines. Exceptions never leave it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class THiddenWindow {
public:
    // Return true when the message was handled (result in Result).
    using Handler = std::function<bool(UINT Msg, WPARAM wParam, LPARAM lParam, LRESULT& Result)>;

    // The class is registered once per process under ClassName.
    THiddenWindow(const char* ClassName, Handler h);
    ~THiddenWindow();
    THiddenWindow(const THiddenWindow&) = delete;
    THiddenWindow& operator=(const THiddenWindow&) = delete;

    HWND Handle() const { return hwnd_; }
    bool Post(UINT Msg, WPARAM wParam, LPARAM lParam) const {
        return PostMessageA(hwnd_, Msg, wParam, lParam) != 0;
    }

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
    Handler handler_;
};
