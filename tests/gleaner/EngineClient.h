// Gleaner's objects as the search window drives them: made by ProgID in the
// running local server and called by member name only (late binding).
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "DispatchDriver.h"

// One record as the window reads it through a cursor.
struct FoundRecord {
    long Level = -1;
    long Status = -1;
    std::vector<std::string> Address, Display, Parent, ConnectStatus, DocumentSize;
    std::multiset<std::string> Parents() const { return {Parent.begin(), Parent.end()}; }
};

class Engine {
public:
    Engine() = default;
    ~Engine();  // closes as the window does, when not closed yet
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // The window's start-up: database and search by ProgID, Create on both,
    // ThreadPriority 0, PortionSize 512, PreloadSize 512, FileMul 10, the five
    // protocols, MaxFound -1, MaxLevel -1, the format table, the channels
    // (each created, made ready and attached) and the masks.
    void StartUp(int channels = 6);
    // The masks as the window hands them over: EmptyMasks, then one AddMask
    // per value: a link mask and a title mask.
    void ApplyMasks();
    // The ten built-in masks, handed over as the window hands them over.
    void ApplyBuiltInMasks();
    // Empties the database and starts a run; Start's result.
    long Start(const std::string& address);
    long Status();
    // Polls Status (as the window's result timer does) until it is 0.
    bool WaitIdle(DWORD ms = 30000);
    // Records by address, read with cursors.
    std::map<std::string, FoundRecord> Records();
    long Size();
    // The window's close: Stop, TruncateChannels(0, True), Destroy on the
    // search and the database, and every reference let go.
    void Close();

    TDispatchDriver Database, Search;
    std::vector<TDispatchDriver> Channels;
};

// Values of one property of the record under a cursor.
std::vector<std::string> ValuesOf(TDispatchDriver& db, long cursor, const std::string& property);

// Addresses of the loopback peers.
std::string HttpBase();                    // "http://127.0.0.1:<port>"
std::string HttpHostBase();                // "http://localhost:<port>"
std::string RefusedBase();                 // "http://127.0.0.1:<port nothing listens on>"
std::string FtpBase();                     // "ftp://127.0.0.1:<port>"
// Bytes of a fixture page as the HTTP peer serves it (ports filled in).
std::string ServedPage(const std::string& relative);

// Whether a Gleaner.exe process runs.
bool ServerRuns();
// Waits (pumping messages) until pred holds; false after ms.
bool WaitFor(const std::function<bool()>& pred, DWORD ms);
