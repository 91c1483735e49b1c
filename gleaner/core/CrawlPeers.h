// What a crawl asks of the channels and of the database it was given: the
// automation members it calls, with their names, argument order and results.
// Text is in the system ANSI code page. The server calls them through the
// objects' dispatch interfaces; tests give their own. No platform headers.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "InfoMask.h"

class CrawlChannel {
public:
    virtual ~CrawlChannel() = default;
    virtual long StartTask(const std::string& TaskName, const std::string& Address, long Type) = 0;
    virtual long TaskStatus() = 0;
    // The oldest finding; false when the queue is empty.
    virtual bool GetResult(InfoResult& r) = 0;
};

class CrawlDatabase {
public:
    static constexpr long kNone = -10000;  // no record, no cursor

    virtual ~CrawlDatabase() = default;
    virtual long CreateCursor() = 0;
    virtual void DestroyCursor(long CursorID) = 0;
    virtual void NextRecord(long CursorID) = 0;
    virtual long TestCursor(long CursorID) = 0;
    virtual long FindRecord(const std::string& Value) = 0;
    virtual std::string Value(long CursorID) = 0;
    virtual long Source(long CursorID) = 0;
    virtual long Level(long CursorID) = 0;
    virtual long Status(long CursorID) = 0;
    virtual void PutStatus(long CursorID, long Status) = 0;
    virtual long Type(long CursorID) = 0;
    virtual long Add(const std::string& Value, const std::string& Parent, long Level, long Source, long DocType) = 0;
    virtual void AddValue(long CursorID, const std::string& PropertyName, const std::string& DependName,
                          long PropertyType, long Hidden, const std::string& Value, long ValueID, long DependID) = 0;
    virtual long GetValueCount(long CursorID, const std::string& PropertyName) = 0;
    virtual void GetValue(long CursorID, const std::string& PropertyName, long ValueNumber, std::string& Value,
                          long& ValueID, long& DependID) = 0;
};

// The channels and the database of one run, as the crawl thread reaches
// them; released (on the crawl thread) when the run ends.
struct CrawlPeers {
    virtual ~CrawlPeers() = default;
    std::vector<CrawlChannel*> Channels;
    CrawlDatabase* Database = nullptr;
};
