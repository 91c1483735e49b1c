// The channel's task procedure, driven pass by pass (and on a thread of its
// own where threads matter), against documents served from memory.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#if defined(_WIN32)
#include <direct.h>
#include <process.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "ChannelTask.h"
#include "FakeSession.h"
#include "TestSupport.h"

namespace {

const char kLinkMask[] = "\\w-<a href=\"\\w+\\*\\w-\"";

struct Finding {
    std::string task, name, value;
    long id, dependId;
    bool operator==(const Finding& o) const {
        return task == o.task && name == o.name && value == o.value && id == o.id && dependId == o.dependId;
    }
};

std::ostream& operator<<(std::ostream& os, const Finding& f) {
    return os << "{" << f.task << ", " << f.name << ", " << f.value << ", " << f.id << ", " << f.dependId << "}";
}

class ChannelTaskTest : public ::testing::Test {
protected:
    void SetUp() override {
        site = std::make_shared<FakeSession::Shared>();
        task.reset(new ChannelTask(FakeSession::Factory(site)));
        ASSERT_EQ(task->Create(), 1);
        for (const char* p : {"file://", "http://", "ftp://"}) task->Protocols().AddProtocol(p);
        task->IdleInterval = 0;
        task->SetPortionSize(16);
        task->SetPreloadSize(32);  // no link of these pages is longer
    }

    // Runs passes until the task is idle again.
    void RunToIdle() {
        for (int i = 0; i < 10000 && task->TaskStatus() != 0; ++i) task->Pass();
        ASSERT_EQ(task->TaskStatus(), 0);
    }

    std::vector<Finding> Drain() {
        std::vector<Finding> v;
        InfoResult r;
        while (task->GetResult(r)) v.push_back(Finding{r.TaskName, r.PropertyName, r.Value, r.ResultID, r.DependID});
        return v;
    }

    std::shared_ptr<FakeSession::Shared> site;
    std::unique_ptr<ChannelTask> task;
};

}  // namespace

TEST_F(ChannelTaskTest, CreateSetsDefaults) {
    ChannelTask t;
    EXPECT_EQ(t.Destroy(), 0);
    EXPECT_EQ(t.Create(), 1);
    EXPECT_EQ(t.Create(), 0);
    EXPECT_EQ(t.Protocols().Entries(), (ProtocolStrings{""}));
    EXPECT_EQ(t.PortionSize(), 1024);
    EXPECT_EQ(t.FileMul(), 1);
    EXPECT_EQ(t.PreloadSize(), 0);
    EXPECT_EQ(t.AutoFresh(), 1);
    EXPECT_EQ(t.DefaultOperator(), "HTML");
    EXPECT_EQ(t.DefaultEncoding(), "default");
    EXPECT_EQ(t.TaskStatus(), 0);
    EXPECT_EQ(t.ThreadState(), 1);
    InfoResult r;
    EXPECT_FALSE(t.GetResult(r));
}

// An extracting task reports the connection, its link findings resolved
// against the task address, and the size; the second StartTask is refused.
TEST_F(ChannelTaskTest, ExtractingTask) {
    site->docs["http://h/dir/p.htm"] = "<a href=\"a.htm\"> text <a href=\"/b.htm\">";
    task->AddMask("Link", kLinkMask, "", 1, 0, 0, -1, 0, 0);
    ASSERT_EQ(task->StartTask("T", "http://h/dir/p.htm", 1), 1);
    EXPECT_EQ(task->StartTask("U", "http://h/other.htm", 1), 0);
    EXPECT_EQ(task->TaskAddress(), "http://h/dir/p.htm");
    RunToIdle();
    const std::string size = std::to_string(site->docs["http://h/dir/p.htm"].size());
    EXPECT_EQ(Drain(), (std::vector<Finding>{{"T", "Connect status", "true", 0, -1},
                                             {"T", "Link", "http://h/dir/a.htm", 0, -1},
                                             {"T", "Link", "http://h/b.htm", 1, -1},
                                             {"T", "Document Size", size, 0, -1}}));
    EXPECT_EQ(task->Traffic(), static_cast<long>(site->docs["http://h/dir/p.htm"].size()));
}

