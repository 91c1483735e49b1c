// The remote pane and the transfers.
#include <windows.h>
#include <commdlg.h>

#include <fstream>
#include <map>
#include <sstream>

#include "AppTitle.h"
#include "FileIcons.h"
#include "LocalFiles.h"
#include "LocaleCollation.h"
#include "MainForm.h"
#include "ftpclient/core/ClientUtils.h"
#include "ui/core/Prompter.h"

namespace {
class TEngineProber : public TLinkProber {
public:
    explicit TEngineProber(TfrmMain& m) : m_(m) {}
    void BeginProbes() override { m_.QueueTypeSet(true); }
    TLinkProbe ProbeSize(const std::string& Name) override {
        m_.FTP->StatusCode = 0;
        m_.FTP->SizeResult = 0;
        m_.QueueSize(Name);
        TLinkProbe p;
        p.ReplyCode = m_.LastCommandOk ? m_.FTP->StatusCode : 0;
        p.Size = m_.FTP->SizeResult;
        return p;
    }

private:
    TfrmMain& m_;
};

int Ask(const std::string& text) { return Prompter().ShowMessageBox(text, AppTitle, MB_YESNO | MB_ICONQUESTION); }
}  // namespace

class TMainFolderSite : public TFolderDownloadSite {
public:
    explicit TMainFolderSite(TfrmMain& m) : m_(m) {}
    bool EnterFolder(const std::string& Name, std::string& Folder) override {
        m_.ChangeServerDir(Name);
        if (!m_.LastCommandOk) return false;
        m_.QueuePwd();
        Folder = m_.LastCommandOk ? m_.CurrentServerDir : std::string();
        return true;
    }
    void LeaveFolder(const std::string& ParentFolder) override {
        if (!ParentFolder.empty())
            m_.ChangeServerDir(ParentFolder);
        else
            m_.QueueCDup();
        m_.QueueList();
        m_.QueuePwd();
    }
    bool ListFolder(std::vector<TListingEntry>& Rows) override {
        m_.QueueList();
        // After a refused LIST the pane still shows the folder before.
        if (!m_.LastCommandOk || !m_.FTP->IsConnected()) return false;
        Rows = m_.RemoteRows;
        return true;
    }
    void CreateLocalFolder(const std::string& Path) override { CreateFolder(Path); }
    void QueueDownload(const std::string& LocalPath, int64_t Size, const std::string& Name,
                       const std::string& RemoteFolder) override {
        m_.QueueDownload(LocalPath, 0, Size, m_.IsBinaryTransfer(Name), Name, RemoteFolder);
    }
    bool AbortRequested() override { return m_.AbortRequested; }
    bool Connected() override { return m_.FTP->IsConnected(); }
    void Skipped(const std::string& Message) override { m_.AddLog(Message, lkInfo); }

private:
    TfrmMain& m_;
};

void TfrmMain::FTP_ProcessDir(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return;
    std::stringstream ss;
    ss << in.rdbuf();
    in.close();
    // Read whole and gone before any link is probed: the probes must not touch it.
    DeleteFileA(path.c_str());
    TEngineProber prober(*this);
    RemoteRows = BuildRemoteRows(ss.str(), prober, TLocaleCollation::Instance());
    FillRemoteList();
}

void TfrmMain::FillRemoteList() {
    // The two defaults first: the folder image (0) and the file image (1).
    remoteImages_->Clear();
    remoteImages_->Add(FolderLook().Small, FolderLook().Large, true);
    const TExtensionLook& text = ExtensionLook(".txt");
    remoteImages_->Add(text.Small, text.Large, true);
    // One look-up per extension, and one image per kind of icon in this folder.
    std::map<const TExtensionLook*, int> images;
    std::vector<TRemoteRow> rows(RemoteRows.size());
    for (size_t i = 0; i < RemoteRows.size(); ++i) {
        const TListingEntry& e = RemoteRows[i];
        TRemoteRow& r = rows[i];
        r.Caption = e.Name;
        std::string type = "Folder";
        r.ImageIndex = 0;
        if (!IsFolderRow(e)) {
            const TExtensionLook& look = ExtensionLook(RowExtension(e));
            type = look.TypeName;
            r.ImageIndex = 1;
            if (look.Small || look.Large) {
                static const TExtensionLook* const kGenericKey = nullptr;
                auto at = images.find(look.Generic ? kGenericKey : &look);
                if (at == images.end())
                    at = images.emplace(look.Generic ? kGenericKey : &look, remoteImages_->Add(look.Small, look.Large, true))
                             .first;
                r.ImageIndex = at->second;
            }
        }
        r.SubItems = {type, e.Permissions, e.Owner, e.Group, e.SizeText, e.DateText,
                      e.LinkTarget.empty() ? std::string() : "Link to " + e.LinkTarget};
    }
    lvServerFiles->SetRows(std::move(rows));
}

