// The main window's shell: start-up and closing, the connected and busy
// states, the status bar's texts and the settings it keeps.
#include "MainForm.h"

#include <windows.h>

#include "AppTitle.h"
#include "SyntaxMemo.h"
#include "LocalFiles.h"
#include "ProfileIniFile.h"
#include "WebLinks.h"
#include "FileIcons.h"
#include "components/LayoutStore97.h"
#include "components/RePosApp.h"
#include "components/RegistryEnhanced.h"
#include "ftpclient/core/ClientUtils.h"
#include "ftpclient/core/StoredValue.h"
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
    RegEnh = new TRegistryEnhanced(this);
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
    const std::string key = settings_.RegistryRoot + "Interface\\";
    LoadToolbarLayout(*this, key);
    RegEnh->RootKey = hkCurrentUser;
    RegEnh->Access = kRead;
    RegEnh->Key = key;
    // Each value with the control's own as default; a stored text that is no number keeps it too.
    auto readInt = [this](const char* name, int current) {
        return StoredInt(RegEnh->ReadValue(name, TRegVariant::Integer(current)), current);
    };
    // Through the splitters, so a stored size the window cannot hold is cut back.
    spltFTP->SetNeighbourSize(readInt("LocalWidth", Local->Width()));
    // The menu's check mark starts cleared, so a first start hides the log.
    bool logVisible = StoredBool(RegEnh->ReadValue("LogVisible", TRegVariant::Boolean(itmViewFTPLog->Checked())),
                                 itmViewFTPLog->Checked());
    ShowLog(true);
    spltFTPLog->SetNeighbourSize(readInt("LogHeight", pnlFTPLog->Height()));
    ShowLog(logVisible);
    itmViewFTPLog->SetChecked(logVisible);
    std::string dir = StoredText(RegEnh->ReadValue("LocalDir", TRegVariant::String("")), "");
    if (!dir.empty()) Local->SetDirectory(dir);
    Local->SetFilterIndex(readInt("LocalFilter", 0));
    lvServerFiles->SetViewStyle(static_cast<TRemoteViewStyle>(readInt("ServerViewStyle", lvServerFiles->ViewStyle())));
    for (int i = 0; i < lvServerFiles->ColumnCount(); ++i)
        lvServerFiles->SetColumnWidth(i, readInt(("SrvCol" + std::to_string(i)).c_str(), lvServerFiles->ColumnWidth(i)));
}

void TfrmMain::SaveInterfaceSettings() {
    const std::string key = settings_.RegistryRoot + "Interface\\";
    SaveToolbarLayout(*this, key);
    RegEnh->RootKey = hkCurrentUser;
    RegEnh->Access = kAllAccess;
    RegEnh->Key = key;
    auto writeInt = [this](const std::string& name, int value) { RegEnh->WriteValue(name, TRegVariant::Integer(value)); };
    writeInt("LocalWidth", Local->Width());
    writeInt("LocalAndRemoteWidth", pnlLocalAndRemote->Height());
    writeInt("LogHeight", pnlFTPLog->Height());
    RegEnh->WriteValue("LogVisible", TRegVariant::Boolean(pnlFTPLog->Visible()));
    std::string dir = Local->Directory();
    RegEnh->WriteValue("LocalDrive", TRegVariant::String(dir.substr(0, 1)));
    RegEnh->WriteValue("LocalDir", TRegVariant::String(dir));
    writeInt("LocalFilter", Local->FilterIndex());
    writeInt("ServerViewStyle", lvServerFiles->ViewStyle());
    for (int i = 0; i < lvServerFiles->ColumnCount(); ++i) writeInt("SrvCol" + std::to_string(i), lvServerFiles->ColumnWidth(i));
}

namespace {
// Each step of closing goes on past the failure of another.
template <class F>
void CloseStep(F&& step) {
    try {
        step();
    } catch (...) {
    }
}
}  // namespace

void TfrmMain::FormClose() {
    // The normal place, also of a minimised window (never its -32000).
    CloseStep([&] { RePosApp->SaveAppPosition(); });
    CloseStep([&] {
        if (!FTP->IsConnected() || FTP->State() != ftpStReady) FTP->Abort();
    });
    SetBusy(false);
    SetConnectedUI(false);
}

void TfrmMain::FormDestroy() {
    DeleteFileA(ListingFile.c_str());
    CloseStep([&] { SaveInterfaceSettings(); });
    CloseStep([&] { SaveServers(); });
    queue_.clear();
    CloseStep([&] { DeleteFolderTree(WorkFolder(0)); });
    CloseStep([&] { DeleteFolderTree(WorkFolder(1)); });
    Application->OnHint = nullptr;
}
