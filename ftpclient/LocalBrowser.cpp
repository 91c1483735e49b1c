#include "LocalBrowser.h"

#include <windows.h>

#include <algorithm>

#include "LocalFiles.h"
#include "ftpclient/core/MainLayout.h"

namespace {
struct Filter {
    const char* name;
    const char* mask;
};
const Filter Filters[] = {
    {"Web files",
     "*.htm*;*.shtml;*.asp;*.css;*.phtml;*.txt;*.cgi;*.pl;*.gif;*.jpg;*.bmp;*.png;*.mpg;*.avi;*.mov;*.mpeg;*.mp3;"
     "*.mp2;*.au;*.snd;*.ra;*.wav"},
    {"HTML files", "*.htm;*.shtml;*.asp;*.css;*.phtml"},
    {"Text files", "*.txt;*.log;*.diz"},
    {"CGI files", "*.cgi;*.pl"},
    {"Images, Sounds and Movies", "*.jpg;*.gif;*.bmp;*.png;*.mpg;*.avi;*.mov;*.mpeg;*.mp3;*.mp2;*.au;*.snd;*.ra;*.wav"},
    {"All files", "*.*"},
};

bool Wild(const char* m, const char* s) {
    if (*m == 0) return *s == 0;
    if (*m == '*') return Wild(m + 1, s) || (*s && Wild(m, s + 1));
    if (*s == 0) return false;
    if (*m != '?' && tolower(static_cast<unsigned char>(*m)) != tolower(static_cast<unsigned char>(*s))) return false;
    return Wild(m + 1, s + 1);
}
}  // namespace

bool MatchesMask(const std::string& Name, const std::string& Masks) {
    size_t start = 0;
    while (start <= Masks.size()) {
        size_t end = Masks.find(';', start);
        std::string m = Masks.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (m == "*.*" || Wild(m.c_str(), Name.c_str())) return true;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return false;
}

TLocalBrowser::TLocalBrowser(TWinControl* parent) : TPanel(parent) {
    BevelOuter = bvNone;
    lblLocal = new TLabel(this);
    lblLocal->SetCaption("Local:");
    lblLocal->SetBounds(4, 2, 100, 16);
    driveHost_ = new TPanel(this);
    driveHost_->BevelOuter = bvNone;
    filterHost_ = new TPanel(this);
    filterHost_->BevelOuter = bvNone;
    cbLocalDrive = new TComboBox(driveHost_);
    cbLocalDrive->SetStyle(csDropDownList);
    lbDirectory = new TFolderList(this);
    cbFilter = new TComboBox(filterHost_);
    cbFilter->SetStyle(csDropDownList);
    for (auto& f : Filters) cbFilter->Items().Add(f.name);
    cbFilter->SetItemIndex(0);
    lbFiles = new TListBox(this);
    lbFiles->SetMultiSelect(true);
    FillDrives();
    cbLocalDrive->OnChange = [this](TObject*) {
        int i = cbLocalDrive->ItemIndex();
        if (i >= 0) SetDirectory(cbLocalDrive->Items().Strings(i).substr(0, 2) + "\\");
    };
    cbFilter->OnChange = [this](TObject*) { SetFilterIndex(cbFilter->ItemIndex()); };
    lbDirectory->OnDblClick = [this](TObject*) { OpenFolderRow(lbDirectory->ItemIndex()); };
    lbDirectory->OnKeyDown = [this](TObject*, WORD& key, TShiftState) {
        if (key == VK_RETURN) OpenFolderRow(lbDirectory->ItemIndex());
    };
    char cur[MAX_PATH] = {0};
    GetCurrentDirectoryA(MAX_PATH, cur);
    SetDirectory(cur);
}

void TLocalBrowser::FillDrives() {
    DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i)
        if (mask & (1u << i)) cbLocalDrive->Items().Add(std::string(1, static_cast<char>('a' + i)) + ":");
}

std::string TLocalBrowser::Mask() const { return Filters[filter_].mask; }

void TLocalBrowser::SetFilterIndex(int i) {
    if (i < 0 || i >= static_cast<int>(sizeof Filters / sizeof Filters[0])) return;
    filter_ = i;
    cbFilter->SetItemIndex(i);
    Refresh();
}

