// The main window's shell: controls, settings, sites and the connect road.
#include "MainForm.h"

#include <windows.h>

#include "AppTitle.h"
#include "SyntaxMemo.h"
#include "LocalFiles.h"
#include "ProfileIniFile.h"
#include "RegValues.h"
#include "components/RePosApp.h"
#include "ftpclient/core/ClientUtils.h"
#include "runtime/Application.h"
#include "ui/core/Prompter.h"

#undef DeleteFile

namespace {
class TWinTempFolder : public TTempFolder {
public:
    std::string TempPath() override {
        char buf[MAX_PATH + 1] = {0};
        DWORD n = GetTempPathA(MAX_PATH, buf);
        return n == 0 || n > MAX_PATH ? std::string() : std::string(buf, n);
    }
    std::string CreateTempFile(const std::string& Folder, const std::string& Prefix) override {
        char buf[MAX_PATH + 1] = {0};
        return GetTempFileNameA(Folder.c_str(), Prefix.c_str(), 0, buf) ? std::string(buf) : std::string();
    }
    void DeleteFile(const std::string& Path) override { ::DeleteFileA(Path.c_str()); }
};

const char* const WorkFolders[] = {"TmpPrivate-Cache", "TmpPrivate-Archiving"};

TButton* ToolButton(TWinControl* parent, const std::string& caption, const std::string& hint, int& x) {
    auto* b = new TButton(parent);
    b->SetCaption(caption);
    b->Hint = hint;
    b->SetBounds(x, 6, 62, 34);
    x += 64;
    return b;
}

TMenuItem* Item(TMenuItem* parent, const std::string& caption, std::function<void()> click, int tag = -2) {
    auto* it = new TMenuItem(parent);
    it->SetCaption(caption);
    it->Tag = tag;
    if (click) it->OnClick = [click](TObject*) { click(); };
    parent->Add(it);
    return it;
}
}  // namespace

TfrmMain::TfrmMain(const TMainSettings& settings) : TForm(nullptr), settings_(settings) {
    SetName("frmMain");
    if (!settings_.Now) settings_.Now = NowDateTime;
    SeedScrambleOffsets(static_cast<uint32_t>(GetTickCount()));
    SetCaption(std::string(" ") + AppTitle);
    SetBounds(40, 40, 800, 600);
    FTP = new TFtpClient(this);
    FTP->Timeout = 30;
    FTP->MultiThreaded = true;
    FTP->SetBinary(false);
    WireEngine();
    CreateToolbar();
    CreateStatusBar();
    CreatePanes();
    CreateMenus();
    CreateLocalMenus();
    WireDragAndDrop();
    frmMessage = new TfrmMessage(this);
    PrepareWorkFolders();
    DefaultSiteFile = SiteFile = settings_.ProgramFolder + "FTPServers.ini";
    ClearLog();
    Connected = Busy = false;
    ConnectedAt = settings_.Now();
    SetConnectedUI(false);
    TWinTempFolder temp;
    ListingFile = MakeTempFileName(temp);  // bounded: it never loops
    frmOptions = new TfrmOptions(this, settings_.RegistryRoot + "Options\\", settings_.ProgramFolder);
    RePosApp = new TRePosApp(this);
    RePosApp->Top = Top();
    RePosApp->Left = Left();
    RePosApp->Height = Height();
    RePosApp->Width = Width();
    RePosApp->SectionName = Name();
    RePosApp->InifileName = settings_.RegistryRoot + "QuillonFTP";
    RePosApp->LoadAppPosition();
    LoadInterfaceSettings();
    Servers.OnChange = [this] { SaveServers(); };
    LoadServers();
    BuildServerMenu();
    OnClose = [this](TObject*, TCloseAction&) {
        FormClose();
        if (QuitOnClose) PostQuitMessage(0);
    };
}

TfrmMain::~TfrmMain() {
    BeginDestroy();
    FormDestroy();
    connectBox_.reset();
    progress_.reset();
}

