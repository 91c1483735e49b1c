// frmSplash and frmAbout, with the system information starter.
#include "searchwindow/AboutBox.h"

#include <shellapi.h>

#include "searchwindow/core/RegistryValue.h"
#include "ui/core/Prompter.h"

namespace {
const char* const kVersion = "Version 1.0.0";

HBITMAP LoadArt(int id) {
    return static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0));
}
}  // namespace

bool GetKeyValue(HKEY root, const std::string& key, const std::string& name, std::string& value) {
    HKEY k = nullptr;
    // Reading needs no more than query access; asking for all rights fails
    // for ordinary users under HKEY_LOCAL_MACHINE.
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS) {
        value.clear();
        return false;
    }
    char buf[1024];
    DWORD size = sizeof buf, type = 0;
    const LONG r = RegQueryValueExA(k, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(k);
    if (r != ERROR_SUCCESS) {
        value.clear();
        return false;
    }
    if (auto text = RegistryValueText(type, std::string(buf, size))) value = *text;
    return true;
}

void StartSysInfo() {
    std::string path;
    if (GetKeyValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", path) &&
        reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32)
        return;
    if (GetKeyValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", path)) {
        path += "\\MSINFO32.EXE";
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES &&
            reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32)
            return;
    }
    Prompter().ShowMessageBox("System Information Is Unavailable At This Time", "Sablefind", MB_OK);
}

TSplashForm::TSplashForm() : TForm(nullptr) {
    SetBorderStyle(bsNone);
    Position = poScreenCenter;
    art_ = LoadArt(101);
    SetBounds(0, 0, 438, 159 + 24);
}

TSplashForm::~TSplashForm() {
    if (art_) DeleteObject(art_);
}

void TSplashForm::Paint(TCanvas& canvas) {
    if (art_) canvas.Draw(0, 0, art_, 438, 159);
    RECT r{0, 159, ClientWidth(), ClientHeight()};
    canvas.Brush.Color = RGB(29, 53, 87);
    canvas.FillRect(r);
    canvas.Font.SetColor(RGB(241, 250, 238));
    canvas.TextOut(10, 163, kVersion);
    canvas.TextOut(200, 163, "Starting the search engine...");
}

bool TSplashForm::KeyPress(char&) {
    Close();
    return true;
}

bool TSplashForm::MouseDown(TMouseButton, TShiftState, int, int) {
    Close();
    return true;
}

TAboutForm::TAboutForm(TForm* owner) : TForm(owner) {
    SetBorderStyle(bsDialog);
    Position = poOwnerFormCenter;
    SetCaption("About Sablefind");
    SetBounds(0, 0, 420, 230);
    icon_ = LoadArt(102);
    auto label = [this](const std::string& text, int y, bool bold) {
        auto* l = new TLabel(this);
        l->SetCaption(text);
        l->WordWrap = true;
        l->SetBounds(90, y, 310, bold ? 20 : 34);
        if (bold) l->Font().SetStyle(fsBold);
    };
    label("Sablefind", 14, true);
    label(kVersion, 38, false);
    label("Easy way to search on web sites and any text documents that contains links.", 62, false);
    label("Made by the Velmora team. Use at your own risk.", 110, false);
    auto* ok = new TButton(this);
    ok->SetCaption("OK");
    ok->SetBounds(300, 160, 96, 26);
    ok->ModalResult = mrOk;
    auto* sys = new TButton(this);
    sys->SetCaption("&System Info...");
    sys->SetBounds(190, 160, 100, 26);
    sys->OnClick = [](TObject*) { StartSysInfo(); };
}

TAboutForm::~TAboutForm() {
    if (icon_) DeleteObject(icon_);
}

void TAboutForm::Paint(TCanvas& canvas) {
    TForm::Paint(canvas);
    if (icon_) canvas.Draw(14, 14, icon_, 64, 64);
}
