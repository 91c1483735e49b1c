// The local pane's operations: new folder, rename and delete of folders and
// files (to the recycle bin when it can), properties, the pop-up menus and keys.
#include <windows.h>

#include "AppTitle.h"
#include "InfoDialogs.h"
#include "LocalFiles.h"
#include "MainForm.h"
#include "ftpclient/core/ClientUtils.h"
#include "runtime/core/SysUtils.h"
#include "ui/core/Prompter.h"

namespace {
void ShowInfoBox(const std::string& text) { Prompter().ShowMessageBox(text, AppTitle, MB_OK | MB_ICONINFORMATION); }

std::string LastErrorText() {
    char buf[512] = {0};
    DWORD e = GetLastError();
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, e, 0, buf, sizeof buf,
                             nullptr);
    std::string t(buf, n);
    while (!t.empty() && (t.back() == '\n' || t.back() == '\r' || t.back() == ' ')) t.pop_back();
    return t.empty() ? "System error " + std::to_string(e) : t;
}

std::string WithoutTrailingBackslash(std::string p) {
    while (p.size() > 3 && p.back() == '\\') p.pop_back();
    return p;
}

// The last path element of a typed name ("a\b\" gives "b").
std::string LastElement(std::string typed) {
    while (!typed.empty() && (typed.back() == '\\' || typed.back() == '/')) typed.pop_back();
    size_t k = typed.find_last_of("\\/");
    return k == std::string::npos ? typed : typed.substr(k + 1);
}

std::string ParentOf(const std::string& path) {
    size_t k = path.find_last_of('\\');
    if (k == std::string::npos) return path;
    std::string p = path.substr(0, k);
    return p.size() <= 2 ? p + "\\" : p;
}

// A case-only rename goes through a passing name: a file system that ignores
// case may take the new name for the old file and change nothing.
bool MoveLocalFile(const std::string& from, const std::string& to) {
    if (from == to) return true;
    if (!SameText(from, to)) return MoveFileA(from.c_str(), to.c_str()) != FALSE;
    std::string passing = from + ".qf-rename";
    if (!MoveFileA(from.c_str(), passing.c_str())) return false;
    if (MoveFileA(passing.c_str(), to.c_str())) return true;
    DWORD e = GetLastError();
    MoveFileA(passing.c_str(), from.c_str());
    SetLastError(e);
    return false;
}

// The one-line dialog's texts for a use; without a new-name label the input is hidden.
void SetUpFolderDialog(TfrmFolder& dlg, const char* caption, const char* current, const char* newName,
                       const char* button) {
    dlg.SetCaption(caption);
    dlg.lblCurrentFolder->SetCaption(current);
    if (newName) {
        dlg.lblNewFolder->SetCaption(newName);
    } else {
        dlg.SetAllowEmpty(true);
        dlg.lblNewFolder->Hide();
        dlg.ebx97NewDir->Hide();
    }
    dlg.btnCreate->SetCaption(button);
}

// A name the user typed that is to become a file or folder name here.
bool CheckTypedName(const std::string& name) {
    if (IsValidNewFolderName(name)) return true;
    ShowInfoBox("\"" + name + "\" is not a valid name.");
    return false;
}
}  // namespace

