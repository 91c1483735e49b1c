#include "InfoDialogs.h"

#include <shellapi.h>

#include "AppTitle.h"
#include "ClientDialogs.h"
#include "ui/ComCtrls.h"
#include "runtime/core/SysUtils.h"
#include "ui/core/Prompter.h"

const char* const MakerWebAddress = "https://www.orvane.example/larch/";

TIconImage::TIconImage(TWinControl* parent) : TWinControl(parent) {}

TIconImage::~TIconImage() {
    if (icon_) DestroyIcon(icon_);
}

void TIconImage::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.BaseClass = "STATIC";
    p.WinClassName = "QfIconImage";
    p.Style |= SS_ICON | SS_CENTERIMAGE;
}

void TIconImage::WndCreated() {
    if (icon_) Perform(STM_SETICON, reinterpret_cast<WPARAM>(icon_));
}

void TIconImage::SetIcon(HICON icon) {
    if (icon_ == icon) return;
    if (HandleAllocated()) Perform(STM_SETICON, reinterpret_cast<WPARAM>(icon));
    if (icon_) DestroyIcon(icon_);
    icon_ = icon;
}

TfrmFileProperties::TfrmFileProperties() : TForm(nullptr) {
    SetUpDialog(*this, "frmFileProperties", "Properties", 340, 330);
    Position = poScreenCenter;
    pcProperties = new TPageControl(this);
    pcProperties->SetBounds(8, 8, 318, 250);
    TTabSheet* page = pcProperties->AddPage("General");
    imgIcon = new TIconImage(page);
    imgIcon->SetBounds(10, 8, 32, 32);
    lblFilename = MakeLabel(page, "", 56, 16, 240);
    lblFilename->Font().SetStyle(fsBold);
    const char* captions[] = {"Type:", "Location:", "Size:", "Modified:", "Permissions:", "User:", "Group:"};
    TLabel** values[] = {&lblType, &lblLocation, &lblSize, &lblModified, &lblPermissions, &lblUser, &lblGroup};
    for (int i = 0; i < 7; ++i) {
        TLabel* caption = MakeLabel(page, captions[i], 10, 54 + i * 24, 84);
        if (i == 4) lblPermDesc = caption;
        *values[i] = MakeLabel(page, "", 96, 54 + i * 24, 204);
    }
    btnOk = MakeButton(this, "&Close", 0, 128, 266);
    btnOk->SetDefault(true);
    btnOk->OnClick = [this](TObject*) { Close(); };
    KeyPreview = true;
    OnKeyDown = [this](TObject*, WORD& key, TShiftState) {
        if (key == VK_ESCAPE) Close();
    };
    OnClose = [](TObject*, TCloseAction& a) { a = caFree; };
}

TfrmAbout::TfrmAbout(TForm* owner) : TForm(owner) {
    SetUpDialog(*this, "frmAbout", std::string("About ") + AppTitle, 380, 290);
    lblAppName = MakeLabel(this, "Larch FTP", 16, 12, 340, 28);
    lblAppName->Font().SetStyle(fsBold);
    lblAppName->Font().SetSize(14);
    lblThanks = MakeLabel(this,
                          "Thank you for using Larch FTP. This program is provided as is, without warranty of any "
                          "kind; you use it at your own risk.",
                          16, 48, 340, 48);
    lblThanks->WordWrap = true;
    lblMaker = MakeLabel(this, "Orvane Software", 16, 104, 340);
    lblNotice = MakeLabel(this, "Copyright (c) Orvane Software. All rights reserved.", 16, 124, 340);
    lblWEB = MakeLabel(this, MakerWebAddress, 16, 156, 340);
    lblWEB->Font().SetColor(clBlue);
    lblWEB->Font().SetStyle(fsUnderline);
    lblWEB->Hint = "Double-click to visit the web site.";
    lblWEB->OnDblClick = [this](TObject*) { lblWEBDblClick(); };
    lblEMail = MakeLabel(this, "larch@orvane.example", 16, 178, 340);
    btnOk = MakeButton(this, "&Cool !", mrOk, 150, 220);
    btnOk->SetDefault(true);
}

void TfrmAbout::lblWEBDblClick() { OpenWebAddress(MakerWebAddress); }

TUrlOpener& UrlOpener() {
    static TUrlOpener opener = [](const std::string& url) {
        auto r = reinterpret_cast<intptr_t>(ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
        return r > 32;
    };
    return opener;
}

void OpenWebAddress(const std::string& Url) {
    if (!UrlOpener()(Url))
        Prompter().ShowMessageBox("Please go to : \r\n" + Url, AppTitle, MB_OK | MB_ICONINFORMATION);
}

HICON FileTypeIcon(const std::string& Extension, bool Folder, std::string& TypeName) {
    std::string ext = Extension;
    if (SameText(ext, ".exe")) ext = ".com";
    TypeName = Folder ? "Folder" : UpperCase(ext.empty() ? ext : ext.substr(1)) + " File";
    SHFILEINFOA info{};
    std::string probe = Folder ? "folder" : "file" + ext;
    DWORD attr = Folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    UINT flags = SHGFI_USEFILEATTRIBUTES | SHGFI_ICON | SHGFI_LARGEICON | (Folder ? 0 : SHGFI_TYPENAME);
    if (!SHGetFileInfoA(probe.c_str(), attr, &info, sizeof info, flags)) return nullptr;
    if (!Folder && info.szTypeName[0]) TypeName = info.szTypeName;
    return info.hIcon;
}

std::string LocalFileTimeText(const FILETIME& LastWrite) {
    FILETIME local;
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&LastWrite, &local) || !FileTimeToSystemTime(&local, &st)) return "";
    char date[80] = {0}, time[80] = {0};
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, sizeof date);
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, sizeof time);
    return std::string(date) + " " + time;
}

std::string LoggedOnUser() {
    char name[257] = {0};
    DWORD n = sizeof name;
    return GetUserNameA(name, &n) && name[0] ? std::string(name) : std::string("n/a");
}
