#include "ServerModule.h"

#include "AutoObject.h"
#include "ComModule.h"
#include "Gleaner_h.h"
#include "InfoChannel.h"
#include "InfoDatabaseObject.h"
#include "InfoSearch.h"
#include "ServerCommand.h"

namespace {

// {5E8A38C1-59D4-11D0-85D0-D94CC816C71A}
const GUID kAppId = {0x5E8A38C1, 0x59D4, 0x11D0, {0x85, 0xD0, 0xD9, 0x4C, 0xC8, 0x16, 0xC7, 0x1A}};
const char kAppName[] = "Gleaner";
const char kExeName[] = "Gleaner.EXE";

// Posted by the idle monitor to the main thread, which decides.
const UINT kIdleMessage = WM_APP + 1;

TClassRegistration Class(const CLSID& clsid, const char* progId, const char* description) {
    return TClassRegistration{&clsid, progId, 1, description, true, &LIBID_GLEANERLib, &kAppId};
}

}  // namespace

ServerModule::ServerModule()
    : map_({
          {Class(CLSID_InfoDatabase, "Gleaner.InfoDatabase", "InfoDatabase Class"), CreateComObject<InfoDatabaseObject>},
          {Class(CLSID_InfoChannel, "Gleaner.InfoChannel", "InfoChannel Class"), CreateComObject<InfoChannel>},
          {Class(CLSID_InfoSearch, "Gleaner.InfoSearch", "InfoSearch Class"), CreateComObject<InfoSearch>},
      }) {}

ServerModule::~ServerModule() {
    ComModule.OnLastUnlock = nullptr;
    map_.Term();
    ComModule.Term();
}

int ServerModule::Run(const std::string& CommandLine) {
    switch (ParseServerCommand(CommandLine)) {
    case ServerCommand::Register:
        return static_cast<int>(Register());
    case ServerCommand::Unregister:
        return static_cast<int>(Unregister());
    default:
        return Serve();
    }
}

HRESULT ServerModule::Register() {
    HRESULT hr = RegisterAppId(kAppId, kAppName, kExeName);
    if (FAILED(hr)) return hr;
    return map_.RegisterServer();
}

HRESULT ServerModule::Unregister() {
    UnregisterAppId(kAppId, kExeName);
    return map_.UnregisterServer();
}

void ServerModule::ModuleUnlock() {
    InterlockedExchange(&activity_, 1);
    SetEvent(shutdown_);
}

// Wakes when the last object or lock goes, waits until 5 s pass without
// another such moment, and then, when nothing is held, asks the main thread
// to end. Asks again every 5 s while that stays so (a nested message loop
// of the main thread may have dropped the request).
DWORD WINAPI ServerModule::IdleMonitor(LPVOID p) {
    ServerModule* self = static_cast<ServerModule*>(p);
    try {
        WaitForSingleObject(self->shutdown_, INFINITE);
        for (;;) {
            do {
                InterlockedExchange(&self->activity_, 0);
            } while (WaitForSingleObject(self->shutdown_, kIdleMs) == WAIT_OBJECT_0);
            bool idle = self->activity_ == 0 && ComModule.LockCount() == 0;
            if (idle) PostThreadMessageA(self->mainThread_, kIdleMessage, 0, 0);
            if (!idle || ComModule.LockCount() != 0) WaitForSingleObject(self->shutdown_, INFINITE);
        }
    } catch (...) {
        // nothing may leave a thread procedure
    }
    return 0;
}

// On the main thread, where every activation arrives: nothing can be made
// while this runs. The class objects go first, so a new client starts a
// new server instead of reaching this one as it ends.
void ServerModule::OnIdle() {
    if (ComModule.LockCount() != 0) return;
    map_.RevokeClassObjects();
    classesRegistered_ = false;
    PostQuitMessage(0);
}

void ServerModule::RunLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!msg.hwnd && msg.message == kIdleMessage) {
            OnIdle();
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Answers what was already on its way (a client that had the class object
// before it was revoked) for ms before the program ends.
void ServerModule::Linger(DWORD ms) {
    const DWORD start = GetTickCount();
    for (DWORD spent = 0; spent < ms; spent = GetTickCount() - start) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - spent, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT || (!msg.hwnd && msg.message == kIdleMessage)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

int ServerModule::Serve() {
    mainThread_ = GetCurrentThreadId();
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // the queue exists before the monitor posts
    shutdown_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!shutdown_) return static_cast<int>(HRESULT_FROM_WIN32(GetLastError()));
    ComModule.OnLastUnlock = [this] { ModuleUnlock(); };
    // Started for an activation that never asks for an object (its client
    // went away), the server ends as if its last object had just gone.
    SetEvent(shutdown_);
    HANDLE monitor = CreateThread(nullptr, 0, IdleMonitor, this, 0, nullptr);
    if (!monitor) return static_cast<int>(HRESULT_FROM_WIN32(GetLastError()));
    CloseHandle(monitor);

    for (;;) {
        map_.RegisterClassObjects(CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE);
        classesRegistered_ = true;
        RunLoop();
        Linger(1000);
        // A client that reached the class object before it went made an
        // object meanwhile: serve it rather than end under it.
        if (ComModule.LockCount() == 0) break;
    }
    if (classesRegistered_) map_.RevokeClassObjects();
    return 0;
}
