// The main window against real servers, driven as a user drives it: menu
// items, list rows, dialogs answered by the scripted runner and prompter.
#include <gtest/gtest.h>
#include <shlobj.h>

#include "MainWindowSupport.h"
#include "LocalFiles.h"
#include "ScriptedModalRunner.h"
#include "ScriptedPrompter.h"
#include "runtime/Application.h"

using namespace qfclient;

namespace {

std::string Hash(const std::string& path) { return qftest::Sha256Hex(qftest::ReadFileBytes(path)); }

// The release waits in the queue: the list's drag watch reads it from there.
void DoubleClickListItem(TListBox& list, int i) {
    RECT r{};
    SendMessageA(list.Handle(), LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM(r.left + 3, (r.top + r.bottom) / 2);
    PostMessageA(list.Handle(), WM_LBUTTONUP, 0, at);
    SendMessageA(list.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
}

using Session = ServerSession;

// The connect road, listing, folder box, sort order, downloads with their
// questions, on one server.
void DownloadRoad(const Server& s, bool passive) {
    SCOPED_TRACE(s.name + (passive ? " passive" : " active"));
    std::string big = qftest::PatternBytes(100 * 1024, 3);
    PutServerFile(s, "data.bin", big);
    PutServerFile(s, "b file.txt", "text\n");
    CreateDirectoryA(ServerFile(s, "zdir").c_str(), nullptr);
    PutServerFile(s, "zdir\\in.txt", "inside");
    Session x(s, passive);
    TfrmMain& m = *x.main;
    TScriptedModalRunner runner;
    TScriptedPrompter prompter;

    ConnectFromMenu(m);
    ASSERT_TRUE(m.FTP->IsConnected());
    EXPECT_TRUE(m.ConnectedUI());
    // pyftpdlib shows "/", vsftpd (not chrooted here) its real folder.
    const std::string home = m.CurrentServerDir;
    EXPECT_EQ(home.substr(0, 1), "/");
    EXPECT_EQ(m.cbServerDir->Items().Strings(0), home);
    EXPECT_EQ(m.ConnectingBox(), nullptr);
    // ".", "..", folders, then files by name.
    ASSERT_GE(m.RemoteRows.size(), 5u);
    EXPECT_EQ(m.RemoteRows[0].Name, ".");
    EXPECT_EQ(m.RemoteRows[1].Name, "..");
    EXPECT_EQ(m.RemoteRows[2].Name, "zdir");
    EXPECT_EQ(m.RemoteRows[3].Name, "b file.txt");
    EXPECT_EQ(m.RemoteRows[4].Name, "data.bin");
    EXPECT_EQ(m.lvServerFiles->Row(4).SubItems[4], "102400");

    // Plain download.
    SelectRemote(m, {"data.bin"});
    m.itmSrvFilesDownloadClick();
    EXPECT_EQ(Hash(x.local.File("data.bin")), qftest::Sha256Hex(big));
    EXPECT_EQ(m.ProgressWindow(), nullptr);

    // Resume of a 40 KB part.
    qftest::WriteFileBytes(x.local.File("data.bin"), big.substr(0, 40 * 1024));
    runner.Expect("frmOverResume", [](TForm& f) { ClickButton(static_cast<TfrmOverResume&>(f).btnResume); });
    m.itmSrvFilesDownloadClick();
    EXPECT_EQ(Hash(x.local.File("data.bin")), qftest::Sha256Hex(big));
    EXPECT_EQ(LogCount(m, "REST 40960"), 1);

    // Overwrite over other bytes.
    qftest::WriteFileBytes(x.local.File("data.bin"), std::string(500, 'x'));
    runner.Expect("frmOverResume", [](TForm& f) { ClickButton(static_cast<TfrmOverResume&>(f).btnOverwrite); });
    m.itmSrvFilesDownloadClick();
    EXPECT_EQ(Hash(x.local.File("data.bin")), qftest::Sha256Hex(big));

    // Cancel: no RETR at all.
    int retr = LogCount(m, "RETR");
    runner.Expect("frmOverResume", [](TForm& f) { ClickButton(static_cast<TfrmOverResume&>(f).btnCancel); });
    m.itmSrvFilesDownloadClick();
    EXPECT_EQ(LogCount(m, "RETR"), retr);

    // Download as.
    prompter.AnswerFile(x.local.File("copy.bin"));
    m.itmSrvFilesDownloadAsClick();
    EXPECT_EQ(Hash(x.local.File("copy.bin")), qftest::Sha256Hex(big));

    // Download as of a folder: its contents land in the folder chosen; Cancel there stops the rest.
    const bool com = SUCCEEDED(CoInitialize(nullptr));
    const std::string chosen = x.local.File("chosen");
    CreateDirectoryA(chosen.c_str(), nullptr);
    FolderAnswer seen;
    AnswerFolderDialog(*m.FolderDialog, chosen, &seen);
    SelectRemote(m, {"zdir"});
    m.itmSrvFilesDownloadAsClick();
    EXPECT_EQ(seen.title, "Choose destination for this directory");
    EXPECT_EQ(seen.startedIn, x.local.Path());
    EXPECT_EQ(qftest::ReadFileBytes(chosen + "\\in.txt"), "inside");
    EXPECT_FALSE(FolderExistsAt(chosen + "\\zdir"));
    EXPECT_EQ(m.CurrentServerDir, home);
    AnswerFolderDialog(*m.FolderDialog, "");
    retr = LogCount(m, "RETR");
    SelectRemote(m, {"zdir", "data.bin"});
    m.itmSrvFilesDownloadAsClick();  // no file dialog for data.bin: the prompter has no answer left
    EXPECT_EQ(LogCount(m, "RETR"), retr);
    m.FolderDialog->OnShow = nullptr;
    if (com) CoUninitialize();
    EXPECT_TRUE(runner.AllUsed());
    EXPECT_TRUE(prompter.AllAnswersUsed());
}

// Folder tree, upload, delete, new folder, rename, ASCII.
// vsftpd keeps ASCII downloads as stored (its ascii_download_enable is off).
void EditRoad(const Server& s, bool serverConvertsAscii) {
    SCOPED_TRACE(s.name);
    CreateDirectoryA(ServerFile(s, "tree").c_str(), nullptr);
    CreateDirectoryA(ServerFile(s, "tree\\sub").c_str(), nullptr);
    CreateDirectoryA(ServerFile(s, "tree\\empty").c_str(), nullptr);
    PutServerFile(s, "tree\\a.txt", "alpha\n");
    PutServerFile(s, "tree\\sub\\b.bin", qftest::PatternBytes(5000, 9));
    PutServerFile(s, "after.bin", "after");
    PutServerFile(s, "lines.txt", "one\ntwo\n");
    Session x(s, true);
    TfrmMain& m = *x.main;
    TScriptedModalRunner runner;
    TScriptedPrompter prompter;
    ConnectFromMenu(m);
    ASSERT_TRUE(m.FTP->IsConnected());
    const std::string home = m.CurrentServerDir;

    // Select-all takes "." and ".." too: they are skipped, and the rows after a folder are kept.
    m.lvServerFiles->SelectAll();
    SelectRemote(m, {".", "..", "tree", "after.bin"});
    m.itmSrvFilesDownloadClick();
    const std::string eol = serverConvertsAscii ? "\r\n" : "\n";
    EXPECT_EQ(qftest::ReadFileBytes(x.local.File("tree\\a.txt")), "alpha" + eol);  // a text type
    EXPECT_EQ(qftest::ReadFileBytes(x.local.File("tree\\sub\\b.bin")), qftest::PatternBytes(5000, 9));
    EXPECT_TRUE(FolderExistsAt(x.local.File("tree\\empty")));
    EXPECT_EQ(qftest::ReadFileBytes(x.local.File("after.bin")), "after");
    EXPECT_EQ(m.CurrentServerDir, home);

    // ASCII download of a text file.
    m.tb97TransferAsc->Click();
    SelectRemote(m, {"lines.txt"});
    m.itmSrvFilesDownloadClick();
    EXPECT_EQ(qftest::ReadFileBytes(x.local.File("lines.txt")), "one" + eol + "two" + eol);
    m.tb97TransferAuto->Click();

    // Upload with the automatic refresh.
    std::string up = qftest::PatternBytes(30000, 4);
    qftest::WriteFileBytes(x.local.File("up.bin"), up);
    m.Local->SetFilterIndex(5);
    ASSERT_TRUE(m.Local->SelectFile("up.bin"));
    // A double click on the local file asks first: No sends nothing, Yes uploads.
    const int row = m.Local->lbFiles->ItemIndex();
    int stor = LogCount(m, "STOR");
    prompter.AnswerMessage(IDNO);
    DoubleClickListItem(*m.Local->lbFiles, row);
    EXPECT_EQ(LogCount(m, "STOR"), stor);
    ASSERT_FALSE(prompter.Log().empty());
    EXPECT_EQ(prompter.Log().back().Text, "Are you sure you want to upload this file ?");
    prompter.AnswerMessage(IDYES);
    DoubleClickListItem(*m.Local->lbFiles, row);
    EXPECT_GE(m.RemoteIndexOf("up.bin"), 0);
    EXPECT_EQ(Hash(ServerFile(s, "up.bin")), qftest::Sha256Hex(up));

    // New folder: the MKD reply does not move the current folder.
    runner.Expect("frmFolder", [](TForm& f) {
        auto& d = static_cast<TfrmFolder&>(f);
        SetWindowTextA(d.ebx97NewDir->Handle(), "made");
        ClickButton(d.btnCreate);
    });
    m.itmSrvFilesNewFolderClick();
    EXPECT_TRUE(FolderExistsAt(ServerFile(s, "made")));
    EXPECT_EQ(m.CurrentServerDir, home);
    // A pasted name that leaves the folder is refused on OK.
    runner.Expect("frmFolder", [](TForm& f) {
        auto& d = static_cast<TfrmFolder&>(f);
        SetWindowTextA(d.ebx97NewDir->Handle(), "..\\x");
        ClickButton(d.btnCreate);
    });
    prompter.AnswerMessage(IDOK);
    int mkd = LogCount(m, "MKD");
    m.itmSrvFilesNewFolderClick();
    EXPECT_EQ(LogCount(m, "MKD"), mkd);

    // Rename through the list's own label editing.
    SelectRemote(m, {"after.bin"});
    HWND edit = m.lvServerFiles->EditCaption(m.RemoteIndexOf("after.bin"));
    ASSERT_NE(edit, nullptr);
    SetWindowTextA(edit, "renamed.bin");
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    qftest::PumpUntil([&] { return m.RemoteIndexOf("renamed.bin") >= 0 && !m.Busy; }, 5000);
    Application->ProcessMessages();
    EXPECT_TRUE(FileExistsAt(ServerFile(s, "renamed.bin")));
    EXPECT_FALSE(FileExistsAt(ServerFile(s, "after.bin")));

    // Delete of several rows: DELE and RMD, then LIST and PWD.
    prompter.AnswerMessage(IDYES);
    SelectRemote(m, {"renamed.bin", "up.bin", "made"});
    const int before = m.mmoFTPLog->Lines().Count();
    m.itmSrvFilesDeleteClick();
    // The commands sent, in their order (the list's order: the folder first).
    std::vector<std::string> sent;
    for (int i = before; i < m.mmoFTPLog->Lines().Count(); ++i) {
        const std::string line = m.mmoFTPLog->Lines().Strings(i);
        for (const char* verb : {"DELE ", "RMD ", "LIST", "PWD"})
            if (line.rfind(std::string("Command:    ") + verb, 0) == 0) sent.push_back(line.substr(12));
    }
    const std::vector<std::string> expected = {"RMD made", "DELE renamed.bin", "DELE up.bin", "LIST", "PWD"};
    EXPECT_EQ(sent, expected);
    EXPECT_FALSE(FileExistsAt(ServerFile(s, "renamed.bin")));
    EXPECT_FALSE(FileExistsAt(ServerFile(s, "up.bin")));
    EXPECT_FALSE(FolderExistsAt(ServerFile(s, "made")));
    EXPECT_EQ(m.RemoteIndexOf("up.bin"), -1);
    EXPECT_GE(LogCount(m, "RMD made"), 1);
    EXPECT_TRUE(runner.AllUsed());
    EXPECT_TRUE(prompter.AllAnswersUsed());
}

}  // namespace

TEST(MainWindowServer, DownloadRoadPyftpdlib) { DownloadRoad(Pyftpd(), true); }
TEST(MainWindowServer, DownloadRoadVsftpdActive) { DownloadRoad(Vsftpd(), false); }
TEST(MainWindowServer, EditRoadPyftpdlib) { EditRoad(Pyftpd(), true); }
TEST(MainWindowServer, EditRoadVsftpd) { EditRoad(Vsftpd(), false); }

// pyftpdlib refuses the password; vsftpd, anonymous only, refuses the user at once.
TEST(MainWindowServer, WrongPasswordPromptsOnceAndDisconnects) {
    Server named = Vsftpd();
    named.user = "test";
    for (const Server& s : {Pyftpd(), named}) {
        SCOPED_TRACE(s.name);
        Program prog;
        WriteSiteFile(prog, s, true, "wrong");
        TfrmMain m(prog.Settings());
        m.Show();
        TScriptedModalRunner runner;
        std::string shown;
        runner.Expect("frmMessage", [&](TForm& f) {
            shown = static_cast<TfrmMessage&>(f).lblDesc->Caption();
            ClickButton(static_cast<TfrmMessage&>(f).btnOk);
        });
        ConnectFromMenu(m);
        EXPECT_FALSE(m.FTP->IsConnected());
        EXPECT_FALSE(m.ConnectedUI());
        EXPECT_FALSE(m.Connecting);
        EXPECT_EQ(m.QueueLength(), 0);
        EXPECT_EQ(runner.Shown().size(), 1u);
        EXPECT_FALSE(shown.empty());
        EXPECT_EQ(m.ConnectingBox(), nullptr);
        EXPECT_EQ(LogCount(m, "LIST"), 0);
        // The password is never in the log.
        EXPECT_EQ(LogCount(m, "wrong"), 0);
        EXPECT_EQ(LogCount(m, "PASS *****"), s.name == "pyftpdlib" ? 1 : 0);
    }
}

// The site's start folders: the local pane and the server both open there.
TEST(MainWindowServer, StartFoldersOnTheConnectRoad) {
    for (const Server& s : {Pyftpd(), Vsftpd()}) {
        SCOPED_TRACE(s.name);
        CreateDirectoryA(ServerFile(s, "start").c_str(), nullptr);
        PutServerFile(s, "start\\inside.txt", "in");
        qftest::TempDir startHere;
        Session x(s, s.name == "pyftpdlib",
                  "StartDir=\"start\"\r\nLocalStartDir=\"" + startHere.Path() + "\\\"\r\n");
        TfrmMain& m = *x.main;
        ConnectFromMenu(m);
        ASSERT_TRUE(m.FTP->IsConnected());
        const std::string dir = m.CurrentServerDir;
        ASSERT_GE(dir.size(), 6u);
        EXPECT_EQ(dir.substr(dir.size() - 6), "/start");
        EXPECT_EQ(m.cbServerDir->Items().Strings(0), dir);
        EXPECT_GE(m.RemoteIndexOf("inside.txt"), 0);
        EXPECT_EQ(m.Local->Directory(), startHere.Path());
        // A folder typed into the folder box and Enter: the server goes there.
        HWND edit = FindWindowExA(m.cbServerDir->Handle(), nullptr, "Edit", nullptr);
        ASSERT_NE(edit, nullptr);
        SetWindowTextA(edit, "..");
        SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
        SendMessageA(edit, WM_CHAR, '\r', 1);
        EXPECT_EQ(m.CurrentServerDir, dir.substr(0, dir.size() - 6).empty() ? "/" : dir.substr(0, dir.size() - 6));
        EXPECT_GE(m.RemoteIndexOf("start"), 0);
        EXPECT_EQ(m.cbServerDir->Items().Strings(0), m.CurrentServerDir);
    }
}

// pyftpdlib changes the mode; vsftpd refuses it to an anonymous user: one message, the row stays.
TEST(MainWindowServer, ChModSendsThreeDigits) {
    for (const Server& s : {Pyftpd(), Vsftpd()}) {
        SCOPED_TRACE(s.name);
        const bool refused = s.name == "vsftpd";
        PutServerFile(s, "perm.txt", "x");
        Session x(s, true);
        TfrmMain& m = *x.main;
        TScriptedModalRunner runner;
        ConnectFromMenu(m);
        ASSERT_TRUE(m.FTP->IsConnected());
        const std::string before = m.RemoteRows[static_cast<size_t>(m.RemoteIndexOf("perm.txt"))].Permissions;
        SelectRemote(m, {"perm.txt"});
        runner.Expect("frmChMod", [](TForm& f) {
            auto& d = static_cast<TfrmChMod&>(f);
            for (int r = 0; r < 3; ++r)
                for (int c = 0; c < 3; ++c) d.cb[r][c]->SetChecked(r > 0 && c == 0, true);
            ClickButton(d.btnOk);
        });
        if (refused) runner.Expect("frmMessage", [](TForm& f) { ClickButton(static_cast<TfrmMessage&>(f).btnOk); });
        m.itmSrvFilesChModClick();
        EXPECT_TRUE(runner.AllUsed());
        EXPECT_EQ(LogCount(m, "SITE CHMOD 044 perm.txt"), 1);
        EXPECT_EQ(m.RemoteRows[static_cast<size_t>(m.RemoteIndexOf("perm.txt"))].Permissions,
                  refused ? before : "----r--r--");
        EXPECT_TRUE(m.FTP->IsConnected());
    }
}

// Abort, or the progress window's close box, stops the transfer: window gone, partial file kept.
TEST(MainWindowServer, AbortOnThrottledServerKeepsPartialFile) {
    Server s = SlowFtpd();
    std::string big = qftest::PatternBytes(2 * 1024 * 1024, 5);
    PutServerFile(s, "slow.bin", big);
    for (bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "Abort button");
        Session x(s, true);
        TfrmMain& m = *x.main;
        TScriptedModalRunner runner;
        ConnectFromMenu(m);
        ASSERT_TRUE(m.FTP->IsConnected());
        SelectRemote(m, {"slow.bin"});
        static TfrmMain* target;
        static std::string path;
        static bool viaClose;
        target = &m;
        path = x.local.File("slow.bin");
        viaClose = closeBox;
        UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
            TfrmDownload* w = target->ProgressWindow();
            if (!w || !w->Visible() || GetFileSizeOf(path) <= 100000) return;
            if (viaClose)
                SendMessageA(w->Handle(), WM_CLOSE, 0, 0);
            else
                SendMessageA(w->btnAbort->Handle(), BM_CLICK, 0, 0);
        });
        std::string shown;
        runner.Expect("frmMessage", [&](TForm& f) {
            shown = static_cast<TfrmMessage&>(f).lblDesc->Caption();
            ClickButton(static_cast<TfrmMessage&>(f).btnOk);
        });
        m.itmSrvFilesDownloadClick();
        KillTimer(nullptr, timer);
        EXPECT_EQ(m.ProgressWindow(), nullptr);
        int64_t size = GetFileSizeOf(path);
        EXPECT_GT(size, 100000);
        EXPECT_LT(size, static_cast<int64_t>(big.size()));
        EXPECT_EQ(qftest::ReadFileBytes(path), big.substr(0, static_cast<size_t>(size)));
        EXPECT_FALSE(shown.empty());
    }
}