// Other task types are read and sized but not searched; a failed open says so.
TEST_F(ChannelTaskTest, OtherTypesAndFailedOpen) {
    site->docs["http://h/p.htm"] = "<a href=\"a.htm\">";
    task->AddMask("Link", kLinkMask, "", 1, 0, 0, -1, 0, 0);
    ASSERT_EQ(task->StartTask("T", "http://h/p.htm", 4), 1);
    RunToIdle();
    EXPECT_EQ(Drain(), (std::vector<Finding>{{"T", "Connect status", "true", 0, -1}, {"T", "Document Size", "16", 0, -1}}));
    ASSERT_EQ(task->StartTask("M", "http://h/missing.htm", 1), 1);
    RunToIdle();
    EXPECT_EQ(Drain(), (std::vector<Finding>{{"M", "Connect status", "false", 0, -1}}));
    EXPECT_EQ(task->HaveInternet(), 1);
}

// A document whose size is a whole number of portions, with a link in its
// last bytes: the masks see the end of the text.
TEST_F(ChannelTaskTest, LinkInTheLastBytesOfWholePortions) {
    std::string page = "<p>" + std::string(48, 'x') + "<a href=\"end.htm\">";
    page = std::string(80 - page.size(), ' ') + page;
    ASSERT_EQ(page.size() % 16, 0u);
    site->docs["http://h/p.htm"] = page;
    task->AddMask("Link", kLinkMask, "", 1, 0, 0, -1, 0, 0);
    for (long piece : {16L, 5L, 64L}) {
        site->piece = piece;
        ASSERT_EQ(task->StartTask("T", "http://h/p.htm", 1), 1);
        RunToIdle();
        std::vector<Finding> found = Drain();
        ASSERT_EQ(found.size(), 3u) << "piece " << piece;
        EXPECT_EQ(found[1], (Finding{"T", "Link", "http://h/end.htm", 0, -1}));
    }
}

TEST_F(ChannelTaskTest, AutoFreshOffReportsTheContent) {
    site->docs["http://h/p.htm"] = "all of it";
    task->SetAutoFresh(0);
    ASSERT_EQ(task->StartTask("T", "http://h/p.htm", 4), 1);
    RunToIdle();
    std::vector<Finding> found = Drain();
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[2], (Finding{"T", "Content", "all of it", 0, -1}));
}

// StopForceSemafor ends the reading at the next pass and keeps findings out.
TEST_F(ChannelTaskTest, StopForceSemaforEndsTheTask) {
    site->docs["http://h/p.htm"] = std::string(200, 'x') + "<a href=\"a.htm\">";
    task->AddMask("Link", kLinkMask, "", 1, 0, 0, -1, 0, 0);
    ASSERT_EQ(task->StartTask("T", "http://h/p.htm", 1), 1);
    while (task->TaskStatus() != 3) task->Pass();
    task->Pass();
    task->SetStopForceSemafor(1);
    RunToIdle();
    EXPECT_EQ(Drain(), (std::vector<Finding>{{"T", "Connect status", "true", 0, -1}}));
    // Reset empties what is queued.
    task->SetStopForceSemafor(0);
    ASSERT_EQ(task->StartTask("T", "http://h/p.htm", 4), 1);
    RunToIdle();
    task->Reset();
    InfoResult r;
    EXPECT_FALSE(task->GetResult(r));
}

TEST_F(ChannelTaskTest, MetaprocessorTable) {
    EXPECT_EQ(task->LoadMetaprocessorTable("tables/small.ftbl"), 1);
    EXPECT_EQ(task->LoadMetaprocessorTable("tables/missing.ftbl"), 0);
    EXPECT_EQ(task->LoadMetaprocessorTable(""), 1);
    // Matches of a compiled mask go through the table's default format.
    ASSERT_EQ(task->LoadMetaprocessorTable("tables/small.ftbl"), 1);
    task->SetDefaultOperator("Plain");
    site->docs["http://h/p.htm"] = "[a&amp;b]";
    task->AddMask("Text", "[\\*]", "", 0, 0, 0, -1, 1, 0);
    ASSERT_EQ(task->StartTask("T", "http://h/p.htm", 1), 1);
    RunToIdle();
    std::vector<Finding> found = Drain();
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[1].value, "[a&b]");
}

