// The main window and its local side without a server.
#include <gtest/gtest.h>

#include <functional>

#include "LocalFiles.h"
#include "MainWindowSupport.h"
#include "ScriptedModalRunner.h"
#include "ScriptedPrompter.h"

using namespace qfclient;

TEST(MainWindow, SetConnectedUIAsATable) {
    Program prog;
    TfrmMain m(prog.Settings());
    m.Show();
    struct Row {
        bool connected;
        bool connect, others, pane;
        TColor colour;
    } rows[] = {{true, false, true, true, clWindow}, {false, true, false, false, clBtnFace}};
    for (auto& r : rows) {
        m.cbServerDir->SetText("/old");
        m.SetConnectedUI(r.connected);
        SCOPED_TRACE(r.connected ? "connected" : "not connected");
        EXPECT_EQ(m.tb97Connect->Enabled(), r.connect);
        for (TToolbarButton97* b : {m.tb97Disconnect, m.tb97FolderUp, m.tb97NewFolder, m.tb97Delete, m.tb97Refresh,
                           m.tb97TransferBin, m.tb97TransferAsc, m.tb97TransferAuto})
            EXPECT_EQ(b->Enabled(), r.others) << b->Hint;
        EXPECT_EQ(m.pbTransferStatus->Visible(), r.others);
        EXPECT_EQ(m.tmrUpdateConnectionTime->Enabled(), r.connected);
        EXPECT_EQ(m.lvServerFiles->Enabled(), r.pane);
        EXPECT_EQ(m.cbServerDir->Enabled(), r.pane);
        EXPECT_EQ(m.lvServerFiles->Color(), r.colour);
        EXPECT_EQ(m.cbServerDir->Text(), "");
        EXPECT_EQ(m.lvServerFiles->Count(), 0);
    }
}