std::string TfrmMain::WorkFolder(int i) const { return settings_.ProgramFolder + WorkFolders[i]; }

void TfrmMain::PrepareWorkFolders() {
    for (int i = 0; i < 2; ++i) {
        std::string f = WorkFolder(i);
        CreateFolder(f);
        CreateEmptyFile(f + "\\kftp");
        DeleteFolderTree(f);
        CreateFolder(f);
        DWORD a = GetFileAttributesA(f.c_str());
        if (a != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(f.c_str(), a | FILE_ATTRIBUTE_HIDDEN);
    }
}

void TfrmMain::CreateToolbar() {
    pnlToolbar = new TPanel(this);
    pnlToolbar->SetAlign(alTop);
    pnlToolbar->SetBounds(0, 0, 0, 46);
    int x = 4;
    tb97Connect = ToolButton(pnlToolbar, "Connect", "Connect.", x);
    tb97Disconnect = ToolButton(pnlToolbar, "Disconnect", "Disconnect.", x);
    tb97AddServer = ToolButton(pnlToolbar, "Add site", "Add FTP Server.", x);
    x += 8;
    tb97FolderUp = ToolButton(pnlToolbar, "Up", "Up.", x);
    tb97NewFolder = ToolButton(pnlToolbar, "New folder", "Create New Folder.", x);
    tb97Delete = ToolButton(pnlToolbar, "Delete", "Delete.", x);
    tb97Refresh = ToolButton(pnlToolbar, "Refresh", "Refresh directory contents.", x);
    x += 8;
    tb97TransferBin = ToolButton(pnlToolbar, "Binary", "Transfer files as binary.", x);
    tb97TransferAsc = ToolButton(pnlToolbar, "ASCII", "Transfer files as text (ascii).", x);
    tb97TransferAuto = ToolButton(pnlToolbar, "[Auto]", "Automatic selection (Binary/Ascii) to tansfer files.", x);
    tb97Connect->OnClick = [this](TObject*) { tb97ConnectClick(); };
    tb97Disconnect->OnClick = [this](TObject*) { tb97DisconnectClick(); };
    tb97AddServer->OnClick = [this](TObject*) { itmAddServerClick(); };
    tb97FolderUp->OnClick = [this](TObject*) { tb97FolderUpClick(); };
    tb97NewFolder->OnClick = [this](TObject*) { itmSrvFilesNewFolderClick(); };
    tb97Delete->OnClick = [this](TObject*) { itmSrvFilesDeleteClick(); };
    tb97Refresh->OnClick = [this](TObject*) { tb97RefreshClick(); };
    tb97TransferBin->OnClick = [this](TObject*) { SetToolbarMode(TTransferMode::Binary); };
    tb97TransferAsc->OnClick = [this](TObject*) { SetToolbarMode(TTransferMode::Ascii); };
    tb97TransferAuto->OnClick = [this](TObject*) { SetToolbarMode(TTransferMode::Auto); };
}

void TfrmMain::SetToolbarMode(TTransferMode m) {
    TransferMode = m;
    // One of the three is down: shown by brackets until the components come.
    tb97TransferBin->SetCaption(m == TTransferMode::Binary ? "[Binary]" : "Binary");
    tb97TransferAsc->SetCaption(m == TTransferMode::Ascii ? "[ASCII]" : "ASCII");
    tb97TransferAuto->SetCaption(m == TTransferMode::Auto ? "[Auto]" : "Auto");
}

void TfrmMain::CreateStatusBar() {
    fsbMain = new TPanel(this);
    fsbMain->SetAlign(alBottom);
    fsbMain->SetBounds(0, 0, 0, 22);
    fsbMain->BevelOuter = bvLowered;
    stHint = MakeLabel(fsbMain, "", 4, 3, 330);
    pbTransferStatus = new TTransferBar(fsbMain);
    pbTransferStatus->SetBounds(340, 3, 93, 16);
    pbTransferStatus->Hint = "Transfer Status";
    stConnection = MakeLabel(fsbMain, "Not connected.", 440, 3, 160);
    imgConnected = new TPanel(fsbMain);
    imgConnected->SetBounds(620, 3, 16, 16);
    imgDisconnected = new TPanel(fsbMain);
    imgDisconnected->SetBounds(640, 3, 16, 16);
    tmrUpdateConnectionTime = new TTimer(this);
    tmrUpdateConnectionTime->SetInterval(1000);
    tmrUpdateConnectionTime->SetEnabled(false);
    tmrUpdateConnectionTime->OnTimer = [this](TObject*) { tmrUpdateConnectionTimeTimer(); };
}

void TfrmMain::CreatePanes() {
    pnlFTPLog = new TPanel(this);
    pnlFTPLog->SetAlign(alBottom);
    pnlFTPLog->SetBounds(0, 0, 0, 110);
    pnlFTPLog->BevelOuter = bvNone;
    memoLog_ = std::make_unique<TMemoLog>(pnlFTPLog);
    mmoFTPLogView = memoLog_.get();
    mmoFTPLogView->Memo()->SetAlign(alClient);
    mmoFTPLog = mmoFTPLogView;
    pnlKeelsonFTP = new TPanel(this);
    pnlKeelsonFTP->SetAlign(alBottom);
    pnlKeelsonFTP->SetBounds(0, 0, 0, 44);
    pnlKeelsonFTP->SetColor(clWhite);
    pnlKeelsonFTP->BevelOuter = bvLowered;
    lblKeelsonFTPExposure = MakeLabel(pnlKeelsonFTP,
                                      "To Edit HTML on the server, View Images on the Server, and Backup your entire Web "
                                      "Site, Download and Install Keelson FTP.",
                                      8, 4, 760, 34);
    lblKeelsonFTPExposure->WordWrap = true;
    lblKeelsonFTPExposure->Alignment = TLabel::taCenter;
    lblKeelsonFTPExposure->Font().SetColor(clRed);
    lblKeelsonFTPExposure->Font().SetStyle(fsBold);
    lblKeelsonFTPExposure->SetColor(clWhite);
    pnlLocalAndRemote = new TPanel(this);
    pnlLocalAndRemote->SetAlign(alClient);
    pnlLocalAndRemote->BevelOuter = bvNone;
    Local = new TLocalBrowser(pnlLocalAndRemote);
    Local->SetAlign(alLeft);
    Local->SetBounds(0, 0, 220, 0);
    pnlServer = new TPanel(pnlLocalAndRemote);
    pnlServer->SetAlign(alClient);
    pnlServer->BevelOuter = bvNone;
    auto* head = new TPanel(pnlServer);
    head->SetAlign(alTop);
    head->SetBounds(0, 0, 0, 44);
    head->BevelOuter = bvNone;
    lblServer = MakeLabel(head, "Server:", 4, 2, 100);
    cbServerDir = new TComboBox(head);
    cbServerDir->SetBounds(4, 20, 540, 21);
    head->OnResize = [head, this](TObject*) { cbServerDir->SetBounds(4, 20, head->ClientWidth() - 8, 21); };
    lvServerFiles = new TRemoteListView(pnlServer);
    lvServerFiles->SetAlign(alClient);
    const std::pair<const char*, int> cols[] = {{"Name", 150}, {"Type", 75},  {"Permission", 80}, {"Owner", 60},
                                                {"Group", 60}, {"Size", 70},  {"Last modified", 100}, {"Link", 80}};
    for (auto& c : cols) lvServerFiles->AddColumn(c.first, c.second);
    lvServerFiles->SetViewStyle(rvsReport);
    lvServerFiles->OnDblClick = [this](TObject*) { OpenRemoteRow(); };
    lvServerFiles->OnEdited = [this](int row, std::string& text) {
        if (row < 0 || row >= static_cast<int>(RemoteRows.size())) return;
        pendingRenameOld_ = RemoteRows[static_cast<size_t>(row)].Name;
        pendingRenameNew_ = text;
        RemoteRows[static_cast<size_t>(row)].Name = text;
        // Not from inside the list's own notification: the list may be rebuilt.
        PostMessageA(Handle(), WM_QF_RENAME, 0, 0);
    };
    cbServerDir->OnSelect = [this](TObject*) {
        if (cbServerDir->ItemIndex() < 0) return;
        ChangeServerDir(cbServerDir->Items().Strings(cbServerDir->ItemIndex()));
        QueuePwd();
        QueueList();
    };
}

void TfrmMain::CreateMenus() {
    mnuMain = new TMainMenu(this);
    TMenuItem* root = mnuMain->Items();
    TMenuItem* file = Item(root, "&File", nullptr, -1);
    Item(file, "E&xit", [this] { Close(); })->Hint = "Exit Velmora Larch FTP.";
    TMenuItem* edit = Item(root, "&Edit", nullptr, -1);
    Item(edit, "&Options", [this] { frmOptions->ShowModal(); });
    TMenuItem* view = Item(root, "&View", nullptr, -1);
    itmViewFTPLog = Item(view, "FTP Log", [this] {
        itmViewFTPLog->SetChecked(!itmViewFTPLog->Checked());
        pnlFTPLog->SetVisible(itmViewFTPLog->Checked());
    });
    itmServers = Item(root, "Ser&vers", nullptr, -1);
    Item(itmServers, "&Add server", [this] { itmAddServerClick(); });
    Item(itmServers, "&Edit server", [this] { itmEditServerClick(); });
    Item(itmServers, "&Remove server", [this] { itmRemoveServerClick(); });
    Item(itmServers, "-", nullptr);
    itmDisconnect = Item(itmServers, "&Disconnect from server", [this] { tb97DisconnectClick(); });
    itmDisconnect->SetEnabled(false);
    Item(itmServers, "-", nullptr);
    itmServers->OnClick = [this](TObject*) { itmDisconnect->SetEnabled(FTP->IsConnected()); };
    TMenuItem* help = Item(root, "&Help", nullptr, -1);
    Item(help, "&About", [this] { itmAboutClick(); })->Hint = "About Velmora Larch FTP.";
    SetMenu(mnuMain);
}

bool TfrmMain::HandleMessage(TMessage& m) {
    if (m.Msg == WM_QF_RENAME) {
        if (!pendingRenameOld_.empty() && pendingRenameOld_ != pendingRenameNew_)
            QueueRename(pendingRenameOld_, pendingRenameNew_);
        pendingRenameOld_.clear();
        m.Result = 0;
        return true;
    }
    if (m.Msg == WM_QF_DROP) {
        FinishDrop();
        m.Result = 0;
        return true;
    }
    return TForm::HandleMessage(m);
}

void TfrmMain::SetConnectedUI(bool c) {
    connectedUI_ = c;
    TConnectedUI ui = ConnectedUIFor(c);
    imgConnected->SetColor(ui.ConnectedOn ? clGreen : clGray);
    imgDisconnected->SetColor(ui.DisconnectedOn ? clRed : clGray);
    imgConnected->Invalidate();
    imgDisconnected->Invalidate();
    tb97Connect->SetEnabled(ui.Connect);
    for (TButton* b : {tb97Disconnect}) b->SetEnabled(ui.Disconnect);
    tb97FolderUp->SetEnabled(ui.FolderUp);
    tb97NewFolder->SetEnabled(ui.NewFolder);
    tb97Delete->SetEnabled(ui.Delete);
    tb97Refresh->SetEnabled(ui.Refresh);
    for (TButton* b : {tb97TransferBin, tb97TransferAsc, tb97TransferAuto}) b->SetEnabled(ui.TransferModes);
    pbTransferStatus->SetVisible(ui.ProgressVisible);
    tmrUpdateConnectionTimeTimer();
    tmrUpdateConnectionTime->SetEnabled(ui.ClockTimer);
    cbServerDir->SetEnabled(ui.ServerPane);
    lvServerFiles->SetEnabled(ui.ServerPane);
    TColor colour = ui.ServerPaneColour == TPaneColour::Window ? clWindow : clBtnFace;
    cbServerDir->SetColor(colour);
    lvServerFiles->SetColor(colour);
    if (lvServerFiles->HandleAllocated()) SendMessageA(lvServerFiles->Handle(), LVM_SETBKCOLOR, 0, ColorToRGB(colour));
    if (ui.ClearServerPane) {
        cbServerDir->SetText("");
        RemoteRows.clear();
        lvServerFiles->Clear();
    }
}

void TfrmMain::tmrUpdateConnectionTimeTimer() {
    stConnection->SetCaption(ConnectionStatusText(Connected, settings_.Now(), ConnectedAt));
}

std::string TfrmMain::StatusText(int panel) const {
    return panel == 2 ? stConnection->Caption() : stHint->Caption();
}

void TfrmMain::LoadInterfaceSettings() {
    TRegValues r(settings_.RegistryRoot + "Interface\\");
    Local->SetBounds(0, 0, r.ReadInteger("LocalWidth", Local->Width()), 0);
    pnlFTPLog->SetBounds(0, 0, 0, r.ReadInteger("LogHeight", pnlFTPLog->Height()));
    bool logVisible = r.ReadBool("LogVisible", true);
    pnlFTPLog->SetVisible(logVisible);
    itmViewFTPLog->SetChecked(logVisible);
    std::string dir = r.ReadString("LocalDir", "");
    if (!dir.empty()) Local->SetDirectory(dir);
    Local->SetFilterIndex(r.ReadInteger("LocalFilter", 0));
    lvServerFiles->SetViewStyle(static_cast<TRemoteViewStyle>(r.ReadInteger("ServerViewStyle", rvsReport)));
    for (int i = 0; i < lvServerFiles->ColumnCount(); ++i)
        lvServerFiles->SetColumnWidth(i, r.ReadInteger("SrvCol" + std::to_string(i), lvServerFiles->ColumnWidth(i)));
}

void TfrmMain::SaveInterfaceSettings() {
    TRegValues r(settings_.RegistryRoot + "Interface\\");
    r.WriteInteger("LocalWidth", Local->Width());
    r.WriteInteger("LocalAndRemoteWidth", pnlLocalAndRemote->Height());
    r.WriteInteger("LogHeight", pnlFTPLog->Height());
    r.WriteBool("LogVisible", pnlFTPLog->Visible());
    std::string dir = Local->Directory();
    r.WriteString("LocalDrive", dir.substr(0, 1));
    r.WriteString("LocalDir", dir);
    r.WriteInteger("LocalFilter", Local->FilterIndex());
    r.WriteInteger("ServerViewStyle", lvServerFiles->ViewStyle());
    for (int i = 0; i < lvServerFiles->ColumnCount(); ++i)
        r.WriteInteger("SrvCol" + std::to_string(i), lvServerFiles->ColumnWidth(i));
}

void TfrmMain::FormClose() {
    // The normal place, also of a minimised window (never its -32000).
    RePosApp->SaveAppPosition();
    try {
        if (!FTP->IsConnected() || FTP->State() != ftpStReady) FTP->Abort();
    } catch (...) {
    }
    SetBusy(false);
    SetConnectedUI(false);
}

void TfrmMain::FormDestroy() {
    DeleteFileA(ListingFile.c_str());
    try {
        SaveInterfaceSettings();
    } catch (...) {
    }
    SaveServers();
    queue_.clear();
    DeleteFolderTree(WorkFolder(0));
    DeleteFolderTree(WorkFolder(1));
}

// ---- sites

void TfrmMain::LoadServers() {
    TRegValues r(settings_.RegistryRoot + "FTP Servers\\");
    SiteFile = r.ReadString("INIFilename", DefaultSiteFile);
    TProfileIniFile ini(SiteFile);
    auto onChange = std::move(Servers.OnChange);
    TSiteFileGeneral g = Servers.Load(ini);
    Servers.OnChange = std::move(onChange);
    UseSync = true;  // the blocking road is the one the window supports
    (void)g;
}

bool TfrmMain::SaveServers() {
    if (SiteFile != DefaultSiteFile) TRegValues(settings_.RegistryRoot + "FTP Servers\\").WriteString("INIFilename", SiteFile);
    TProfileIniFile ini(SiteFile);
    return Servers.Save(ini);
}

void TfrmMain::BuildServerMenu() {
    for (int i = itmServers->Count() - 1; i >= 0; --i)
        if (itmServers->Items(i)->Tag >= 100) itmServers->Delete(i);
    for (auto& m : Servers.BuildMenu()) {
        TMenuItem* it = Item(itmServers, m.Caption, nullptr, m.Tag);
        int tag = m.Tag;
        it->OnClick = [this, tag](TObject*) {
            if (Busy) return;
            int i = Servers.IndexOfMenuTag(tag);
            if (i >= 0) ConnectToServer(Servers.Items(i));
        };
    }
}

void TfrmMain::itmAddServerClick() {
    TfrmServerAdd dlg(this);
    // A name that is taken is refused in the dialog, which stays open.
    dlg.OnAccept = [this](const TFTPServer& s, std::string& msg) { return Servers.Add(s, msg); };
    if (dlg.ShowModal() != mrOk) return;
    BuildServerMenu();
}

void TfrmMain::itmEditServerClick() {
    TfrmServerEdit dlg(this, Servers);
    dlg.OnChanged = [this] { BuildServerMenu(); };
    dlg.ShowModal();
}

void TfrmMain::itmRemoveServerClick() {
    TfrmServerRemove dlg(this, Servers);
    dlg.OnChanged = [this] { BuildServerMenu(); };
    dlg.ShowModal();
}

void TfrmMain::tb97ConnectClick() {
    if (Busy) return;
    TfrmServerConnectTo dlg(this, Servers);
    dlg.OnAdd = [this] { itmAddServerClick(); };
    dlg.OnEdit = [this, &dlg] {
        TfrmServerEdit edit(&dlg, Servers);
        edit.OnChanged = [this] { BuildServerMenu(); };
        edit.SelectName(dlg.Chosen());
        edit.EditSelected();
    };
    if (dlg.ShowModal() != mrOk) return;
    int i = Servers.IndexOf(dlg.Chosen());
    if (i >= 0) ConnectToServer(TFTPServer(Servers.Items(i)));
}

void TfrmMain::ConnectToServer(TFTPServer site) {
    connectBox_ = std::make_unique<TfrmServerConnect>(this);
    connectBox_->lblServerName->SetCaption(site.Name);
    connectBox_->lblServerAddress->SetCaption(site.Hostname + " on port " + site.Port);
    connectBox_->Show();
    CurrentServer = site;
    Connecting = true;
    QueueCommand(MakeConnect(site.Hostname, site.Port, site.Username, site.Password));
    if (FTP->IsConnected() && Connecting)
        AfterConnect();
    else
        tb97DisconnectClick();
}

void TfrmMain::AfterConnect() {
    try {
        if (!CurrentServer.LocalStartDir.empty()) Local->SetDirectory(CurrentServer.LocalStartDir);
        if (!CurrentServer.StartDir.empty()) ChangeServerDir(CurrentServer.StartDir);
        QueueList();
        QueuePwd();
    } catch (...) {
    }
}

void TfrmMain::tb97DisconnectClick() {
    if (Busy) {
        try {
            FTP->Abort();
        } catch (...) {
        }
    }
    QueueQuit();
}
