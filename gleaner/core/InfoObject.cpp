#include "InfoObject.h"

long InfoObject::Create() {
    long expected = 0;
    return created_.compare_exchange_strong(expected, 1) ? 1 : 0;
}

long InfoObject::Destroy() {
    long expected = 1;
    return created_.compare_exchange_strong(expected, 0) ? 1 : 0;
}

void InfoObject::LockRead() { lock_.lock_shared(); }
void InfoObject::UnlockRead() { lock_.unlock_shared(); }
void InfoObject::LockWrite() { lock_.lock(); }
void InfoObject::UnlockWrite() { lock_.unlock(); }
