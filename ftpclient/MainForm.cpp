// The main window's shell: controls, settings, sites and the connect road.
#include "MainForm.h"

#include <windows.h>

#include "AppTitle.h"
#include "SyntaxMemo.h"
#include "LocalFiles.h"
#include "ProfileIniFile.h"
#include "RegValues.h"
#include "WebLinks.h"
#include "FileIcons.h"
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

// A glyph-only toolbar button with its own picture; x moves on past it.
TToolbarButton97* ToolButton(TWinControl* parent, TArt art, const std::string& hint, int& x) {
    auto* b = new TToolbarButton97(parent);
    b->Hint = hint;
    b->DisplayMode = dmGlyphOnly;
    b->Layout = blGlyphTop;
    TBitmap glyph;
    ArtToBitmap(art, glyph);
    b->SetGlyph(glyph.Handle());
    b->SetBounds(x, 4, 34, 36);
    x += 35;
    return b;
}

void Divider(TWinControl* parent, int& x) {
    auto* d = new TPanel(parent);
    d->BevelOuter = bvLowered;
    d->SetBounds(x + 3, 6, 2, 32);
    x += 9;
}

}  // namespace

namespace {
// A label that shows the hand over itself and is clicked, as links are.
class THandLabel : public TLabel {
public:
    using TLabel::TLabel;
    bool MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
        pressed_ = b == mbLeft;
        return TLabel::MouseDown(b, s, x, y);
    }
    // A click is a press and a release over the label.
    bool MouseUp(TMouseButton b, TShiftState s, int x, int y) override {
        const bool click = b == mbLeft && pressed_ && x >= 0 && y >= 0 && x < Width() && y < Height();
        pressed_ = false;
        TLabel::MouseUp(b, s, x, y);
        if (click && OnClick) OnClick(this);
        return true;
    }

protected:
    void CreateParams(TCreateParams& p) override {
        TLabel::CreateParams(p);
        p.WinClassName = "QfHandLabel";
        p.Cursor = LoadCursor(nullptr, IDC_HAND);
        // Centred and wrapped: a new width moves every line, not only the uncovered part.
        p.ClassStyle |= CS_HREDRAW | CS_VREDRAW;
    }

private:
    bool pressed_ = false;
};
}  // namespace

