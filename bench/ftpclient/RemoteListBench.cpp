// The remote pane's road for a big folder: the LIST reply's lines (as the
// listing file holds them) to TListingEntry rows, to list view items with
// their icons and types, in the list's order. Prints the time of the whole
// road (FTP_ProcessDir) for 10,000 and 100,000 entries (or the counts given),
// the best of a few runs, and where it goes.
//
//   source scripts/wine-env.sh; wine $QF_WIN_BUILD/bench/ftpclient/remote_list_bench.exe [count ...]
#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "LocaleCollation.h"
#include "MainForm.h"
#include "runtime/Application.h"

namespace {

double Seconds() {
    static LARGE_INTEGER frequency{};
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A folder as pyftpdlib lists it: a tenth folders, the rest files of a dozen
// kinds, names in mixed case with digits, blanks and punctuation, in the
// order a disk gives them (not sorted).
std::string MakeListing(int count) {
    static const char* const kExtensions[] = {".txt", ".html", ".jpg", ".gif", ".zip", ".exe", ".c",
                                              ".h",   ".log",  ".pdf", ".mp3", ".doc", ""};
    static const char* const kStems[] = {"report", "README", "photo ", "_build", "Zeta-", "a", "index", "Data.v"};
    std::string text = "total " + std::to_string(count) + "\r\n";
    unsigned seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    char line[256];
    for (int i = 0; i < count; ++i) {
        const unsigned r = next() >> 8;
        const bool folder = i % 10 == 0;
        std::string name = std::string(kStems[r % 8]) + std::to_string(r % 100000) + "-" + std::to_string(i);
        if (!folder) name += kExtensions[(r >> 4) % 13];
        snprintf(line, sizeof line, "%s   1 owner    group    %10u Dec 10 19:18 %s\r\n",
                 folder ? "drwxr-xr-x" : "-rw-r--r--", folder ? 4096u : r % 5000000, name.c_str());
        text += line;
    }
    return text;
}

struct TRun {
    double whole = 1e9, parse = 1e9, fill = 1e9;
};

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(atoi(argv[i]));
    if (counts.empty()) counts = {10000, 100000};

    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "qf-remote-list-bench-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    TMainSettings settings;
    settings.ProgramFolder = folder + "\\";
    settings.RegistryRoot = "Software\\QfRemoteListBench\\" + std::to_string(GetCurrentProcessId()) + "\\";
    settings.Now = [] { return 45000.5; };

    {
        TfrmMain m(settings);
        m.Show();
        m.SetConnectedUI(true);
        const std::string listing = folder + "\\listing.txt";
        double firstListing = -1;  // the program's first: every icon still to be looked up
        printf("remote pane: LIST reply lines -> rows -> list view items with icons, sorted (best of 3)\n");
        printf("%9s %10s %10s %10s %10s %8s %8s\n", "entries", "whole s", "parse+sort", "items+icons", "us/entry",
               "images", "rows");
        for (int count : counts) {
            const std::string text = MakeListing(count);
            TRun best;
            for (int round = 0; round < 3; ++round) {
                std::ofstream(listing, std::ios::binary) << text;
                double t0 = Seconds();
                m.FTP_ProcessDir(listing);
                double t1 = Seconds();
                best.whole = std::min(best.whole, t1 - t0);
                if (firstListing < 0) firstListing = t1 - t0;
                // The two halves of the road, timed on their own.
                struct TNoLinks : TLinkProber {
                    void BeginProbes() override {}
                    TLinkProbe ProbeSize(const std::string&) override { return {}; }
                } prober;
                t0 = Seconds();
                m.RemoteRows = BuildRemoteRows(text, prober, TLocaleCollation::Instance());
                t1 = Seconds();
                m.FillRemoteList();
                const double t2 = Seconds();
                best.parse = std::min(best.parse, t1 - t0);
                best.fill = std::min(best.fill, t2 - t1);
            }
            printf("%9d %10.3f %10.3f %10.3f %10.1f %8d %8d\n", count, best.whole, best.parse, best.fill,
                   best.whole * 1e6 / count, m.lvServerFiles->SmallImages() ? m.lvServerFiles->SmallImages()->Count() : 0,
                   m.lvServerFiles->Count());
            fflush(stdout);
        }
        printf("the first listing of the run (icons not yet looked up): %.3f s for %d entries\n", firstListing,
               counts.front());
        // The locale's order itself: keys made once against a comparison at every step.
        const std::string text = MakeListing(counts.back());
        struct TNoLinks : TLinkProber {
            void BeginProbes() override {}
            TLinkProbe ProbeSize(const std::string&) override { return {}; }
        } prober;
        std::vector<TListingEntry> rows = TListingParser::Parse(text);
        std::vector<TListingEntry> copy = rows;
        double t0 = Seconds();
        SortRemoteRows(copy, TLocaleCollation::Instance());
        double t1 = Seconds();
        copy = rows;
        const double t2 = Seconds();
        std::stable_sort(copy.begin(), copy.end(), [](const TListingEntry& a, const TListingEntry& b) {
            return RemoteRowLess(a, b, TLocaleCollation::Instance());
        });
        const double t3 = Seconds();
        printf("sorting %zu rows in the locale's order: %.3f s with sort keys, %.3f s comparing at every step\n",
               rows.size(), t1 - t0, t3 - t2);
        m.SetConnectedUI(false);
    }
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\QfRemoteListBench");
    RemoveDirectoryA(folder.c_str());
    return 0;
}
