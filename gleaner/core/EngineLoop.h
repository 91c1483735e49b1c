// The loop of an engine thread (a channel's task thread, a search's crawl
// thread): one pass after another until the exit flag is set, held at the
// top of each pass while suspended. An idle pass waits its interval, or less
// when work or the exit request comes. No platform headers.
#pragma once

#include <atomic>
#include <functional>

#include "EngineSync.h"

class EngineLoop {
public:
    // Before the thread starts: running, not suspended, no exit asked for.
    void Arm();
    void OrderSuspend() { suspend_ = 1; }
    void Resume() { suspend_ = 0; }
    long ThreadState() const { return threadState_.load(); }  // 0 ended, 1 running, 2 parked
    // The thread ends at its next idle pass; a suspended one is let go.
    void RequestExit();
    bool ExitRequested() const { return exitRequest_.load() != 0; }

    // Runs pass until the exit flag is set, then finish; the state is then 0.
    void Run(const std::function<void()>& pass, const std::function<void()>& finish);
    // An idle pass: sets the exit flag when the exit was asked for, else
    // waits ms or until work() holds after a Wake.
    void Idle(long ms, const std::function<bool()>& work);
    // Makes the change an idle pass waits for and wakes it.
    void Wake(const std::function<void()>& change);

    long PollInterval = 5;  // ms between polls of the suspend flag

private:
    std::atomic<long> suspend_{0};
    std::atomic<long> exitRequest_{0};
    std::atomic<bool> exitFlag_{false};
    std::atomic<long> threadState_{0};
    EngineMutex wakeM_;
    EngineCondition wake_;
};
