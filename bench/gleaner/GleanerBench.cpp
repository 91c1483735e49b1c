// Prints figures for the engine core: mask matching over a few MB of HTML
// (whole and in 512-byte portions), the built-in masks over pages of links
// left open (3,000 and more "<a href>" tags, one "</a>" at the end), Add +
// FindRecord of 100,000 records, and Save and Open of a 100,000-record search file.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "InfoDatabase.h"
#include "InfoDocument.h"
#include "InfoDownloader.h"
#include "InfoMetaprocessor.h"
#include "MaskProcessor.h"
#include "ProtocolList.h"
#include "masks/core/DefaultMasks.h"
#include "masks/core/InfoSearchCalls.h"
#include "masks/core/MaskCollection.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// Deterministic HTML that looks like pages of the kind a crawl meets.
std::string MakeHtml(size_t bytes) {
    std::string s = "<!DOCTYPE html>\n<html><head><meta charset=\"windows-1252\">\n"
                    "<title>Bench &amp; Co. catalogue</title>\n<script>var x = \"<a href='no'>\";</script>\n"
                    "<style>a { color: #036; }</style></head>\n<body>\n";
    unsigned seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u; };
    const char* words[] = {"engine", "search", "record", "portion", "mask", "value", "channel", "crawl",
                           "document", "address", "property", "&amp;", "&lt;b&gt;", "table", "level"};
    int n = 0;
    while (s.size() < bytes) {
        s += "<div class=\"item\"><h2>Item " + std::to_string(n) + "</h2>\n<p>";
        for (int w = 0; w < 30; ++w) {
            s += words[next() % 15];
            s += ' ';
        }
        s += "<a href=\"/catalogue/" + std::to_string(n) + "/page.htm?ref=" + std::to_string(next() % 1000) +
             "\">more</a> <a href=\"../other/" + std::to_string(n % 97) + ".htm\">other</a>";
        s += " <img src=\"img/p" + std::to_string(n) + ".gif\" alt=\"picture\"></p>\n";
        s += "<table><tr><td>" + std::to_string(next() % 10000) + "</td><td>price</td></tr></table></div>\n";
        ++n;
    }
    return s + "</body></html>\n";
}

class MemorySession : public InternetSession {
public:
    explicit MemorySession(const std::string* doc) : doc_(doc) {}
    std::unique_ptr<InternetConnection> OpenUrl(const std::string&, unsigned long) override {
        struct Conn : InternetConnection {
            const std::string* d;
            size_t at = 0;
            long Read(char* b, long size) override {
                size_t n = std::min(static_cast<size_t>(size), d->size() - at);
                d->copy(b, n, at);
                at += n;
                return static_cast<long>(n);
            }
        };
        auto c = new Conn;
        c->d = doc_;
        return std::unique_ptr<InternetConnection>(c);
    }

private:
    const std::string* doc_;
};

void AddMasks(MaskProcessor& p) {
    p.AddMask("Link", "\\w-<a href=\"\\w+\\*\\w-\"", "", 1, 0, 0, -1, 0, 0);
    p.AddMask("Page title", "\\w-<title>\\w+\\*\\w-<", "", 0, 0, 0, -1, 1, 0);
}

void BenchMasks() {
    const std::string html = MakeHtml(4 << 20);
    const double mb = html.size() / 1048576.0;
    ProtocolList protocols;
    for (const char* s : {"", "file://", "http://", "ftp://"}) protocols.AddProtocol(s);
    InfoMetaprocessor meta;
    meta.ParseTableText("BEGIN FORMAT HTML TEST_REGISTER TRUE &amp; & &lt; < &gt; > END");
    meta.SetDefaultFormatName("HTML");
    meta.SelectFormat("HTML");

    size_t results = 0;
    MaskProcessor proc;
    proc.Protocols = &protocols;
    proc.Metaprocessor = &meta;
    proc.OnResult = [&](const InfoResult&) { ++results; };
    AddMasks(proc);
    InfoDocument doc;
    doc.Begin(InfoAddress("http://bench.example/dir/index.htm", protocols.Entries()));
    doc.SetText(html);
    auto t = Clock::now();
    proc.ProcessMasks(doc);
    double s = Seconds(t);
    printf("mask matching, whole text:      %7.1f MB/s  (%.1f MB, %zu results, link and title masks)\n", mb / s, mb,
           results);

    // As a channel reads it: 512-byte portions, 512 bytes kept ahead.
    results = 0;
    InfoDownloader d([&html](const std::string&) { return std::unique_ptr<InternetSession>(new MemorySession(&html)); });
    d.Create(&protocols);
    d.PortionSize = 512;
    proc.PreloadSize = 512;
    proc.ResetMasks();
    InfoDocument grow;
    grow.Begin(InfoAddress("http://bench.example/dir/index.htm", protocols.Entries()));
    grow.Open(d);
    t = Clock::now();
    while (grow.Read() > 0) proc.ProcessMasks(grow);
    s = Seconds(t);
    grow.Close();
    printf("mask matching, 512-byte portions: %5.1f MB/s  (%zu results)\n", mb / s, results);
}

// The window's mask hand-over, received as a channel receives it.
class ToProcessor : public InfoSearchCalls {
public:
    explicit ToProcessor(MaskProcessor& p) : p_(p) {}
    int32_t Status() override { return 0; }
    void EmptyMasks() override { p_.EmptyMasks(); }
    void AddMask(const std::string& MaskName, const std::string& MaskValue, const std::string& DependOn,
                 int32_t MaskType, int32_t DependType, int32_t Priority, int32_t MaxFoundCount, int32_t CanCompile,
                 int32_t Hidden) override {
        p_.AddMask(MaskName, MaskValue, DependOn, MaskType, DependType, Priority, MaxFoundCount, CanCompile, Hidden);
    }

private:
    MaskProcessor& p_;
};