TEST(MainWindowServer, RefusedRenameRelistsAndRemovedSiteKeepsTheSession) {
    Server s = Pyftpd();
    PutServerFile(s, "keep.txt", "k");
    Session x(s, true);
    TfrmMain& m = *x.main;
    TScriptedModalRunner runner;
    TScriptedPrompter prompter;
    ConnectFromMenu(m);
    ASSERT_TRUE(m.FTP->IsConnected());
    // A rename the server refuses: one message, and the list shows the server's name again.
    runner.Expect("frmMessage", [](TForm& f) { ClickButton(static_cast<TfrmMessage&>(f).btnOk); });
    SelectRemote(m, {"keep.txt"});
    HWND edit = m.lvServerFiles->EditCaption(m.RemoteIndexOf("keep.txt"));
    ASSERT_NE(edit, nullptr);
    SetWindowTextA(edit, "nodir/x.txt");
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    qftest::PumpUntil([&] { return runner.AllUsed() && !m.Busy && m.RemoteIndexOf("keep.txt") >= 0; }, 5000);
    EXPECT_TRUE(runner.AllUsed());
    EXPECT_GE(m.RemoteIndexOf("keep.txt"), 0);
    EXPECT_EQ(m.RemoteIndexOf("nodir/x.txt"), -1);
    // Removing the connected site: the session goes on with its own copy.
    prompter.AnswerMessage(IDYES);
    runner.Expect("frmServerRemove", [](TForm& f) {
        auto& d = static_cast<TfrmServerRemove&>(f);
        ClickListItem(*d.lbServers, 0);
        ClickButton(d.btnDelete);
    });
    m.itmRemoveServerClick();
    EXPECT_EQ(m.Servers.Count(), 0);
    EXPECT_TRUE(m.CurrentServer.IsPassive());
    m.tb97RefreshClick();
    EXPECT_GE(m.RemoteIndexOf("keep.txt"), 0);
    EXPECT_EQ(qftest::ReadFileBytes(x.prog.folder.File("FTPServers.ini")).find("Server1"), std::string::npos);
}

