#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "EngineSync.h"

namespace {
using Clock = std::chrono::steady_clock;

long MsSince(Clock::time_point t) {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count());
}
}  // namespace

// Threads taking turns through the lock never meet inside it, and each turn
// handed over by a notification is seen: no wake-up is lost.
TEST(EngineSync, TurnsHandedOverAreNeverLost) {
    EngineMutex m;
    EngineCondition turned;
    int turn = 0, inside = 0, clashes = 0;
    const int kRounds = 2000;
    auto player = [&](int me) {
        for (int i = 0; i < kRounds; ++i) {
            std::unique_lock<EngineMutex> l(m);
            turned.Wait(l, [&] { return turn == me; });
            if (++inside != 1) ++clashes;
            --inside;
            turn = 1 - me;
            l.unlock();
            turned.NotifyAll();
        }
    };
    std::thread other(player, 1);
    player(0);
    other.join();
    EXPECT_EQ(clashes, 0);
    EXPECT_EQ(turn, 0);
}

// A timed wait gives up at its limit with what its condition says then, and
// a notification ends it well before the limit.
TEST(EngineSync, TimedWaitEndsAtItsLimitOrOnNews) {
    EngineMutex m;
    EngineCondition news;
    bool ready = false;
    {
        std::unique_lock<EngineMutex> l(m);
        const auto t0 = Clock::now();
        EXPECT_FALSE(news.WaitFor(l, 60, [&] { return ready; }));
        EXPECT_GE(MsSince(t0), 50);
    }
    std::thread sender([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        {
            std::lock_guard<EngineMutex> l(m);
            ready = true;
        }
        news.NotifyAll();
    });
    {
        std::unique_lock<EngineMutex> l(m);
        const auto t0 = Clock::now();
        EXPECT_TRUE(news.WaitFor(l, 20000, [&] { return ready; }));
        EXPECT_LT(MsSince(t0), 10000);
    }
    sender.join();
}