bool TLocalBrowser::SetDirectory(const std::string& Path) {
    std::string p = Path;
    while (p.size() > 3 && (p.back() == '\\' || p.back() == '/')) p.pop_back();
    if (p.size() == 2 && p[1] == ':') p += "\\";
    if (!FolderExistsAt(p)) return false;
    char full[MAX_PATH] = {0};
    if (GetFullPathNameA(p.c_str(), MAX_PATH, full, nullptr) == 0) return false;
    dir_ = full;
    if (dir_.size() > 3 && dir_.back() == '\\') dir_.pop_back();
    std::string drive = dir_.size() >= 2 ? std::string(1, static_cast<char>(tolower(dir_[0]))) + ":" : "";
    int di = cbLocalDrive->Items().IndexOf(drive);
    if (di >= 0) cbLocalDrive->SetItemIndex(di);
    Refresh();
    return true;
}

void TLocalBrowser::Refresh() {
    std::vector<std::string> folders, files;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((IncludeTrailingBackslash(dir_) + "*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string n = fd.cFileName;
            if (n == "." || n == "..") continue;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                folders.push_back(n);
            else if (MatchesMask(n, Mask()))
                files.push_back(n);
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    auto less = [](const std::string& a, const std::string& b) { return _stricmp(a.c_str(), b.c_str()) < 0; };
    std::sort(files.begin(), files.end(), less);
    lbDirectory->SetRows(FolderTreeRows(dir_, folders));
    lbFiles->Clear();
    for (auto& f : files) lbFiles->Items().Add(f);
}

void TLocalBrowser::OpenFolderRow(int i) {
    const auto& rows = lbDirectory->Rows();
    if (i < 0 || i >= static_cast<int>(rows.size())) return;
    SetDirectory(rows[static_cast<size_t>(i)].Path);
}

std::vector<std::string> TLocalBrowser::SelectedFiles() const {
    std::vector<std::string> out;
    for (int i = 0; i < lbFiles->Items().Count(); ++i)
        if (lbFiles->Selected(i)) out.push_back(lbFiles->Items().Strings(i));
    return out;
}

bool TLocalBrowser::SelectFile(const std::string& Name) {
    for (int i = 0; i < lbFiles->Items().Count(); ++i)
        if (_stricmp(lbFiles->Items().Strings(i).c_str(), Name.c_str()) == 0) {
            lbFiles->SetSelected(i, true);
            return true;
        }
    return false;
}

std::string TLocalBrowser::LocalDirUp(int n) const {
    std::string p = dir_;
    for (int i = 0; i < n; ++i) {
        size_t k = p.find_last_of('\\');
        if (k == std::string::npos || p.size() <= 3) break;
        p = p.substr(0, k);
        if (p.size() == 2) p += "\\";
    }
    return p;
}

void TLocalBrowser::Resized() {
    // Label, drive box, folder list, filter box and file list stacked 2 apart;
    // the file list takes what is left, and in a short pane some of the folder list's.
    const TPaneRect label{lblLocal->Left(), lblLocal->Top(), 0, lblLocal->Height()};
    const int lists = ClientHeight() - 3 - (label.Top + label.Height + 2) - (cbLocalDrive->Height() + 2) - 2 -
                      (cbFilter->Height() + 2);
    const std::vector<TPaneRect> r =
        StackBelowLabel(label, ClientWidth(), ClientHeight(),
                        {cbLocalDrive->Height(), SharedListHeight(lists, FolderListHeight), cbFilter->Height(), 0});
    const auto place = [](TWinControl* c, const TPaneRect& b) { c->SetBounds(b.Left, b.Top, b.Width, b.Height); };
    place(lblLocal, r[0]);
    place(driveHost_, r[1]);
    cbLocalDrive->SetBounds(0, 0, r[1].Width, r[1].Height);
    place(lbDirectory, r[2]);
    // Shorter, the list still shows the open folder's row.
    if (lbDirectory->ItemIndex() >= 0) lbDirectory->SetItemIndex(lbDirectory->ItemIndex());
    place(filterHost_, r[3]);
    cbFilter->SetBounds(0, 0, r[3].Width, r[3].Height);
    place(lbFiles, r[4]);
    TPanel::Resized();
}
