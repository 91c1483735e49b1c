#include "EngineMessages.h"

#include <memory>

const char kErrorCaption[] = "Error";
const char kCanNotInitializeThread[] = "Can not initialize thread";

void ShowEngineMessage(const std::string& text, const std::string& caption, UINT icon) {
    MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | icon);
}

namespace {

struct Box {
    std::string text, caption;
    HANDLE done = nullptr;
    ~Box() {
        if (done) CloseHandle(done);
    }
};

DWORD WINAPI BoxThread(LPVOID arg) {
    std::unique_ptr<std::shared_ptr<Box>> box(static_cast<std::shared_ptr<Box>*>(arg));
    try {
        MessageBoxA(nullptr, (*box)->text.c_str(), (*box)->caption.c_str(), MB_OK);
    } catch (...) {
    }
    SetEvent((*box)->done);
    return 0;
}

BOOL CALLBACK CloseBox(HWND h, LPARAM) {
    PostMessageA(h, WM_CLOSE, 0, 0);
    return TRUE;
}

}  // namespace

void ShowEngineMessageUntil(const std::string& text, const std::string& caption, const std::function<bool()>& stopped) {
    auto box = std::make_shared<Box>();
    box->text = text;
    box->caption = caption;
    box->done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!box->done) return;
    auto* arg = new std::shared_ptr<Box>(box);
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, BoxThread, arg, 0, &id);
    if (!thread) {
        delete arg;
        return;
    }
    while (WaitForSingleObject(box->done, 50) == WAIT_TIMEOUT) {
        if (!stopped()) continue;
        // The box may not be made yet: ask it to close for a while, then leave it.
        for (int i = 0; i < 40 && WaitForSingleObject(box->done, 0) == WAIT_TIMEOUT; ++i) {
            EnumThreadWindows(id, CloseBox, 0);
            WaitForSingleObject(box->done, 25);
        }
        break;
    }
    CloseHandle(thread);
}