void TfrmMain::CreateLocalMenus() {
    auto item = [](TPopupMenu* menu, const std::string& caption, std::function<void()> click) {
        auto* it = new TMenuItem(menu);
        it->SetCaption(caption);
        it->OnClick = [click](TObject*) { click(); };
        menu->Items()->Add(it);
        return it;
    };
    popLocalDir = new TPopupMenu(this);
    itmNewLocalDir = item(popLocalDir, "Create &New folder", [this] { itmNewLocalDirClick(); });
    itmRenameLocalDir = item(popLocalDir, "&Rename folder", [this] { itmRenameLocalDirClick(); });
    itmDeleteLocalDir = item(popLocalDir, "&Delete folder", [this] { itmDeleteLocalDirClick(); });
    popLocalDir->OnPopup = [this](TObject*) { popLocalDirPopup(); };
    popLocalFiles = new TPopupMenu(this);
    itmRenameLocalFile = item(popLocalFiles, "&Rename file", [this] { itmRenameLocalFileClick(); });
    itmDeleteLocalFile = item(popLocalFiles, "&Delete file", [this] { itmDeleteLocalFileClick(); });
    itmUploadLocalFile = item(popLocalFiles, "&Upload file to FTP Server", [this] { itmUploadLocaFileClick(); });
    itmLocFileProperties = item(popLocalFiles, "&Properties", [this] { itmLocFilePropertiesClick(); });
    popLocalFiles->OnPopup = [this](TObject*) { popLocalFilesPopup(); };
    auto popupOn = [](TListBox* list, TPopupMenu* menu) {
        list->OnMouseUp = [list, menu](TObject*, TMouseButton b, TShiftState, int x, int y) {
            if (b != mbRight) return;
            POINT p{x, y};
            ClientToScreen(list->Handle(), &p);
            menu->Popup(p.x, p.y);
        };
    };
    popupOn(Local->lbDirectory, popLocalDir);
    popupOn(Local->lbFiles, popLocalFiles);
    Local->lbDirectory->OnKeyUp = [this](TObject*, WORD& key, TShiftState shift) {
        if (shift & (ssShift | ssCtrl | ssAlt)) return;
        if (key == VK_F2 && LocalDirUp(0).size() > 3) itmRenameLocalDirClick();
        if (key == VK_F5) Local->Refresh();
        if (key == VK_DELETE) itmDeleteLocalDirClick();
    };
    Local->lbFiles->OnKeyUp = [this](TObject*, WORD& key, TShiftState shift) {
        if (shift & (ssShift | ssCtrl | ssAlt)) return;
        if (key == VK_F2) itmRenameLocalFileClick();
        if (key == VK_F5) Local->Refresh();
        if (key == VK_DELETE) itmDeleteLocalFileClick();
    };
    Local->lbFiles->OnDblClick = [this](TObject*) { lbFilesDblClick(); };
}

std::string TfrmMain::LocalDirUp(int levels) const { return Local->LocalDirUp(levels); }

void TfrmMain::popLocalDirPopup() {
    // Never the drive root.
    bool notRoot = LocalDirUp(0).size() > 3;
    itmRenameLocalDir->SetEnabled(notRoot);
    itmDeleteLocalDir->SetEnabled(notRoot);
}

void TfrmMain::popLocalFilesPopup() {
    bool any = !Local->SelectedFiles().empty();
    itmRenameLocalFile->SetEnabled(any);
    itmDeleteLocalFile->SetEnabled(any);
    itmLocFileProperties->SetEnabled(any);
    itmUploadLocalFile->SetEnabled(any && FTP->IsConnected() && !Busy);
}

void TfrmMain::itmNewLocalDirClick() {
    std::string base = WithoutTrailingBackslash(LocalDirUp(0));
    if (base.empty()) return;
    TfrmFolder dlg(this);
    dlg.lblCurDir->SetCaption(base);
    if (dlg.ShowModal() != mrOk) return;
    std::string name = dlg.ebx97NewDir->Text();
    if (!CheckTypedName(name)) return;
    if (!CreateFolder(IncludeTrailingBackslash(base) + name)) ShowInfoBox(LastErrorText());
    Local->Refresh();
}

void TfrmMain::itmRenameLocalDirClick() {
    std::string path = WithoutTrailingBackslash(LocalDirUp(0));
    if (path.size() <= 3) return;
    TfrmFolder dlg(this);
    SetUpFolderDialog(dlg, "Rename a folder", "Original folder name:", "New Folder name:", "Rename");
    dlg.lblCurDir->SetCaption(path);
    dlg.ebx97NewDir->SetText(LastElement(path));
    if (dlg.ShowModal() != mrOk) return;
    std::string name = LastElement(dlg.ebx97NewDir->Text());
    if (name.empty() || !CheckTypedName(name)) return;
    std::string target = IncludeTrailingBackslash(ParentOf(path)) + name;
    // Out of the folder first, so that it is not in use.
    SetCurrentDirectoryA("\\");
    if (MoveLocalFile(path, target)) {
        SetCurrentDirectoryA(target.c_str());
        if (SameText(Local->Directory(), path)) Local->SetDirectory(target);
    } else {
        std::string err = LastErrorText();
        SetCurrentDirectoryA(path.c_str());
        ShowInfoBox(err);
    }
    Local->Refresh();
}

