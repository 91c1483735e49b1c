#include "MainWindowSupport.h"

#include <gtest/gtest.h>
#include <shlwapi.h>
#include <commctrl.h>

#include <climits>

#include "components/RegistryEnhanced.h"
#include "Screenshot.h"
#include "runtime/Application.h"

namespace qfclient {

Server Pyftpd() {
    return {"pyftpdlib", qftest::Env("QF_FTP_PORT"), qftest::Env("QF_FTP_ROOT"), "test", "test"};
}
Server Vsftpd() { return {"vsftpd", qftest::Env("QF_VSFTPD_PORT"), qftest::Env("QF_VSFTPD_ROOT"), "anonymous", "guest@"}; }
Server SlowFtpd() {
    return {"slow", qftest::Env("QF_FTP_SLOW_PORT"), qftest::Env("QF_FTP_SLOW_ROOT"), "test", "test"};
}

Server FaultFtpd() {
    return {"faults", qftest::Env("QF_FTP_FAULTS_PORT"), qftest::Env("QF_FTP_FAULTS_ROOT"), "test", "test"};
}

Program::Program() {
    registry = "Software\\QfClientTest\\" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(GetTickCount()) + "\\";
}

Program::~Program() { SHDeleteKeyA(HKEY_CURRENT_USER, registry.substr(0, registry.size() - 1).c_str()); }

TMainSettings Program::Settings() {
    TMainSettings s;
    s.ProgramFolder = folder.Path() + "\\";
    s.RegistryRoot = registry;
    s.Now = [this] { return now; };
    return s;
}

TRegVariant StoredKey::Read(const std::string& name) const {
    TRegistryEnhanced reg;
    reg.RootKey = hkCurrentUser;
    reg.Access = kRead;
    reg.Key = key;
    return reg.ReadValue(name, TRegVariant());
}

int StoredKey::Int(const std::string& name) const {
    const TRegVariant v = Read(name);
    return v.Type == rvInteger ? static_cast<int>(v.Int) : INT_MIN;
}

std::string StoredKey::Text(const std::string& name) const {
    const TRegVariant v = Read(name);
    return v.Type == rvString ? v.Str : "(not text)";
}

void StoredKey::WriteRaw(const std::string& name, DWORD type, const std::string& bytes) const {
    HKEY k;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(k, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
    RegCloseKey(k);
}

void StoredKey::WriteInt(const std::string& name, int v) const {
    WriteRaw(name, REG_DWORD, std::string(reinterpret_cast<const char*>(&v), 4));
}

void WriteSiteFile(Program& p, const Server& s, bool passive, const std::string& password) {
    std::string pass = password.empty() ? s.pass : password;
    std::string text = "[General]\r\nCount=1\r\n[Server1]\r\nName=\"Test " + s.name + "\"\r\nHostname=\"127.0.0.1\"\r\n" +
                       "Port=\"" + s.port + "\"\r\nUsername=\"anonymous\"\r\nPassword=\"" + pass + "\"\r\nPASV=" +
                       (passive ? "Yes" : "No") + "\r\n";
    if (s.user != "anonymous") {
        // A named user: the password goes scrambled, as the program writes it.
        text = "[General]\r\nCount=1\r\n[Server1]\r\nName=\"Test " + s.name + "\"\r\nHostname=\"127.0.0.1\"\r\n" +
               "Port=\"" + s.port + "\"\r\nUsername=\"" + s.user + "\"\r\nPassword=\"" +
               TFTPServer::ScramblePassword(pass, [] { return 7; }) + "\"\r\nPASV=" + (passive ? "Yes" : "No") +
               "\r\n";
    }
    qftest::WriteFileBytes(p.folder.File("FTPServers.ini"), text);
}

void ConnectFromMenu(TfrmMain& m) {
    for (int i = 0; i < m.itmServers->Count(); ++i)
        if (m.itmServers->Items(i)->Tag == 101) {
            m.itmServers->Items(i)->Click();
            return;
        }
    ADD_FAILURE() << "no site item in the Servers menu";
}

void SelectRemote(TfrmMain& m, std::initializer_list<std::string> names) {
    for (int i = 0; i < m.lvServerFiles->Count(); ++i) m.lvServerFiles->SetSelected(i, false);
    for (auto& n : names) {
        int i = m.RemoteIndexOf(n);
        EXPECT_GE(i, 0) << n << " is not listed";
        m.lvServerFiles->SetSelected(i, true);
    }
}

int LogCount(TfrmMain& m, const std::string& part) {
    int n = 0;
    for (int i = 0; i < m.mmoFTPLog->Lines().Count(); ++i)
        if (m.mmoFTPLog->Lines().Strings(i).find(part) != std::string::npos) ++n;
    return n;
}

void ClickListItem(TListBox& list, int i, UINT down, bool ctrl) {
    RECT r{};
    SendMessageA(list.Handle(), LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM(r.left + 3, (r.top + r.bottom) / 2);
    const WPARAM keys = ctrl ? MK_CONTROL : 0;
    SendMessageA(list.Handle(), down, MK_LBUTTON | keys, at);
    SendMessageA(list.Handle(), WM_LBUTTONUP, keys, at);
}

void ClickButton(TButton* b) { SendMessageA(b->Handle(), BM_CLICK, 0, 0); }

// A listing with one folder and one file, as the server would have written it.
void ShowRemoteRows(Program& prog, TfrmMain& m) {
    std::string listing = prog.folder.File("listing.txt");
    qftest::WriteFileBytes(listing,
                           "drwxr-xr-x 2 u g 4096 Jan 1 2000 docs\r\n-rw-r--r-- 1 u g 120 Jan 1 2000 notes.txt\r\n");
    m.FTP_ProcessDir(listing);
}

namespace {
std::function<void()> g_whileOpen;
bool g_opened = false;
void CALLBACK InsideMenu(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    g_opened = true;
    if (g_whileOpen) g_whileOpen();
    EndMenu();
}
}  // namespace

bool RightClickRemote(TfrmMain& m, int i, const std::function<void()>& whileOpen) {
    HWND list = m.lvServerFiles->Handle();
    RECT r{LVIR_BOUNDS, 0, 0, 0};
    LPARAM at = MAKELPARAM(20, m.lvServerFiles->ClientHeight() - 4);
    if (i >= 0 && SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r)))
        at = MAKELPARAM(r.left + 8, (r.top + r.bottom) / 2);
    g_whileOpen = whileOpen;
    g_opened = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 100, InsideMenu);
    // The release waits in the queue: the list watches for it before it asks for the menu.
    PostMessageA(list, WM_RBUTTONUP, 0, at);
    SendMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, at);
    MSG msg;
    while (PeekMessageA(&msg, list, WM_RBUTTONUP, WM_RBUTTONUP, PM_REMOVE)) DispatchMessageA(&msg);
    if (!g_opened) KillTimer(nullptr, timer);
    g_whileOpen = nullptr;
    return g_opened;
}

