// The main window on a scratch program folder and registry key, and the
// servers the tests start.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "MainForm.h"
#include "TestSupport.h"
#include "components/core/RegistryValue.h"

namespace qfclient {

struct Server {
    std::string name;
    std::string port;
    std::string unixRoot;  // where the test writes the server's files
    std::string user, pass;
};

Server Pyftpd();
Server Vsftpd();
Server SlowFtpd();
// pyftpdlib with refusals steered by names: "locked*" folders cannot be
// listed (550), a LIST in "nodata*" is answered 425, a RETR of "drop*" ends
// the session.
Server FaultFtpd();

// The program folder, registry key and the clock of one window.
struct Program {
    qftest::TempDir folder;
    std::string registry;
    double now = 45000.5;
    TMainSettings Settings();
    Program();
    ~Program();
};

// The values below one key of the program's (sub: "Interface\\", "Options\\"...),
// read as stored, and written as raw bytes as another program might have left them.
struct StoredKey {
    StoredKey(const Program& p, const std::string& sub) : key(p.registry + sub) {}
    std::string key;
    TRegVariant Read(const std::string& name) const;  // rvEmpty when missing
    // A number stored as a number (INT_MIN otherwise).
    int Int(const std::string& name) const;
    // A text stored as text ("(not text)" otherwise).
    std::string Text(const std::string& name) const;
    void WriteRaw(const std::string& name, DWORD type, const std::string& bytes) const;
    void WriteInt(const std::string& name, int v) const;
};

// Writes a site file with one site for the server.
void WriteSiteFile(Program& p, const Server& s, bool passive, const std::string& password = "");
// Fills the remote list from a listing of one folder ("docs") and one file ("notes.txt").
void ShowRemoteRows(Program& prog, TfrmMain& m);
// Connects through the Servers menu's first site item.
void ConnectFromMenu(TfrmMain& m);
// Selects the rows with these names (only them).
void SelectRemote(TfrmMain& m, std::initializer_list<std::string> names);
int LogCount(TfrmMain& m, const std::string& part);
// A real click on item i of a list box (a double click with WM_LBUTTONDBLCLK); Ctrl held adds to the selection.
void ClickListItem(TListBox& list, int i, UINT down = WM_LBUTTONDOWN, bool ctrl = false);
void ClickButton(TButton* b);
// A right click on row i of the remote list (-1: below the rows); whileOpen runs
// inside the pop-up menu's loop, after which the menu closes unchosen. False
// when no menu came up.
bool RightClickRemote(TfrmMain& m, int i, const std::function<void()>& whileOpen);
// The choice of a pop-up item, as the platform reports a click on it.
void ChoosePopupItem(TMenuItem* item);
// With QF_CLIENT_SHOTS naming a folder (a run under Xvfb), saves the
// window's picture there as name + ".bmp"; otherwise does nothing.
void MaybeSaveShot(HWND window, const std::string& name);
// Answers the folder dialog of the next Execute as a user would: chooses the
// folder (empty: Cancel) and confirms only once the dialog shows it as its
// selection, since under load the dialog may not have taken it yet. Records
// the dialog's caption and the folder it started in.
struct FolderAnswer {
    std::string title, startedIn;
};
void AnswerFolderDialog(TFolderDialog& dialog, const std::string& chosen, FolderAnswer* seen = nullptr);
std::string ServerFile(const Server& s, const std::string& rel);  // Wine path of a file on the server
void PutServerFile(const Server& s, const std::string& rel, const std::string& bytes);

// The main window with a site file of one server on it, showing a local folder
// of its own; a failing test prints the FTP dialogue.
class ServerSession {
public:
    // siteLines: more keys for the site's section.
    ServerSession(const Server& s, bool passive, const std::string& siteLines = "");
    ~ServerSession();
    Server server;
    Program prog;
    qftest::TempDir local;
    std::unique_ptr<TfrmMain> main;
};

}  // namespace qfclient