void TfrmMain::WireRemoteList() {
    popServerFiles = new TPopupMenu(this);
    TMenuItem* root = popServerFiles->Items();
    itmSrvFilesDownload = AddMenuItem(root, "Down&load to local dir", [this] { itmSrvFilesDownloadClick(); });
    itmSrvFilesDownloadAs = AddMenuItem(root, "Download &as ...", [this] { itmSrvFilesDownloadAsClick(); });
    AddMenuItem(root, "-", nullptr);
    itmSrvFilesDelete = AddMenuItem(root, "&Delete", [this] { itmSrvFilesDeleteClick(); });
    itmSrvFilesRename = AddMenuItem(root, "Re&name", [this] { itmSrvFilesRenameClick(); });
    itmSrvFilesChMod = AddMenuItem(root, "&Change permissions", [this] { itmSrvFilesChModClick(); });
    itmSrvFilesNewFolder = AddMenuItem(root, "Create &new folder", [this] { itmSrvFilesNewFolderClick(); });
    AddMenuItem(root, "-", nullptr);
    itmSrvFilesView = AddMenuItem(root, "&View", nullptr);
    AddMenuItem(itmSrvFilesView, "View as large icons", [this] { itmSrvFilesViewLargeClick(); });
    AddMenuItem(itmSrvFilesView, "View as small icons", [this] { itmSrvFilesViewSmallClick(); });
    AddMenuItem(itmSrvFilesView, "View as list", [this] { itmSrvFilesViewListClick(); });
    AddMenuItem(itmSrvFilesView, "View details", [this] { itmSrvFilesViewDetailsClick(); });
    AddMenuItem(root, "-", nullptr);
    itmSrvFilesProperties = AddMenuItem(root, "&Properties", [this] { itmSrvFilesPropertiesClick(); });
    popServerFiles->OnPopup = [this](TObject*) { popServerFilesPopup(); };
    lvServerFiles->OnContextMenu = [this](POINT at) {
        popServerFiles->PopupComponent = lvServerFiles;
        popServerFiles->Popup(at.x, at.y);
    };
    lvServerFiles->OnKeyUp = [this](TObject*, WORD& key, TShiftState shift) { lvServerFilesKeyUp(key, shift); };
    lvServerFiles->OnKeyDown = [this](TObject*, WORD& key, TShiftState shift) { lvServerFilesKeyDown(key, shift); };
}

void TfrmMain::lvServerFilesKeyUp(WORD key, TShiftState shift) {
    if (lvServerFiles->IsEditing() || !lvServerFiles->Enabled() || (shift & (ssShift | ssCtrl | ssAlt))) return;
    if (key == VK_DELETE) itmSrvFilesDeleteClick();
    if (key == VK_F2) itmSrvFilesRenameClick();
    if (key == VK_F5) tb97RefreshClick();
}

void TfrmMain::lvServerFilesKeyDown(WORD key, TShiftState shift) {
    if (key != VK_RETURN || !lvServerFiles->Enabled() || (shift & (ssShift | ssCtrl | ssAlt))) return;
    auto sel = lvServerFiles->SelectedRows();
    if (!sel.empty() && IsFolderRow(RemoteRows[static_cast<size_t>(sel[0])])) OpenRemoteRow();
}

void TfrmMain::popServerFilesPopup() {
    const bool selected = lvServerFiles->SelCount() > 0;
    for (TMenuItem* i : {itmSrvFilesDelete, itmSrvFilesRename, itmSrvFilesChMod, itmSrvFilesProperties})
        i->SetEnabled(selected);
    const bool canDownload = selected && FTP->IsConnected() && !Busy;
    itmSrvFilesDownload->SetEnabled(canDownload);
    itmSrvFilesDownloadAs->SetEnabled(canDownload);
}

int TfrmMain::RemoteIndexOf(const std::string& name) const {
    for (size_t i = 0; i < RemoteRows.size(); ++i)
        if (RemoteRows[i].Name == name) return static_cast<int>(i);
    return -1;
}