namespace {
struct TFolderChoice {
    TFolderDialog* dialog = nullptr;
    std::string chosen;
    DWORD started = 0;
    int steady = 0;  // ticks in a row that showed the chosen folder
};
TFolderChoice g_folderChoice;

bool SamePath(const std::string& a, const std::string& b) {
    auto bare = [](std::string p) {
        while (p.size() > 3 && p.back() == '\\') p.pop_back();
        return p;
    };
    return lstrcmpiA(bare(a).c_str(), bare(b).c_str()) == 0;
}

// One step toward the chosen folder as a user takes it: the folder shown is
// opened in the tree and its child on the way clicked. (Under load the
// dialog's own BFFM_SETSELECTION can stop short of a deep folder, at a
// parent whose listing changed meanwhile; the tree is what a user works with.)
void StepInTree(HWND dialog, const std::string& leaf) {
    HWND tree = FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr);
    auto shown = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!tree || !shown) return;
    for (int attempt = 0; attempt < 2; ++attempt) {
        // The second time the folder is read anew: its children may have changed since.
        if (attempt == 1) SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE | TVE_COLLAPSERESET, reinterpret_cast<LPARAM>(shown));
        SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(shown));
        for (auto child = reinterpret_cast<HTREEITEM>(
                 SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(shown)));
             child;
             child = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)))) {
            char text[MAX_PATH] = "";
            TVITEMA item{};
            item.mask = TVIF_TEXT;
            item.hItem = child;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
            if (lstrcmpiA(text, leaf.c_str()) == 0) {
                SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(child));
                return;
            }
        }
    }
}

