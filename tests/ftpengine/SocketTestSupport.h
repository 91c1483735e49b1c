// Loopback peers for the socket tests, built from the sockets themselves: a
// server that accepts into TWSocket objects and a scripted peer that plays
// exact bytes. Everything runs on 127.0.0.1 in the test's own message loop.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SyncWSocket.h"

namespace sockettest {

// One accepted connection, reading everything it gets (unless Reading is off).
struct TPeerConn {
    TWSocket Sock;
    std::string Received;
    int ClosedCount = 0;
    int CloseError = -1;
    bool Reading = true;
    int ReadChunk = 0;  // bytes per Receive call; 0 reads what is waiting
};

// Listens on 127.0.0.1 with a port the system picks, accepts every connection
// into a TPeerConn and sends Banner on it.
class TTestServer {
public:
    TTestServer();
    int Port() const { return port_; }
    TPeerConn& Conn(size_t i = 0) { return *Conns.at(i); }
    bool HasConn(size_t n = 1) const { return Conns.size() >= n; }

    std::string Banner;
    // Called for each new connection before it gets its handle (set options there).
    std::function<void(TPeerConn&)> OnAccept;
    // Called after the handle is taken over.
    std::function<void(TPeerConn&)> OnConnected;
    std::vector<std::unique_ptr<TPeerConn>> Conns;
    TWSocket Listener;

private:
    int port_ = 0;
};

// A peer that answers exact bytes: each step waits until the client has sent
// Expect bytes in all, then sends Reply and maybe ends the connection.
struct TScriptStep {
    size_t Expect;
    std::string Reply;
    enum TEnd { Stay, Close, Reset } End = Stay;
};

class TScriptedPeer {
public:
    explicit TScriptedPeer(std::vector<TScriptStep> Steps);
    int Port() const { return server_.Port(); }
    bool Accepted() const { return server_.HasConn(); }
    const std::string& Received() { return server_.HasConn() ? server_.Conn().Received : empty_; }

private:
    void Play(TPeerConn& c);
    TTestServer server_;
    std::vector<TScriptStep> steps_;
    size_t next_ = 0;
    std::string empty_;
};

// A port where nothing listens (it was free a moment ago).
int FreePort();
// Sets up Sock to connect to 127.0.0.1:Port.
void Target(TCustomWSocket& Sock, int Port);
// Bytes waiting at the handle, straight from Windows Sockets.
int WaitingAt(const TCustomWSocket& Sock);
// Waits (without dispatching) until Count bytes wait at the handle.
bool WaitArrived(const TCustomWSocket& Sock, int Count, unsigned Ms = 5000);
// Waits (without dispatching) until the handle has something to read: data, the
// peer's close or a reset.
bool WaitReadable(const TCustomWSocket& Sock, unsigned Ms = 5000);
// Sends Bytes from one socket and lets the other take them in one read.
bool DeliverChunk(TCustomWSocket& From, TCustomWSocket& To, const std::string& Bytes);
// A small system send buffer, so that the socket's own queue comes into play.
void SetSendBuffer(TSocket Handle, int Bytes);

}  // namespace sockettest