TMenuItem* AddMenuItem(TMenuItem* parent, const std::string& caption, std::function<void()> click, int tag) {
    auto* it = new TMenuItem(parent);
    it->SetCaption(caption);
    it->Tag = tag;
    if (click) it->OnClick = [click](TObject*) { click(); };
    parent->Add(it);
    return it;
}

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
    WireRemoteList();
    WireDragAndDrop();
    frmMessage = new TfrmMessage(this);
    std::string clip = settings_.ProgramFolder + "spin.avi";
    animKFTP->SetVisible(GetFileAttributesA(clip.c_str()) != INVALID_FILE_ATTRIBUTES);
    if (animKFTP->Visible()) {
        animKFTP->SetFileName(clip);
    }
    PlayerWave = new TPlayerWave(this);
    FolderDialog = new TFolderDialog(this);
    FolderDialog->SetTitle("Choose destination for this directory");
    PrepareWorkFolders();
    DefaultSiteFile = SiteFile = settings_.ProgramFolder + "FTPServers.ini";
    Application->OnHint = [this](TObject*) { ShowHintInStatus(Application->Hint()); };
    ClearLog();
    Connected = Busy = false;
    ConnectedAt = settings_.Now();
    SetConnectedUI(false);
    TWinTempFolder temp;
    ListingFile = MakeTempFileName(temp);  // bounded: it never loops
    frmOptions = new TfrmOptions(this, settings_.RegistryRoot + "Options\\", settings_.ProgramFolder);
    ApplyOptions();
    ShowHintInStatus("");
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
    lvServerFiles->SetImages(nullptr, nullptr);
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
    // Wide from the start: a right-aligned child never gets more than its parent had.
    pnlToolbar->SetBounds(0, 0, 800, 46);
    pnlToolbar->BevelOuter = bvNone;
    pnlAnim = new TPanel(pnlToolbar);
    pnlAnim->SetAlign(alRight);
    pnlAnim->SetBounds(0, 0, 49, 0);
    pnlAnim->BevelOuter = bvNone;
    pnlAnim->SetColor(clBlack);
    animKFTP = new TTimerAnimate(pnlAnim);
    animKFTP->SetBounds(0, 0, 49, 46);
    animKFTP->Transparent = false;
    pnlServerToolbar = new TPanel(pnlToolbar);
    pnlServerToolbar->SetAlign(alClient);
    pnlServerToolbar->BevelOuter = bvNone;
    TWinControl* bar = pnlServerToolbar;
    int x = 4;
    tb97Connect = ToolButton(bar, TArt::Connect, "Connect.", x);
    tb97Disconnect = ToolButton(bar, TArt::Disconnect, "Disconnect.", x);
    tb97AddServer = ToolButton(bar, TArt::AddServer, "Add FTP Server.", x);
    Divider(bar, x);
    tb97FolderUp = ToolButton(bar, TArt::FolderUp, "Up.", x);
    tb97NewFolder = ToolButton(bar, TArt::NewFolder, "Create New Folder.", x);
    tb97Delete = ToolButton(bar, TArt::Delete, "Delete.", x);
    tb97Refresh = ToolButton(bar, TArt::Refresh, "Refresh directory contents.", x);
    Divider(bar, x);
    tb97TransferBin = ToolButton(bar, TArt::Binary, "Transfer files as binary.", x);
    tb97TransferAsc = ToolButton(bar, TArt::Ascii, "Transfer files as text (ascii).", x);
    tb97TransferAuto = ToolButton(bar, TArt::Auto, "Automatic selection (Binary/Ascii) to tansfer files.", x);
    Divider(bar, x);
    tb97Hosting = ToolButton(bar, TArt::Hosting, "Need a Place to Host your Website?", x);
    tb97Secure = ToolButton(bar, TArt::Secure, "Want to Sell Your Stuff on the Web ?", x);
    for (TToolbarButton97* b : {tb97TransferBin, tb97TransferAsc, tb97TransferAuto}) b->SetGroupIndex(100);
    tb97TransferAuto->SetDown(true);
    tb97Connect->OnClick = [this](TObject*) { tb97ConnectClick(); };
    tb97Disconnect->OnClick = [this](TObject*) { tb97DisconnectClick(); };
    tb97AddServer->OnClick = [this](TObject*) { itmAddServerClick(); };
    tb97FolderUp->OnClick = [this](TObject*) { tb97FolderUpClick(); };
    tb97NewFolder->OnClick = [this](TObject*) { itmSrvFilesNewFolderClick(); };
    tb97Delete->OnClick = [this](TObject*) { itmSrvFilesDeleteClick(); };
    tb97Refresh->OnClick = [this](TObject*) { tb97RefreshClick(); };
    tb97Hosting->OnClick = [this](TObject*) { tb97HostingClick(); };
    tb97Secure->OnClick = [this](TObject*) { tb97SecureClick(); };
}

TTransferMode TfrmMain::TransferMode() const {
    if (tb97TransferAsc->Down()) return TTransferMode::Ascii;
    if (tb97TransferBin->Down()) return TTransferMode::Binary;
    return TTransferMode::Auto;
}

void TfrmMain::ShowHintInStatus(const std::string& hint) {
    fsbMain->Panels(0)->SetText(hint.empty() ? WebSlogan : hint);
}

void TfrmMain::ApplyOptions() {
    tb97Hosting->SetVisible(frmOptions->cbShowWebHosting->Checked());
    tb97Secure->SetVisible(false);
}

void TfrmMain::tb97HostingClick() { OpenWebAddress(WebHostingPage); }

void TfrmMain::tb97SecureClick() { OpenWebAddress(PartnerPage); }

void TfrmMain::lblKeelsonFTPExposureClick() { OpenWebAddress(ProductPage); }

void TfrmMain::StartAnimation() { PlayAnimation(0, 0); }

// Stopped, the first frame stays on show.
void TfrmMain::StopAnimation() { PlayAnimation(1, 1); }

void TfrmMain::PlayAnimation(int stopFrame, int repetitions) {
    // Played in a window not yet on screen, the clip leaves the toolbar repainting without end.
    if (!animKFTP->Visible() || !HandleAllocated() || !IsWindowVisible(Handle())) return;
    animKFTP->Stop();
    animKFTP->StopFrame = stopFrame;
    animKFTP->Repetitions = repetitions;
    animKFTP->Play();
}

