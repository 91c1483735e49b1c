// The crawl procedure, driven pass by pass, over channels that serve a site
// described in the test and a real record database.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <thread>

#include "InfoDatabase.h"
#include "SearchCrawl.h"
#include "TestSupport.h"

namespace {

BStr W(const std::string& s) { return std::u16string(s.begin(), s.end()); }
std::string N(const BStr& s) { return s ? std::string(s->begin(), s->end()) : std::string(); }

// The crawl's view of the record database.
class Database : public CrawlDatabase {
public:
    explicit Database(InfoDatabase& db) : db_(db) {}
    long CreateCursor() override {
        long id;
        db_.CreateCursor(id);
        return id;
    }
    void DestroyCursor(long id) override { db_.DestroyCursor(id); }
    void NextRecord(long id) override { db_.NextRecord(id); }
    long TestCursor(long id) override {
        long r;
        db_.TestCursor(id, r);
        return r;
    }
    long FindRecord(const std::string& v) override {
        long id;
        db_.FindRecord(W(v), id);
        return id;
    }
    std::string Value(long id) override { return N(db_.get_Value(id)); }
    long Source(long id) override { return db_.get_Source(id); }
    long Level(long id) override { return db_.get_Level(id); }
    long Status(long id) override { return db_.get_Status(id); }
    void PutStatus(long id, long s) override { db_.put_Status(id, s); }
    long Type(long id) override { return db_.get_Type(id); }
    long Add(const std::string& v, const std::string& p, long level, long source, long type) override {
        long key;
        db_.Add(W(v), W(p), level, source, type, key);
        return key;
    }
    void AddValue(long id, const std::string& name, const std::string& depend, long type, long hidden,
                  const std::string& v, long valueId, long dependId) override {
        db_.AddValue(id, W(name), W(depend), type, hidden, W(v), valueId, dependId);
    }
    long GetValueCount(long id, const std::string& name) override {
        long n;
        db_.GetValueCount(id, W(name), n);
        return n;
    }
    void GetValue(long id, const std::string& name, long i, std::string& v, long& valueId, long& dependId) override {
        BStr b;
        db_.GetValue(id, W(name), i, b, valueId, dependId);
        v = N(b);
    }

private:
    InfoDatabase& db_;
};

// A channel over a site given as page -> links. A task of type 1 reports its
// links (mask "Link"); every task reports the connection and a size.
// Instantly: the task is done within StartTask. Otherwise it reads until the
// crawl next finds its queue empty, and only then queues its findings and
// turns idle, as a real channel may between the crawl's drain and its look
// at the channel's state.
class SiteChannel : public CrawlChannel {
public:
    SiteChannel(const std::map<std::string, std::vector<std::string>>& site, bool instant)
        : site_(site), instant_(instant) {}

    long StartTask(const std::string& name, const std::string& address, long type) override {
        if (refuse > 0) {
            --refuse;
            return 0;
        }
        if (status_) return 0;
        tasks.push_back(address);
        name_ = name;
        type_ = type;
        status_ = 3;
        if (instant_) Complete();
        return 1;
    }
    long TaskStatus() override { return status_; }
    bool GetResult(InfoResult& r) override {
        if (queue_.empty()) {
            if (status_ && !instant_) Complete();
            return false;
        }
        r = queue_.front();
        queue_.pop_front();
        return true;
    }
    void Queue(const std::string& property, const std::string& value, long id = 0, long dependId = -1,
               const std::string& depend = "") {
        InfoResult r;
        r.TaskName = name_;
        r.PropertyName = property;
        r.DependName = depend;
        r.Value = value;
        r.ResultID = id;
        r.DependID = dependId;
        queue_.push_back(r);
    }

    std::vector<std::string> tasks;
    int refuse = 0;
    std::function<void(SiteChannel&, const std::string& page)> extra;  // more findings of a page
    std::function<std::vector<std::string>(const std::string& page)> endless;  // every page exists, with these links

private:
    void Complete() {
        auto it = site_.find(name_);
        const bool there = it != site_.end() || endless;
        Queue("Connect status", there ? "true" : "false");
        if (there) {
            if (type_ == 1) {
                long id = 0;
                for (const std::string& l : endless ? endless(name_) : it->second) Queue("Link", l, id++);
                if (extra) extra(*this, name_);
            }
            Queue("Document Size", "100");
        }
        status_ = 0;
    }

