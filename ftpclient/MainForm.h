// The main window of QuillonFTP: the command queue and its engine driver,
// the log, the remote and local panes, transfers, saved sites, settings.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ClientDialogs.h"
#include "FtpClient.h"
#include "FtpLogView.h"
#include "InfoDialogs.h"
#include "RemoteListView.h"
#include "SiteDialogs.h"
#include "LocalBrowser.h"
#include "OptionsForm.h"
#include "ClientImages.h"
#include "components/ComboBox98.h"
#include "components/FolderDialog.h"
#include "components/Hint95.h"
#include "components/Menus97.h"
#include "components/PlayerWave.h"
#include "components/ToolbarButton97.h"
#include "ftpclient/core/ConnectedUI.h"
#include "ftpclient/core/FTPCommand.h"
#include "ftpclient/core/FolderDownload.h"
#include "ftpclient/core/ListingParser.h"
#include "ftpclient/core/LogLine.h"
#include "ftpclient/core/ServerList.h"
#include "ui/ComCtrls.h"
#include "ui/Menus.h"
#include "ui/Splitter.h"
#include "ui/Timer.h"

// Where the window keeps its files; tests point these at scratch places.
struct TMainSettings {
    std::string ProgramFolder;  // with a trailing backslash
    std::string RegistryRoot;   // below HKEY_CURRENT_USER, with a trailing backslash
    std::function<double()> Now;  // date-time in days
};

class TRePosApp;
class TRegistryEnhanced;

class TfrmMain : public TForm {
public:
    explicit TfrmMain(const TMainSettings& settings);
    ~TfrmMain() override;

    // ---- 2.101 queue and driver
    TFtpClient* FTP;
    bool UseSync = true, Busy = false, Connecting = false, AbortRequested = false, Connected = false;
    double ConnectedAt = 0;
    std::string ListingFile, CurrentServerDir;
    bool LastCommandOk = false;
    int QueueLength() const { return static_cast<int>(queue_.size()); }
    void QueueCommand(const TFTPCommand& c);
    void ExecuteNextCommand();
    void ClearCommandQueue() { queue_.clear(); }
    void QueueQuit();
    void QueueList();
    void QueuePwd() { QueueCommand(MakeSimple(cmdPwd)); }
    void QueueCDup() { QueueCommand(MakeSimple(cmdCDup)); }
    void QueueCwd(const std::string& f) { QueueCommand(MakeCwd(f)); }
    void ChangeServerDir(const std::string& f) { QueueCwd(f); }
    void QueueDele(const std::string& n) { QueueCommand(MakeNamed(cmdDele, n)); }
    void QueueRmd(const std::string& n) { QueueCommand(MakeNamed(cmdRmd, n)); }
    void QueueMkd(const std::string& n) { QueueCommand(MakeNamed(cmdMkd, n)); }
    void QueueSize(const std::string& n) { QueueCommand(MakeNamed(cmdSize, n)); }
    void QueueRename(const std::string& o, const std::string& n) { QueueCommand(MakeRename(o, n)); }
    void QueueTypeSet(bool binary) { QueueCommand(MakeTypeSet(binary)); }
    void QueueChMod(const std::string& name, const TPermissions& p);
    void QueueDownload(const std::string& local, int64_t resume, int64_t size, bool binary, const std::string& name,
                       const std::string& folder);
    void QueueUpload(const std::string& local, const std::string& folder, int64_t size, bool binary,
                     const std::string& name);
    // While busy the server pane and the toolbar show the hourglass.
    void SetBusy(bool b);
    void AddLog(const std::string& text, int kind);
    void ClearLog() { mmoFTPLog->Lines().Clear(); }
    TfrmDownload* ProgressWindow() const { return progress_.get(); }

