#include "SocketTestSupport.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace sockettest {

TTestServer::TTestServer() {
    Listener.SetAddr("127.0.0.1");
    Listener.SetPort("0");
    Listener.OnSessionAvailable = [this](TObject*, uint16_t Error) {
        if (Error != 0) return;
        TSocket h = Listener.Accept();
        if (h == INVALID_SOCKET) return;
        Conns.push_back(std::make_unique<TPeerConn>());
        TPeerConn& c = *Conns.back();
        c.Sock.OnDataAvailable = [&c](TObject*, uint16_t) {
            if (!c.Reading) return;
            if (c.ReadChunk <= 0) {
                c.Received += c.Sock.ReceiveText();
                return;
            }
            std::string buf(static_cast<size_t>(c.ReadChunk), '\0');
            int r = c.Sock.Receive(&buf[0], c.ReadChunk);
            if (r > 0) c.Received.append(buf, 0, static_cast<size_t>(r));
        };
        c.Sock.OnSessionClosed = [&c](TObject*, uint16_t Error) {
            ++c.ClosedCount;
            c.CloseError = Error;
        };
        if (OnAccept) OnAccept(c);
        c.Sock.Dup(h);
        if (!Banner.empty()) c.Sock.SendText(Banner);
        if (OnConnected) OnConnected(c);
    };
    Listener.Listen();
    port_ = std::stoi(Listener.LocalPortText());
    // A connection given up before it was accepted is no concern of the tests.
    Listener.OnError = [](TObject*) {};
}

TScriptedPeer::TScriptedPeer(std::vector<TScriptStep> Steps) : steps_(std::move(Steps)) {
    server_.OnConnected = [this](TPeerConn& c) {
        auto read = c.Sock.OnDataAvailable;
        c.Sock.OnDataAvailable = [this, &c, read](TObject* s, uint16_t e) {
            read(s, e);
            Play(c);
        };
        Play(c);
    };
}

void TScriptedPeer::Play(TPeerConn& c) {
    while (next_ < steps_.size() && c.Received.size() >= steps_[next_].Expect) {
        const TScriptStep& step = steps_[next_++];
        if (!step.Reply.empty()) c.Sock.SendText(step.Reply);
        if (step.End == TScriptStep::Close) c.Sock.Close();
        if (step.End == TScriptStep::Reset) c.Sock.Abort();
        if (step.End != TScriptStep::Stay) return;
    }
}

int FreePort() {
    TWSocket s;
    s.SetAddr("127.0.0.1");
    s.SetPort("0");
    s.Listen();
    int port = std::stoi(s.LocalPortText());
    s.Close();
    return port;
}

void Target(TCustomWSocket& Sock, int Port) {
    Sock.SetAddr("127.0.0.1");
    Sock.SetPort(std::to_string(Port));
}

int WaitingAt(const TCustomWSocket& Sock) {
    u_long n = 0;
    if (Sock.HSocket() == INVALID_SOCKET || ioctlsocket(Sock.HSocket(), FIONREAD, &n) != 0) return -1;
    return static_cast<int>(n);
}

bool WaitArrived(const TCustomWSocket& Sock, int Count, unsigned Ms) {
    DWORD start = GetTickCount();
    while (WaitingAt(Sock) < Count) {
        if (GetTickCount() - start > Ms) return false;
        // Loopback delivers at once; the wait is for the peer's kernel, not for messages.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, 0);
    }
    return true;
}

bool WaitReadable(const TCustomWSocket& Sock, unsigned Ms) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(Sock.HSocket(), &readable);
    timeval tv = {static_cast<long>(Ms / 1000), static_cast<long>(Ms % 1000) * 1000};
    return select(0, &readable, nullptr, nullptr, &tv) == 1;
}

bool DeliverChunk(TCustomWSocket& From, TCustomWSocket& To, const std::string& Bytes) {
    int before = WaitingAt(To);
    From.SendText(Bytes);
    if (!WaitArrived(To, before + static_cast<int>(Bytes.size()))) return false;
    return qftest::PumpUntil([&] { return WaitingAt(To) <= 0; }, 5000);
}

void SetSendBuffer(TSocket Handle, int Bytes) {
    setsockopt(Handle, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&Bytes), sizeof Bytes);
}

}  // namespace sockettest
