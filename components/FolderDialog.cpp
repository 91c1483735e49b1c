#include "components/FolderDialog.h"

#include <vector>

#include "runtime/Application.h"

namespace {

const int kCsidl[] = {-1, CSIDL_DESKTOP, CSIDL_PROGRAMS, CSIDL_CONTROLS, CSIDL_PRINTERS, CSIDL_PERSONAL,
                      CSIDL_FAVORITES, CSIDL_STARTUP, CSIDL_RECENT, CSIDL_SENDTO, CSIDL_BITBUCKET,
                      CSIDL_STARTMENU, CSIDL_DESKTOPDIRECTORY, CSIDL_DRIVES, CSIDL_NETWORK, CSIDL_NETHOOD,
                      CSIDL_FONTS, CSIDL_TEMPLATES, CSIDL_COMMON_STARTMENU, CSIDL_COMMON_PROGRAMS,
                      CSIDL_COMMON_STARTUP, CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_APPDATA, CSIDL_PRINTHOOD};

void FreeList(LPITEMIDLIST& l) {
    if (l) CoTaskMemFree(l);
    l = nullptr;
}

}  // namespace

TFolderDialog::TFolderDialog(TComponent* owner) : TComponent(owner) {}

TFolderDialog::~TFolderDialog() {
    if (dialog_) SendMessageA(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
    FreeList(rootList_);
    FreeList(current_);
}

void TFolderDialog::SetLeft(int v) {
    left_ = v;
    if (dialog_) Place();
}

void TFolderDialog::SetTop(int v) {
    top_ = v;
    if (dialog_) Place();
}

std::string TFolderDialog::Title() const {
    if (!dialog_) return title_;
    char buf[256];
    GetWindowTextA(dialog_, buf, sizeof buf);
    return buf;
}

void TFolderDialog::SetTitle(const std::string& t) {
    title_ = t;
    if (dialog_) SetWindowTextA(dialog_, t.c_str());
}

std::string TFolderDialog::Directory() const { return dialog_ && current_ ? IdListPath(current_) : directory_; }

void TFolderDialog::SetDirectory(const std::string& d) {
    directory_ = d;
    if (!dialog_) return;
    if (LPITEMIDLIST l = PathToIdList(d)) {
        SendMessageA(dialog_, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(l));
        CoTaskMemFree(l);
    }
}

void TFolderDialog::SetRootFolder(TShellFolder f) {
    root_ = f;
    FreeList(rootList_);
    if (kCsidl[f] >= 0 && SHGetSpecialFolderLocation(nullptr, kCsidl[f], &rootList_) != S_OK) rootList_ = nullptr;
}

std::string TFolderDialog::IdListPath(LPCITEMIDLIST pidl) {
    char path[MAX_PATH] = "";
    if (!pidl || !SHGetPathFromIDListA(pidl, path)) return "";
    return path;
}

LPITEMIDLIST TFolderDialog::PathToIdList(const std::string& given) {
    const std::string path = TrimDotPath(given);
    const DWORD attr = GetFileAttributesA(path.c_str());
    const bool isRoot = path.size() == 3 && path[1] == ':' && path[2] == '\\';
    if (!isRoot && (attr == INVALID_FILE_ATTRIBUTES || !(attr & FILE_ATTRIBUTE_DIRECTORY))) return nullptr;
    IShellFolder* desktop = nullptr;
    if (SHGetDesktopFolder(&desktop) != S_OK) return nullptr;
    std::vector<wchar_t> wide(path.size() + 1);
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    LPITEMIDLIST l = nullptr;
    ULONG eaten = 0, wanted = SFGAO_FILESYSTEM;
    if (desktop->ParseDisplayName(nullptr, nullptr, wide.data(), &eaten, &l, &wanted) != S_OK ||
        !(wanted & SFGAO_FILESYSTEM))
        FreeList(l);
    desktop->Release();
    return l;
}

std::string TFolderDialog::ShortenText(HDC dc, const std::string& s, int width, bool pathStyle) {
    // DT_MODIFYSTRING may write up to four characters past the text: room for them.
    std::string text = s + "W";
    std::vector<char> buf(text.size() + 5, '\0');
    std::copy(text.begin(), text.end(), buf.begin());
    RECT r{0, 0, width, 20};
    DrawTextA(dc, buf.data(), -1, &r,
              (pathStyle ? DT_PATH_ELLIPSIS : DT_END_ELLIPSIS) | DT_MODIFYSTRING | DT_NOPREFIX | DT_SINGLELINE | DT_CALCRECT);
    std::string out(buf.data());
    if (!out.empty()) out.pop_back();
    return out;
}

void TFolderDialog::SetStatusText(const std::string& s) {
    status_ = s;
    if (!dialog_) return;
    HDC dc = GetDC(dialog_);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(dialog_, WM_GETFONT, 0, 0)));
    RECT client;
    GetClientRect(dialog_, &client);
    const int width = client.right * 160 / 212;  // the nominal status line's share of the client width
    const std::string shown = ShortenText(dc, s, width, (options_ & Opt(bfShowPathInStatusArea)) != 0);
    SelectObject(dc, old);
    ReleaseDC(dialog_, dc);
    SendMessageA(dialog_, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(shown.c_str()));
}

