// Downloads from a server that refuses part of what it is asked: folders it
// lets the user enter but not list, a LIST whose data connection fails, a
// session it ends half way; and remote names the platform would turn into
// other names. The window is driven as a user drives it.
#include <gtest/gtest.h>

#include <set>

#include "LocalFiles.h"
#include "MainWindowSupport.h"
#include "ScriptedModalRunner.h"
#include "ScriptedPrompter.h"
#include "runtime/Application.h"

using namespace qfclient;

namespace {

using FaultSession = ServerSession;

// The message boxes of the queue runner, answered with OK; their texts kept.
void ExpectMessages(TScriptedModalRunner& runner, int count, std::vector<std::string>& shown) {
    for (int i = 0; i < count; ++i)
        runner.Expect("frmMessage", [&shown](TForm& f) {
            shown.push_back(static_cast<TfrmMessage&>(f).lblDesc->Caption());
            ClickButton(static_cast<TfrmMessage&>(f).btnOk);
        });
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The names in a local folder.
std::set<std::string> NamesIn(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (strcmp(fd.cFileName, ".") != 0 && strcmp(fd.cFileName, "..") != 0) names.insert(fd.cFileName);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return names;
}

}  // namespace

// A folder the server lets the walk enter but not list (550), or whose LIST
// fails for want of a data connection (425), is skipped: the list still
// shows the parent's rows, and none of them is fetched into the child's
// local folder, so files of those names there keep their bytes.
TEST(FaultServer, FolderWhoseListingFailsIsSkippedAndLocalFilesKeepTheirBytes) {
    const Server s = FaultFtpd();
    CreateDirectoryA(ServerFile(s, "tree").c_str(), nullptr);
    PutServerFile(s, "tree\\one.txt", "one");
    PutServerFile(s, "tree\\two.bin", "two");
    for (const char* sub : {"tree\\lockedsub", "tree\\nodatasub", "lockedtop"}) {
        CreateDirectoryA(ServerFile(s, sub).c_str(), nullptr);
        PutServerFile(s, std::string(sub) + "\\inner.txt", "inner");
    }
    PutServerFile(s, "rootfile.txt", "server root");
    for (bool passive : {true, false}) {
        SCOPED_TRACE(passive ? "passive" : "active");
        FaultSession x(FaultFtpd(), passive);
        TfrmMain& m = *x.main;
        TScriptedModalRunner runner;
        ConnectFromMenu(m);
        ASSERT_TRUE(m.FTP->IsConnected());
        const std::string home = m.CurrentServerDir;
        // Files of the parent's names already in the children's local folders.
        const std::string tree = x.local.File("tree");
        CreateDirectoryA(tree.c_str(), nullptr);
        CreateDirectoryA((tree + "\\lockedsub").c_str(), nullptr);
        CreateDirectoryA((tree + "\\nodatasub").c_str(), nullptr);
        qftest::WriteFileBytes(tree + "\\lockedsub\\one.txt", "mine");
        qftest::WriteFileBytes(tree + "\\nodatasub\\two.bin", "mine too");

        std::vector<std::string> shown;
        ExpectMessages(runner, 2, shown);
        SelectRemote(m, {"tree"});
        m.itmSrvFilesDownloadClick();
        EXPECT_TRUE(runner.AllUsed());
        ASSERT_EQ(shown.size(), 2u);
        EXPECT_EQ(shown[0].substr(0, 3), "550");
        EXPECT_EQ(shown[1].substr(0, 3), "425");
        EXPECT_EQ(qftest::ReadFileBytes(tree + "\\one.txt"), "one");
        EXPECT_EQ(qftest::ReadFileBytes(tree + "\\two.bin"), "two");
        EXPECT_EQ(NamesIn(tree + "\\lockedsub"), std::set<std::string>{"one.txt"});
        EXPECT_EQ(qftest::ReadFileBytes(tree + "\\lockedsub\\one.txt"), "mine");
        EXPECT_EQ(NamesIn(tree + "\\nodatasub"), std::set<std::string>{"two.bin"});
        EXPECT_EQ(qftest::ReadFileBytes(tree + "\\nodatasub\\two.bin"), "mine too");
        EXPECT_EQ(LogCount(m, "Could not list the folder"), 2);
        EXPECT_EQ(m.CurrentServerDir, home);
        EXPECT_GE(m.RemoteIndexOf("rootfile.txt"), 0);

        // "Download as" of a folder that cannot be listed: the chosen folder's
        // file of the parent's name is not emptied.
        const std::string chosen = x.local.File("chosen");
        CreateDirectoryA(chosen.c_str(), nullptr);
        qftest::WriteFileBytes(chosen + "\\rootfile.txt", "precious");
        const bool com = SUCCEEDED(CoInitialize(nullptr));
        AnswerFolderDialog(*m.FolderDialog, chosen);
        shown.clear();
        ExpectMessages(runner, 1, shown);
        SelectRemote(m, {"lockedtop"});
        m.itmSrvFilesDownloadAsClick();
        m.FolderDialog->OnShow = nullptr;
        if (com) CoUninitialize();
        EXPECT_TRUE(runner.AllUsed());
        EXPECT_EQ(NamesIn(chosen), std::set<std::string>{"rootfile.txt"});
        EXPECT_EQ(qftest::ReadFileBytes(chosen + "\\rootfile.txt"), "precious");
        EXPECT_EQ(m.CurrentServerDir, home);
        EXPECT_TRUE(m.FTP->IsConnected());
    }
}

// The server ends the session while a file is fetched: one message, and the
// files after it, in the selection and in the folder's walk, are not asked for.
TEST(FaultServer, LostSessionStopsTheDownloadWithOneMessage) {
    const Server s = FaultFtpd();
    for (const char* name : {"a.bin", "drop1.bin", "e.bin", "f.bin", "zz.bin"}) PutServerFile(s, name, name);
    CreateDirectoryA(ServerFile(s, "dtree").c_str(), nullptr);
    CreateDirectoryA(ServerFile(s, "dtree\\sub").c_str(), nullptr);
    for (const char* name : {"dtree\\sub\\x.txt", "dtree\\a.txt", "dtree\\drop.txt", "dtree\\z.txt"})
        PutServerFile(s, name, name);
    const struct {
        const char* what;
        std::initializer_list<std::string> rows;
        std::vector<std::string> fetched, notAsked;
        int cwds;  // into dtree, into sub, back to dtree; none after the loss
    } cases[] = {
        {"selected files", {"a.bin", "drop1.bin", "e.bin", "f.bin"}, {"a.bin"}, {"RETR e.bin", "RETR f.bin"}, 0},
        {"a folder and a file after it",
         {"dtree", "zz.bin"},
         {"dtree\\sub\\x.txt", "dtree\\a.txt"},
         {"RETR z.txt", "RETR zz.bin", "CDUP"},
         3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FaultSession x(FaultFtpd(), true);
        TfrmMain& m = *x.main;
        TScriptedModalRunner runner;
        ConnectFromMenu(m);
        ASSERT_TRUE(m.FTP->IsConnected());
        std::vector<std::string> shown;
        ExpectMessages(runner, 1, shown);
        SelectRemote(m, c.rows);
        m.itmSrvFilesDownloadClick();
        EXPECT_TRUE(runner.AllUsed());
        EXPECT_EQ(runner.Shown().size(), 1u);
        EXPECT_FALSE(m.FTP->IsConnected());
        EXPECT_FALSE(m.ConnectedUI());
        EXPECT_EQ(m.QueueLength(), 0);
        for (auto& f : c.fetched) EXPECT_TRUE(Exists(x.local.File(f))) << f;
        for (auto& a : c.notAsked) EXPECT_EQ(LogCount(m, "Command:    " + a), 0) << a;
        EXPECT_EQ(LogCount(m, "Command:    CWD"), c.cwds);
    }
}

// Names the platform would turn into a device or into another name are
// refused as local names: one message naming each in a selection, a log line
// each in a folder's walk; the rest goes on.
TEST(FaultServer, NamesThePlatformWouldChangeAreRefused) {
    FaultSession x(FaultFtpd(), true);
    TfrmMain& m = *x.main;
    TScriptedPrompter prompter;
    ConnectFromMenu(m);
    ASSERT_TRUE(m.FTP->IsConnected());
    const std::vector<std::string> refused = {"nul", "CON", "aux.txt", "COM1", "lpt9.log", "report.", "trail ",
                                              "a?b.txt", "star*.txt", "say\"hi\".txt", "<lt>.txt", "pipe|.txt"};

    // The folder whole: only the two ordinary names arrive, "report" with its own bytes.
    SelectRemote(m, {"oddnames"});
    m.itmSrvFilesDownloadClick();
    const std::string odd = x.local.File("oddnames");
    EXPECT_EQ(NamesIn(odd), (std::set<std::string>{"fine.txt", "report"}));
    EXPECT_EQ(qftest::ReadFileBytes(odd + "\\report"), "file report");
    for (auto& name : refused) {
        EXPECT_EQ(LogCount(m, "The server's name \"" + name + "\" cannot be used as a local file name"), 1) << name;
        EXPECT_EQ(LogCount(m, "Command:    RETR " + name), 0) << name;
    }

    // Rows chosen in the folder itself: a message for each refused one.
    m.ChangeServerDir("oddnames");
    m.QueuePwd();
    m.QueueList();
    ASSERT_GE(m.RemoteIndexOf("nul"), 0);
    prompter.AnswerMessage(IDOK);
    prompter.AnswerMessage(IDOK);
    const int retr = LogCount(m, "RETR");
    SelectRemote(m, {"nul", "report.", "fine.txt"});
    m.itmSrvFilesDownloadClick();
    EXPECT_TRUE(prompter.AllAnswersUsed());
    ASSERT_EQ(prompter.Log().size(), 2u);
    EXPECT_NE(prompter.Log()[0].Text.find("\"nul\""), std::string::npos);
    EXPECT_NE(prompter.Log()[1].Text.find("\"report.\""), std::string::npos);
    EXPECT_EQ(LogCount(m, "RETR"), retr + 1);
    EXPECT_EQ(qftest::ReadFileBytes(x.local.File("fine.txt")), "file fine.txt");
}