    const std::map<std::string, std::vector<std::string>>& site_;
    bool instant_;
    long status_ = 0;
    std::string name_;
    long type_ = 0;
    std::deque<InfoResult> queue_;
};

struct Peers : CrawlPeers {};

struct Rec {
    std::string value;
    long level, status;
    std::vector<std::string> parents;
};

class SearchCrawlTest : public ::testing::Test {
protected:
    void SetUp() override {
        long r;
        db.Create(r);
        crawl.Reset();
        crawl.IdleInterval = 0;
        crawl.BusyInterval = 0;
        for (const char* p : {"file://", "http://", "ftp://", "gopher://", "mailto:"}) crawl.Protocols.AddProtocol(p);
        crawl.AddMask("Link", "\\w-<a href=\"\\w+\\*\\w-\"", "", 1, 0, 0, -1, 0, 0);
    }

    void AddChannels(int n, bool instant = true) {
        for (int i = 0; i < n; ++i) channels.emplace_back(new SiteChannel(site, instant));
    }

    // Starts at address and runs passes until the run is over.
    void Crawl(const std::string& address) {
        if (channels.empty()) AddChannels(2);
        ASSERT_TRUE(crawl.Begin(address, [this] {
            std::unique_ptr<CrawlPeers> p(new Peers);
            for (auto& c : channels) p->Channels.push_back(c.get());
            p->Database = &view;
            return p;
        }));
        for (int i = 0; i < 100000 && crawl.Status() != 0; ++i) crawl.Pass();
        ASSERT_EQ(crawl.Status(), 0);
    }

    std::vector<Rec> Records() {
        std::vector<Rec> v;
        long c;
        db.CreateCursor(c);
        for (long ok; db.TestCursor(c, ok), ok; db.NextRecord(c)) {
            Rec r{N(db.get_Value(c)), db.get_Level(c), db.get_Status(c), {}};
            long n;
            db.GetValueCount(c, W("Parent"), n);
            for (long i = 0; i < n; ++i) {
                BStr p;
                long id, dep;
                db.GetValue(c, W("Parent"), i, p, id, dep);
                r.parents.push_back(N(p));
            }
            v.push_back(r);
        }
        db.DestroyCursor(c);
        return v;
    }

    std::string Text(const std::string& record, const std::string& property, long i = 0) {
        long c, n;
        db.FindRecord(W(record), c);
        if (c == InfoDatabase::kNone) return "<no record>";
        db.GetValueCount(c, W(property), n);
        BStr v;
        long id, dep;
        db.GetValue(c, W(property), i, v, id, dep);
        db.DestroyCursor(c);
        return i < n ? N(v) : "<none>";
    }

    std::map<std::string, std::vector<std::string>> site;
    std::vector<std::unique_ptr<SiteChannel>> channels;
    InfoDatabase db;
    Database view{db};
    SearchCrawl crawl;
};

using Parents = std::vector<std::string>;

}  // namespace

// Levels, parents, a cycle back to the start, a missing page.
TEST_F(SearchCrawlTest, CrawlsASite) {
    site["http://h/"] = {"http://h/a.htm", "http://h/b.htm"};
    site["http://h/a.htm"] = {"http://h/b.htm", "http://h/gone.htm"};
    site["http://h/b.htm"] = {"http://h/"};
    Crawl("http://h/");
    std::vector<Rec> r = Records();
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0].value, "http://h/");
    EXPECT_EQ(r[0].level, 0);
    EXPECT_EQ(r[0].parents, (Parents{"http://h/b.htm"}));
    EXPECT_EQ(r[1].value, "http://h/a.htm");
    EXPECT_EQ(r[1].level, 1);
    EXPECT_EQ(r[1].parents, (Parents{"http://h/"}));
    EXPECT_EQ(r[2].value, "http://h/b.htm");
    EXPECT_EQ(r[2].level, 1);
    EXPECT_EQ(r[2].parents, (Parents{"http://h/", "http://h/a.htm"}));
    EXPECT_EQ(r[3].value, "http://h/gone.htm");
    EXPECT_EQ(r[3].level, 2);
    for (const Rec& x : r) EXPECT_EQ(x.status, 1) << x.value;
    EXPECT_EQ(Text("http://h/", "Address"), "http://h/");
    EXPECT_EQ(Text("http://h/", "Display"), "");
    EXPECT_EQ(Text("http://h/a.htm", "Display"), "a.htm");
    EXPECT_EQ(Text("http://h/a.htm", "Connect status"), "true");
    EXPECT_EQ(Text("http://h/gone.htm", "Connect status"), "false");
    EXPECT_EQ(Text("http://h/gone.htm", "Document Size"), "<none>");
    EXPECT_EQ(Text("http://h/a.htm", "Document Size"), "100");
    EXPECT_EQ(Text("http://h/", "Link", 1), "http://h/b.htm");
    EXPECT_EQ(crawl.FoundCount(), 4);
}