void TfrmMain::CreateStatusBar() {
    fsbMain = new TStatusBar(this);
    fsbMain->SetBounds(0, 0, 800, 22);
    // Hint, progress bar, connection text, lights.
    const std::pair<int, TStatusPanelBevel> panels[] = {{250, pbNone}, {100, pbNone}, {140, pbLowered}, {100, pbLowered}};
    for (auto& p : panels) {
        TStatusPanel* panel = fsbMain->AddPanel();
        panel->SetWidth(p.first);
        panel->SetBevel(p.second);
    }
    fsbMain->Panels(2)->SetText("Not connected.");
    pbTransferStatus = new TTransferBar(fsbMain);
    pbTransferStatus->SetBounds(255, 3, 93, 16);
    pbTransferStatus->Hint = "Transfer Status";
    // Each light is a pair: the lit and the dark picture at one place.
    imgConnectedOn = new TArtImage(fsbMain, TArt::ConnectedOn);
    imgConnectedOff = new TArtImage(fsbMain, TArt::ConnectedOff);
    imgDisconnectedOn = new TArtImage(fsbMain, TArt::DisconnectedOn);
    imgDisconnectedOff = new TArtImage(fsbMain, TArt::DisconnectedOff);
    fsbMain->OnResize = [this](TObject*) { fsbMainResize(); };
    tmrUpdateConnectionTime = new TTimer(this);
    tmrUpdateConnectionTime->SetInterval(1000);
    tmrUpdateConnectionTime->SetEnabled(false);
    tmrUpdateConnectionTime->OnTimer = [this](TObject*) { tmrUpdateConnectionTimeTimer(); };
}

void TfrmMain::CreatePanes() {
    pnlFTPLog = new TPanel(this);
    pnlFTPLog->SetAlign(alBottom);
    pnlFTPLog->SetBounds(0, 0, 0, 65);
    pnlFTPLog->BevelOuter = bvNone;
    memoLog_ = std::make_unique<TMemoLog>(pnlFTPLog);
    mmoFTPLogView = memoLog_.get();
    mmoFTPLogView->Memo()->SetAlign(alClient);
    mmoFTPLog = mmoFTPLogView;
    spltFTPLog = new TSplitter(this);
    spltFTPLog->SetAlign(alBottom);
    pnlKeelsonFTP = new TPanel(this);
    pnlKeelsonFTP->SetAlign(alBottom);
    pnlKeelsonFTP->SetBounds(0, 0, 800, 61);
    pnlKeelsonFTP->SetColor(clWhite);
    pnlKeelsonFTP->BevelOuter = bvLowered;
    lblKeelsonFTPExposure = new THandLabel(pnlKeelsonFTP);
    lblKeelsonFTPExposure->SetCaption(ProductAdvert);
    lblKeelsonFTPExposure->SetBounds(8, 6, 784, 48);
    lblKeelsonFTPExposure->WordWrap = true;
    lblKeelsonFTPExposure->Alignment = TLabel::taCenter;
    lblKeelsonFTPExposure->Font().SetName("Arial");
    lblKeelsonFTPExposure->Font().SetHeight(-13);
    lblKeelsonFTPExposure->Font().SetColor(clRed);
    lblKeelsonFTPExposure->Font().SetStyle(fsBold);
    lblKeelsonFTPExposure->SetColor(clWhite);
    lblKeelsonFTPExposure->OnClick = [this](TObject*) { lblKeelsonFTPExposureClick(); };
    pnlKeelsonFTP->OnResize = [this](TObject*) { pnlKeelsonFTPResize(); };
    pnlLocalAndRemote = new TPanel(this);
    pnlLocalAndRemote->SetAlign(alClient);
    pnlLocalAndRemote->BevelOuter = bvNone;
    // Roomy from the start: a child aligned in a smaller parent keeps the cut size.
    pnlLocalAndRemote->SetBounds(0, 0, 800, 400);
    Local = new TLocalBrowser(pnlLocalAndRemote);
    Local->SetAlign(alLeft);
    Local->SetBounds(0, 0, 185, 0);
    spltFTP = new TSplitter(pnlLocalAndRemote);
    spltFTP->SetAlign(alLeft);
    pnlServer = new TPanel(pnlLocalAndRemote);
    pnlServer->SetAlign(alClient);
    pnlServer->BevelOuter = bvNone;
    lblServer = MakeLabel(pnlServer, "Server:", 4, 2, 100);
    cbServerDir = new TComboBox98(pnlServer);
    cbServerDir->SetBounds(4, 20, 540, 21);
    lvServerFiles = new TRemoteListView(pnlServer);
    lvServerFiles->SetBounds(4, 43, 540, 300);
    pnlServer->OnResize = [this](TObject*) { pnlServerResize(); };
    const std::pair<const char*, int> cols[] = {{"Name", 150}, {"Type", 75},  {"Permission", 80}, {"Owner", 60},
                                                {"Group", 60}, {"Size", 70},  {"Last modified", 100}, {"Link", 80}};
    for (auto& c : cols) lvServerFiles->AddColumn(c.first, c.second);
    lvServerFiles->SetViewStyle(rvsList);
    remoteImages_ = std::make_unique<TFileImages>();
    lvServerFiles->SetImages(remoteImages_->Small(), remoteImages_->Large());
    lvServerFiles->OnDblClick = [this](TObject*) { OpenRemoteRow(); };
    lvServerFiles->OnRowEdited = [this](int row, std::string& text) {
        if (row < 0 || row >= static_cast<int>(RemoteRows.size())) return;
        pendingRenameOld_ = RemoteRows[static_cast<size_t>(row)].Name;
        pendingRenameNew_ = text;
        RemoteRows[static_cast<size_t>(row)].Name = text;
        // Not from inside the list's own notification: the list may be rebuilt.
        PostMessageA(Handle(), WM_QF_RENAME, 0, 0);
    };
    auto goTo = [this](const std::string& folder) {
        ChangeServerDir(folder);
        QueuePwd();
        QueueList();
    };
    cbServerDir->OnSelect = [this, goTo](TObject*) {
        if (cbServerDir->ItemIndex() >= 0) goTo(cbServerDir->Items().Strings(cbServerDir->ItemIndex()));
    };
    // Enter goes to the folder typed in the box.
    cbServerDir->OnKeyPress = [this, goTo](TObject*, char& key) {
        if (key != '\r') return;
        key = 0;
        goTo(cbServerDir->Text());
    };
}