void TFolderDialog::Place() {
    RECT wr;
    GetWindowRect(dialog_, &wr);
    RECT client;
    GetClientRect(dialog_, &client);
    HWND owner = owner_;
    int x = left_, y = top_;
    if ((options_ & Opt(bfParentCenter)) && owner) {
        RECT o;
        GetWindowRect(owner, &o);
        x = o.left + ((o.right - o.left) - (wr.right - wr.left)) / 2;
        y = o.top + (o.bottom - o.top) / 4;
    } else if (options_ & Opt(bfScreenCenter)) {
        x = (GetSystemMetrics(SM_CXSCREEN) - client.right) / 2;
        y = (GetSystemMetrics(SM_CYSCREEN) - client.bottom) / 3;
    } else if (owner) {
        POINT p{left_, top_};
        ClientToScreen(owner, &p);
        x = p.x;
        y = p.y;
    }
    SetWindowPos(dialog_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFolderDialog::Opened(HWND wnd) {
    dialog_ = wnd;
    Place();
    if (!directory_.empty()) SetDirectory(directory_);
    SetWindowTextA(wnd, title_.c_str());
    if (OnShow) OnShow(this);
}

void TFolderDialog::SelectionChanged(LPCITEMIDLIST pidl) {
    FreeList(current_);
    current_ = pidl ? ILClone(pidl) : nullptr;
    const std::string path = IdListPath(pidl);
    if (options_ & Opt(bfFileSysDirsOnly)) SendMessageA(dialog_, BFFM_ENABLEOK, 0, !path.empty());
    if (!path.empty()) {
        if (options_ & Opt(bfShowPathInStatusArea)) SetStatusText(path);
        if (OnChange) OnChange(this);
    } else if (options_ & (Opt(bfFileSysDirsOnly) | Opt(bfShowPathInStatusArea))) {
        SetStatusText("");
    }
}

int CALLBACK TFolderDialog::BrowseCallback(HWND wnd, UINT msg, LPARAM lp, LPARAM data) {
    auto* self = reinterpret_cast<TFolderDialog*>(data);
    CallGuarded(self, [&] {
        if (msg == BFFM_INITIALIZED) self->Opened(wnd);
        else if (msg == BFFM_SELCHANGED && self->dialog_) self->SelectionChanged(reinterpret_cast<LPCITEMIDLIST>(lp));
    });
    return 0;
}

bool TFolderDialog::Execute() {
    auto* ownerCtl = dynamic_cast<TWinControl*>(Owner());
    HWND owner = ownerCtl && ownerCtl->HandleAllocated() ? ownerCtl->Handle() : nullptr;
    char name[MAX_PATH] = "";
    BROWSEINFOA bi = {};
    bi.hwndOwner = owner;
    owner_ = owner;
    bi.pidlRoot = rootList_;
    bi.pszDisplayName = name;
    bi.lpszTitle = Text.empty() ? nullptr : Text.c_str();
    static const UINT flags[] = {BIF_RETURNONLYFSDIRS, BIF_DONTGOBELOWDOMAIN, BIF_STATUSTEXT, BIF_RETURNFSANCESTORS,
                                 BIF_BROWSEFORCOMPUTER, BIF_BROWSEFORPRINTER, BIF_BROWSEINCLUDEFILES};
    for (int i = 0; i < 7; ++i)
        if (options_ & (1u << i)) bi.ulFlags |= flags[i];
    bi.lpfn = BrowseCallback;
    bi.lParam = reinterpret_cast<LPARAM>(this);
    LPITEMIDLIST chosen = SHBrowseForFolderA(&bi);
    dialog_ = nullptr;
    FreeList(current_);
    if (owner) SetFocus(owner);
    if (OnClose) OnClose(this);
    if (!chosen) {
        directory_.clear();
        return false;
    }
    displayName_ = name;
    directory_ = IdListPath(chosen);
    CoTaskMemFree(chosen);
    return true;
}
