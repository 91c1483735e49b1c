// A lock and a condition for the hand-overs between the engine's threads (a
// task handed to a channel, news of the channels for the crawl thread, a
// document's bytes). On Windows they are the system's slim lock and
// condition variable where the system has them, which wait and wake inside
// the process; the runtime's std::mutex and condition variable there wait on
// kernel semaphores, a round trip to Wine's server for every wait and every
// wake. Systems without them get the runtime's. No platform headers.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

class EngineMutex {
public:
    EngineMutex() = default;
    EngineMutex(const EngineMutex&) = delete;
    EngineMutex& operator=(const EngineMutex&) = delete;
    void lock();
    void unlock();

private:
    friend class EngineCondition;
#if defined(_WIN32)
    void* srw_ = nullptr;  // an SRWLOCK, initialised
#endif
    std::mutex m_;
};

class EngineCondition {
public:
    EngineCondition() = default;
    EngineCondition(const EngineCondition&) = delete;
    EngineCondition& operator=(const EngineCondition&) = delete;

    // With l held: waits until notified (it may also return early).
    void Wait(std::unique_lock<EngineMutex>& l);
    template <class Done>
    void Wait(std::unique_lock<EngineMutex>& l, Done done) {
        while (!done()) Wait(l);
    }
    // With l held: waits until notified or ms passed (it may also return early).
    void WaitFor(std::unique_lock<EngineMutex>& l, long ms);
    // With l held: waits until done() holds or ms passed; done() at the end.
    template <class Done>
    bool WaitFor(std::unique_lock<EngineMutex>& l, long ms, Done done) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (!done()) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now()).count();
            if (left <= 0) return done();
            WaitFor(l, static_cast<long>(left));
        }
        return true;
    }
    void NotifyAll();

private:
#if defined(_WIN32)
    void* slim_ = nullptr;  // a CONDITION_VARIABLE, initialised
#endif
    std::condition_variable_any cv_;
};
