#include "components/FolderDialog.h"

#include <commctrl.h>

#include <vector>

#include "runtime/Application.h"
#include "ui/StdCtrls.h"

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
    if (custom_) custom_->RemoveFreeNotification(this);
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

void TFolderDialog::SetOptions(TFolderDialogOptions o) {
    const bool computer = (o & Opt(bfBrowseForComputer)) && !(options_ & Opt(bfBrowseForComputer));
    options_ = ApplyFolderOptions(options_, o);
    if (computer) SetRootFolder(sfoNetwork);
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

namespace {
constexpr UINT_PTR kDialogSubclass = 0x46444C47;
constexpr int kCopyId = 0x4C43;
constexpr int kTreeId = 14145;
}  // namespace

void TFolderDialog::SetCustomButton(TWinControl* button) {
    if (custom_) custom_->RemoveFreeNotification(this);
    custom_ = button;
    if (custom_) custom_->FreeNotification(this);
}

void TFolderDialog::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == custom_) custom_ = nullptr;
}

RECT TFolderDialog::Scaled(int x, int y, int w, int h) const {
    const LONG base = GetDialogBaseUnits();
    const int bx = LOWORD(base), by = HIWORD(base);
    RECT client;
    GetClientRect(dialog_, &client);
    const int nominalW = 212 * bx / 4, nominalH = 188 * by / 8;
    auto sx = [&](int v) { return (v * bx / 4) * client.right / nominalW + 1; };
    auto sy = [&](int v) { return (v * by / 8) * client.bottom / nominalH + 1; };
    return {sx(x), sy(y), sx(x) + sx(w), sy(y) + sy(h)};
}

// A window of the same kind as the custom button, with its text, font, check and state.
void TFolderDialog::CopyCustomButton() {
    HWND src = custom_->Handle();
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(src, GWL_STYLE));
    const bool push = (style & BS_TYPEMASK) <= BS_DEFPUSHBUTTON;
    const RECT button = Scaled(100, 166, 50, 14), status = Scaled(7, 27, 160, 12);
    int x = custom_->Left(), y = custom_->Top(), w = custom_->Width(), h = custom_->Height();
    if (options_ & Opt(bfAlignCustomButton)) {
        x = status.left + 1;
        y = button.top - 1;
    }
    if (options_ & Opt(bfResizeCustomButton)) {
        w = button.right - button.left;
        h = button.bottom - button.top;
    } else if (push) {
        h = button.bottom - button.top;
    }
    copy_ = CreateWindowExA(0, "BUTTON", custom_->Caption().c_str(),
                            (style & ~static_cast<DWORD>(WS_DISABLED | WS_GROUP)) | WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                            x, y, w, h, dialog_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCopyId)), nullptr, nullptr);
    if (!copy_) return;
    SendMessageA(copy_, WM_SETFONT, SendMessageA(src, WM_GETFONT, 0, 0), FALSE);
    SendMessageA(copy_, BM_SETCHECK, SendMessageA(src, BM_GETCHECK, 0, 0), 0);
    EnableWindow(copy_, (options_ & Opt(bfSyncCustomButton)) ? IsWindowEnabled(GetDlgItem(dialog_, IDOK))
                                                             : IsWindowEnabled(src));
}

LRESULT CALLBACK FolderDialogProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<TFolderDialog*>(data);
    switch (msg) {
        case WM_SHOWWINDOW:
        case WM_WINDOWPOSCHANGED: {
            const LRESULT r = DefSubclassProc(wnd, msg, wp, lp);
            // The tree, not the OK button, has the keys first, once shown.
            const bool shown = msg == WM_SHOWWINDOW ? wp != 0
                                                    : (reinterpret_cast<WINDOWPOS*>(lp)->flags & SWP_SHOWWINDOW) != 0;
            if (shown && !self->treeFocused_) {
                self->treeFocused_ = true;
                if (HWND tree = GetDlgItem(wnd, kTreeId)) SetFocus(tree);
            }
            return r;
        }
        case WM_COMMAND:
            if (!self->copy_) break;
            if (LOWORD(wp) == IDOK) {
                const bool checked = SendMessageA(self->copy_, BM_GETCHECK, 0, 0) == BST_CHECKED;
                CallGuarded(self, [&] {
                    if (auto* c = dynamic_cast<TCheckBox*>(self->custom_)) c->SetChecked(checked, true);
                    else if (auto* r = dynamic_cast<TRadioButton*>(self->custom_)) r->SetChecked(checked, true);
                });
            } else if (LOWORD(wp) == kCopyId && HIWORD(wp) == BN_CLICKED) {
                CallGuarded(self, [&] {
                    if (self->custom_ && self->custom_->OnClick) self->custom_->OnClick(self->custom_);
                });
                return 0;
            }
            break;
        case WM_DESTROY:
            if (self->copy_) DestroyWindow(self->copy_);
            self->copy_ = nullptr;
            break;
        case WM_NCDESTROY:
            self->copy_ = nullptr;
            self->treeFocused_ = false;
            RemoveWindowSubclass(wnd, FolderDialogProc, kDialogSubclass);
            break;
    }
    return DefSubclassProc(wnd, msg, wp, lp);
}

void TFolderDialog::Opened(HWND wnd) {
    dialog_ = wnd;
    treeFocused_ = false;
    SetWindowSubclass(wnd, FolderDialogProc, kDialogSubclass, reinterpret_cast<DWORD_PTR>(this));
    Place();
    if (!directory_.empty()) SetDirectory(directory_);
    if (custom_) CopyCustomButton();
    SetWindowTextA(wnd, title_.c_str());
    if (OnShow) OnShow(this);
}

void TFolderDialog::SelectionChanged(LPCITEMIDLIST pidl) {
    FreeList(current_);
    current_ = pidl ? ILClone(pidl) : nullptr;
    const std::string path = IdListPath(pidl);
    if (options_ & Opt(bfFileSysDirsOnly)) {
        SendMessageA(dialog_, BFFM_ENABLEOK, 0, !path.empty());
        if (copy_ && (options_ & Opt(bfSyncCustomButton))) EnableWindow(copy_, !path.empty());
    }
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