std::string UnclosedLinks(int count) {
    std::string page = "<html><head><title>Unclosed</title></head><body>\n";
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        page += "<a href=\"page" + n + ".htm\">Page " + n + " of many\n";
    }
    return page + "</a></body></html>\n";
}

// The built-in masks as a channel runs them (512-byte portions, 512 bytes
// kept ahead) over pages of links that are never closed.
void BenchUnclosedLinks() {
    ProtocolList protocols;
    for (const char* s : {"", "file://", "http://", "ftp://", "gopher://", "mailto:"}) protocols.AddProtocol(s);
    InfoMetaprocessor meta;
    meta.ParseTableText("BEGIN FORMAT HTML TEST_REGISTER TRUE &amp; & &lt; < &gt; > END");
    meta.SetDefaultFormatName("HTML");
    MaskProcessor proc;
    proc.Protocols = &protocols;
    proc.Metaprocessor = &meta;
    size_t links = 0;
    proc.OnResult = [&](const InfoResult& r) { links += r.PropertyName == "Link"; };
    MaskCollection masks;
    ToProcessor engine(proc);
    AddDefaultMasks(masks, engine);
    for (int count : {3000, 6000, 12000, 24000}) {
        const std::string html = UnclosedLinks(count);
        InfoDownloader d([&html](const std::string&) { return std::unique_ptr<InternetSession>(new MemorySession(&html)); });
        d.Create(&protocols);
        d.PortionSize = 512;
        proc.PreloadSize = 512;
        proc.ResetMasks();
        links = 0;
        InfoDocument doc;
        doc.Begin(InfoAddress("http://bench.example/dir/index.htm", protocols.Entries()));
        doc.Open(d);
        auto t = Clock::now();
        while (doc.Read() > 0) proc.ProcessMasks(doc);
        proc.ProcessMasks(doc);
        const double s = Seconds(t);
        doc.Close();
        printf("unclosed links, built-in masks: %5d links on %6.1f KB: %5zu found in %6.1f ms, %5.1f%% of the page's "
               "matching budget\n",
               count, html.size() / 1024.0, links, s * 1000, 100.0 * doc.StepsSpent() / doc.DocumentBudget());
    }
}

void BenchDatabase() {
    const int kRecords = 100000;
    std::vector<std::u16string> addresses;
    for (int i = 0; i < kRecords; ++i) {
        std::string a = "http://bench.example/catalogue/" + std::to_string(i * 7919 % 1000003) + "/page.htm";
        addresses.emplace_back(a.begin(), a.end());
    }
    InfoDatabase db;
    long r = 0;
    db.Create(r);
    auto t = Clock::now();
    for (int i = 0; i < kRecords; ++i) {
        long key = 0;
        db.Add(addresses[i], BStr(), i % 5, -1, 1, key);
    }
    double s = Seconds(t);
    printf("Add:        %10.0f records/s (%d records)\n", kRecords / s, kRecords);
    t = Clock::now();
    long hits = 0;
    for (int i = kRecords - 1; i >= 0; --i) {
        long c = 0;
        db.FindRecord(addresses[i], c);
        if (c != InfoDatabase::kNone) ++hits;
        db.DestroyCursor(c);
    }
    s = Seconds(t);
    printf("FindRecord: %10.0f records/s (%ld found)\n", kRecords / s, hits);

    // Give every record what a crawl gives it, then save and open.
    for (int i = 0; i < kRecords; ++i) {
        long c = 0;
        db.FindRecordByKey(i, c);
        db.AddValue(c, std::u16string(u"Address"), BStr(), 2, 0, addresses[i], 0, -1);
        db.AddValue(c, std::u16string(u"Display"), BStr(), 0, 1, std::u16string(u"page.htm"), 0, -1);
        db.AddValue(c, std::u16string(u"Parent"), BStr(), 2, 0, addresses[(i + 1) % kRecords], 0, -1);
        db.AddValue(c, std::u16string(u"Connect status"), BStr(), 0, 0, std::u16string(u"true"), 0, -1);
        db.DestroyCursor(c);
    }
    const char* tmp = getenv("TEMP");
    if (!tmp) tmp = getenv("TMPDIR");
    std::string path = std::string(tmp ? tmp : "/tmp") + "/gleaner_bench.search";
    std::u16string wpath(path.begin(), path.end());
    t = Clock::now();
    db.Save(wpath, std::u16string(u"bench"), r);
    s = Seconds(t);
    FILE* f = OpenFileU16(wpath, "rb");
    double mb = 0;
    if (f) {
        fseek(f, 0, SEEK_END);
        mb = ftell(f) / 1048576.0;
        fclose(f);
    }
    printf("Save:       %10.1f MB/s  (%.1f MB, result %ld)\n", mb / s, mb, r);
    InfoDatabase back;
    BStr user;
    t = Clock::now();
    back.Open(wpath, user, r);
    s = Seconds(t);
    printf("Open:       %10.1f MB/s  (%ld records, result %ld)\n", mb / s, back.Size(), r);
    remove(path.c_str());
}

}  // namespace

// With an argument, only that part runs: "masks", "unclosed" or "database".
int main(int argc, char** argv) {
    std::string only = argc > 1 ? argv[1] : "";
    if (only.empty() || only == "masks") BenchMasks();
    if (only.empty() || only == "unclosed") BenchUnclosedLinks();
    if (only.empty() || only == "database") BenchDatabase();
    return 0;
}
