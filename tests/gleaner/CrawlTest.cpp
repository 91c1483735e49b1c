// Crawls of the fixture site on the loopback HTTP server (and of an FTP
// folder), started and read back the way the search window does it.
#include <algorithm>
#include <cstdio>

#include "GleanerTest.h"
#include "TestSupport.h"

namespace {

using Parents = std::multiset<std::string>;
using Texts = std::vector<std::string>;

std::string P(const std::string& path) { return HttpBase() + path; }
std::string H(const std::string& path) { return HttpHostBase() + path; }
const char kMail[] = "mailto:someone@example.com";

std::string SizeOf(const std::string& page) { return std::to_string(ServedPage(page).size()); }

class CrawlTest : public GleanerTest {
protected:
    std::map<std::string, FoundRecord> Crawl(const std::string& start) {
        EXPECT_EQ(engine.Start(start), 1);
        EXPECT_TRUE(engine.WaitIdle());
        return engine.Records();
    }

    static std::vector<std::string> Keys(const std::map<std::string, FoundRecord>& m) {
        std::vector<std::string> k;
        for (auto& e : m) k.push_back(e.first);
        return k;
    }
    static std::vector<std::string> Sorted(std::vector<std::string> v) {
        std::sort(v.begin(), v.end());
        return v;
    }
};

}  // namespace

// Subfolders, "../" and "/" links, a cycle back to the start, a mail link,
// another host name, a missing page, a refused port, and a page whose only
// link sits in its last bytes (1024 bytes: two whole portions).
TEST_F(CrawlTest, FixtureSite) {
    engine.StartUp();
    ASSERT_EQ(ServedPage("tail.htm").size(), 1024u);
    auto r = Crawl(P("/index.htm"));
    const std::string refused = RefusedBase() + "/refused.htm";
    EXPECT_EQ(Keys(r), Sorted({P("/index.htm"), P("/dir/a.htm"), P("/top.htm"), kMail, H("/other.htm"),
                                P("/missing.htm"), refused, P("/tail.htm"), P("/dir/b.htm"), H("/deep.htm"),
                                P("/last.htm"), P("/dir/c.htm")}));
    struct Want {
        std::string address;
        long level;
        Parents parents;
        const char* connect;
        std::string size;
    };
    const std::string index = P("/index.htm");
    const Want wants[] = {
        {index, 0, {P("/dir/a.htm")}, "true", SizeOf("index.htm")},
        {P("/dir/a.htm"), 1, {index, P("/top.htm")}, "true", SizeOf("dir/a.htm")},
        {P("/top.htm"), 1, {index, P("/dir/b.htm")}, "true", SizeOf("top.htm")},
        {kMail, 1, {index}, "false", ""},
        {H("/other.htm"), 1, {index}, "true", SizeOf("other.htm")},
        {P("/missing.htm"), 1, {index}, "false", ""},
        {refused, 1, {index}, "false", ""},
        {P("/tail.htm"), 1, {index}, "true", "1024"},
        {P("/dir/b.htm"), 2, {P("/dir/a.htm")}, "true", SizeOf("dir/b.htm")},
        {H("/deep.htm"), 2, {H("/other.htm")}, "true", SizeOf("deep.htm")},
        {P("/last.htm"), 2, {P("/tail.htm")}, "true", SizeOf("last.htm")},
        {P("/dir/c.htm"), 3, {P("/dir/b.htm")}, "true", SizeOf("dir/c.htm")},
    };
    for (const Want& w : wants) {
        SCOPED_TRACE(w.address);
        const FoundRecord& f = r[w.address];
        EXPECT_EQ(f.Level, w.level);
        EXPECT_EQ(f.Status, 1);
        EXPECT_EQ(f.Address, Texts{w.address});
        std::string display = w.address.substr(w.address.find_last_of('/') + 1);
        if (w.address == kMail) display = kMail;
        EXPECT_EQ(f.Display, Texts{display});
        EXPECT_EQ(f.Parents(), w.parents);
        EXPECT_EQ(f.ConnectStatus, Texts{w.connect});
        EXPECT_EQ(f.DocumentSize, w.size.empty() ? Texts{} : Texts{w.size});
    }
    // The mask findings went to their records too.
    long c = engine.Database.Call("FindRecord", {P("/dir/a.htm")}).AsLong();
    EXPECT_EQ(ValuesOf(engine.Database, c, "Page title"), Texts{"A"});
    EXPECT_EQ(ValuesOf(engine.Database, c, "Link"), (Texts{index, P("/dir/b.htm")}));
    engine.Database.Call("DestroyCursor", {c});
}

