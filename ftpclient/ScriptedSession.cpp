#include "ScriptedSession.h"

#include <cstdlib>

#include "LocalFiles.h"
#include "MainForm.h"
#include "Screenshot.h"
#include "runtime/Application.h"
#include "ui/HintWindow.h"

namespace {
std::string Env(const char* name) {
    const char* v = getenv(name);
    return v ? v : "";
}

// "x\QuillonFTP.bmp" with "-progress" gives "x\QuillonFTP-progress.bmp".
std::string Beside(const std::string& shot, const std::string& suffix) {
    std::string s = shot;
    s.insert(s.size() > 4 ? s.size() - 4 : s.size(), suffix);
    return s;
}

void Settle(int ms) {
    for (int i = 0; i < ms / 50; ++i) {
        Application->ProcessMessages();
        Sleep(50);
    }
}

bool Download(TfrmMain& m, const TScriptedSession& s) {
    int row = m.RemoteIndexOf(s.Download);
    if (row < 0) return false;
    for (int i = 0; i < m.lvServerFiles->Count(); ++i) m.lvServerFiles->SetSelected(i, i == row);
    int64_t size = SizeOfText(m.RemoteRows[static_cast<size_t>(row)].SizeText);
    // The progress window is pictured once a third of the file is in.
    bool shot = false, saved = false;
    TFtpProgress engine = m.FTP->OnProgress;
    m.FTP->OnProgress = [&](TObject* sender, int64_t count, bool& abort) {
        engine(sender, count, abort);
        TfrmDownload* w = m.ProgressWindow();
        if (!shot && w && w->Visible() && count * 3 >= size) {
            shot = true;  // the picture pumps messages: no second one meanwhile
            saved = SaveWindowShot(w->Handle(), Beside(s.Shot, "-progress"));
        }
    };
    m.itmSrvFilesDownloadClick();
    m.FTP->OnProgress = engine;
    return saved && GetFileSizeOf(IncludeTrailingBackslash(s.LocalDir) + s.Download) == size;
}

bool Upload(TfrmMain& m, const TScriptedSession& s) {
    m.Local->SetFilterIndex(5);
    m.Local->Refresh();
    for (int i = 0; i < m.Local->lbFiles->Items().Count(); ++i) m.Local->lbFiles->SetSelected(i, false);
    if (!m.Local->SelectFile(s.Upload)) return false;
    m.itmUploadLocaFileClick();
    return m.RemoteIndexOf(s.Upload) >= 0;
}

// The window at a second, smaller size, then as it was.
bool SmallShot(TfrmMain& m, const std::string& path) {
    const RECT was{m.Left(), m.Top(), m.Left() + m.Width(), m.Top() + m.Height()};
    m.SetBounds(was.left, was.top, 620, 460);
    Settle(300);
    const bool saved = SaveWindowShot(m.Handle(), path);
    m.SetBounds(was.left, was.top, was.right - was.left, was.bottom - was.top);
    Settle(200);
    return saved;
}

std::string g_popupShot;
RECT g_popupArea{};
bool g_popupSaved = false;
void CALLBACK ShootPopup(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    // The screen, not the window: the menu is a window of its own.
    g_popupSaved = SaveScreenArea(g_popupArea, g_popupShot);
    EndMenu();
}

// The remote list's pop-up menu, opened on the last row.
bool PopupShot(TfrmMain& m, const std::string& path) {
    const int row = m.lvServerFiles->Count() - 1;
    if (row < 0) return false;
    for (int i = 0; i < m.lvServerFiles->Count(); ++i) m.lvServerFiles->SetSelected(i, i == row);
    RECT item{LVIR_BOUNDS, 0, 0, 0};
    SendMessageA(m.lvServerFiles->Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    POINT at{item.left + 40, (item.top + item.bottom) / 2};
    ClientToScreen(m.lvServerFiles->Handle(), &at);
    g_popupShot = path;
    GetWindowRect(m.Handle(), &g_popupArea);
    g_popupSaved = false;
    SetTimer(nullptr, 0, 500, ShootPopup);
    SendMessageA(m.lvServerFiles->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m.lvServerFiles->Handle()),
                 MAKELPARAM(at.x, at.y));
    Settle(200);
    return g_popupSaved;
}

// The tip of the refresh button, brought up by the mouse resting on it.
bool ToolTipShot(TfrmMain& m, const std::string& path) {
    RECT b;
    GetWindowRect(m.tb97Refresh->Handle(), &b);
    SetCursorPos((b.left + b.right) / 2, (b.top + b.bottom) / 2);
    const LPARAM at = MAKELPARAM(m.tb97Refresh->Width() / 2, m.tb97Refresh->Height() / 2);
    PostMessageA(m.tb97Refresh->Handle(), WM_MOUSEMOVE, 0, at);
    auto shown = [] { return ApplicationHintWindow() && ApplicationHintWindow()->Showing(); };
    for (int i = 0; i < 40 && !shown(); ++i) Settle(50);
    RECT area;
    GetWindowRect(m.Handle(), &area);
    area.bottom = area.top + 200;
    const bool saved = shown() && SaveScreenArea(area, path);
    SetCursorPos(0, 0);
    return saved;
}

HWND g_menuWindow = nullptr;
int g_menuTicks = 0;
void CALLBACK OpenFileThenShoot(HWND, UINT, UINT_PTR id, DWORD) {
    // Down opens the drop-down under the bar's first item and selects its first item.
    if (++g_menuTicks == 1) {
        PostMessageA(g_menuWindow, WM_KEYDOWN, VK_DOWN, 0);
        return;
    }
    ShootPopup(nullptr, 0, id, 0);
}

// The File menu opened from the keyboard, its first item's hint in the status bar.
bool MenuHintShot(TfrmMain& m, const std::string& path) {
    g_popupShot = path;
    GetWindowRect(m.Handle(), &g_popupArea);
    g_popupSaved = false;
    g_menuWindow = m.Handle();
    g_menuTicks = 0;
    SetTimer(nullptr, 0, 600, OpenFileThenShoot);
    SendMessageA(m.Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    Settle(200);
    return g_popupSaved;
}

// The progress window as a transfer shows it, when no real transfer is asked for.
void SampleProgressShot(TfrmMain& m, const std::string& path) {
    TfrmDownload progress(&m, NowDateTime);
    progress.UpdateProgress("sample.bin", 200000, 0);
    progress.Show();
    progress.UpdateProgress("sample.bin", -1, 81920);
    SaveWindowShot(progress.Handle(), path);
    progress.Hide();
}
}  // namespace

bool TScriptedSession::FromEnvironment() {
    Shot = Env("QF_SCREENSHOT");
    Download = Env("QF_SESSION_GET");
    Upload = Env("QF_SESSION_PUT");
    LocalDir = Env("QF_SESSION_LOCAL");
    return !Shot.empty();
}

int RunScriptedSession(TfrmMain& m, const TScriptedSession& s) {
    int failed = 0;
    if (!s.LocalDir.empty()) m.Local->SetDirectory(s.LocalDir);
    if (m.Servers.Count() > 0) m.ConnectToServer(m.Servers.Items(0));
    Settle(1000);
    if (!SaveWindowShot(m.Handle(), s.Shot)) ++failed;
    // A first start hides the log: shown as the user shows it, and kept at exit.
    if (!m.pnlFTPLog->Visible()) m.itmViewFTPLog->Click();
    Settle(300);
    if (!SaveWindowShot(m.Handle(), Beside(s.Shot, "-log"))) ++failed;
    if (!SmallShot(m, Beside(s.Shot, "-small"))) ++failed;
    if (m.FTP->IsConnected() && !PopupShot(m, Beside(s.Shot, "-popup"))) ++failed;
    if (m.FTP->IsConnected() && !ToolTipShot(m, Beside(s.Shot, "-tip"))) ++failed;
    if (!MenuHintShot(m, Beside(s.Shot, "-menuhint"))) ++failed;
    if (!s.Download.empty() && m.FTP->IsConnected()) {
        if (!Download(m, s)) ++failed;
    } else {
        SampleProgressShot(m, Beside(s.Shot, "-progress"));
    }
    if (!s.Upload.empty() && m.FTP->IsConnected()) {
        if (!Upload(m, s)) ++failed;
        Settle(300);
        if (!SaveWindowShot(m.Handle(), Beside(s.Shot, "-uploaded"))) ++failed;
    }
    if ((!s.Download.empty() || !s.Upload.empty()) && !m.FTP->IsConnected()) ++failed;
    // Closed as the user closes it: the settings and the sites are written.
    m.Close();
    return failed;
}
