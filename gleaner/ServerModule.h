// Gleaner.exe as a program: registration from the command line, or the
// local server that registers its class objects, serves its clients on the
// main thread and ends itself when no client has held anything for 5 s.
#pragma once

#include <windows.h>

#include <string>

#include "ObjectMap.h"

class ServerModule {
public:
    ServerModule();
    ~ServerModule();
    ServerModule(const ServerModule&) = delete;
    ServerModule& operator=(const ServerModule&) = delete;

    // The program after COM is initialised on the main thread; the exit code.
    int Run(const std::string& CommandLine);

    static const DWORD kIdleMs = 5000;

private:
    HRESULT Register();
    HRESULT Unregister();
    int Serve();
    void RunLoop();
    void Linger(DWORD ms);
    void OnIdle();
    void ModuleUnlock();
    static DWORD WINAPI IdleMonitor(LPVOID self);

    TObjectMap map_;
    HANDLE shutdown_ = nullptr;
    volatile LONG activity_ = 0;
    DWORD mainThread_ = 0;
    bool classesRegistered_ = false;
};
