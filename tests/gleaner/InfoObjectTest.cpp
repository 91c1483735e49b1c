#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "InfoObject.h"

TEST(InfoObject, CreateAndDestroyRefuseTwice) {
    InfoObject o;
    EXPECT_EQ(o.IsCreated(), 0);
    EXPECT_EQ(o.Destroy(), 0);
    EXPECT_EQ(o.Create(), 1);
    EXPECT_EQ(o.IsCreated(), 1);
    EXPECT_EQ(o.Create(), 0);
    EXPECT_EQ(o.Destroy(), 1);
    EXPECT_EQ(o.Destroy(), 0);
    EXPECT_EQ(o.PollInterval, 5);
    EXPECT_EQ(o.IdleInterval, 30);
}

// Writers exclude each other and every reader; readers never see a writer
// inside, and a writer's unlock does not forget readers still inside.
TEST(InfoObject, BusyMarksExcludeUnderContention) {
    InfoObject o;
    std::atomic<int> readersInside{0}, writersInside{0};
    std::atomic<int> violations{0};
    const int kRounds = 3000;
    auto writer = [&] {
        for (int i = 0; i < kRounds; ++i) {
            o.LockWrite();
            if (writersInside.fetch_add(1) != 0 || readersInside.load() != 0) ++violations;
            writersInside.fetch_sub(1);
            o.UnlockWrite();
        }
    };
    auto reader = [&] {
        for (int i = 0; i < kRounds; ++i) {
            o.LockRead();
            readersInside.fetch_add(1);
            if (writersInside.load() != 0) ++violations;
            readersInside.fetch_sub(1);
            o.UnlockRead();
        }
    };
    std::vector<std::thread> t;
    t.emplace_back(writer);
    t.emplace_back(writer);
    t.emplace_back(reader);
    t.emplace_back(reader);
    t.emplace_back(reader);
    for (auto& x : t) x.join();
    EXPECT_EQ(violations.load(), 0);
}

TEST(InfoObject, WriterWaitsForReaderInside) {
    InfoObject o;
    o.LockRead();
    std::atomic<bool> wrote{false};
    std::thread w([&] {
        o.LockWrite();
        wrote = true;
        o.UnlockWrite();
    });
    // The writer cannot get in while the reader stays; give it every chance.
    for (int i = 0; i < 50 && !wrote; ++i) std::this_thread::yield();
    EXPECT_FALSE(wrote.load());
    o.UnlockRead();
    w.join();
    EXPECT_TRUE(wrote.load());
}