void TfrmMain::CreateMenus() {
    mnuMain = new TMainMenu(this);
    TMenuItem* root = mnuMain->Items();
    TMenuItem* file = AddMenuItem(root, "&File", nullptr, -1);
    AddMenuItem(file, "E&xit", [this] { Close(); })->Hint = "Exit Velmora Larch FTP.";
    TMenuItem* edit = AddMenuItem(root, "&Edit", nullptr, -1);
    AddMenuItem(edit, "&Options", [this] {
        frmOptions->ShowModal();
        ApplyOptions();
    });
    TMenuItem* view = AddMenuItem(root, "&View", nullptr, -1);
    itmViewFTPLog = AddMenuItem(view, "FTP Log", [this] {
        itmViewFTPLog->SetChecked(!itmViewFTPLog->Checked());
        ShowLog(itmViewFTPLog->Checked());
    });
    itmServers = AddMenuItem(root, "Ser&vers", nullptr, -1);
    AddMenuItem(itmServers, "&Add server", [this] { itmAddServerClick(); });
    AddMenuItem(itmServers, "&Edit server", [this] { itmEditServerClick(); });
    AddMenuItem(itmServers, "&Remove server", [this] { itmRemoveServerClick(); });
    AddMenuItem(itmServers, "-", nullptr);
    itmDisconnect = AddMenuItem(itmServers, "&Disconnect from server", [this] { tb97DisconnectClick(); });
    itmDisconnect->SetEnabled(false);
    AddMenuItem(itmServers, "-", nullptr);
    itmServers->OnClick = [this](TObject*) { itmDisconnect->SetEnabled(FTP->IsConnected()); };
    TMenuItem* help = AddMenuItem(root, "&Help", nullptr, -1);
    AddMenuItem(help, "&About", [this] { itmAboutClick(); })->Hint = "About Velmora Larch FTP.";
    SetMenu(mnuMain);
    // Drawn flat; the tags choose no images (-1 on the bar, -2 below, sites from 101).
    imglst97Main = new TImageList(this, 16, 16);
    mnu97Main = new TMainMenus97(this);
    mnu97Main->SetImages(imglst97Main);
    mnu97Main->SetMainMenu(mnuMain);
    // The bar beyond the last item in the colour the component draws the items in.
    MENUINFO bar{};
    bar.cbSize = sizeof bar;
    bar.fMask = MIM_BACKGROUND;
    bar.hbrBack = GetSysColorBrush(COLOR_BTNFACE);
    SetMenuInfo(mnuMain->Handle(), &bar);
    hnt95Main = new THint95(this);
    hnt95Main->SetHintStyle(hsOffice97);
}