// The task thread queues findings while another thread takes them: none is
// lost or doubled, and they come in their order.
TEST_F(ChannelTaskTest, QueueSharedBetweenThreads) {
    std::string page;
    for (int i = 0; i < 3000; ++i) page += "<a href=\"p" + std::to_string(i) + "\">";
    site->docs["http://h/p.htm"] = page;
    task->SetPortionSize(64);
    task->AddMask("Link", kLinkMask, "", 1, 0, 0, -1, 0, 0);
    std::thread runner([&] { task->RunTask(); });
    std::vector<std::string> links;
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(task->StartTask("T", "http://h/p.htm", 1), 1);
        bool idle = false;
        while (!idle) {
            idle = task->TaskStatus() == 0;
            InfoResult r;
            while (task->GetResult(r))
                if (r.PropertyName == "Link") links.push_back(r.Value);
        }
    }
    task->Destroy();
    runner.join();
    ASSERT_EQ(links.size(), 9000u);
    for (size_t i = 0; i < links.size(); ++i) ASSERT_EQ(links[i], "http://h/p" + std::to_string(i % 3000)) << i;
    EXPECT_EQ(task->IsCreated(), 0);
    EXPECT_EQ(task->ThreadState(), 0);
}

namespace {

// A connection that hangs in Read until it is aborted.
class HangingSession : public InternetSession {
public:
    struct State {
        std::mutex m;
        std::condition_variable cv;
        bool aborted = false;
        std::atomic<bool> reading{false};
    };
    explicit HangingSession(std::shared_ptr<State> s) : s_(std::move(s)) {}
    std::unique_ptr<InternetConnection> OpenUrl(const std::string&, unsigned long) override {
        return std::unique_ptr<InternetConnection>(new Conn(s_));
    }

private:
    class Conn : public InternetConnection {
    public:
        explicit Conn(std::shared_ptr<State> s) : s_(std::move(s)) {}
        long Read(char*, long) override {
            s_->reading = true;
            std::unique_lock<std::mutex> l(s_->m);
            s_->cv.wait(l, [this] { return s_->aborted; });
            return -1;
        }
        void Abort() override {
            std::lock_guard<std::mutex> l(s_->m);
            s_->aborted = true;
            s_->cv.notify_all();
        }

    private:
        std::shared_ptr<State> s_;
    };
    std::shared_ptr<State> s_;
};

}  // namespace

// Destroy ends a task whose read hangs, and the thread then ends.
TEST(ChannelTaskThread, DestroyUnblocksAPendingRead) {
    auto state = std::make_shared<HangingSession::State>();
    ChannelTask task([state](const std::string&) { return std::unique_ptr<InternetSession>(new HangingSession(state)); });
    ASSERT_EQ(task.Create(), 1);
    task.Protocols().AddProtocol("http://");
    std::thread runner([&] { task.RunTask(); });
    ASSERT_EQ(task.StartTask("T", "http://h/p.htm", 1), 1);
    while (!state->reading) std::this_thread::yield();
    EXPECT_EQ(task.Destroy(), 1);
    runner.join();
    EXPECT_EQ(task.TaskStatus(), 0);
    EXPECT_EQ(task.IsCreated(), 0);
    // Created again, it works again.
    EXPECT_EQ(task.Create(), 1);
    EXPECT_EQ(task.Destroy(), 1);
}

TEST(ChannelTaskThread, SuspendParksTheThread) {
    ChannelTask task;
    ASSERT_EQ(task.Create(), 1);
    task.IdleInterval = 1;
    std::thread runner([&] { task.RunTask(); });
    task.OrderSuspend();
    while (task.ThreadState() != 2) std::this_thread::yield();
    task.Resume();
    while (task.ThreadState() != 1) std::this_thread::yield();
    task.Destroy();
    runner.join();
    EXPECT_EQ(task.ThreadState(), 0);
}

