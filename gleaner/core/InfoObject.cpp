#include "InfoObject.h"

long InfoObject::Create() {
    long expected = 0;
    return created_.compare_exchange_strong(expected, 1) ? 1 : 0;
}

long InfoObject::Destroy() {
    long expected = 1;
    return created_.compare_exchange_strong(expected, 0) ? 1 : 0;
}

void InfoObject::LockRead() {
    std::unique_lock<std::mutex> l(m_);
    cv_.wait(l, [this] { return !writer_ && writersWaiting_ == 0; });
    ++readers_;
}

void InfoObject::UnlockRead() {
    std::lock_guard<std::mutex> l(m_);
    if (readers_ > 0 && --readers_ == 0) cv_.notify_all();
}

void InfoObject::LockWrite() {
    std::unique_lock<std::mutex> l(m_);
    ++writersWaiting_;
    cv_.wait(l, [this] { return !writer_ && readers_ == 0; });
    --writersWaiting_;
    writer_ = true;
}

void InfoObject::UnlockWrite() {
    std::lock_guard<std::mutex> l(m_);
    writer_ = false;
    cv_.notify_all();
}