void TfrmMain::OpenRemoteRow() {
    auto sel = lvServerFiles->SelectedRows();
    if (sel.empty() || Busy) return;
    const TListingEntry& e = RemoteRows[static_cast<size_t>(sel[0])];
    if (IsFolderRow(e)) {
        ChangeServerDir(e.Name);
        QueuePwd();
        QueueList();
    } else if (!IsLinkRow(e)) {
        std::string q = sel.size() < 2 ? "Are you sure you want to download this file ?"
                                       : "Are you sure you want to download these files ?";
        if (Ask(q) == IDYES) itmSrvFilesDownloadClick();
    }
}

void TfrmMain::itmSrvFilesDeleteClick() {
    // "." and ".." are never deleted, so they are not counted either.
    std::vector<TListingEntry> rows;
    for (int i : lvServerFiles->SelectedRows())
        if (!IsDotRow(RemoteRows[static_cast<size_t>(i)].Name)) rows.push_back(RemoteRows[static_cast<size_t>(i)]);
    if (rows.empty()) return;
    std::string q = rows.size() == 1 ? "Are you sure you want to delete this file ?"
                                     : "Are you sure you want to delete these " + std::to_string(rows.size()) + " files ?";
    if (Ask(q) != IDYES) return;
    for (auto& e : rows) {
        if (IsFolderRow(e))
            QueueRmd(e.Name);
        else
            QueueDele(e.Name);
    }
    QueueList();
    QueuePwd();
}

void TfrmMain::itmSrvFilesRenameClick() {
    auto sel = lvServerFiles->SelectedRows();
    if (!sel.empty()) lvServerFiles->EditCaption(sel[0]);
}

void TfrmMain::itmSrvFilesChModClick() {
    auto sel = lvServerFiles->SelectedRows();
    std::vector<TListingEntry> rows;
    for (int i : sel)
        if (i > 0 && !IsDotRow(RemoteRows[static_cast<size_t>(i)].Name)) rows.push_back(RemoteRows[static_cast<size_t>(i)]);
    for (auto& e : rows) {
        TfrmChMod dlg(this);
        dlg.SetPermissions(e.Name, e.Permissions);
        if (dlg.ShowModal() != mrOk) break;
        TChModPlan plan = PlanChMod(e.Name, e.Permissions, dlg.Chosen());
        if (!plan.Note.empty()) Prompter().ShowMessageBox(plan.Note, AppTitle, MB_OK | MB_ICONINFORMATION);
        if (plan.Send) QueueCommand(MakeQuote(plan.Command));
    }
    QueueList();
}

void TfrmMain::itmSrvFilesNewFolderClick() {
    TfrmFolder dlg(this);
    dlg.SetCaption("Make New Folder");
    dlg.lblCurrentFolder->SetCaption("Current working directory:");
    dlg.lblCurDir->SetCaption(CurrentServerDir);
    dlg.lblNewFolder->SetCaption("Create new folder with name:");
    if (dlg.ShowModal() != mrOk) return;
    std::string name = dlg.ebx97NewDir->Text();
    // Pasted text passes the key filter: the name is checked again here.
    if (!IsValidNewFolderName(name)) {
        Prompter().ShowMessageBox("\"" + name + "\" is not a valid folder name.", AppTitle, MB_OK | MB_ICONINFORMATION);
        return;
    }
    QueueMkd(name);
    QueueList();
    QueuePwd();
}

void TfrmMain::tb97FolderUpClick() {
    QueueCDup();
    QueueList();
    QueuePwd();
}

void TfrmMain::tb97RefreshClick() {
    if (Busy) return;
    QueueList();
    QueuePwd();
}

bool TfrmMain::IsBinaryTransfer(const std::string& name) const {
    return frmOptions->TextExt().IsBinaryTransfer(name, TransferMode());
}

void TfrmMain::RemoteSelectionDownload(bool askFolder) {
    std::vector<TListingEntry> sel;
    for (int i : lvServerFiles->SelectedRows()) sel.push_back(RemoteRows[static_cast<size_t>(i)]);
    DownloadRemoteEntries(sel, askFolder);
}

