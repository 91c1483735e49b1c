#include "EngineSync.h"

#if defined(_WIN32)

#include <windows.h>

namespace {

// The slim lock and condition variable came with Vista: looked up, so that
// the programs still start where they are missing.
struct Slim {
    Slim() {
        HMODULE k = GetModuleHandleA("kernel32.dll");
        if (!k) return;
        acquire = reinterpret_cast<Lock>(reinterpret_cast<void*>(GetProcAddress(k, "AcquireSRWLockExclusive")));
        release = reinterpret_cast<Lock>(reinterpret_cast<void*>(GetProcAddress(k, "ReleaseSRWLockExclusive")));
        sleep = reinterpret_cast<Sleep>(reinterpret_cast<void*>(GetProcAddress(k, "SleepConditionVariableSRW")));
        wakeAll = reinterpret_cast<Wake>(reinterpret_cast<void*>(GetProcAddress(k, "WakeAllConditionVariable")));
        present = acquire && release && sleep && wakeAll;
    }
    using Lock = void(WINAPI*)(void**);
    using Sleep = BOOL(WINAPI*)(void**, void**, DWORD, ULONG);
    using Wake = void(WINAPI*)(void**);
    Lock acquire = nullptr;
    Lock release = nullptr;
    Sleep sleep = nullptr;
    Wake wakeAll = nullptr;
    bool present = false;
};

const Slim& System() {
    static const Slim s;
    return s;
}

}  // namespace

void EngineMutex::lock() {
    if (System().present) System().acquire(&srw_);
    else m_.lock();
}

void EngineMutex::unlock() {
    if (System().present) System().release(&srw_);
    else m_.unlock();
}

void EngineCondition::Wait(std::unique_lock<EngineMutex>& l) {
    if (!System().present) {
        cv_.wait(l);
        return;
    }
    System().sleep(&slim_, &l.mutex()->srw_, INFINITE, 0);
}

void EngineCondition::WaitFor(std::unique_lock<EngineMutex>& l, long ms) {
    if (!System().present) {
        cv_.wait_for(l, std::chrono::milliseconds(ms < 0 ? 0 : ms));
        return;
    }
    System().sleep(&slim_, &l.mutex()->srw_, ms < 0 ? 0 : static_cast<DWORD>(ms), 0);
}

void EngineCondition::NotifyAll() {
    if (System().present) System().wakeAll(&slim_);
    else cv_.notify_all();
}

#else

void EngineMutex::lock() { m_.lock(); }

void EngineMutex::unlock() { m_.unlock(); }

void EngineCondition::Wait(std::unique_lock<EngineMutex>& l) { cv_.wait(l); }

void EngineCondition::WaitFor(std::unique_lock<EngineMutex>& l, long ms) {
    cv_.wait_for(l, std::chrono::milliseconds(ms < 0 ? 0 : ms));
}

void EngineCondition::NotifyAll() { cv_.notify_all(); }

#endif