// The start address is made full with the protocol list and normalised.
TEST_F(SearchCrawlTest, StartAddressIsNormalised) {
    site["http://h/a.htm"] = {};
    Crawl("http://h/x/../a.htm");
    ASSERT_EQ(Records().size(), 1u);
    EXPECT_EQ(Records()[0].value, "http://h/a.htm");
}

// A merged run: the start record is there already and is crawled again.
TEST_F(SearchCrawlTest, StartAddressAlreadyInTheDatabase) {
    site["http://h/"] = {"http://h/a.htm"};
    site["http://h/a.htm"] = {};
    Crawl("http://h/");
    Crawl("http://h/");
    std::vector<Rec> r = Records();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(Text("http://h/", "Address", 1), "<none>");
    EXPECT_EQ(channels[0]->tasks.front(), "http://h/");
    size_t starts = 0;
    for (auto& c : channels)
        for (auto& t : c->tasks) starts += t == "http://h/";
    EXPECT_EQ(starts, 2u);
    // The known link got one more parent.
    EXPECT_EQ(r[1].parents, (Parents{"http://h/", "http://h/"}));
}

// While no channel takes the start address the crawl keeps offering it,
// but it is one record found, not one per offer.
TEST_F(SearchCrawlTest, StartAddressCountedOnce) {
    site["http://h/"] = {"http://h/a.htm", "http://h/b.htm", "http://h/c.htm"};
    AddChannels(1);
    channels[0]->refuse = 5;
    crawl.MaxFound = 1;
    Crawl("http://h/");
    std::vector<Rec> r = Records();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[1].value, "http://h/a.htm");
}

TEST_F(SearchCrawlTest, MaxLevel) {
    site["http://h/"] = {"http://h/a.htm"};
    site["http://h/a.htm"] = {"http://h/b.htm"};
    site["http://h/b.htm"] = {"http://h/c.htm"};
    struct Case {
        long maxLevel;
        size_t records, started;
    };
    for (Case k : {Case{0, 2, 1}, Case{1, 3, 2}, Case{-1, 4, 4}}) {
        db.Empty();
        channels.clear();
        crawl.MaxLevel = k.maxLevel;
        Crawl("http://h/");
        std::vector<Rec> recs = Records();
        ASSERT_EQ(recs.size(), k.records) << "MaxLevel " << k.maxLevel;
        size_t started = 0;
        for (const Rec& x : recs) started += x.status == 1;
        EXPECT_EQ(started, k.started) << "MaxLevel " << k.maxLevel;
        EXPECT_EQ(recs.back().level, static_cast<long>(k.records) - 1);
    }
}

// Links are taken while the found count is within MaxFound; the run ends
// at the next level once it is exceeded.
TEST_F(SearchCrawlTest, MaxFound) {
    site["http://h/"] = {"http://h/1", "http://h/2", "http://h/3", "http://h/4"};
    site["http://h/1"] = {"http://h/5"};
    crawl.MaxFound = 2;
    Crawl("http://h/");
    std::vector<Rec> r = Records();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[2].value, "http://h/2");
    EXPECT_EQ(r[1].status, 0);  // the run ended before level 1
}

