// Rows dragged between the two lists against a real server, and the
// properties of remote rows.
#include <gtest/gtest.h>

#include "LocalFiles.h"
#include "MainWindowSupport.h"
#include "ScriptedModalRunner.h"
#include "ScriptedPrompter.h"
#include "runtime/Application.h"

using namespace qfclient;

namespace {

struct Connected {
    Server server = Pyftpd();
    Program prog;
    qftest::TempDir local;
    std::unique_ptr<TfrmMain> main;
    explicit Connected() {
        WriteSiteFile(prog, server, true);
        main = std::make_unique<TfrmMain>(prog.Settings());
        main->Show();
        main->Local->SetFilterIndex(5);
        main->Local->SetDirectory(local.Path());
        ConnectFromMenu(*main);
    }
    ~Connected() {
        if (main->FTP->IsConnected()) main->tb97DisconnectClick();
    }
};

POINT CentreOf(TWinControl* c) {
    RECT r;
    GetWindowRect(c->Handle(), &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

LPARAM ClientParam(HWND w, POINT screen) {
    ScreenToClient(w, &screen);
    return MAKELPARAM(static_cast<short>(screen.x), static_cast<short>(screen.y));
}

// A press at `from` (client point of source), the mouse moved to the screen
// point `to` and released there; then the posted follow-ups run.
void Drag(TWinControl* source, POINT from, POINT to) {
    HWND h = source->Handle();
    PostMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, ClientParam(h, to));
    PostMessageA(h, WM_LBUTTONUP, 0, ClientParam(h, to));
    SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    Application->ProcessMessages();
}

POINT ListBoxItemPoint(TListBox* list, int i) {
    RECT r{};
    SendMessageA(list->Handle(), LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return POINT{r.left + 5, (r.top + r.bottom) / 2};
}

POINT ListViewItemPoint(TRemoteListView* list, int i) {
    RECT r{};
    r.left = LVIR_LABEL;
    SendMessageA(list->Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return POINT{r.left + 5, (r.top + r.bottom) / 2};
}

}  // namespace

TEST(DragAndDrop, LocalFilesDroppedOnTheRemoteListAreUploaded) {
    Connected x;
    TfrmMain& m = *x.main;
    ASSERT_TRUE(m.FTP->IsConnected());
    std::string one = qftest::PatternBytes(20000, 11), two = qftest::PatternBytes(7000, 12);
    qftest::WriteFileBytes(x.local.File("drag1.bin"), one);
    qftest::WriteFileBytes(x.local.File("drag2.bin"), two);
    qftest::WriteFileBytes(x.local.File("stay.bin"), "stay");
    m.Local->Refresh();
    ASSERT_TRUE(m.Local->SelectFile("drag1.bin"));
    ASSERT_TRUE(m.Local->SelectFile("drag2.bin"));
    int row = m.Local->lbFiles->Items().IndexOf("drag2.bin");

    // Dropped on the log instead: nothing moves, the choice stays.
    Drag(m.Local->lbFiles, ListBoxItemPoint(m.Local->lbFiles, row), CentreOf(m.pnlFTPLog));
    EXPECT_FALSE(FileExistsAt(ServerFile(x.server, "drag1.bin")));
    EXPECT_EQ(m.Local->SelectedFiles(), (std::vector<std::string>{"drag1.bin", "drag2.bin"}));

    int stors = LogCount(m, "STOR");
    Drag(m.Local->lbFiles, ListBoxItemPoint(m.Local->lbFiles, row), CentreOf(m.lvServerFiles));
    EXPECT_EQ(qftest::Sha256Hex(qftest::ReadFileBytes(ServerFile(x.server, "drag1.bin"))), qftest::Sha256Hex(one));
    EXPECT_EQ(qftest::Sha256Hex(qftest::ReadFileBytes(ServerFile(x.server, "drag2.bin"))), qftest::Sha256Hex(two));
    EXPECT_FALSE(FileExistsAt(ServerFile(x.server, "stay.bin")));
    EXPECT_EQ(LogCount(m, "STOR"), stors + 2);
    EXPECT_GE(m.RemoteIndexOf("drag2.bin"), 0);  // listed again after the upload

    // A press without moving is a plain click: the list chooses that row alone.
    POINT p = ListBoxItemPoint(m.Local->lbFiles, row);
    PostMessageA(m.Local->lbFiles->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    SendMessageA(m.Local->lbFiles->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    Application->ProcessMessages();
    EXPECT_EQ(m.Local->SelectedFiles(), (std::vector<std::string>{"drag2.bin"}));
    EXPECT_EQ(LogCount(m, "STOR"), stors + 2);
}

TEST(DragAndDrop, RemoteRowsDroppedOnTheLocalPaneAreDownloaded) {
    Server s = Pyftpd();
    std::string big = qftest::PatternBytes(50000, 21);
    PutServerFile(s, "down1.bin", big);
    PutServerFile(s, "down2.txt", "text\n");
    Connected x;
    TfrmMain& m = *x.main;
    ASSERT_TRUE(m.FTP->IsConnected());
    SelectRemote(m, {"down1.bin", "down2.txt"});
    POINT from = ListViewItemPoint(m.lvServerFiles, m.RemoteIndexOf("down1.bin"));
    Drag(m.lvServerFiles, from, CentreOf(m.Local->lbFiles));
    EXPECT_EQ(qftest::Sha256Hex(qftest::ReadFileBytes(x.local.File("down1.bin"))), qftest::Sha256Hex(big));
    EXPECT_TRUE(FileExistsAt(x.local.File("down2.txt")));
    EXPECT_EQ(m.lvServerFiles->SelCount(), 2);

    // Not connected: the drop is refused.
    m.tb97DisconnectClick();
    DeleteFileA(x.local.File("down1.bin").c_str());
    EXPECT_FALSE(m.CanDropOnLocal(CentreOf(m.Local->lbFiles)));
}

TEST(RemotePane, PropertiesOfSelectedRows) {
    Server s = Pyftpd();
    PutServerFile(s, "props.bin", std::string(3000, 'p'));
    Connected x;
    TfrmMain& m = *x.main;
    ASSERT_TRUE(m.FTP->IsConnected());
    SelectRemote(m, {".", "props.bin"});  // the first row, ".", is passed over
    auto shown = m.itmSrvFilesPropertiesClick();
    ASSERT_EQ(shown.size(), 1u);
    TfrmFileProperties& f = *shown[0];
    const TRemoteRow& row = m.lvServerFiles->Row(m.RemoteIndexOf("props.bin"));
    EXPECT_EQ(f.lblFilename->Caption(), "props.bin");
    EXPECT_EQ(f.lblSize->Caption(), "2.93 KB (3,000 bytes)");
    EXPECT_EQ(f.lblPermissions->Caption(), row.SubItems[1]);
    EXPECT_EQ(f.lblUser->Caption(), row.SubItems[2]);
    EXPECT_EQ(f.lblModified->Caption(), row.SubItems[5]);
    EXPECT_EQ(f.lblLocation->Caption(), m.cbServerDir->Text());
    EXPECT_EQ(f.lblPermDesc->Caption(), "Permissions:");
    f.Close();
    Application->ProcessMessages();
}

TEST(RemotePane, PopupMenuAndKeysActOnTheServer) {
    Server s = Pyftpd();
    const std::string bytes = qftest::PatternBytes(30000, 5);
    PutServerFile(s, "menu.bin", bytes);
    PutServerFile(s, "gone by key.txt", "bye\n");
    CreateDirectoryA(ServerFile(s, "keydir").c_str(), nullptr);
    Connected x;
    TfrmMain& m = *x.main;
    ASSERT_TRUE(m.FTP->IsConnected());
    TScriptedPrompter prompter;

    // Connected and idle: a row's downloads are offered, not while a command runs.
    struct State {
        bool busy, download;
    } states[] = {{false, true}, {true, false}};
    for (const State& st : states) {
        bool download = !st.download, downloadAs = !st.download;
        m.Busy = st.busy;
        ASSERT_TRUE(RightClickRemote(m, m.RemoteIndexOf("menu.bin"), [&] {
            download = m.itmSrvFilesDownload->Enabled();
            downloadAs = m.itmSrvFilesDownloadAs->Enabled();
        }));
        EXPECT_EQ(download, st.download) << (st.busy ? "busy" : "idle");
        EXPECT_EQ(downloadAs, st.download) << (st.busy ? "busy" : "idle");
    }
    m.Busy = false;
    ChoosePopupItem(m.itmSrvFilesDownload);
    EXPECT_EQ(qftest::Sha256Hex(qftest::ReadFileBytes(x.local.File("menu.bin"))), qftest::Sha256Hex(bytes));

    // Delete on the keyboard, after the question.
    SelectRemote(m, {"gone by key.txt"});
    prompter.AnswerMessage(IDYES);
    SendMessageA(m.lvServerFiles->Handle(), WM_KEYUP, VK_DELETE, 0);
    EXPECT_EQ(LogCount(m, "DELE gone by key.txt"), 1);
    EXPECT_FALSE(FileExistsAt(ServerFile(s, "gone by key.txt")));
    EXPECT_LT(m.RemoteIndexOf("gone by key.txt"), 0) << "listed again";

    // F5 lists again; with Ctrl held it does nothing.
    const int lists = LogCount(m, "LIST");
    SendMessageA(m.lvServerFiles->Handle(), WM_KEYUP, VK_F5, 0);
    EXPECT_EQ(LogCount(m, "LIST"), lists + 1);
    BYTE keys[256], held[256];
    GetKeyboardState(keys);
    memcpy(held, keys, sizeof keys);
    held[VK_CONTROL] = 0x80;
    SetKeyboardState(held);
    SendMessageA(m.lvServerFiles->Handle(), WM_KEYUP, VK_F5, 0);
    SetKeyboardState(keys);
    EXPECT_EQ(LogCount(m, "LIST"), lists + 1);

    // Enter on a folder opens it.
    SelectRemote(m, {"keydir"});
    SendMessageA(m.lvServerFiles->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(m.CurrentServerDir.substr(m.CurrentServerDir.size() - 6), "keydir");
    EXPECT_EQ(m.RemoteRows.size(), 2u) << "the empty folder: only . and ..";
    RemoveDirectoryA(ServerFile(s, "keydir").c_str());
}
