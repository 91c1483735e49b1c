// The main window's controls: toolbar, status bar, panes and menus, each
// group made in one place.
#include "MainForm.h"

#include <windows.h>

#include "AppTitle.h"
#include "ClientImages.h"
#include "FileIcons.h"
#include "SyntaxMemo.h"
#include "WebLinks.h"

namespace {
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