TEST_F(SearchCrawlTest, ExternalLinks) {
    site["http://Host:8/"] = {"http://host:8/a", "http://other:8/b", "mailto:x@host", "http://host:9/c"};
    crawl.ProcessExternalLinks = 0;
    Crawl("http://Host:8/");
    std::vector<Rec> r = Records();
    ASSERT_EQ(r.size(), 2u);  // the host compared without letter case; mailto: has no host
    EXPECT_EQ(r[1].value, "http://host:8/a");
    db.Empty();
    crawl.ProcessExternalLinks = 1;
    Crawl("http://Host:8/");
    EXPECT_EQ(Records().size(), 5u);
    EXPECT_EQ(Text("mailto:x@host", "Display"), "mailto:x@host");
    EXPECT_EQ(Text("mailto:x@host", "Connect status"), "false");
}

// Eleven level advances end a run even when every level yielded records:
// levels 0 to 10 are crawled, the links of level 10 are recorded unstarted.
TEST_F(SearchCrawlTest, ElevenLevelAdvancesEndARun) {
    const int depth = 25;
    for (int i = 0; i < depth; ++i) site["http://h/" + std::to_string(i)] = {"http://h/" + std::to_string(i + 1)};
    Crawl("http://h/0");
    std::vector<Rec> r = Records();
    ASSERT_EQ(r.size(), static_cast<size_t>(SearchCrawl::kLevelAdvanceLimit + 2));
    for (size_t i = 0; i < r.size(); ++i) {
        EXPECT_EQ(r[i].level, static_cast<long>(i));
        EXPECT_EQ(r[i].status, i <= SearchCrawl::kLevelAdvanceLimit ? 1 : 0) << r[i].value;
    }
    EXPECT_EQ(crawl.CurrentLevel(), SearchCrawl::kLevelAdvanceLimit + 1);
    // The counter starts again with the next run.
    db.Empty();
    Crawl("http://h/5");
    EXPECT_EQ(Records().size(), static_cast<size_t>(SearchCrawl::kLevelAdvanceLimit + 2));
}

// A site of endless unique links (/p/1 -> /p/2 -> ...) with no MaxLevel
// still ends.
TEST_F(SearchCrawlTest, EndlessUniqueLinksEnd) {
    AddChannels(2);
    for (auto& c : channels)
        c->endless = [](const std::string& page) {
            long n = std::stol(page.substr(page.rfind('/') + 1));
            return std::vector<std::string>{"http://h/p/" + std::to_string(n + 1), "http://h/p/" + std::to_string(n + 2)};
        };
    Crawl("http://h/p/0");
    EXPECT_EQ(crawl.Status(), 0);
    EXPECT_EQ(crawl.CurrentLevel(), SearchCrawl::kLevelAdvanceLimit + 1);
}

// A channel may queue its last findings just after the crawl drained it and
// then turn idle: its links still get the level below its document.
TEST_F(SearchCrawlTest, LateFindingsKeepTheirLevel) {
    site["http://h/"] = {"http://h/a"};
    site["http://h/a"] = {"http://h/b"};
    site["http://h/b"] = {};
    AddChannels(1, false);
    Crawl("http://h/");
    std::vector<Rec> r = Records();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[1].level, 1);
    EXPECT_EQ(r[2].level, 2);
    EXPECT_EQ(r[2].status, 1);
}

TEST_F(SearchCrawlTest, StopEndsTheRunOnceChannelsAreIdle) {
    site["http://h/"] = {"http://h/a", "http://h/b"};
    AddChannels(1, false);
    ASSERT_TRUE(crawl.Begin("http://h/", [this] {
        std::unique_ptr<CrawlPeers> p(new Peers);
        p->Channels.push_back(channels[0].get());
        p->Database = &view;
        return p;
    }));
    crawl.Pass();
    ASSERT_EQ(crawl.Status(), 3);
    crawl.Stop();
    for (int i = 0; i < 100 && crawl.Status() != 0; ++i) crawl.Pass();
    EXPECT_EQ(crawl.Status(), 0);
    EXPECT_EQ(channels[0]->tasks.size(), 1u);
    EXPECT_TRUE(crawl.CanBegin());
}

