// Moves one file with the FTP engine's blocking calls and prints the rate.
//   ftp_bench <host> <port> <user> <password> get|put pasv|port <remote file> <local file>
// Prints one line: "<MiB/s> <bytes> <seconds> <progress events> <socket and engine messages>".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "FtpClient.h"

namespace {

// Messages of the sockets' and the engine's windows handled during the
// transfer: what the message loop costs per block. Counted in their window
// procedures, which costs nothing (a message hook would add three Wine
// server round trips to every message).
long long g_messages = 0;
bool g_counting = false;
WNDPROC g_procs[3] = {};

template <int I>
LRESULT CALLBACK CountMessages(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (g_counting && (m == 1025 || m == 1026)) ++g_messages;
    return CallWindowProcA(g_procs[I], h, m, w, l);
}

template <int I>
void Count(HWND h) {
    g_procs[I] = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountMessages<I>)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 9) {
        fprintf(stderr, "usage: ftp_bench host port user password get|put pasv|port remote local\n");
        return 2;
    }
    TFtpClient ftp;
    ftp.HostName = argv[1];
    ftp.Port = argv[2];
    ftp.UserName = argv[3];
    ftp.PassWord = argv[4];
    bool get = std::string(argv[5]) == "get";
    ftp.Passive = std::string(argv[6]) == "pasv";
    ftp.HostFileName = argv[7];
    ftp.LocalFileName = argv[8];
    ftp.Timeout = 60;
    long long events = 0;
    int64_t last = 0;
    ftp.OnProgress = [&](TObject*, int64_t count, bool&) {
        ++events;
        last = count;
    };
    if (!ftp.Connect() || !ftp.SetType()) {
        fprintf(stderr, "connect failed: %s\n", ftp.ErrorMessage.c_str());
        return 1;
    }
    Count<0>(ftp.HiddenWindow());
    Count<1>(ftp.ControlConnection()->Handle());
    Count<2>(ftp.DataConnection()->Handle());
    g_counting = true;
    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);
    bool ok = get ? ftp.Get() : ftp.Put();
    QueryPerformanceCounter(&t1);
    g_counting = false;
    if (!ok) {
        fprintf(stderr, "transfer failed: %s\n", ftp.ErrorMessage.c_str());
        return 1;
    }
    double secs = double(t1.QuadPart - t0.QuadPart) / double(f.QuadPart);
    printf("%.1f %lld %.3f %lld %lld\n", double(last) / 1048576.0 / secs, static_cast<long long>(last), secs, events,
           g_messages);
    ftp.Quit();
    return 0;
}