TEST_F(CrawlTest, ExternalLinksOff) {
    engine.StartUp();
    engine.Search.Put("ProcessExternalLinks", {0L});
    EXPECT_EQ(engine.Search.Get("ProcessExternalLinks").AsLong(), 0);
    auto r = Crawl(P("/index.htm"));
    EXPECT_EQ(Keys(r), Sorted({P("/index.htm"), P("/dir/a.htm"), P("/top.htm"), P("/missing.htm"),
                                P("/tail.htm"), P("/dir/b.htm"), P("/last.htm"), P("/dir/c.htm")}));
}

// MaxLevel 0: the start page's links become records, none is read. MaxLevel
// 1: the next level is read and its links recorded unread.
TEST_F(CrawlTest, MaxLevel) {
    engine.StartUp();
    engine.Search.Put("MaxLevel", {0L});
    auto r = Crawl(P("/index.htm"));
    EXPECT_EQ(r.size(), 8u);
    for (auto& e : r) EXPECT_EQ(e.second.Status, e.second.Level == 0 ? 1 : 0) << e.first;
    for (auto& e : r) EXPECT_LE(e.second.Level, 1) << e.first;

    engine.Search.Put("MaxLevel", {1L});
    r = Crawl(P("/index.htm"));
    EXPECT_EQ(r.size(), 11u);
    EXPECT_EQ(r.count(P("/dir/c.htm")), 0u);
    for (auto& e : r) EXPECT_EQ(e.second.Status, e.second.Level <= 1 ? 1 : 0) << e.first;
    EXPECT_EQ(r[P("/dir/b.htm")].Level, 2);
}

// Links are taken while the found count is within MaxFound.
TEST_F(CrawlTest, MaxFound) {
    engine.StartUp();
    engine.Search.Put("MaxFound", {3L});
    auto r = Crawl(P("/index.htm"));
    EXPECT_EQ(Keys(r), Sorted({P("/index.htm"), P("/dir/a.htm"), P("/top.htm"), kMail}));
    EXPECT_EQ(r[P("/dir/a.htm")].Status, 0);
}

TEST_F(CrawlTest, FtpFolder) {
    engine.StartUp();
    const std::string base = FtpBase();
    auto r = Crawl(base + "/index.htm");
    EXPECT_EQ(Keys(r), Sorted({base + "/index.htm", base + "/sub/page.htm", base + "/missing.htm"}));
    // The open flags ask for ASCII transfer: LF arrives as CR LF.
    std::string page = qftest::ReadFileBytes("ftpsite/sub/page.htm");
    size_t crlf = page.size() + static_cast<size_t>(std::count(page.begin(), page.end(), '\n'));
    EXPECT_EQ(r[base + "/sub/page.htm"].DocumentSize, Texts{std::to_string(crlf)});
    EXPECT_EQ(r[base + "/sub/page.htm"].Level, 1);
    EXPECT_EQ(r[base + "/index.htm"].Parents(), Parents{base + "/sub/page.htm"});
    EXPECT_EQ(r[base + "/missing.htm"].ConnectStatus, Texts{"false"});
}

// A run's records saved with the window's user data, reopened in a new
// database object, and merged twice.
TEST_F(CrawlTest, SaveAndReopen) {
    engine.StartUp(3);
    auto crawled = Crawl(P("/index.htm"));
    qftest::TempDir dir;
    const std::string file = dir.File("run.search");
    EXPECT_EQ(engine.Database.Call("Save", {file, "state and masks"}).AsLong(), 1);

    Engine other;
    other.Database = TDispatchDriver::CreateObject("Gleaner.InfoDatabase");
    other.Database.Call("Create");
    std::string user;
    EXPECT_EQ(other.Database.Call("Open", {file, Out(user)}).AsLong(), 1);
    EXPECT_EQ(user, "state and masks");
    auto reopened = other.Records();
    ASSERT_EQ(Keys(reopened), Keys(crawled));
    for (auto& e : crawled) {
        SCOPED_TRACE(e.first);
        const FoundRecord& a = e.second;
        const FoundRecord& b = reopened[e.first];
        EXPECT_EQ(a.Level, b.Level);
        EXPECT_EQ(a.Status, b.Status);
        EXPECT_EQ(a.Address, b.Address);
        EXPECT_EQ(a.Parent, b.Parent);
        EXPECT_EQ(a.ConnectStatus, b.ConnectStatus);
        EXPECT_EQ(a.DocumentSize, b.DocumentSize);
    }
    EXPECT_EQ(other.Database.Call("AddFile", {file, Out(user)}).AsLong(), 1);
    EXPECT_EQ(other.Size(), 2 * static_cast<long>(crawled.size()));
    EXPECT_EQ(other.Database.Call("Open", {dir.File("none.search"), Out(user)}).AsLong(), 0);
    other.Close();
}

