#include "ChannelSignal.h"

#include <atomic>

#include "EngineSync.h"

namespace {

struct Shared {
    std::atomic<uint64_t> generation{0};
    std::atomic<int> waiters{0};
    EngineMutex m;
    EngineCondition cv;
};

Shared& State() {
    static Shared s;
    return s;
}

}  // namespace

uint64_t ChannelSignal::Generation() { return State().generation.load(); }

void ChannelSignal::Notify() {
    Shared& s = State();
    s.generation.fetch_add(1);
    // Most findings come while no one waits: those cost no lock.
    if (s.waiters.load() == 0) return;
    { std::lock_guard<EngineMutex> l(s.m); }
    s.cv.NotifyAll();
}

void ChannelSignal::WaitAfter(uint64_t seen, long ms) {
    Shared& s = State();
    std::unique_lock<EngineMutex> l(s.m);
    s.waiters.fetch_add(1);
    s.cv.WaitFor(l, ms, [&] { return s.generation.load() != seen; });
    s.waiters.fetch_sub(1);
}