void TfrmMain::DownloadRemoteEntries(const std::vector<TListingEntry>& sel, bool askFolder) {
    // A folder download re-lists the pane: walk a copy, without "." and "..".
    std::vector<TDirEntry> rows = SnapshotRows(sel);
    for (auto& e : rows) {
        std::string msg;
        if (!CheckRemoteNameForLocal(e.Name, msg)) {
            Prompter().ShowMessageBox(msg, AppTitle, MB_OK | MB_ICONINFORMATION);
            continue;
        }
        if (e.IsFolder) {
            std::string target = IncludeTrailingBackslash(Local->Directory()) + e.Name;
            if (askFolder) {
                // The folder's contents go straight into the chosen folder.
                FolderDialog->SetDirectory(Local->Directory());
                if (!FolderDialog->Execute()) break;
                target = FolderDialog->Directory();
            }
            const std::string parent = CurrentServerDir;
            DownloadFolder(target, parent, e.Name);
            if (AbortRequested || !FTP->IsConnected()) break;
            continue;
        }
        std::string local = IncludeTrailingBackslash(Local->Directory()) + e.Name;
        if (askFolder) {
            TFileDialogRequest r;
            r.Title = "Choose filename to save as...";
            r.Filter = "All files|*.*";
            r.FileName = e.Name;
            r.InitialDir = Local->Directory();
            r.Options = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
            if (!Prompter().SaveFileDialog(r)) break;
            local = r.FileName;
        }
        int64_t resume = 0;
        if (FileExistsAt(local)) {
            TfrmOverResume dlg(this);
            dlg.lblDesc->SetCaption("\"" + local + "\"\r\nalready exists. Overwrite ?");
            int a = dlg.ShowModal();
            if (a != orOverwrite && a != orResume) continue;
            if (a == orResume) resume = GetFileSizeOf(local);
        }
        QueueDownload(local, resume, e.Size, IsBinaryTransfer(e.Name), e.Name, CurrentServerDir);
        // A lost session has shown its one message: the rest would each add theirs.
        if (!FTP->IsConnected()) break;
    }
}

void TfrmMain::itmSrvFilesDownloadClick() { RemoteSelectionDownload(false); }
void TfrmMain::itmSrvFilesDownloadAsClick() { RemoteSelectionDownload(true); }

void TfrmMain::DownloadFolder(const std::string& local, const std::string& remoteParent, const std::string& name) {
    // Copies: the walk changes CurrentServerDir while it runs.
    const std::string parent = remoteParent, here = CurrentServerDir;
    TMainFolderSite site(*this);
    TFolderDownload walk(site);
    walk.Run(local, parent, name, here);
    if (walk.Cancelled()) AbortRequested = true;
}

void TfrmMain::lbFilesDblClick() {
    const size_t n = Local->SelectedFiles().size();
    if (Busy || !FTP->IsConnected() || n == 0) return;
    if (Ask(n == 1 ? "Are you sure you want to upload this file ?" : "Are you sure you want to upload these files ?") ==
        IDYES)
        itmUploadLocaFileClick();
}

void TfrmMain::itmUploadLocaFileClick() {
    if (Busy) return;
    for (auto& name : Local->SelectedFiles()) {
        std::string path = IncludeTrailingBackslash(Local->Directory()) + name;
        QueueUpload(path, CurrentServerDir, GetFileSizeOf(path), IsBinaryTransfer(name), name);
        if (!FTP->IsConnected()) break;
    }
}

std::vector<TfrmFileProperties*> TfrmMain::itmSrvFilesPropertiesClick() {
    std::vector<TfrmFileProperties*> shown;
    TNumberFormat format = UserNumberFormat();
    for (int i : lvServerFiles->SelectedRows()) {
        // Behind the first row, which is ".".
        if (i <= 0 || i >= static_cast<int>(RemoteRows.size())) continue;
        const TListingEntry& e = RemoteRows[static_cast<size_t>(i)];
        const TRemoteRow& row = lvServerFiles->Row(i);
        auto sub = [&row](size_t k) { return k < row.SubItems.size() ? row.SubItems[k] : std::string(); };
        auto* f = new TfrmFileProperties();
        std::string type;
        f->imgIcon->SetIcon(FileTypeIcon(RowExtension(e), IsFolderRow(e), type));
        f->lblFilename->SetCaption(row.Caption);
        f->lblType->SetCaption(sub(0));
        f->lblLocation->SetCaption(cbServerDir->Text());
        f->lblSize->SetCaption(PropertiesSizeText(sub(4), format));
        f->lblModified->SetCaption(sub(5));
        f->lblPermissions->SetCaption(sub(1));
        f->lblUser->SetCaption(sub(2));
        f->lblGroup->SetCaption(sub(3));
        f->Show();
        shown.push_back(f);
    }
    return shown;
}
