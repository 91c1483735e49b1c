// The COM module of the binary that links this library (a DLL or an EXE):
// its lock count, its own file, and the type information of its embedded
// type library. One per binary: the global ComModule.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <map>
#include <string>

#include "CriticalSection.h"

class TComModule {
public:
    TComModule();
    ~TComModule();
    TComModule(const TComModule&) = delete;
    TComModule& operator=(const TComModule&) = delete;

    // The module this code is linked into (the DLL's handle inside a DLL).
    HINSTANCE Instance() const;
    std::string FileName() const;
    std::wstring FileNameW() const;

    // One lock per live object and per LockServer(TRUE); interlocked.
    LONG Lock();
    LONG Unlock();                            // runs OnLastUnlock when the count reaches 0
    LONG LockCount() const { return lockCount_; }
    // Called (on the unlocking thread) each time the count drops to 0.
    std::function<void()> OnLastUnlock;

    // Type information of the interface iid from the module's own type library
    // (resource TYPELIB 1, else the module path with ".tlb"). Dispatch is what
    // GetTypeInfo hands out; Invoke is the vtable description ITypeInfo::Invoke
    // calls through (the same for a pure interface, the dual's vtable half
    // otherwise). AddRef'ed for the caller.
    HRESULT GetTypeInfo(REFIID iid, ITypeInfo** dispatch, ITypeInfo** invoke);
    // The module's type library, AddRef'ed; loads it on first use.
    HRESULT GetTypeLib(ITypeLib** lib);
    // The file the type library came from (empty before it is loaded).
    std::wstring TypeLibPath();

    // Releases the cached type information (before the module goes away).
    void Term();

private:
    HRESULT LoadTypeLibLocked(ITypeLib** lib);
    HRESULT TypeInfoLocked(REFIID iid, ITypeInfo** dispatch, ITypeInfo** invoke);

    struct Infos {
        ITypeInfo* dispatch;
        ITypeInfo* invoke;
    };
    volatile LONG lockCount_ = 0;
    TCriticalSection cs_;
    ITypeLib* typeLib_ = nullptr;
    std::wstring typeLibPath_;
    std::map<GUID, Infos, bool (*)(const GUID&, const GUID&)> infos_;
};

extern TComModule ComModule;