// A page from the network names a local canary file in every spelling of the
// file scheme: none of them becomes a finding, and nothing reads the canary,
// neither the channel nor the internet session.
TEST_F(ChannelTaskTest, NetworkPagesNeverLeadToLocalFiles) {
#if defined(_WIN32)
    const std::string folder = "canary-" + std::to_string(_getpid());
#else
    const std::string folder = "canary-" + std::to_string(getpid());
#endif
    const std::string rel = folder + "/secret.txt", relBack = folder + "\\secret.txt";
    qftest::TempDir dir;
    const std::string abs = qftest::HostPath(dir.File("secret.txt"));
    std::string absSlash = abs;
    for (char& c : absSlash)
        if (c == '\\') c = '/';
#if defined(_WIN32)
    _mkdir(folder.c_str());
#else
    mkdir(folder.c_str(), 0700);
#endif
    qftest::WriteFileBytes(rel, "CANARY");
    qftest::WriteFileBytes(dir.File("secret.txt"), "CANARY");
    const std::vector<std::string> spellings = {
        "file://" + rel, "File://" + rel, "FILE:\\\\" + relBack, "file:\\/\\/" + rel, "file:/\\" + rel,
        "file:\\\\" + abs, "file:/\\" + absSlash, "file:///" + absSlash, "file:/" + absSlash, "file:" + rel,
        "file:%2F" + rel, "fIlE:" + absSlash,
    };
    std::string page = "<a href=\"ok.htm\">";
    for (const std::string& s : spellings) page += "<a href=\"" + s + "\">";
    site->docs["http://h/p.htm"] = page;
    site->docs["http://h/ok.htm"] = "fine";
    task->SetAutoFresh(0);
    task->AddMask("Link", kLinkMask, "", 1, 0, 0, -1, 0, 0);
    ASSERT_EQ(task->StartTask("T", "http://h/p.htm", 1), 1);
    RunToIdle();
    std::vector<std::string> links;
    for (const Finding& f : Drain())
        if (f.name == "Link") links.push_back(f.value);
    EXPECT_EQ(links, (std::vector<std::string>{"http://h/ok.htm"}));
    // Whatever was let through, followed as the crawl would, reads no canary.
    for (const std::string& l : links) {
        ASSERT_EQ(task->StartTask(l, l, 1), 1);
        RunToIdle();
        for (const Finding& f : Drain()) EXPECT_EQ(f.value.find("CANARY"), std::string::npos) << l;
    }
    for (const std::string& o : site->opened) EXPECT_FALSE(IsFileScheme(o)) << o;
    remove(rel.c_str());
#if defined(_WIN32)
    _rmdir(folder.c_str());
#else
    rmdir(folder.c_str());
#endif
}

// Memory running out in the middle of a document (here: thrown by a read)
// fails that address: what was found stays, no "Document Size" is given,
// the task returns to idle and the channel takes the next address.
TEST_F(ChannelTaskTest, ExceptionInAPassFailsThatAddressOnly) {
    site->docs["http://h/huge.htm"] = "<a href=\"a.htm\">" + std::string(100, 'x');
    site->throwAt["http://h/huge.htm"] = 40;
    site->docs["http://h/next.htm"] = "<a href=\"b.htm\">";
    task->AddMask("Link", kLinkMask, "", 1, 0, 0, -1, 0, 0);
    task->SetPreloadSize(0);
    ASSERT_EQ(task->StartTask("T", "http://h/huge.htm", 1), 1);
    RunToIdle();
    EXPECT_EQ(Drain(), (std::vector<Finding>{{"T", "Connect status", "true", 0, -1},
                                             {"T", "Link", "http://h/a.htm", 0, -1}}));
    ASSERT_EQ(task->StartTask("N", "http://h/next.htm", 1), 1);
    RunToIdle();
    EXPECT_EQ(Drain(), (std::vector<Finding>{{"N", "Connect status", "true", 0, -1},
                                             {"N", "Link", "http://h/b.htm", 0, -1},
                                             {"N", "Document Size", "16", 0, -1}}));
}

// The same on the task's own thread: the thread lives on, Destroy ends it.
TEST(ChannelTaskThread, ExceptionInAPassKeepsTheThreadServing) {
    auto site = std::make_shared<FakeSession::Shared>();
    site->docs["http://h/huge.htm"] = std::string(100, 'x');
    site->throwAt["http://h/huge.htm"] = 10;
    site->docs["http://h/next.htm"] = "next";
    ChannelTask task(FakeSession::Factory(site));
    ASSERT_EQ(task.Create(), 1);
    task.Protocols().AddProtocol("http://");
    task.IdleInterval = 1;
    std::thread runner([&] { task.RunTask(); });
    ASSERT_EQ(task.StartTask("T", "http://h/huge.htm", 1), 1);
    while (task.TaskStatus() != 0) std::this_thread::yield();
    ASSERT_EQ(task.StartTask("N", "http://h/next.htm", 1), 1);
    while (task.TaskStatus() != 0) std::this_thread::yield();
    InfoResult r;
    std::string last;
    while (task.GetResult(r)) last = r.TaskName + " " + r.PropertyName + " " + r.Value;
    EXPECT_EQ(last, "N Document Size 4");
    EXPECT_EQ(task.Destroy(), 1);
    runner.join();
    EXPECT_EQ(task.ThreadState(), 0);
}

