// Base of every engine object: a created state and a pair of busy marks
// (readers and one writer) that let a writer keep readers out. No platform headers.
#pragma once

#include <atomic>

#include "ReadWriteLock.h"

class InfoObject {
public:
    InfoObject() = default;
    virtual ~InfoObject() = default;
    InfoObject(const InfoObject&) = delete;
    InfoObject& operator=(const InfoObject&) = delete;

    virtual long Create();     // 0 when already created
    virtual long Destroy();    // 0 when not created
    virtual long IsCreated() const { return created_.load() ? 1 : 0; }

    // Readers share the object; a writer waits for the readers inside and
    // keeps new ones out meanwhile (a waiting writer goes before new readers).
    // Not reentrant: a thread never asks for a mark it already holds.
    void LockRead();
    void UnlockRead();
    void LockWrite();
    void UnlockWrite();

    long PollInterval = 5;   // ms between polls of a suspend flag
    long IdleInterval = 30;  // ms an idle thread loop sleeps

private:
    std::atomic<long> created_{0};
    ReadWriteLock lock_;
};

// Scoped busy marks.
class ReadMark {
public:
    explicit ReadMark(InfoObject& o) : o_(o) { o_.LockRead(); }
    ~ReadMark() { o_.UnlockRead(); }
    ReadMark(const ReadMark&) = delete;
    ReadMark& operator=(const ReadMark&) = delete;

private:
    InfoObject& o_;
};

class WriteMark {
public:
    explicit WriteMark(InfoObject& o) : o_(o) { o_.LockWrite(); }
    ~WriteMark() { o_.UnlockWrite(); }
    WriteMark(const WriteMark&) = delete;
    WriteMark& operator=(const WriteMark&) = delete;

private:
    InfoObject& o_;
};