TEST(MainWindowServer, ConnectDialogConnectsToTheChosenSite) {
    Server s = Vsftpd();
    PutServerFile(s, "hello.txt", "hi");
    Session x(s, false);
    TfrmMain& m = *x.main;
    TScriptedModalRunner runner;
    runner.Expect("frmServerConnectTo", [](TForm& f) {
        auto& d = static_cast<TfrmServerConnectTo&>(f);
        d.lbServers->SetItemIndex(0);
        SendMessageA(d.lbServers->Handle(), WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 5));
        if (d.ModalResult() != mrOk) ClickButton(d.btnOk);
    });
    m.tb97Connect->Click();
    ASSERT_TRUE(m.FTP->IsConnected());
    EXPECT_GE(m.RemoteIndexOf("hello.txt"), 0);
    m.tb97DisconnectClick();
    EXPECT_FALSE(m.FTP->IsConnected());
    EXPECT_FALSE(m.ConnectedUI());
}

TEST(MainWindowServer, FailedDownloadFreesItsProgressWindowAndTheNextOneRuns) {
    Server s = Pyftpd();
    PutServerFile(s, "gone.bin", "soon gone");
    PutServerFile(s, "next.bin", qftest::PatternBytes(20000, 2));
    Session x(s, true);
    TfrmMain& m = *x.main;
    TScriptedModalRunner runner;
    ConnectFromMenu(m);
    ASSERT_TRUE(m.FTP->IsConnected());
    DeleteFileA(ServerFile(s, "gone.bin").c_str());
    m.frmOptions->sedtTimeOut->SetText("10");
    std::string shown;
    bool windowGoneWhenShown = false;
    runner.Expect("frmMessage", [&](TForm& f) {
        shown = static_cast<TfrmMessage&>(f).lblDesc->Caption();
        windowGoneWhenShown = m.ProgressWindow() == nullptr;
        ClickButton(static_cast<TfrmMessage&>(f).btnOk);
    });
    SelectRemote(m, {"gone.bin"});
    m.itmSrvFilesDownloadClick();
    EXPECT_TRUE(runner.AllUsed());
    EXPECT_FALSE(shown.empty());
    EXPECT_EQ(m.ProgressWindow(), nullptr);
    (void)windowGoneWhenShown;
    SelectRemote(m, {"next.bin"});
    m.itmSrvFilesDownloadClick();
    EXPECT_EQ(qftest::ReadFileBytes(x.local.File("next.bin")), qftest::PatternBytes(20000, 2));
    EXPECT_EQ(m.ProgressWindow(), nullptr);
}

