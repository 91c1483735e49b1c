// A loopback HTTP peer inside the test, for replies no real server gives on
// purpose: none at all, no status line, redirect loops, silence. Each path
// has a script that answers one request on its connection; the connection
// is closed after it. Windows only (Winsock).
#pragma once

#include <winsock2.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class ScriptedServer {
public:
    using Script = std::function<void(SOCKET s, ScriptedServer& server)>;

    ScriptedServer();   // listening on 127.0.0.1 at a free port
    ~ScriptedServer();  // silent scripts are let go, every connection closed
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    void On(const std::string& path, Script script);
    std::string Url(const std::string& path) const;
    long Requests(const std::string& path);  // requests for path so far

    // Scripts.
    static void Send(SOCKET s, const std::string& bytes);
    static Script Bytes(const std::string& bytes);  // sends them and closes
    static Script Reset();                          // closes with a reset at once
    static Script Redirect(const std::string& location, DWORD delayMs = 0);
    static Script Page(const std::string& body);
    static Script Silent();  // holds the connection and sends nothing until the server ends

    // For scripts: waits ms or until the server ends; false when it ended.
    bool Wait(DWORD ms);

private:
    void AcceptLoop();
    void Serve(SOCKET s);

    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::thread acceptor_;
    std::mutex m_;
    std::condition_variable ended_;
    bool stopping_ = false;
    std::map<std::string, Script> scripts_;
    std::map<std::string, long> requests_;
    std::vector<std::thread> connections_;
    std::vector<SOCKET> open_;
};