bool TfrmMain::InBusyArea(HWND w) const {
    for (TWinControl* c : {static_cast<TWinControl*>(pnlServer), static_cast<TWinControl*>(pnlServerToolbar)})
        if (c->HandleAllocated() && (w == c->Handle() || IsChild(c->Handle(), w))) return true;
    return false;
}

void TfrmMain::SetBusy(bool b) {
    const bool changed = Busy != b;
    Busy = b;
    POINT at;
    // At once under a mouse that rests there, not only at its next move.
    if (changed && GetCursorPos(&at) && InBusyArea(WindowFromPoint(at)))
        SetCursor(LoadCursor(nullptr, b ? IDC_WAIT : IDC_ARROW));
}

bool TfrmMain::HandleMessage(TMessage& m) {
    // Children pass the question up to their parents first.
    if (m.Msg == WM_SETCURSOR && Busy && LOWORD(m.LParam) == HTCLIENT && InBusyArea(reinterpret_cast<HWND>(m.WParam))) {
        SetCursor(LoadCursor(nullptr, IDC_WAIT));
        m.Result = TRUE;
        return true;
    }
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
    imgConnectedOn->SetVisible(ui.ConnectedOn);
    imgConnectedOff->SetVisible(!ui.ConnectedOn);
    imgDisconnectedOn->SetVisible(ui.DisconnectedOn);
    imgDisconnectedOff->SetVisible(!ui.DisconnectedOn);
    tb97Connect->SetEnabled(ui.Connect);
    tb97Disconnect->SetEnabled(ui.Disconnect);
    tb97FolderUp->SetEnabled(ui.FolderUp);
    tb97NewFolder->SetEnabled(ui.NewFolder);
    tb97Delete->SetEnabled(ui.Delete);
    tb97Refresh->SetEnabled(ui.Refresh);
    for (TToolbarButton97* b : {tb97TransferBin, tb97TransferAsc, tb97TransferAuto}) b->SetEnabled(ui.TransferModes);
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
    fsbMain->Panels(2)->SetText(ConnectionStatusText(Connected, settings_.Now(), ConnectedAt));
}

std::string TfrmMain::StatusText(int panel) const {
    return panel >= 0 && panel < fsbMain->PanelCount() ? fsbMain->Panels(panel)->Text() : std::string();
}

void TfrmMain::ShowLog(bool visible) {
    pnlFTPLog->SetVisible(visible);
    spltFTPLog->SetVisible(visible);
}

void TfrmMain::LoadInterfaceSettings() {
    TRegValues r(settings_.RegistryRoot + "Interface\\");
    // Through the splitters, so a stored size the window cannot hold is cut back.
    spltFTP->SetNeighbourSize(r.ReadInteger("LocalWidth", Local->Width()));
    // The menu's check mark starts cleared, so a first start hides the log.
    bool logVisible = r.ReadBool("LogVisible", itmViewFTPLog->Checked());
    ShowLog(true);
    spltFTPLog->SetNeighbourSize(r.ReadInteger("LogHeight", pnlFTPLog->Height()));
    ShowLog(logVisible);
    itmViewFTPLog->SetChecked(logVisible);
    std::string dir = r.ReadString("LocalDir", "");
    if (!dir.empty()) Local->SetDirectory(dir);
    Local->SetFilterIndex(r.ReadInteger("LocalFilter", 0));
    lvServerFiles->SetViewStyle(static_cast<TRemoteViewStyle>(r.ReadInteger("ServerViewStyle", lvServerFiles->ViewStyle())));
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
    Application->OnHint = nullptr;
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
    FTP->Timeout = g.FTPTimeOut;  // until the first command takes the options' value
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
        TMenuItem* it = AddMenuItem(itmServers, m.Caption, nullptr, m.Tag);
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
    connectBox_ = std::make_unique<TfrmServerConnect>(this, FTP);
    connectBox_->OnForget = [this] { connectBox_.release(); };
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
