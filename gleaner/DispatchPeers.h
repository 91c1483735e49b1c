// The crawl thread's channels and database: the dispatch pointers the client
// gave, marshalled from the main thread to the crawl thread, and called by
// dispatch id.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <memory>
#include <vector>

#include "CrawlPeers.h"
#include "DispatchDriver.h"

// A dispatch pointer on its way to another thread of the process.
class MarshalledDispatch {
public:
    explicit MarshalledDispatch(IDispatch* d);  // EOleSysError when it cannot be marshalled
    ~MarshalledDispatch();                      // lets go of a pointer never taken
    MarshalledDispatch(const MarshalledDispatch&) = delete;
    MarshalledDispatch& operator=(const MarshalledDispatch&) = delete;
    // On the receiving thread, once: the pointer as that thread may call it.
    TDispatchDriver Take();

private:
    IStream* stream_ = nullptr;
};

class DispatchChannel : public CrawlChannel {
public:
    explicit DispatchChannel(TDispatchDriver d) : d_(std::move(d)) {}
    long StartTask(const std::string& TaskName, const std::string& Address, long Type) override;
    long TaskStatus() override;
    bool GetResult(InfoResult& r) override;

private:
    TDispatchDriver d_;
};

class DispatchDatabase : public CrawlDatabase {
public:
    explicit DispatchDatabase(TDispatchDriver d) : d_(std::move(d)) {}
    long CreateCursor() override;
    void DestroyCursor(long CursorID) override;
    void NextRecord(long CursorID) override;
    long TestCursor(long CursorID) override;
    long FindRecord(const std::string& Value) override;
    std::string Value(long CursorID) override;
    long Source(long CursorID) override;
    long Level(long CursorID) override;
    long Status(long CursorID) override;
    void PutStatus(long CursorID, long Status) override;
    long Type(long CursorID) override;
    long Add(const std::string& Value, const std::string& Parent, long Level, long Source, long DocType) override;
    void AddValue(long CursorID, const std::string& PropertyName, const std::string& DependName, long PropertyType,
                  long Hidden, const std::string& Value, long ValueID, long DependID) override;
    long GetValueCount(long CursorID, const std::string& PropertyName) override;
    void GetValue(long CursorID, const std::string& PropertyName, long ValueNumber, std::string& Value,
                  long& ValueID, long& DependID) override;

private:
    TDispatchDriver d_;
};

// The peers of one run, made on the crawl thread from what Start marshalled.
class DispatchPeers : public CrawlPeers {
public:
    struct Parcel {
        std::vector<std::unique_ptr<MarshalledDispatch>> Channels;
        std::unique_ptr<MarshalledDispatch> Database;
    };
    // nullptr when a pointer cannot be taken.
    static std::unique_ptr<CrawlPeers> Unpack(Parcel& parcel);

private:
    std::vector<std::unique_ptr<DispatchChannel>> channels_;
    std::unique_ptr<DispatchDatabase> database_;
};