TEST_F(SearchCrawlTest, BeginRefusedWhileARunIsOnOrAfterTheThreadEnded) {
    site["http://h/"] = {};
    AddChannels(1, false);
    auto source = [this] {
        std::unique_ptr<CrawlPeers> p(new Peers);
        p->Channels.push_back(channels[0].get());
        p->Database = &view;
        return p;
    };
    ASSERT_TRUE(crawl.Begin("http://h/", source));
    EXPECT_FALSE(crawl.Begin("http://h/", source));
    crawl.Pass();
    EXPECT_FALSE(crawl.Begin("http://h/", source));
    for (int i = 0; i < 100 && crawl.Status() != 0; ++i) crawl.Pass();
    crawl.RequestExit();
    std::thread t([&] { crawl.RunSearch(); });
    t.join();
    EXPECT_EQ(crawl.ThreadState(), 0);
    EXPECT_FALSE(crawl.Begin("http://h/", source));
    EXPECT_EQ(crawl.Status(), 0);
}

// Peers that cannot be reached end the run at once.
TEST_F(SearchCrawlTest, UnreachablePeersEndTheRun) {
    ASSERT_TRUE(crawl.Begin("http://h/", [] { return std::unique_ptr<CrawlPeers>(); }));
    crawl.Pass();
    EXPECT_EQ(crawl.Status(), 4);
    crawl.Pass();
    EXPECT_EQ(crawl.Status(), 0);
}

// Records read from a search file keep their keys, which the database's own
// counter may give again: the crawl's new records still get their values.
TEST_F(SearchCrawlTest, RepeatedKeysAfterOpeningASearchFile) {
    qftest::TempDir dir;
    {
        InfoDatabase old;
        long r, key;
        old.Create(r);
        old.Add(W("http://h/old"), W(""), 0, -1, 1, key);
        ASSERT_EQ(key, 0);
        old.Save(W(dir.File("s.search")), W(""), r);
        ASSERT_EQ(r, 1);
    }
    BStr user;
    long r;
    db.Open(W(dir.File("s.search")), user, r);
    ASSERT_EQ(r, 1);
    site["http://h/"] = {"http://h/a"};
    Crawl("http://h/");
    EXPECT_EQ(Text("http://h/", "Address"), "http://h/");
    EXPECT_EQ(Text("http://h/a", "Address"), "http://h/a");
    EXPECT_EQ(Text("http://h/old", "Address"), "<none>");
}

// Findings that depend on a link also go to the link's own record, once,
// however many values the link mask has; empty findings are dropped.
TEST_F(SearchCrawlTest, FindingsOfLinksGoToTheirRecords) {
    crawl.AddMask("Link", "\\w-<area href=\"\\w+\\*\\w-\"", "", 1, 0, 0, -1, 0, 0);  // a second value
    crawl.AddMask("Label", "\\*", "Link", 0, 2, 0, -1, 0, 1);
    site["http://h/"] = {"http://h/a", "http://h/b"};
    AddChannels(1);
    channels[0]->extra = [](SiteChannel& c, const std::string& page) {
        if (page != "http://h/") return;
        c.Queue("Label", "about b", 0, 1, "Link");
        c.Queue("Label", "", 1, 0, "Link");
    };
    Crawl("http://h/");
    EXPECT_EQ(Text("http://h/b", "Link-Label"), "about b");
    EXPECT_EQ(Text("http://h/b", "Link-Label", 1), "<none>");
    EXPECT_EQ(Text("http://h/a", "Link-Label"), "<none>");
    EXPECT_EQ(Text("http://h/", "Label"), "about b");
    long c, flags;
    db.FindRecord(W("http://h/"), c);
    flags = db.get_PropertyFlags(c, W("Label"));
    EXPECT_EQ(flags, 1);  // the mask's Hidden
    EXPECT_EQ(db.get_PropertyType(c, W("Connect status")), -1);
    db.DestroyCursor(c);
}

// Every cursor the crawl made is gone when the run is over.
TEST_F(SearchCrawlTest, CursorsAreReleased) {
    site["http://h/"] = {"http://h/a", "http://h/b"};
    site["http://h/a"] = {"http://h/c"};
    Crawl("http://h/");
    long c;
    db.CreateCursor(c);
    EXPECT_EQ(c, 0);
    db.DestroyCursor(c);
}
