#include "EngineLoop.h"

#include <chrono>
#include <thread>

void EngineLoop::Arm() {
    suspend_ = 0;
    exitRequest_ = 0;
    exitFlag_ = false;
    threadState_ = 1;
}

void EngineLoop::RequestExit() {
    suspend_ = 0;
    Wake([this] { exitRequest_ = 1; });
}

void EngineLoop::Run(const std::function<void()>& pass, const std::function<void()>& finish) {
    while (!exitFlag_) {
        while (suspend_) {
            threadState_ = 2;
            std::this_thread::sleep_for(std::chrono::milliseconds(PollInterval));
        }
        threadState_ = 1;
        pass();
    }
    finish();
    threadState_ = 0;
}

void EngineLoop::Idle(long ms, const std::function<bool()>& work) {
    if (exitRequest_) {
        exitFlag_ = true;
        return;
    }
    std::unique_lock<EngineMutex> l(wakeM_);
    wake_.WaitFor(l, ms, [&] { return work() || exitRequest_.load(); });
}

void EngineLoop::Wake(const std::function<void()>& change) {
    {
        std::lock_guard<EngineMutex> l(wakeM_);
        change();
    }
    wake_.NotifyAll();
}