TEST(MainWindowServer, AbortedUploadIsReportedAsAborted) {
    Server s = SlowFtpd();
    Session x(s, true);
    TfrmMain& m = *x.main;
    TScriptedModalRunner runner;
    ConnectFromMenu(m);
    ASSERT_TRUE(m.FTP->IsConnected());
    std::string big = qftest::PatternBytes(600 * 1024, 8);
    qftest::WriteFileBytes(x.local.File("big.bin"), big);
    m.Local->SetFilterIndex(5);
    ASSERT_TRUE(m.Local->SelectFile("big.bin"));
    // The user presses Abort once the first block is on its way.
    TFtpProgress engineProgress = m.FTP->OnProgress;
    m.FTP->OnProgress = [&](TObject* sender, int64_t count, bool& abort) {
        if (count > 0 && m.ProgressWindow() && m.ProgressWindow()->Visible())
            SendMessageA(m.ProgressWindow()->btnAbort->Handle(), BM_CLICK, 0, 0);
        engineProgress(sender, count, abort);
    };
    std::string shown;
    runner.Expect("frmMessage", [&](TForm& f) {
        shown = static_cast<TfrmMessage&>(f).lblDesc->Caption();
        ClickButton(static_cast<TfrmMessage&>(f).btnOk);
    });
    int lists = LogCount(m, "LIST");
    m.itmUploadLocaFileClick();
    m.FTP->OnProgress = engineProgress;
    // Reported as a failure: the engine's own text, or ours when the server still said 226.
    EXPECT_FALSE(shown.empty());
    EXPECT_NE(shown.find(shown.find("426") == 0 ? "426" : AbortedTransferText), std::string::npos);
    EXPECT_EQ(m.ProgressWindow(), nullptr);
    // The engine's large send buffer may already hold the whole file: the
    // server can still receive all of it, but it does not count as done.
    EXPECT_EQ(LogCount(m, "LIST"), lists);  // no refresh as after a finished upload
}