// A document that cannot grow fails its address; the values found in what
// was read are kept.
TEST_F(ChannelTaskTest, DocumentThatCannotGrowFailsItsAddress) {
    site->docs["http://h/endless.htm"] = "<a href=\"a.htm\">" + std::string(1000, 'x');
    task->AddMask("Link", kLinkMask, "", 1, 0, 0, -1, 0, 0);
    task->SetPreloadSize(0);
    task->SetMaxDocumentSize(200);
    ASSERT_EQ(task->StartTask("T", "http://h/endless.htm", 1), 1);
    RunToIdle();
    EXPECT_EQ(Drain(), (std::vector<Finding>{{"T", "Connect status", "true", 0, -1},
                                             {"T", "Link", "http://h/a.htm", 0, -1}}));
    site->docs["http://h/small.htm"] = "small";
    ASSERT_EQ(task->StartTask("S", "http://h/small.htm", 4), 1);
    RunToIdle();
    EXPECT_EQ(Drain().back(), (Finding{"S", "Document Size", "5", 0, -1}));
}

// A reply without a status line, or an error page, is a failed open.
TEST_F(ChannelTaskTest, ReplyWithoutStatusLineIsAFailedOpen) {
    struct Case {
        const char* address;
        long status;
        const char* connect;
    };
    const Case cases[] = {{"http://h/none.htm", 0, "false"},  {"http://h/404.htm", 404, "false"},
                          {"http://h/ok.htm", 200, "true"},   {"http://h/redir.htm", 302, "true"},
                          {"ftp://h/file.htm", -1, "true"}};
    for (const Case& c : cases) {
        site->docs[c.address] = "";
        site->status[c.address] = c.status;
        ASSERT_EQ(task->StartTask("T", c.address, 4), 1);
        RunToIdle();
        std::vector<Finding> f = Drain();
        ASSERT_FALSE(f.empty()) << c.address;
        EXPECT_EQ(f[0].value, c.connect) << c.address;
        EXPECT_EQ(f.size(), std::string(c.connect) == "true" ? 2u : 1u) << c.address;
    }
}

// The "Out of memory" box of a document that cannot grow is nobody's to
// answer in a server: Stop and Destroy end the task and the thread while it
// is open.
TEST(ChannelTaskThread, OpenQuestionDoesNotHoldStopOrDestroy) {
    auto site = std::make_shared<FakeSession::Shared>();
    site->docs["http://h/endless.htm"] = std::string(1000, 'x');
    ChannelTask task(FakeSession::Factory(site));
    ASSERT_EQ(task.Create(), 1);
    task.Protocols().AddProtocol("http://");
    task.IdleInterval = 1;
    task.SetPortionSize(64);
    task.SetMaxDocumentSize(100);
    std::atomic<int> asked{0};
    std::string text, caption;
    task.OnMessage = [&](const std::string& t, const std::string& c, const std::function<bool()>& stopped) {
        text = t;
        caption = c;
        ++asked;
        while (!stopped()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    std::thread runner([&] { task.RunTask(); });
    for (const char* how : {"stop", "destroy"}) {
        task.SetStopForceSemafor(0);
        const int before = asked;
        ASSERT_EQ(task.StartTask("T", "http://h/endless.htm", 1), 1) << how;
        while (asked == before) std::this_thread::yield();
        if (std::string(how) == "stop") task.SetStopForceSemafor(1);
        else task.Destroy();
        while (task.TaskStatus() != 0) std::this_thread::yield();
    }
    runner.join();
    EXPECT_EQ(text, "Out of memory");
    EXPECT_EQ(caption, "Thread error");
    EXPECT_EQ(task.ThreadState(), 0);
}
