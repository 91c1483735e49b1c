#include "ScriptedFtpServer.h"

#include <ws2tcpip.h>

#include "TestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

struct WinsockUser {
    WinsockUser() {
        WSADATA d;
        WSAStartup(MAKEWORD(2, 2), &d);
    }
    ~WinsockUser() { WSACleanup(); }
};

SOCKET ListenLoopback(int& port) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    listen(s, 5);
    int len = sizeof a;
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    port = ntohs(a.sin_port);
    return s;
}

// Waits until s is readable; false on time-out.
bool Readable(SOCKET s, unsigned ms) {
    if (s == INVALID_SOCKET) return false;
    fd_set r;
    FD_ZERO(&r);
    FD_SET(s, &r);
    timeval tv{static_cast<long>(ms / 1000), static_cast<long>((ms % 1000) * 1000)};
    return select(0, &r, nullptr, nullptr, &tv) > 0;
}

void SendAll(SOCKET s, const std::string& b) {
    size_t off = 0;
    while (off < b.size()) {
        int n = send(s, b.data() + off, static_cast<int>(b.size() - off), 0);
        if (n <= 0) return;
        off += static_cast<size_t>(n);
    }
}

}  // namespace

// ---- FtpScript

std::string FtpScript::ReadLine(unsigned TimeoutMs) {
    for (;;) {
        size_t lf = pending_.find('\n');
        if (lf != std::string::npos) {
            std::string line = pending_.substr(0, lf);
            pending_.erase(0, lf + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            srv_.AddCommand(line);
            return line;
        }
        if (!Readable(srv_.control_, TimeoutMs)) return "";
        char buf[4096];
        int n = recv(srv_.control_, buf, sizeof buf, 0);
        if (n <= 0) return "";
        pending_.append(buf, static_cast<size_t>(n));
    }
}

void FtpScript::Send(const std::string& Bytes) { SendAll(srv_.control_, Bytes); }

void FtpScript::Reply(const std::string& Line) { Send(Line + "\r\n"); }

std::string FtpScript::Expect(const std::string& Prefix, const std::string& ReplyLine) {
    std::string line = ReadLine();
    if (line.compare(0, Prefix.size(), Prefix) != 0) Fail("expected '" + Prefix + "', got '" + line + "'");
    if (!ReplyLine.empty()) Reply(ReplyLine);
    return line;
}

void FtpScript::Login() {
    Expect("USER ", "331 Password please.");
    Expect("PASS ", "230 Logged in.");
}

std::string FtpScript::OpenPassive() {
    int port = 0;
    ScriptedFtpServer::CloseSock(srv_.dataListen_);
    srv_.dataListen_ = ListenLoopback(port);
    passive_ = true;
    char buf[96];
    snprintf(buf, sizeof buf, "227 Entering Passive Mode (127,0,0,1,%d,%d).", port >> 8, port & 0xFF);
    return buf;
}

namespace {

// Connects to the address of a PORT line, from FromAddr when given.
SOCKET ConnectToPortLine(const std::string& PortLine, const char* FromAddr, std::string& Error) {
    unsigned h[4], p1, p2;
    if (sscanf(PortLine.c_str(), "PORT %u,%u,%u,%u,%u,%u", &h[0], &h[1], &h[2], &h[3], &p1, &p2) != 6) {
        Error = "bad PORT line '" + PortLine + "'";
        return INVALID_SOCKET;
    }
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (FromAddr) {
        sockaddr_in from{};
        from.sin_family = AF_INET;
        from.sin_addr.s_addr = inet_addr(FromAddr);
        if (bind(s, reinterpret_cast<sockaddr*>(&from), sizeof from) != 0) {
            Error = std::string("cannot bind to ") + FromAddr;
            closesocket(s);
            return INVALID_SOCKET;
        }
    }
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl((h[0] << 24) | (h[1] << 16) | (h[2] << 8) | h[3]);
    a.sin_port = htons(static_cast<u_short>(p1 * 256 + p2));
    if (connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        Error = "data connect failed";
        closesocket(s);
        return INVALID_SOCKET;
    }
    return s;
}

}  // namespace

void FtpScript::ConnectActive(const std::string& PortLine) {
    passive_ = false;
    ScriptedFtpServer::CloseSock(srv_.data_);
    std::string error;
    srv_.data_ = ConnectToPortLine(PortLine, nullptr, error);
    if (srv_.data_ == INVALID_SOCKET) Fail(error);
}

bool FtpScript::ConnectStranger(const std::string& PortLine, const std::string& FromAddr) {
    ScriptedFtpServer::CloseSock(srv_.stranger_);
    std::string error;
    srv_.stranger_ = ConnectToPortLine(PortLine, FromAddr.c_str(), error);
    return srv_.stranger_ != INVALID_SOCKET;
}

bool FtpScript::StrangerTurnedAway(unsigned TimeoutMs) {
    if (!Readable(srv_.stranger_, TimeoutMs)) return false;
    char c;
    return recv(srv_.stranger_, &c, 1, 0) <= 0;
}

void FtpScript::AcceptData() {
    if (!Readable(srv_.dataListen_, 5000)) {
        Fail("no data connection came");
        return;
    }
    ScriptedFtpServer::CloseSock(srv_.data_);
    srv_.data_ = accept(srv_.dataListen_, nullptr, nullptr);
    ScriptedFtpServer::CloseSock(srv_.dataListen_);
}

bool FtpScript::DataSetup() {
    std::string line = ReadLine();
    if (line == "PASV") {
        Reply(OpenPassive());
        return true;
    }
    if (line.compare(0, 5, "PORT ") == 0) {
        Reply("200 PORT command successful.");
        portLine_ = line;
        passive_ = false;
        return true;
    }
    Fail("expected PASV or PORT, got '" + line + "'");
    return false;
}

void FtpScript::DataReady() {
    if (passive_) AcceptData();
    else ConnectActive(portLine_);
}

void FtpScript::DataSend(const std::string& Bytes) { SendAll(srv_.data_, Bytes); }

std::string FtpScript::DataReceiveAll() {
    std::string all;
    char buf[16384];
    while (Readable(srv_.data_, 5000)) {
        int n = recv(srv_.data_, buf, sizeof buf, 0);
        if (n <= 0) break;
        all.append(buf, static_cast<size_t>(n));
    }
    return all;
}

std::string FtpScript::DataReceive(size_t Count) {
    std::string got;
    char buf[16384];
    while (got.size() < Count && Readable(srv_.data_, 5000)) {
        int n = recv(srv_.data_, buf, static_cast<int>(std::min(sizeof buf, Count - got.size())), 0);
        if (n <= 0) break;
        got.append(buf, static_cast<size_t>(n));
    }
    return got;
}

void FtpScript::ResetData() {
    if (srv_.data_ != INVALID_SOCKET) {
        linger l{1, 0};
        setsockopt(srv_.data_, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&l), sizeof l);
    }
    CloseData();
}

