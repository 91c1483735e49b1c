// The thread of a search or a channel: runs one procedure, takes the
// priority the objects' ThreadPriority members set, and is joined by a wait
// that keeps serving the waiting apartment's calls.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "EngineLoop.h"

class EngineThread {
public:
    EngineThread() = default;
    ~EngineThread();  // lets go of the handle; the procedure owns what it uses
    EngineThread(const EngineThread&) = delete;
    EngineThread& operator=(const EngineThread&) = delete;

    // Creates the thread (with COM's multithreaded apartment when com is set)
    // and lets it run proc. False when it cannot be created.
    bool Start(std::function<void()> proc, bool com);
    // True once the procedure has returned (or when there was no thread).
    bool Ended() const;
    void SetPriority(long priority);
    // Waits up to ms for the end, serving the calling apartment meanwhile. True when ended.
    bool Join(DWORD ms);

private:
    HANDLE handle_ = nullptr;
};

// Waits ms in the calling apartment, serving its calls and messages meanwhile.
void ServeFor(DWORD ms);

// A thread running proc; nullptr when it cannot be created, after the box
// "Can not initialize thread" (unless silent).
std::unique_ptr<EngineThread> StartEngineThread(std::function<void()> proc, bool com, bool silent);

// Asks the loop's thread to park and waits, serving the apartment, until it
// is parked (or has ended).
void Park(EngineLoop& loop);