    // ---- 2.102 remote pane
    std::vector<TListingEntry> RemoteRows;  // in the list's order
    void FTP_ProcessDir(const std::string& path);
    // The list's rows, icons and types from RemoteRows (already in order).
    void FillRemoteList();
    void OpenRemoteRow();  // double click
    void itmSrvFilesDeleteClick();
    void itmSrvFilesRenameClick();
    void itmSrvFilesChModClick();
    void itmSrvFilesNewFolderClick();
    void tb97FolderUpClick();
    void tb97RefreshClick();
    // Enables the pop-up's items by the selection and the connection.
    void popServerFilesPopup();
    // Delete, F2 and F5 without Shift, Ctrl or Alt; Enter on a folder opens it.
    void lvServerFilesKeyUp(WORD key, TShiftState shift);
    void lvServerFilesKeyDown(WORD key, TShiftState shift);
    void itmSrvFilesViewLargeClick() { lvServerFiles->SetViewStyle(rvsIcon); }
    void itmSrvFilesViewSmallClick() { lvServerFiles->SetViewStyle(rvsSmallIcon); }
    void itmSrvFilesViewListClick() { lvServerFiles->SetViewStyle(rvsList); }
    void itmSrvFilesViewDetailsClick() { lvServerFiles->SetViewStyle(rvsReport); }
    TMenuItem *itmSrvFilesDownload, *itmSrvFilesDownloadAs, *itmSrvFilesDelete, *itmSrvFilesRename,
        *itmSrvFilesChMod, *itmSrvFilesNewFolder, *itmSrvFilesView, *itmSrvFilesProperties;
    int RemoteIndexOf(const std::string& name) const;

    // ---- 2.103 transfers
    // By the three transfer-mode buttons: exactly one is down.
    TTransferMode TransferMode() const;
    bool IsBinaryTransfer(const std::string& name) const;
    void itmSrvFilesDownloadClick();
    void itmSrvFilesDownloadAsClick();
    void DownloadFolder(const std::string& local, const std::string& remoteParent, const std::string& name);
    void itmUploadLocaFileClick();
    void lbFilesDblClick();
    // After a finished transfer: the options' sound, when chosen and its file exists.
    void PlayTransferSound(bool upload);

    // ---- 2.104 sites
    TServerList Servers;
    TFTPServer CurrentServer;  // a copy: the list may lose the site meanwhile
    std::string SiteFile, DefaultSiteFile;
    void LoadServers();
    bool SaveServers();
    void BuildServerMenu();
    void ConnectToServer(TFTPServer site);  // a copy: the list may change meanwhile
    void itmAddServerClick();
    void itmEditServerClick();
    void itmRemoveServerClick();
    void tb97DisconnectClick();
    void tb97ConnectClick();
    TfrmServerConnect* ConnectingBox() const { return connectBox_.get(); }

    // ---- 2.106 local pane (MainLocal.cpp)
    std::string LocalDirUp(int levels) const;
    void popLocalDirPopup();
    void popLocalFilesPopup();
    void itmNewLocalDirClick();
    void itmRenameLocalDirClick();
    void itmDeleteLocalDirClick();
    void itmRenameLocalFileClick();
    void itmDeleteLocalFileClick();
    // The property sheets shown, one per file (each frees itself on closing).
    std::vector<TfrmFileProperties*> itmLocFilePropertiesClick();
    std::vector<TfrmFileProperties*> itmSrvFilesPropertiesClick();
    void itmAboutClick();
    TPopupMenu *popLocalDir, *popLocalFiles;
    TMenuItem *itmNewLocalDir, *itmRenameLocalDir, *itmDeleteLocalDir, *itmRenameLocalFile, *itmDeleteLocalFile,
        *itmUploadLocalFile, *itmLocFileProperties;

    // ---- drag and drop between the lists (MainDrag.cpp)
    struct TPendingDrop {
        bool Upload = false, Drop = false;
        std::vector<std::string> LocalNames;
        std::vector<int> RemoteRows;
        // The rows themselves, taken when the drag starts: what the list does
        // with its selection meanwhile does not change what is downloaded.
        std::vector<TListingEntry> RemoteEntries;
    };
    void LocalFilesPressed(int x, int y);
    void RemoteFilesPressed(int x, int y);
    bool CanDropOnRemote(POINT screen) const;
    bool CanDropOnLocal(POINT screen) const;
    void RunDrag(TWinControl* list, POINT start, TPendingDrop drop, const std::function<bool(POINT)>& target);
    void FinishDrop();

    // ---- 2.105 shell
    void SetConnectedUI(bool c);
    bool ConnectedUI() const { return connectedUI_; }
    void tmrUpdateConnectionTimeTimer();
    void LoadInterfaceSettings();
    void SaveInterfaceSettings();
    void FormClose();
    std::string StatusText(int panel) const;
    std::string WorkFolder(int i) const;
    // Status panel 0: the hint, or the slogan when there is none (the
    // application's hints come here while the window lives).
    void ShowHintInStatus(const std::string& hint);
    void ApplyOptions();  // the toolbar's web buttons, as the options say
    void tb97HostingClick();
    void tb97SecureClick();
    void lblKeelsonFTPExposureClick();
    // Layout when the status bar or a panel changes size.
    void fsbMainResize();
    void pnlServerResize();
    // The log and its splitter shown or hidden together.
    void ShowLog(bool visible);
    void pnlKeelsonFTPResize();
    // The busy animation: only while "spin.avi" was found at start.
    void StartAnimation();
    void StopAnimation();

