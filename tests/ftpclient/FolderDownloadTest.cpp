#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "ftpclient/core/FolderDownload.h"

namespace {

// A remote tree held as listings by absolute folder path; links are folders
// whose CWD lands on the folder their target names.
class FakeServer : public TFolderDownloadSite {
public:
    std::map<std::string, std::string> listings;  // folder -> LIST text
    std::map<std::string, std::string> links;     // folder path -> where CWD lands
    std::string cwd = "/";
    bool givesPwd = true;
    int abortAfterDownloads = -1;  // the user aborts once, after this many files
    std::vector<std::string> log;

    static std::string Join(const std::string& a, const std::string& b) { return a == "/" ? "/" + b : a + "/" + b; }

    bool EnterFolder(const std::string& name, std::string& folder) override {
        std::string target = Join(cwd, name);
        auto l = links.find(target);
        if (l != links.end()) target = l->second;
        Command();
        log.push_back("CWD " + name);
        if (!connected || !listings.count(target)) return false;
        cwd = target;
        folder = givesPwd ? cwd : "";
        return true;
    }
    void LeaveFolder(const std::string& parent) override {
        Command();
        log.push_back("LEAVE " + parent);
        if (!parent.empty()) cwd = parent;
        else cwd = cwd.substr(0, cwd.rfind('/')).empty() ? "/" : cwd.substr(0, cwd.rfind('/'));
    }
    std::set<std::string> unlistable;  // folders that CWD enters but LIST refuses (550, 425)
    int dropAfterCommands = -1;        // the session is lost after this many commands
    int commands = 0;
    std::vector<std::string> lists;  // the folders listed, in order
    bool connected = true;
    void Command() {
        EXPECT_TRUE(connected) << "a command after the session was lost";
        if (dropAfterCommands >= 0 && ++commands > dropAfterCommands) connected = false;
    }
    bool ListFolder(std::vector<TListingEntry>& rows) override {
        Command();
        lists.push_back(cwd);
        if (!connected || unlistable.count(cwd)) return false;
        rows = TListingParser::Parse(listings[cwd]);
        return true;
    }
    bool Connected() override { return connected; }
    void CreateLocalFolder(const std::string& path) override { log.push_back("MKDIR " + path); }
    void QueueDownload(const std::string& local, int64_t size, const std::string& name,
                       const std::string& remote) override {
        Command();
        log.push_back("GET " + remote + "/" + name + " -> " + local + " " + std::to_string(size));
        if (abortAfterDownloads > 0 && --abortAfterDownloads == 0) abortPending = true;
    }
    bool AbortRequested() override {
        // Queueing clears the window's flag: it is seen once only.
        bool a = abortPending;
        abortPending = false;
        return a;
    }
    void Skipped(const std::string& message) override { log.push_back("SKIP " + message); }

    bool abortPending = false;
};

std::string Dir(const char* name) { return std::string("drwxr-xr-x 2 u g 4096 Jan 1 12:00 ") + name + "\n"; }
std::string File(const char* name, const char* size) {
    return std::string("-rw-r--r-- 1 u g ") + size + " Jan 1 12:00 " + name + "\n";
}

}  // namespace

TEST(FolderDownload, SnapshotSkipsDotRows) {
    auto rows = TListingParser::Parse(Dir(".") + Dir("..") + Dir("sub") + File("a b.txt", "5368709243"));
    auto snap = SnapshotRows(rows);
    ASSERT_EQ(snap.size(), 2u);
    EXPECT_EQ(snap[0].Name, "sub");
    EXPECT_TRUE(snap[0].IsFolder);
    EXPECT_EQ(snap[1].Name, "a b.txt");
    EXPECT_EQ(snap[1].Size, 5368709243LL);
    EXPECT_FALSE(snap[1].IsFolder);
}

TEST(FolderDownload, TwoLevelsWithAnEmptyFolder) {
    FakeServer s;
    s.listings["/"] = Dir("top");
    s.listings["/top"] = Dir(".") + Dir("..") + File("a.txt", "3") + Dir("empty") + Dir("sub");
    s.listings["/top/empty"] = Dir(".") + Dir("..");
    s.listings["/top/sub"] = File("b.bin", "7");
    TFolderDownload d(s);
    d.Run("C:\\dl\\top", "/", "top", "/");
    EXPECT_EQ(s.log, (std::vector<std::string>{
                         "MKDIR C:\\dl\\top", "CWD top",
                         "GET /top/a.txt -> C:\\dl\\top\\a.txt 3",
                         "MKDIR C:\\dl\\top\\empty", "CWD empty", "LEAVE /top",
                         "MKDIR C:\\dl\\top\\sub", "CWD sub",
                         "GET /top/sub/b.bin -> C:\\dl\\top\\sub\\b.bin 7", "LEAVE /top",
                         "LEAVE /"}));
    EXPECT_EQ(s.cwd, "/");
}

TEST(FolderDownload, FailedCwdSkipsTheFolderAndStaysPut) {
    FakeServer s;
    s.listings["/"] = Dir("top");
    s.listings["/top"] = Dir("locked") + File("a", "1");
    TFolderDownload d(s);
    d.Run("L", "", "top", "/");
    ASSERT_GE(s.log.size(), 4u);
    EXPECT_EQ(s.log[2], "MKDIR L\\locked");
    EXPECT_EQ(s.log[3], "CWD locked");
    EXPECT_EQ(s.log[4].rfind("SKIP ", 0), 0u);
    EXPECT_EQ(s.log[5], "GET /top/a -> L\\a 1");
    EXPECT_EQ(s.cwd, "/");
}