void TfrmMain::itmDeleteLocalDirClick() {
    std::string path = WithoutTrailingBackslash(LocalDirUp(0));
    if (path.size() <= 3) return;
    TfrmFolder dlg(this);
    SetUpFolderDialog(dlg, "Delete a folder", "Are you sure you want to delete this folder:", nullptr, "Delete");
    dlg.lblCurDir->SetCaption(path);
    if (dlg.ShowModal() != mrOk) return;
    std::string parent = LocalDirUp(1);
    SetCurrentDirectoryA(parent.c_str());
    RecycleOrDelete(path, true);
    if (!FolderExistsAt(path)) Local->SetDirectory(parent);
    Local->Refresh();
}

void TfrmMain::itmRenameLocalFileClick() {
    auto names = Local->SelectedFiles();
    if (names.empty()) return;
    std::string folder = IncludeTrailingBackslash(Local->Directory());
    TfrmFolder dlg(this);
    SetUpFolderDialog(dlg, "Rename a file", "Original file name:", "New file name:", "Rename");
    for (auto& name : names) {
        dlg.lblCurDir->SetCaption(folder + name);
        dlg.ebx97NewDir->SetText(name);
        if (dlg.ShowModal() != mrOk) continue;
        std::string newName = LastElement(dlg.ebx97NewDir->Text());
        if (newName.empty() || !CheckTypedName(newName)) continue;
        std::string target = folder + newName;
        // A case-only rename meets the file itself, which is no collision.
        if ((FileExistsAt(target) || FolderExistsAt(target)) && !SameText(newName, name)) {
            ShowInfoBox("File: \"" + newName + "\"\r\nalready exists. Rename aborted.");
            break;
        }
        if (!MoveLocalFile(folder + name, target)) {
            ShowInfoBox(LastErrorText());
            break;
        }
    }
    Local->Refresh();
}

void TfrmMain::itmDeleteLocalFileClick() {
    auto names = Local->SelectedFiles();
    if (names.empty()) return;
    std::string folder = IncludeTrailingBackslash(Local->Directory());
    TfrmFolder dlg(this);
    SetUpFolderDialog(dlg, "Delete a file", "Are you sure you want to delete this file:", nullptr, "Delete");
    for (auto& name : names) {
        dlg.lblCurDir->SetCaption(folder + name);
        if (dlg.ShowModal() == mrOk) RecycleOrDelete(folder + name, false);
    }
    Local->Refresh();
}

std::vector<TfrmFileProperties*> TfrmMain::itmLocFilePropertiesClick() {
    std::vector<TfrmFileProperties*> shown;
    std::string folder = IncludeTrailingBackslash(Local->Directory());
    TNumberFormat format = UserNumberFormat();
    for (auto& name : Local->SelectedFiles()) {
        WIN32_FILE_ATTRIBUTE_DATA d;
        if (!GetFileAttributesExA((folder + name).c_str(), GetFileExInfoStandard, &d)) continue;
        auto* f = new TfrmFileProperties();
        f->lblFilename->SetCaption(name);
        bool isFolder = d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        std::string type;
        size_t dot = name.find_last_of('.');
        HICON icon = FileTypeIcon(dot == std::string::npos ? "" : name.substr(dot), isFolder, type);
        if (isFolder) {
            if (icon) DestroyIcon(icon);
        } else {
            f->imgIcon->SetIcon(icon);
        }
        f->lblType->SetCaption(type);
        f->lblLocation->SetCaption(WithoutTrailingBackslash(Local->Directory()));
        int64_t size = (static_cast<int64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
        f->lblSize->SetCaption(PropertiesSizeText(std::to_string(size), format));
        f->lblModified->SetCaption(LocalFileTimeText(d.ftLastWriteTime));
        f->lblPermDesc->SetCaption("Attributes:");
        DWORD a = d.dwFileAttributes;
        f->lblPermissions->SetCaption(AttributesText(a & FILE_ATTRIBUTE_ARCHIVE, a & FILE_ATTRIBUTE_READONLY,
                                                     a & FILE_ATTRIBUTE_HIDDEN, a & FILE_ATTRIBUTE_SYSTEM));
        f->lblUser->SetCaption(LoggedOnUser());
        f->lblGroup->SetCaption("n/a");
        f->Show();
        shown.push_back(f);
    }
    return shown;
}

void TfrmMain::itmAboutClick() {
    TfrmAbout about(this);
    about.ShowModal();
}
