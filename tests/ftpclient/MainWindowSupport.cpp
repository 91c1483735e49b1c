#include "MainWindowSupport.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

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

}  // namespace qfclient
