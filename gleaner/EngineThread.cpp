#include "EngineThread.h"

#include <objbase.h>

#include "EngineMessages.h"

namespace {

struct Procedure {
    std::function<void()> run;
    bool com;
};

DWORD WINAPI ThreadEntry(LPVOID arg) {
    Procedure* p = static_cast<Procedure*>(arg);
    bool com = p->com && SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    try {
        p->run();
    } catch (...) {
        // nothing may leave a thread procedure
    }
    delete p;
    if (com) CoUninitialize();
    return 0;
}

// A wait on h that answers the apartment's incoming calls meanwhile.
bool ServingWait(HANDLE h, DWORD ms) {
    DWORD index = 0;
    HRESULT hr = CoWaitForMultipleHandles(0, ms, 1, &h, &index);
    if (hr == S_OK) return true;
    if (hr == RPC_S_CALLPENDING) return false;
    // Without COM on this thread, a plain wait.
    return WaitForSingleObject(h, ms) == WAIT_OBJECT_0;
}

}  // namespace

EngineThread::~EngineThread() {
    if (handle_) CloseHandle(handle_);
}

bool EngineThread::Start(std::function<void()> proc, bool com) {
    if (handle_) return false;
    Procedure* p = new Procedure{std::move(proc), com};
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    DWORD id = 0;
    handle_ = CreateThread(&sa, 0, ThreadEntry, p, CREATE_SUSPENDED, &id);
    if (!handle_) {
        delete p;
        return false;
    }
    ResumeThread(handle_);
    return true;
}

bool EngineThread::Ended() const { return !handle_ || WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0; }

void EngineThread::SetPriority(long priority) {
    if (handle_) SetThreadPriority(handle_, static_cast<int>(priority));
}

bool EngineThread::Join(DWORD ms) {
    if (!handle_) return true;
    const DWORD start = GetTickCount();
    for (;;) {
        if (WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0) return true;
        DWORD spent = GetTickCount() - start;
        if (spent >= ms) return false;
        ServingWait(handle_, ms - spent);
    }
}

void ServeFor(DWORD ms) {
    HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!never) {
        Sleep(ms);
        return;
    }
    const DWORD start = GetTickCount();
    for (DWORD spent = 0; spent < ms; spent = GetTickCount() - start) ServingWait(never, ms - spent);
    CloseHandle(never);
}

std::unique_ptr<EngineThread> StartEngineThread(std::function<void()> proc, bool com, bool silent) {
    std::unique_ptr<EngineThread> t(new EngineThread);
    if (t->Start(std::move(proc), com)) return t;
    if (!silent) ShowEngineMessage(kCanNotInitializeThread, kErrorCaption, MB_ICONERROR);
    return nullptr;
}

void Park(EngineLoop& loop) {
    loop.OrderSuspend();
    while (loop.ThreadState() == 1) ServeFor(loop.PollInterval);
}
