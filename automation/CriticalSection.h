// A critical section and the scope that holds it.
#pragma once

#include <windows.h>

class TCriticalSection {
public:
    TCriticalSection() { InitializeCriticalSection(&cs_); }
    ~TCriticalSection() { DeleteCriticalSection(&cs_); }
    TCriticalSection(const TCriticalSection&) = delete;
    TCriticalSection& operator=(const TCriticalSection&) = delete;
    void Enter() { EnterCriticalSection(&cs_); }
    void Leave() { LeaveCriticalSection(&cs_); }

private:
    CRITICAL_SECTION cs_;
};

class TCsLock {
public:
    explicit TCsLock(TCriticalSection& cs) : cs_(cs) { cs_.Enter(); }
    ~TCsLock() { cs_.Leave(); }
    TCsLock(const TCsLock&) = delete;
    TCsLock& operator=(const TCsLock&) = delete;

private:
    TCriticalSection& cs_;
};