TEST(MainWindowServer, ProgressWindowFollowsEveryReportOfAFastTransfer) {
    Server s = Pyftpd();
    const int64_t size = 3 * 1024 * 1024;
    PutServerFile(s, "fast.bin", qftest::PatternBytes(static_cast<size_t>(size), 6));
    Session x(s, true);
    TfrmMain& m = *x.main;
    ConnectFromMenu(m);
    ASSERT_TRUE(m.FTP->IsConnected());
    SelectRemote(m, {"fast.bin"});
    // While the first report pumps messages the rest of the file may arrive:
    // every report must still reach the window.
    int reports = 0, stale = 0;
    int64_t last = 0;
    TFtpProgress engineProgress = m.FTP->OnProgress;
    m.FTP->OnProgress = [&](TObject* sender, int64_t count, bool& abort) {
        engineProgress(sender, count, abort);
        if (!m.ProgressWindow() || count <= 0) return;
        ++reports;
        last = count;
        if (m.ProgressWindow()->lblReceived->Caption() != FormatFileSize(count, UserNumberFormat())) ++stale;
    };
    m.itmSrvFilesDownloadClick();
    m.FTP->OnProgress = engineProgress;
    EXPECT_GT(reports, 1);
    EXPECT_EQ(stale, 0);
    EXPECT_EQ(last, size);
    EXPECT_EQ(GetFileSizeOf(x.local.File("fast.bin")), size);
}
