// The ceiling for the FTP engine on this platform: the same transfer as
// ftp_bench, done by a bare loop of blocking Winsock calls (no windows, no
// messages, no events) with the engine's block and socket-buffer sizes, and
// the file read or written in the same loop.
//   ftp_bare_bench <host> <port> <user> <password> get|put pasv|port <remote file> <local file>
// Prints one line: "<MiB/s> <bytes> <seconds> <socket calls>".
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "FtpTransfer.h"

namespace {

SOCKET g_control = INVALID_SOCKET;
std::string g_pending;

void Die(const std::string& what) {
    fprintf(stderr, "bare: %s (error %d)\n", what.c_str(), WSAGetLastError());
    exit(1);
}

// The next complete reply: its final line (code and blank), continuations skipped.
std::string ReadReply() {
    for (;;) {
        size_t eol = g_pending.find("\r\n");
        while (eol != std::string::npos) {
            std::string line = g_pending.substr(0, eol);
            g_pending.erase(0, eol + 2);
            if (line.size() >= 4 && isdigit(static_cast<unsigned char>(line[0])) && line[3] == ' ') return line;
            eol = g_pending.find("\r\n");
        }
        char buf[4096];
        int n = recv(g_control, buf, sizeof buf, 0);
        if (n <= 0) Die("control connection closed");
        g_pending.append(buf, static_cast<size_t>(n));
    }
}

// Sends a command; its reply must start with one of Expect.
std::string Command(const std::string& line, const char* expect) {
    std::string out = line + "\r\n";
    if (send(g_control, out.data(), static_cast<int>(out.size()), 0) != static_cast<int>(out.size())) Die("send");
    std::string reply = ReadReply();
    if (!strchr(expect, reply[0])) Die(line.substr(0, 4) + " refused: " + reply);
    return reply;
}

SOCKET Connect(uint32_t addr, uint16_t port) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in sin{};
    sin.sin_family = AF_INET;
    sin.sin_addr.s_addr = addr;
    sin.sin_port = htons(port);
    if (connect(s, reinterpret_cast<sockaddr*>(&sin), sizeof sin) != 0) Die("connect");
    return s;
}

void Widen(SOCKET s) {
    int size = 4 * 1024 * 1024;  // what the engine asks for its data connection
    setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&size), sizeof size);
    setsockopt(s, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&size), sizeof size);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 9) {
        fprintf(stderr, "usage: ftp_bare_bench host port user password get|put pasv|port remote local\n");
        return 2;
    }
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    uint32_t host = inet_addr(argv[1]);
    bool get = std::string(argv[5]) == "get";
    bool passive = std::string(argv[6]) == "pasv";
    g_control = Connect(host, static_cast<uint16_t>(atoi(argv[2])));
    ReadReply();
    if (Command(std::string("USER ") + argv[3], "23")[0] == '3') Command(std::string("PASS ") + argv[4], "2");
    Command("TYPE I", "2");

    HANDLE file = get ? CreateFileA(argv[8], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)
                      : CreateFileA(argv[8], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) Die("local file");
    const int block = get ? TFtpTransfer::ReceiveBlock : TFtpTransfer::SendBlock;
    std::vector<char> buf(static_cast<size_t>(block));

    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);
    SOCKET data = INVALID_SOCKET, listener = INVALID_SOCKET;
    if (passive) {
        std::string r = Command("PASV", "2");
        unsigned h1, h2, h3, h4, p1, p2;
        size_t open = r.find('(');
        if (open == std::string::npos ||
            sscanf(r.c_str() + open + 1, "%u,%u,%u,%u,%u,%u", &h1, &h2, &h3, &h4, &p1, &p2) != 6)
            Die("PASV reply: " + r);
        data = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        Widen(data);
        sockaddr_in sin{};
        sin.sin_family = AF_INET;
        sin.sin_addr.s_addr = host;
        sin.sin_port = htons(static_cast<uint16_t>(p1 * 256 + p2));
        if (connect(data, reinterpret_cast<sockaddr*>(&sin), sizeof sin) != 0) Die("data connect");
    } else {
        listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in sin{};
        sin.sin_family = AF_INET;
        sin.sin_addr.s_addr = host;
        if (bind(listener, reinterpret_cast<sockaddr*>(&sin), sizeof sin) != 0 || listen(listener, 1) != 0)
            Die("listen");
        int len = sizeof sin;
        getsockname(listener, reinterpret_cast<sockaddr*>(&sin), &len);
        unsigned port = ntohs(sin.sin_port);
        const unsigned char* a = reinterpret_cast<const unsigned char*>(&host);
        char line[80];
        snprintf(line, sizeof line, "PORT %u,%u,%u,%u,%u,%u", a[0], a[1], a[2], a[3], port >> 8, port & 0xFF);
        Command(line, "2");
    }
    std::string cmd = std::string(get ? "RETR " : "STOR ") + argv[7];
    Command(cmd, "1");
    if (!passive) {
        data = accept(listener, nullptr, nullptr);
        if (data == INVALID_SOCKET) Die("accept");
        closesocket(listener);
        Widen(data);
    }

    long long bytes = 0, calls = 0;
    if (get) {
        for (;;) {
            int n = recv(data, buf.data(), block, 0);
            ++calls;
            if (n < 0) Die("recv");
            if (n == 0) break;
            DWORD put = 0;
            if (!WriteFile(file, buf.data(), static_cast<DWORD>(n), &put, nullptr) || put != static_cast<DWORD>(n))
                Die("write");
            bytes += n;
        }
    } else {
        for (;;) {
            DWORD n = 0;
            if (!ReadFile(file, buf.data(), static_cast<DWORD>(block), &n, nullptr)) Die("read");
            if (n == 0) break;
            for (DWORD off = 0; off < n;) {
                int s = send(data, buf.data() + off, static_cast<int>(n - off), 0);
                ++calls;
                if (s <= 0) Die("send");
                off += static_cast<DWORD>(s);
            }
            bytes += n;
        }
        shutdown(data, SD_SEND);
        char drain[64];
        while (recv(data, drain, sizeof drain, 0) > 0) {
        }
    }
    closesocket(data);
    ReadReply();  // 226
    QueryPerformanceCounter(&t1);
    CloseHandle(file);
    double secs = double(t1.QuadPart - t0.QuadPart) / double(f.QuadPart);
    printf("%.1f %lld %.3f %lld\n", double(bytes) / 1048576.0 / secs, bytes, secs, calls);
    Command("QUIT", "2");
    closesocket(g_control);
    WSACleanup();
    return 0;
}
