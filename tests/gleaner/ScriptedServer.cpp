#include "ScriptedServer.h"

#include <ws2tcpip.h>

#include <chrono>

ScriptedServer::ScriptedServer() {
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    listen(listener_, 64);
    int len = sizeof a;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

ScriptedServer::~ScriptedServer() {
    {
        std::lock_guard<std::mutex> l(m_);
        stopping_ = true;
        for (SOCKET s : open_) shutdown(s, SD_BOTH);
    }
    ended_.notify_all();
    closesocket(listener_);
    acceptor_.join();
    for (std::thread& t : connections_) t.join();
    WSACleanup();
}

void ScriptedServer::On(const std::string& path, Script script) {
    std::lock_guard<std::mutex> l(m_);
    scripts_[path] = std::move(script);
}

std::string ScriptedServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

long ScriptedServer::Requests(const std::string& path) {
    std::lock_guard<std::mutex> l(m_);
    return requests_[path];
}

bool ScriptedServer::Wait(DWORD ms) {
    std::unique_lock<std::mutex> l(m_);
    return !ended_.wait_for(l, std::chrono::milliseconds(ms), [this] { return stopping_; });
}

void ScriptedServer::AcceptLoop() {
    for (;;) {
        SOCKET s = accept(listener_, nullptr, nullptr);
        if (s == INVALID_SOCKET) return;
        std::lock_guard<std::mutex> l(m_);
        if (stopping_) {
            closesocket(s);
            return;
        }
        open_.push_back(s);
        connections_.emplace_back([this, s] { Serve(s); });
    }
}

// Reads one request's head and runs the script of its path.
void ScriptedServer::Serve(SOCKET s) {
    std::string head;
    char buf[1024];
    while (head.find("\r\n\r\n") == std::string::npos) {
        int n = recv(s, buf, sizeof buf, 0);
        if (n <= 0) break;
        head.append(buf, static_cast<size_t>(n));
    }
    std::string path;
    size_t sp = head.find(' ');
    if (sp != std::string::npos) path = head.substr(sp + 1, head.find(' ', sp + 1) - sp - 1);
    Script script;
    {
        std::lock_guard<std::mutex> l(m_);
        ++requests_[path];
        auto it = scripts_.find(path);
        if (it != scripts_.end()) script = it->second;
    }
    if (script) script(s, *this);
    else Send(s, "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    std::lock_guard<std::mutex> l(m_);
    closesocket(s);
    for (SOCKET& o : open_)
        if (o == s) o = INVALID_SOCKET;
}

void ScriptedServer::Send(SOCKET s, const std::string& bytes) {
    size_t at = 0;
    while (at < bytes.size()) {
        int n = send(s, bytes.data() + at, static_cast<int>(bytes.size() - at), 0);
        if (n <= 0) return;
        at += static_cast<size_t>(n);
    }
}

ScriptedServer::Script ScriptedServer::Bytes(const std::string& bytes) {
    return [bytes](SOCKET s, ScriptedServer&) { Send(s, bytes); };
}

ScriptedServer::Script ScriptedServer::Reset() {
    return [](SOCKET s, ScriptedServer&) {
        linger l = {1, 0};
        setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&l), sizeof l);
    };
}

ScriptedServer::Script ScriptedServer::Redirect(const std::string& location, DWORD delayMs) {
    return [location, delayMs](SOCKET s, ScriptedServer& server) {
        if (delayMs && !server.Wait(delayMs)) return;
        Send(s, "HTTP/1.1 302 Found\r\nLocation: " + location + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    };
}

ScriptedServer::Script ScriptedServer::Page(const std::string& body) {
    return [body](SOCKET s, ScriptedServer&) {
        Send(s, "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) +
                    "\r\nConnection: close\r\n\r\n" + body);
    };
}

ScriptedServer::Script ScriptedServer::Silent() {
    return [](SOCKET, ScriptedServer& server) {
        while (server.Wait(1000)) {
        }
    };
}