void FtpScript::ShutdownData() {
    if (srv_.data_ != INVALID_SOCKET) shutdown(srv_.data_, SD_SEND);
}

void FtpScript::CloseData() {
    ScriptedFtpServer::CloseSock(srv_.data_);
    ScriptedFtpServer::CloseSock(srv_.dataListen_);
}

void FtpScript::CloseControl() { ScriptedFtpServer::CloseSock(srv_.control_); }

bool FtpScript::WaitClientClose(unsigned TimeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        DWORD spent = GetTickCount() - start;
        if (spent >= TimeoutMs) return false;
        if (!Readable(srv_.control_, TimeoutMs - spent)) return false;
        char buf[512];
        int n = recv(srv_.control_, buf, sizeof buf, 0);
        if (n <= 0) return true;
        pending_.append(buf, static_cast<size_t>(n));
    }
}

void FtpScript::Pause(unsigned Ms) { Sleep(Ms); }

void FtpScript::Fail(const std::string& Error) { srv_.AddError(Error); }

// ---- ScriptedFtpServer

ScriptedFtpServer::ScriptedFtpServer(Script script) : script_(std::move(script)) {
    static WinsockUser winsock;
    listen_ = ListenLoopback(port_);
    thread_ = std::thread([this] { Run(); });
}

ScriptedFtpServer::~ScriptedFtpServer() {
    stopping_ = true;
    if (thread_.joinable()) {
        // A script still blocked gets at most its own time-outs; closing the
        // listening socket frees an accept that nobody will answer.
        if (!WaitDone(10000)) {
            std::lock_guard<std::mutex> g(mu_);
            CloseSock(control_);
            CloseSock(data_);
        }
        thread_.join();
    }
    CloseSock(listen_);
    CloseSock(control_);
    CloseSock(data_);
    CloseSock(dataListen_);
    CloseSock(stranger_);
}

int ScriptedFtpServer::UnusedPort() {
    static WinsockUser winsock;
    int port = 0;
    SOCKET s = ListenLoopback(port);
    closesocket(s);
    return port;
}

void ScriptedFtpServer::Run() {
    if (Readable(listen_, 10000)) {
        control_ = accept(listen_, nullptr, nullptr);
        FtpScript s(*this);
        try {
            script_(s);
            // Hang up only after the client, so a test sees its own end of the session.
            if (control_ != INVALID_SOCKET && !stopping_) s.WaitClientClose(5000);
        } catch (const std::exception& e) {
            AddError(std::string("script threw: ") + e.what());
        }
        CloseSock(data_);
        CloseSock(dataListen_);
        CloseSock(control_);
    } else {
        AddError("the client never connected");
    }
    done_ = true;
}

bool ScriptedFtpServer::WaitDone(unsigned Ms) {
    // The client under test lives on this thread: keep its messages flowing.
    return qftest::PumpUntil([this] { return done_.load(); }, Ms);
}

std::vector<std::string> ScriptedFtpServer::Commands() {
    std::lock_guard<std::mutex> g(mu_);
    return commands_;
}

std::vector<std::string> ScriptedFtpServer::Errors() {
    std::lock_guard<std::mutex> g(mu_);
    return errors_;
}

std::string ScriptedFtpServer::ErrorText() {
    std::string t;
    for (auto& e : Errors()) t += e + "; ";
    return t;
}

void ScriptedFtpServer::AddCommand(const std::string& c) {
    std::lock_guard<std::mutex> g(mu_);
    commands_.push_back(c);
}

void ScriptedFtpServer::AddError(const std::string& e) {
    std::lock_guard<std::mutex> g(mu_);
    errors_.push_back(e);
}

void ScriptedFtpServer::CloseSock(SOCKET& s) {
    if (s != INVALID_SOCKET) {
        closesocket(s);
        s = INVALID_SOCKET;
    }
}
