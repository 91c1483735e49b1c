#include "ReadWriteLock.h"

void ReadWriteLock::lock_shared() {
    std::unique_lock<std::mutex> l(m_);
    cv_.wait(l, [this] { return !writer_ && writersWaiting_ == 0; });
    ++readers_;
}

void ReadWriteLock::unlock_shared() {
    std::lock_guard<std::mutex> l(m_);
    if (readers_ > 0 && --readers_ == 0) cv_.notify_all();
}

void ReadWriteLock::lock() {
    std::unique_lock<std::mutex> l(m_);
    ++writersWaiting_;
    cv_.wait(l, [this] { return !writer_ && readers_ == 0; });
    --writersWaiting_;
    writer_ = true;
}

void ReadWriteLock::unlock() {
    std::lock_guard<std::mutex> l(m_);
    writer_ = false;
    cv_.notify_all();
}