    // ---- controls (created in one place per group, so components can replace them)
    TPanel *pnlToolbar, *pnlServerToolbar, *pnlAnim, *pnlLocalAndRemote, *pnlServer, *pnlKeelsonFTP, *pnlFTPLog;
    TStatusBar* fsbMain;
    // Between the local and the server pane, and above the log.
    TSplitter *spltFTP, *spltFTPLog;
    TToolbarButton97 *tb97Connect, *tb97Disconnect, *tb97AddServer, *tb97FolderUp, *tb97NewFolder, *tb97Delete,
        *tb97Refresh, *tb97TransferBin, *tb97TransferAsc, *tb97TransferAuto, *tb97Hosting, *tb97Secure;
    TAnimate* animKFTP;
    TLocalBrowser* Local;
    TLabel* lblServer;
    TComboBox98* cbServerDir;  // completes typed folders from those the server reported
    TRemoteListView* lvServerFiles;
    TLabel* lblKeelsonFTPExposure;
    TMemoLog* mmoFTPLogView;  // owned by memoLog_
    TLogMemo* mmoFTPLog;
    TTransferBar* pbTransferStatus;
    TArtImage *imgConnectedOn, *imgConnectedOff, *imgDisconnectedOn, *imgDisconnectedOff;
    TMainMenu* mnuMain;
    TImageList* imglst97Main;
    TMainMenus97* mnu97Main;
    THint95* hnt95Main;
    TPlayerWave* PlayerWave;
    TFolderDialog* FolderDialog;  // where "Download as" puts a folder
    TMenuItem *itmServers, *itmDisconnect, *itmViewFTPLog;
    TPopupMenu* popServerFiles;
    TTimer* tmrUpdateConnectionTime;
    TfrmOptions* frmOptions;
    TfrmMessage* frmMessage;
    TRePosApp* RePosApp;
    TRegistryEnhanced* RegEnh;  // the window's settings and the site file's name

    bool HandleMessage(TMessage& m) override;
    bool InBusyArea(HWND w) const;
    bool QuitOnClose = false;  // the program's window ends the message loop

private:
    std::unique_ptr<TMemoLog> memoLog_;
    std::unique_ptr<class TFileImages> remoteImages_;
    void CreateToolbar();
    void CreateMenus();
    void CreatePanes();
    void CreateStatusBar();
    void CreateLocalMenus();
    void WireRemoteList();  // its pop-up menu and keys
    void WireDragAndDrop();
    void WireEngine();
    void CopyOperands(TFTPCommand& c);
    bool RunCall(const TFTPCommand& c);
    void FreeProgress();
    void FTPRequestDone(int rq, uint16_t error);
    void FTPStateChange();
    void FTPProgress(int64_t count, bool& abort);
    void RemoteSelectionDownload(bool askFolder);
    void DownloadRemoteEntries(const std::vector<TListingEntry>& sel, bool askFolder);
    void AfterConnect();
    void PrepareWorkFolders();
    void FormDestroy();
    void PlayAnimation(int stopFrame, int repetitions);  // 0: the last frame, for ever

    friend class TMainFolderSite;

    TMainSettings settings_;
    std::deque<std::unique_ptr<TFTPCommand>> queue_;
    std::unique_ptr<TfrmDownload> progress_;
    std::unique_ptr<TfrmServerConnect> connectBox_;
    bool connectedUI_ = false;
    bool inProgress_ = false;
    std::string pendingRenameOld_, pendingRenameNew_;
    std::vector<std::string> serverDirs_;
    TPendingDrop pendingDrop_;
};

// A menu item with a click handler, added to parent (tags as the menu component reads them).
TMenuItem* AddMenuItem(TMenuItem* parent, const std::string& caption, std::function<void()> click, int tag = -2);

// The message a pending in-place rename is posted with.
constexpr UINT WM_QF_RENAME = WM_APP + 12;
// The message a finished drag posts, so that it acts after the press ended.
constexpr UINT WM_QF_DROP = WM_APP + 13;
