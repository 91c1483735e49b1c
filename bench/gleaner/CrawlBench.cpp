// Crawls a site with Gleaner.exe the way the search window drives it (by
// ProgID and member name) and prints pages per second; or, as the floor
// under it, fetches the site's pages p0.htm .. p<n-1>.htm with WinINet alone
// from that many threads.
//   gleaner_crawl_bench <start address> [channels]
//   gleaner_crawl_bench --wininet <site address> <pages> [threads]
#include <windows.h>
#include <objbase.h>
#include <wininet.h>

#include <thread>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "DispatchDriver.h"

namespace {

// Where the measured part begins and ends, for run-crawl.sh to read the
// processes' CPU time at once.
void Mark(const char* what) {
    std::printf("phase=%s\n", what);
    std::fflush(stdout);
    Sleep(300);
}

int Run(const std::string& start, long channels) {
    TDispatchDriver db = TDispatchDriver::CreateObject("Gleaner.InfoDatabase");
    TDispatchDriver search = TDispatchDriver::CreateObject("Gleaner.InfoSearch");
    db.Call("Create");
    search.Call("Create");
    search.Put("ThreadPriority", {0L});
    search.Put("PortionSize", {512L});
    search.Put("PreloadSize", {512L});
    search.Put("FileMul", {10L});
    for (const char* p : {"file://", "http://", "ftp://", "gopher://", "mailto:"}) search.Call("AddProtocol", {p});
    search.Put("MaxFound", {-1L});
    search.Put("MaxLevel", {-1L});
    std::vector<TDispatchDriver> made;
    for (long i = 0; i < channels; ++i) {
        TDispatchDriver c = TDispatchDriver::CreateObject("Gleaner.InfoChannel");
        c.Call("Create");
        search.Call("AttachChannel", {c.Dispatch()});
        made.push_back(c);
    }
    search.Call("EmptyMasks");
    search.Call("AddMask", {"Link", "\\w-<a href=\"\\w+\\*\\w-\"", "", 1L, 0L, 0L, -1L, 0L, 0L});
    search.Call("AddMask", {"Page title", "\\w-<title>\\w+\\*\\w-<", "", 0L, 0L, 1L, 1L, -1L, 0L});

    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    Mark("begin");
    QueryPerformanceCounter(&t0);
    if (search.Call("Start", {start, db.Dispatch()}).AsLong() != 1) {
        std::fprintf(stderr, "Start refused\n");
        return 1;
    }
    // Polled as the window's result timer does, every 50 ms.
    while (search.Get("Status").AsLong() != 0) Sleep(50);
    QueryPerformanceCounter(&t1);
    Mark("end");
    const double seconds = double(t1.QuadPart - t0.QuadPart) / double(freq.QuadPart);

    long pages = 0, records = db.Call("Size").AsLong();
    long cursor = db.Call("CreateCursor").AsLong();
    for (; db.Call("TestCursor", {cursor}).AsLong(); db.Call("NextRecord", {cursor})) {
        std::string ok;
        long id = 0, dep = 0;
        db.Call("GetValue", {cursor, "Connect status", 0L, Out(ok), Out(id), Out(dep)});
        pages += ok == "true";
    }
    db.Call("DestroyCursor", {cursor});
    long traffic = search.Get("Traffic").AsLong();
    search.Call("TruncateChannels", {0L, -1L});
    search.Call("Destroy");
    db.Call("Destroy");

    std::printf("gleaner: channels=%ld records=%ld pages=%ld bytes=%ld seconds=%.3f pages_per_second=%.1f\n",
                channels, records, pages, traffic, seconds, pages / seconds);
    return 0;
}

// The same pages through WinINet with nothing around it, as a channel opens them.
int RunWinInet(const std::string& site, long pages, long threads) {
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    Mark("begin");
    QueryPerformanceCounter(&t0);
    std::vector<std::thread> workers;
    for (long k = 0; k < threads; ++k) {
        workers.emplace_back([&, k] {
            HINTERNET s = InternetOpenA("My Session", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
            for (long i = k; i < pages; i += threads) {
                std::string address = site + "/p" + std::to_string(i) + ".htm";
                HINTERNET h = InternetOpenUrlA(s, address.c_str(), nullptr, 0, 1 | INTERNET_FLAG_NO_CACHE_WRITE, 1);
                char buf[512];
                DWORD got = 0;
                while (h && InternetReadFile(h, buf, sizeof buf, &got) && got) {
                }
                if (h) InternetCloseHandle(h);
            }
            InternetCloseHandle(s);
        });
    }
    for (std::thread& w : workers) w.join();
    QueryPerformanceCounter(&t1);
    Mark("end");
    const double seconds = double(t1.QuadPart - t0.QuadPart) / double(freq.QuadPart);
    std::printf("wininet alone: threads=%ld pages=%ld seconds=%.3f pages_per_second=%.1f\n", threads, pages, seconds,
                pages / seconds);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::string(argv[1]) == "--wininet")
        return RunWinInet(argv[2], std::atol(argv[3]), argc > 4 ? std::atol(argv[4]) : 6);
    if (argc < 2) {
        std::fprintf(stderr, "usage: gleaner_crawl_bench <start address> [channels]\n"
                             "       gleaner_crawl_bench --wininet <site address> <pages> [threads]\n");
        return 2;
    }
    long channels = argc > 2 ? std::atol(argv[2]) : 6;
    if (FAILED(CoInitialize(nullptr))) return 1;
    int rc;
    try {
        rc = Run(argv[1], channels);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        rc = 1;
    }
    CoUninitialize();
    return rc;
}