TEST(FolderDownload, LinksBackUpTheTreeEnd) {
    FakeServer s;
    s.listings["/"] = Dir("top");
    s.listings["/top"] = Dir("self") + Dir("up") + File("a", "1");
    s.links["/top/self"] = "/top";
    s.links["/top/up"] = "/";
    TFolderDownload d(s);
    d.Run("L", "", "top", "/");
    int gets = 0, skips = 0;
    for (auto& l : s.log) {
        gets += l.rfind("GET ", 0) == 0;
        skips += l.rfind("SKIP ", 0) == 0;
    }
    EXPECT_EQ(gets, 1);
    EXPECT_EQ(skips, 2);
    EXPECT_EQ(s.cwd, "/");
}

TEST(FolderDownload, DepthLimitWhenTheServerGivesNoFolderNames) {
    FakeServer s;
    s.givesPwd = false;
    s.listings["/"] = Dir("top");
    s.listings["/top"] = Dir("loop");
    s.links["/top/loop"] = "/top";
    TFolderDownload d(s);
    d.Run("L", "", "top");
    int enters = 0;
    for (auto& l : s.log) enters += l.rfind("CWD ", 0) == 0;
    EXPECT_EQ(enters, TFolderDownload::MaxDepth);
    EXPECT_EQ(s.log.back(), "LEAVE ");
}

TEST(FolderDownload, OneAbortStopsEveryLevel) {
    FakeServer s;
    s.listings["/"] = Dir("top");
    s.listings["/top"] = Dir("sub") + File("after1", "1") + File("after2", "1");
    s.listings["/top/sub"] = File("x", "1") + File("y", "1");
    s.abortAfterDownloads = 1;
    TFolderDownload d(s);
    d.Run("L", "", "top", "/");
    int gets = 0;
    for (auto& l : s.log) gets += l.rfind("GET ", 0) == 0;
    EXPECT_EQ(gets, 1);
    EXPECT_TRUE(d.Cancelled());
    EXPECT_EQ(s.cwd, "/");
}

TEST(FolderDownload, NamesThatWouldLeaveTheLocalFolderAreRefused) {
    FakeServer s;
    s.listings["/"] = Dir("top");
    s.listings["/top"] = File("..\\..\\evil.dll", "1") + File("a:b", "1") + File("ok", "1");
    TFolderDownload d(s);
    d.Run("L", "", "top", "/");
    int gets = 0, skips = 0;
    for (auto& l : s.log) {
        gets += l.rfind("GET ", 0) == 0;
        skips += l.rfind("SKIP ", 0) == 0;
    }
    EXPECT_EQ(gets, 1);
    EXPECT_EQ(skips, 2);

    FakeServer t;
    TFolderDownload top(t);
    top.Run("L", "", "..\\x");
    ASSERT_EQ(t.log.size(), 1u);
    EXPECT_EQ(t.log[0].rfind("SKIP ", 0), 0u);
}

// A folder the server lets the walk enter but not list (550, or 425 for a
// data connection that failed): the list still shows the parent's rows, and
// none of them may be fetched into the child's local folder.
TEST(FolderDownload, FolderWhoseListingFailedIsSkipped) {
    FakeServer s;
    s.listings["/"] = Dir("top");
    s.listings["/top"] = File("a.txt", "3") + Dir("locked") + File("b.txt", "4");
    s.listings["/top/locked"] = File("secret", "9");
    s.unlistable = {"/top/locked"};
    TFolderDownload d(s);
    d.Run("L", "", "top", "/");
    EXPECT_EQ(s.log, (std::vector<std::string>{
                         "MKDIR L", "CWD top", "GET /top/a.txt -> L\\a.txt 3",
                         "MKDIR L\\locked", "CWD locked",
                         "SKIP Could not list the folder \"/top/locked\"; it was skipped.", "LEAVE /top",
                         "GET /top/b.txt -> L\\b.txt 4", "LEAVE /"}));
    EXPECT_FALSE(d.Cancelled());
    EXPECT_EQ(s.cwd, "/");

    // The top folder itself unlisted: nothing at all is fetched.
    FakeServer t;
    t.listings["/"] = Dir("top");
    t.listings["/top"] = File("a.txt", "3");
    t.unlistable = {"/top"};
    TFolderDownload top(t);
    top.Run("L", "", "top", "/");
    for (auto& l : t.log) EXPECT_NE(l.rfind("GET ", 0), 0u) << l;
    EXPECT_EQ(t.cwd, "/");
}

// Once the session is gone, every command would fail with its own message:
// the walk stops at every level and sends nothing more, not even the way back.
TEST(FolderDownload, LostSessionStopsTheWalkWithoutAnotherCommand) {
    for (int drop = 0; drop < 9; ++drop) {
        SCOPED_TRACE("lost after " + std::to_string(drop) + " commands");
        FakeServer s;
        s.listings["/"] = Dir("top");
        s.listings["/top"] = File("a", "1") + Dir("sub") + File("b", "1") + File("c", "1");
        s.listings["/top/sub"] = File("x", "1") + File("y", "1");
        s.dropAfterCommands = drop;
        TFolderDownload d(s);
        d.Run("L", "", "top", "/");
        EXPECT_TRUE(d.SessionLost());
        EXPECT_TRUE(d.Cancelled());
        EXPECT_EQ(s.commands, drop + 1);  // the one that found the line down, and no other
        for (auto& l : s.log) EXPECT_NE(l.rfind("SKIP ", 0), 0u) << l;
    }
}