// The next path element of chosen below folder, or empty when folder is not above it.
std::string NextElement(const std::string& folder, const std::string& chosen) {
    std::string base = folder;
    while (!base.empty() && base.back() == '\\') base.pop_back();
    if (base.empty() || chosen.size() <= base.size() + 1 || chosen[base.size()] != '\\' ||
        lstrcmpiA(chosen.substr(0, base.size()).c_str(), base.c_str()) != 0)
        return "";
    const std::string rest = chosen.substr(base.size() + 1);
    return rest.substr(0, rest.find('\\'));
}

void CALLBACK ConfirmChosenFolder(HWND, UINT, UINT_PTR id, DWORD) {
    TFolderChoice& c = g_folderChoice;
    HWND w = c.dialog ? c.dialog->DialogWindow() : nullptr;
    if (!w) {
        KillTimer(nullptr, id);
        return;
    }
    const bool shows = IsWindowVisible(w) && SamePath(c.dialog->Directory(), c.chosen);
    c.steady = shows ? c.steady + 1 : 0;
    // A guard only: the test then fails on where the files went.
    if (c.steady < 2 && GetTickCount() - c.started < 20000) {
        if (shows || !IsWindowVisible(w)) return;
        const std::string next = NextElement(c.dialog->Directory(), c.chosen);
        if (!next.empty())
            StepInTree(w, next);
        else
            SendMessageA(w, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(c.chosen.c_str()));
        return;
    }
    KillTimer(nullptr, id);
    PostMessageA(w, WM_COMMAND, IDOK, 0);
}
}  // namespace

void AnswerFolderDialog(TFolderDialog& dialog, const std::string& chosen, FolderAnswer* seen) {
    dialog.OnShow = [&dialog, chosen, seen](TObject*) {
        HWND w = dialog.DialogWindow();
        if (seen) {
            char buf[256];
            GetWindowTextA(w, buf, sizeof buf);
            seen->title = buf;
            seen->startedIn = dialog.Directory();
        }
        if (chosen.empty()) {
            PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        SendMessageA(w, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(chosen.c_str()));
        g_folderChoice = TFolderChoice{&dialog, chosen, GetTickCount(), 0};
        SetTimer(nullptr, 0, 50, ConfirmChosenFolder);
    };
}

void ChoosePopupItem(TMenuItem* item) { SendMessageA(TPopupMenu::UtilWindow(), WM_COMMAND, item->Command(), 0); }

std::string ServerFile(const Server& s, const std::string& rel) {
    std::string p = qftest::HostPath(s.unixRoot) + "\\" + rel;
    for (auto& c : p)
        if (c == '/') c = '\\';
    return p;
}

void PutServerFile(const Server& s, const std::string& rel, const std::string& bytes) {
    qftest::WriteFileBytes(ServerFile(s, rel), bytes);
}

void MaybeSaveShot(HWND window, const std::string& name) {
    const std::string folder = qftest::Env("QF_CLIENT_SHOTS");
    if (folder.empty()) return;
    UpdateWindow(window);
    EXPECT_TRUE(SaveWindowShot(window, folder + "\\" + name + ".bmp")) << name;
}

ServerSession::ServerSession(const Server& s, bool passive, const std::string& siteLines) : server(s) {
    WriteSiteFile(prog, s, passive);
    if (!siteLines.empty()) {
        const std::string file = prog.folder.File("FTPServers.ini");
        qftest::WriteFileBytes(file, qftest::ReadFileBytes(file) + siteLines);
    }
    main = std::make_unique<TfrmMain>(prog.Settings());
    main->Show();
    main->Local->SetDirectory(local.Path());
}

ServerSession::~ServerSession() {
    if (::testing::Test::HasFailure())
        for (int i = 0; i < main->mmoFTPLog->Lines().Count(); ++i)
            printf("log: %s\n", main->mmoFTPLog->Lines().Strings(i).c_str());
    if (main->FTP->IsConnected()) main->tb97DisconnectClick();
}

}  // namespace qfclient
