// Readers share it; a writer waits for the readers inside and keeps new ones
// out meanwhile (a waiting writer goes before new readers). Not reentrant.
// Built on a mutex and a condition variable because the MinGW runtime's
// reader-writer lock (behind std::shared_mutex) lets a writer in beside
// readers under contention. Usable with std::shared_lock and std::unique_lock.
#pragma once

#include <condition_variable>
#include <mutex>

class ReadWriteLock {
public:
    void lock_shared();
    void unlock_shared();
    void lock();
    void unlock();

private:
    std::mutex m_;
    std::condition_variable cv_;
    long readers_ = 0;
    long writersWaiting_ = 0;
    bool writer_ = false;
};