// A page of 3,000 links left open, with one "</a>" at the end (118 KB),
// under the built-in masks: every link is found and becomes a record (the
// start page's links only: MaxLevel 0).
TEST_F(CrawlTest, PageOfUnclosedLinks) {
    engine.StartUp();
    engine.ApplyBuiltInMasks();
    engine.Search.Put("MaxLevel", {0L});
    const DWORD start = GetTickCount();
    EXPECT_EQ(engine.Start(P("/hostile/unclosed.htm")), 1);
    ASSERT_TRUE(engine.WaitIdle(120000));
    const DWORD ms = GetTickCount() - start;
    EXPECT_EQ(engine.Size(), 3001);
    long c = engine.Database.Call("FindRecord", {P("/hostile/unclosed.htm")}).AsLong();
    const long links = engine.Database.Call("GetValueCount", {c, "Link"}).AsLong();
    printf("a page of %zu bytes with 3,000 links left open: %ld links, %ld records, crawled in %lu ms\n",
           ServedPage("hostile/unclosed.htm").size(), links, engine.Size(), static_cast<unsigned long>(ms));
    ASSERT_EQ(links, 3000);
    // Each link its own record (above), found in page order.
    for (long i : {0L, 1L, 1500L, 2999L}) {
        std::string value;
        long id = -1, dependId = 0;
        engine.Database.Call("GetValue", {c, "Link", i, Out(value), Out(id), Out(dependId)});
        EXPECT_EQ(value, P("/hostile/page" + std::to_string(i) + ".htm"));
        EXPECT_EQ(id, i);
    }
    EXPECT_EQ(ValuesOf(engine.Database, c, "Link Text"), Texts{"Page 2999 of many\n"});
    EXPECT_EQ(ValuesOf(engine.Database, c, "Page title"), Texts{"Unclosed"});
    engine.Database.Call("DestroyCursor", {c});
    c = engine.Database.Call("FindRecord", {P("/hostile/page2999.htm")}).AsLong();
    EXPECT_EQ(ValuesOf(engine.Database, c, "Parent"), Texts{P("/hostile/unclosed.htm")});
    engine.Database.Call("DestroyCursor", {c});
}

// Links of over 10,000 characters (a long path, a long query) are opened;
// one longer than the server takes in a request line fails alone.
TEST_F(CrawlTest, LongAddresses) {
    engine.StartUp();
    const std::string pad(10250, 'p');
    const std::string path = P("/echo/" + pad), query = P("/last.htm?q=" + pad),
                      tooLong = P("/echo/" + std::string(70000, 'p'));
    auto r = Crawl(P("/hostile/long.htm"));
    EXPECT_EQ(Keys(r), Sorted({P("/hostile/long.htm"), path, query, tooLong}));
    struct Want {
        const char* what;
        std::string address;
        const char* connect;
        std::string size;
    };
    const Want wants[] = {
        {"long path", path, "true", std::to_string(path.size() - HttpBase().size())},
        {"long query", query, "true", SizeOf("last.htm")},
        {"too long for the server", tooLong, "false", ""},
    };
    for (const Want& w : wants) {
        SCOPED_TRACE(w.what);
        const FoundRecord& f = r[w.address];
        EXPECT_EQ(f.Level, 1);
        EXPECT_EQ(f.Status, 1);
        EXPECT_EQ(f.ConnectStatus, Texts{w.connect});
        EXPECT_EQ(f.DocumentSize, w.size.empty() ? Texts{} : Texts{w.size});
    }
}