// While a command runs the server pane and the toolbar show the hourglass, the rest does not.
TEST(MainWindow, BusyShowsTheHourglassOverTheServerPaneAndTheToolbar) {
    Program prog;
    TfrmMain m(prog.Settings());
    m.Show();
    m.SetConnectedUI(true);
    const HCURSOR wait = LoadCursor(nullptr, IDC_WAIT), arrow = LoadCursor(nullptr, IDC_ARROW);
    const struct {
        const char* name;
        TWinControl* control;
        bool inArea;
    } rows[] = {{"remote list", m.lvServerFiles, true},    {"folder box", m.cbServerDir, true},
                {"server pane", m.pnlServer, true},        {"refresh button", m.tb97Refresh, true},
                {"connect button", m.tb97Connect, true},   {"local files", m.Local->lbFiles, false},
                {"advertising panel", m.pnlKeelsonFTP, false}};
    for (bool busy : {true, false})
        for (const auto& r : rows) {
            SCOPED_TRACE(std::string(r.name) + (busy ? " busy" : " idle"));
            m.SetBusy(busy);
            SetCursor(arrow);
            HWND w = r.control->Handle();
            SendMessageA(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            EXPECT_EQ(GetCursor() == wait, busy && r.inArea);
        }
}

TEST(MainWindow, StatusBarClockWithInjectedTime) {
    Program prog;
    TfrmMain m(prog.Settings());
    EXPECT_EQ(m.StatusText(2), "Not connected.");
    m.Connected = true;
    m.ConnectedAt = prog.now;
    prog.now += (1 * 3600 + 2 * 60 + 3) / 86400.0;
    m.tmrUpdateConnectionTimeTimer();
    EXPECT_EQ(m.StatusText(2), "Connected. (01:02:03)");
    m.Connected = false;
    m.tmrUpdateConnectionTimeTimer();
    EXPECT_EQ(m.StatusText(2), "Not connected.");
}

TEST(MainWindow, LogLinesAndTheirColoursReadBackFromTheControl) {
    Program prog;
    TfrmMain m(prog.Settings());
    m.ClearLog();
    struct Row {
        std::string text;
        int kind;
        std::string line;  // empty: not logged
        TColor colour;
    } rows[] = {
        {"PASS secret", lkCommand, "Command:    PASS *****", 0x008000},
        {"> PASS secret", lkReply, "", 0},
        {"< 230 ok", lkReply, "            230 ok", 0x000000},
        {"Ready", lkStatus, "Status:     Ready", 0xFF0000},
        {"note", lkInfo, "            note", 0x000000},
        {"debug", lkDebug, "", 0},
        {"session", lkSession, "", 0},
    };
    for (auto& r : rows) {
        int before = m.mmoFTPLog->Lines().Count();
        m.AddLog(r.text, r.kind);
        if (r.line.empty()) {
            EXPECT_EQ(m.mmoFTPLog->Lines().Count(), before) << r.text;
            continue;
        }
        ASSERT_EQ(m.mmoFTPLog->Lines().Count(), before + 1) << r.text;
        EXPECT_EQ(m.mmoFTPLog->Lines().Strings(before), r.line);
        EXPECT_EQ(m.mmoFTPLogView->LineTextColor(before), r.colour) << r.text;
        EXPECT_EQ(m.mmoFTPLogView->LineBackColor(before), m.mmoFTPLog->def_BackColor()) << r.text;
    }
}

TEST(MainWindow, OptionsRoundTripThroughTheRegistry) {
    Program prog;
    {
        TfrmMain m(prog.Settings());
        TfrmOptions& o = *m.frmOptions;
        EXPECT_EQ(o.TimeOut(), 120);
        EXPECT_TRUE(o.AutoRefresh());
        o.sedtTimeOut->SetText("45");
        o.cbDirAutoRefresh->SetChecked(false, true);
        o.cbPlaySoundDownload->SetChecked(false, true);
        o.ebxSoundUpload->SetText("C:\\up.wav");
        TScriptedPrompter p;
        EXPECT_TRUE(o.AddExtension("readme.pas"));
        p.AnswerMessage(IDOK);
        p.AnswerMessage(IDOK);
        p.AnswerMessage(IDOK);
        EXPECT_FALSE(o.AddExtension(".ZIP"));
        EXPECT_FALSE(o.AddExtension("noext"));  // an empty extension would spoil every binary without one
        EXPECT_FALSE(o.AddExtension("x.TXT"));  // already listed
        TScriptedModalRunner r;
        r.Expect("frmOptions", [](TForm& f) { SendMessageA(static_cast<TfrmOptions&>(f).btnOk->Handle(), BM_CLICK, 0, 0); });
        EXPECT_EQ(o.ShowModal(), mrOk);
    }
    StoredKey reg(prog, "Options\\");
    EXPECT_EQ(reg.Int("FTPTimeOut"), 45);
    EXPECT_EQ(reg.Int("FTPAutoRefresh"), 0);
    EXPECT_NE(reg.Text("AsciiExt").find(".pas"), std::string::npos);
    TfrmMain again(prog.Settings());
    EXPECT_EQ(again.frmOptions->TimeOut(), 45);
    EXPECT_FALSE(again.frmOptions->AutoRefresh());
    EXPECT_FALSE(again.frmOptions->cbPlaySoundDownload->Checked());
    EXPECT_EQ(again.frmOptions->ebxSoundUpload->Text(), "C:\\up.wav");
    EXPECT_FALSE(again.IsBinaryTransfer("unit.PAS"));
    // Cancel throws the edits away.
    again.frmOptions->sedtTimeOut->SetText("99");
    SendMessageA(again.frmOptions->btnCancel->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(again.frmOptions->TimeOut(), 45);
}

// The site file's time-out is the engine's from the start (each command then
// takes the options' value); without it the engine keeps its 30 seconds.
TEST(MainWindow, SiteFileTimeOutReachesTheEngine) {
    const struct {
        const char* general;
        int timeout;
    } cases[] = {{"[General]\r\nCount=0\r\nFTPTimeOut=45\r\n", 45}, {"[General]\r\nCount=0\r\n", 30}};
    for (const auto& c : cases) {
        Program prog;
        qftest::WriteFileBytes(prog.folder.File("FTPServers.ini"), c.general);
        TfrmMain m(prog.Settings());
        EXPECT_EQ(m.FTP->Timeout, c.timeout) << c.general;
    }
}

// An empty registry: the window's own sizes, the list style, "Web files", no log; and the
// log's visibility is kept across starts.
TEST(MainWindow, FirstStartKeepsItsOwnSizesAndHidesTheLog) {
    Program prog;
    {
        TfrmMain m(prog.Settings());
        m.Show();
        EXPECT_EQ(m.Local->Width(), 185);
        EXPECT_EQ(m.pnlFTPLog->Height(), 65);
        EXPECT_FALSE(m.pnlFTPLog->Visible());
        EXPECT_FALSE(m.itmViewFTPLog->Checked());
        EXPECT_EQ(m.lvServerFiles->ViewStyle(), rvsList);
        EXPECT_EQ(m.Local->FilterIndex(), 0);
        EXPECT_EQ(m.fsbMain->Top() + m.fsbMain->Height(), m.ClientHeight());
        ChoosePopupItem(m.itmViewFTPLog);
        EXPECT_TRUE(m.pnlFTPLog->Visible());
        EXPECT_EQ(m.pnlFTPLog->Top() + m.pnlFTPLog->Height(), m.fsbMain->Top());
        m.FormClose();
    }
    StoredKey reg(prog, "Interface\\");
    EXPECT_EQ(reg.Int("LogVisible"), 1);
    EXPECT_EQ(reg.Int("LocalWidth"), 185);
    EXPECT_EQ(reg.Int("LogHeight"), 65);
    EXPECT_EQ(reg.Int("ServerViewStyle"), rvsList);
    // The window has no tool windows: the toolbar layout adds no subkey of its own.
    HKEY k;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, reg.key.c_str(), 0, KEY_READ, &k), ERROR_SUCCESS);
    DWORD subkeys = 99;
    RegQueryInfoKeyA(k, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(k);
    EXPECT_EQ(subkeys, 0u);
    TfrmMain again(prog.Settings());
    EXPECT_TRUE(again.pnlFTPLog->Visible());
    EXPECT_TRUE(again.itmViewFTPLog->Checked());
}

TEST(MainWindow, InterfaceValuesRoundTripAndMinimisedPositionIsNotSaved) {
    Program prog;
    qftest::TempDir dir;
    {
        TfrmMain m(prog.Settings());
        m.Show();
        m.SetBounds(50, 60, 700, 500);
        m.Local->SetDirectory(dir.Path());
        m.Local->SetFilterIndex(2);
        m.lvServerFiles->SetViewStyle(rvsSmallIcon);
        m.lvServerFiles->SetColumnWidth(0, 222);
        m.FormClose();
        ShowWindow(m.Handle(), SW_MINIMIZE);
        m.FormClose();  // minimised: the normal place stays
    }
    StoredKey reg(prog, "Interface\\");
    EXPECT_EQ(reg.Int("LocalFilter"), 2);
    EXPECT_EQ(reg.Int("ServerViewStyle"), 1);
    EXPECT_EQ(reg.Int("SrvCol0"), 222);
    EXPECT_EQ(reg.Text("LocalDir"), dir.Path());
    EXPECT_EQ(reg.Text("LocalDrive"), dir.Path().substr(0, 1));
    StoredKey pos(prog, "QuillonFTP.INI\\frmMain");
    EXPECT_EQ(pos.Text("Left"), "50");
    EXPECT_EQ(pos.Text("Top"), "60");
    EXPECT_EQ(pos.Text("MyWindowState"), "False");
    TfrmMain again(prog.Settings());
    EXPECT_EQ(again.Local->FilterIndex(), 2);
    EXPECT_EQ(again.Local->Directory(), dir.Path());
    EXPECT_EQ(again.lvServerFiles->ViewStyle(), rvsSmallIcon);
    EXPECT_EQ(again.Left(), 50);
}

// Values another hand (or an older version) left: a number kept as text is
// that number, a text is cut at its first zero byte, a text that is no number
// leaves the window's own value.
TEST(MainWindow, SettingsAreReadAsTheRegistryComponentReadsThem) {
    qftest::TempDir dir;
    const std::string z(1, '\0');
    const struct {
        const char* name;
        const char* key;
        const char* value;
        DWORD type;
        std::string bytes;
        std::function<bool(TfrmMain&, const Program&)> holds;
    } rows[] = {
        {"a width kept as text", "Interface\\", "LocalWidth", REG_SZ, "230" + z,
         [](TfrmMain& m, const Program&) { return m.Local->Width() == 230; }},
        {"a width that is no number", "Interface\\", "LocalWidth", REG_SZ, "wide" + z,
         [](TfrmMain& m, const Program&) { return m.Local->Width() == 185; }},
        {"the log's flag kept as a word", "Interface\\", "LogVisible", REG_SZ, "True",
         [](TfrmMain& m, const Program&) { return m.pnlFTPLog->Visible() && m.itmViewFTPLog->Checked(); }},
        {"a folder with bytes after its zero", "Interface\\", "LocalDir", REG_SZ, dir.Path() + z + "C:\\junk",
         [&dir](TfrmMain& m, const Program&) { return m.Local->Directory() == dir.Path(); }},
        {"a time-out kept as text", "Options\\", "FTPTimeOut", REG_SZ, "45",
         [](TfrmMain& m, const Program&) { return m.frmOptions->TimeOut() == 45; }},
        {"a sound with bytes after its zero", "Options\\", "UploadSound", REG_SZ, "C:\\up.wav" + z + "junk" + z,
         [](TfrmMain& m, const Program&) { return m.frmOptions->ebxSoundUpload->Text() == "C:\\up.wav"; }},
        {"a flag kept as a number in text", "Options\\", "PlayDownload", REG_SZ, "0",
         [](TfrmMain& m, const Program&) { return !m.frmOptions->cbPlaySoundDownload->Checked(); }},
        {"a site file name with bytes after its zero", "FTP Servers\\", "INIFilename", REG_SZ,
         dir.File("other.ini") + z + "x",
         [&dir](TfrmMain& m, const Program&) { return m.SiteFile == dir.File("other.ini") && m.Servers.Count() == 1; }},
    };
    qftest::WriteFileBytes(dir.File("other.ini"), "[General]\r\nCount=1\r\n[Server1]\r\nName=\"Kept\"\r\n");
    for (auto& r : rows) {
        SCOPED_TRACE(r.name);
        Program prog;
        StoredKey(prog, r.key).WriteRaw(r.value, r.type, r.bytes);
        TfrmMain m(prog.Settings());
        EXPECT_TRUE(r.holds(m, prog));
    }
}

TEST(MainWindow, WorkFoldersEmptiedAtStartAndGoneAtExit) {
    Program prog;
    std::string cache = prog.folder.File("TmpPrivate-Cache");
    CreateDirectoryA(cache.c_str(), nullptr);
    qftest::WriteFileBytes(cache + "\\left.over", "x");
    {
        TfrmMain m(prog.Settings());
        EXPECT_TRUE(FolderExistsAt(cache));
        EXPECT_FALSE(FileExistsAt(cache + "\\left.over"));
        EXPECT_TRUE(GetFileAttributesA(cache.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    }
    EXPECT_FALSE(FolderExistsAt(cache));
    EXPECT_FALSE(FolderExistsAt(prog.folder.File("TmpPrivate-Archiving")));
}

TEST(LocalFiles, DeleteFolderTreeTakesHiddenAndReadOnlyFolders) {
    qftest::TempDir d;
    std::string root = d.File("tree");
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA((root + "\\hidden").c_str(), nullptr);
    CreateDirectoryA((root + "\\hidden\\ro").c_str(), nullptr);
    qftest::WriteFileBytes(root + "\\hidden\\ro\\f.txt", "x");
    qftest::WriteFileBytes(root + "\\plain.txt", "y");
    SetFileAttributesA((root + "\\hidden\\ro\\f.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA((root + "\\hidden\\ro").c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA((root + "\\hidden").c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(DeleteFolderTree(root));
    EXPECT_FALSE(FolderExistsAt(root));
}

TEST(LocalFiles, RecycleBinFailureAsksBeforeDeletingForGood) {
    qftest::TempDir d;
    std::string f = d.File("keep.txt");
    qftest::WriteFileBytes(f, "x");
    TRecycler saved = Recycler();
    Recycler() = [](const std::string&) { return false; };
    TScriptedPrompter p;
    p.AnswerMessage(IDNO);
    EXPECT_FALSE(RecycleOrDelete(f, false));
    EXPECT_TRUE(FileExistsAt(f));
    ASSERT_EQ(p.Log().size(), 1u);
    EXPECT_NE(p.Log()[0].Text.find(RecycleFailedText), std::string::npos);
    p.AnswerMessage(IDYES);
    EXPECT_TRUE(RecycleOrDelete(f, false));
    EXPECT_FALSE(FileExistsAt(f));
    Recycler() = saved;
}
