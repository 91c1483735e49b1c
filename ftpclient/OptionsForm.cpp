#include "OptionsForm.h"

#include <windows.h>

#include "AppTitle.h"
#include "ClientDialogs.h"
#include "RegValues.h"
#include "ui/Dialogs.h"
#include "ui/core/Prompter.h"

TfrmOptions::TfrmOptions(TForm* owner, const std::string& registryKey, const std::string& programFolder)
    : TForm(owner), key_(registryKey), programFolder_(programFolder) {
    SetName("frmOptions");
    SetCaption("Options");
    SetBorderStyle(bsDialog);
    Position = poOwnerFormCenter;
    SetBounds(0, 0, 460, 420);
    auto check = [this](const char* caption, int y) {
        auto* c = new TCheckBox(this);
        c->SetCaption(caption);
        c->SetBounds(12, y, 420, 18);
        return c;
    };
    auto edit = [this](int x, int y, int w) {
        auto* e = new TEdit(this);
        e->SetBounds(x, y, w, 21);
        return e;
    };
    cbShowWebHosting = check("Show Web Hosting and Secure button on Keelson FTP toolbar.", 10);
    cbPlaySoundDownload = check("Play a sound when download is finished:", 34);
    ebxSoundDownload = edit(30, 54, 400);
    cbPlaySoundUpload = check("Play a sound when upload is finished:", 80);
    ebxSoundUpload = edit(30, 100, 400);
    MakeLabel(this, "Time-out (seconds):", 12, 132, 130);
    sedtTimeOut = edit(150, 128, 80);
    cbDirAutoRefresh = check("Auto-refresh directories on upload/download", 156);
    MakeLabel(this, "Files with these extensions go as text (ASCII), all others as binary.", 12, 182, 420);
    lbFTPTextExt = new TListBox(this);
    lbFTPTextExt->SetBounds(12, 200, 200, 140);
    btnAddFTPText = MakeButton(this, "Add", 0, 230, 200);
    btnRmvFTPText = MakeButton(this, "Remove", 0, 230, 230);
    btnRmvFTPText->SetEnabled(false);
    btnOk = MakeButton(this, "&Ok", 0, 260, 352);
    btnCancel = MakeButton(this, "&Cancel", 0, 350, 352);
    lbFTPTextExt->OnClick = [this](TObject*) { btnRmvFTPText->SetEnabled(lbFTPTextExt->ItemIndex() >= 0); };
    btnRmvFTPText->OnClick = [this](TObject*) {
        int i = lbFTPTextExt->ItemIndex();
        if (i >= 0) ext_.Delete(i);
        FillList();
        btnRmvFTPText->SetEnabled(false);
    };
    btnAddFTPText->OnClick = [this](TObject*) { btnAddFTPTextClick(); };
    btnOk->OnClick = [this](TObject*) {
        SaveOptions();
        SetModalResult(mrOk);
    };
    btnCancel->OnClick = [this](TObject*) {
        LoadOptions();
        SetModalResult(mrCancel);
    };
    LoadOptions();
}

bool TfrmOptions::AddExtension(const std::string& typed) {
    std::string msg;
    if (ext_.Add(typed, msg)) {
        FillList();
        return true;
    }
    Prompter().ShowMessageBox(msg, AppTitle, MB_OK | MB_ICONINFORMATION);
    return false;
}

void TfrmOptions::btnAddFTPTextClick() {
    std::string typed;
    if (InputQuery(AppTitle, "Enter new text extension:", typed)) AddExtension(typed);
}

void TfrmOptions::FillList() {
    lbFTPTextExt->Clear();
    for (auto& e : ext_.Items()) lbFTPTextExt->Items().Add(e);
}

int TfrmOptions::TimeOut() const {
    int v = atoi(sedtTimeOut->Text().c_str());
    return v < 1 ? 1 : (v > 32768 ? 32768 : v);
}

void TfrmOptions::LoadOptions() {
    TRegValues r(key_);
    std::string blip = programFolder_ + "blip.wav";
    cbShowWebHosting->SetChecked(r.ReadBool("WebHostingButton", true), true);
    cbPlaySoundDownload->SetChecked(r.ReadBool("PlayDownload", true), true);
    ebxSoundDownload->SetText(r.ReadString("DownloadSound", blip));
    cbPlaySoundUpload->SetChecked(r.ReadBool("PlayUpload", true), true);
    ebxSoundUpload->SetText(r.ReadString("UploadSound", blip));
    ext_.SetCommaText(r.ReadString("AsciiExt", DefaultAsciiExt));
    sedtTimeOut->SetText(std::to_string(r.ReadInteger("FTPTimeOut", 120)));
    cbDirAutoRefresh->SetChecked(r.ReadBool("FTPAutoRefresh", true), true);
    FillList();
}

void TfrmOptions::SaveOptions() {
    TRegValues r(key_);
    r.WriteBool("WebHostingButton", cbShowWebHosting->Checked());
    r.WriteBool("PlayDownload", cbPlaySoundDownload->Checked());
    r.WriteString("DownloadSound", ebxSoundDownload->Text());
    r.WriteBool("PlayUpload", cbPlaySoundUpload->Checked());
    r.WriteString("UploadSound", ebxSoundUpload->Text());
    r.WriteString("AsciiExt", ext_.CommaText());
    r.WriteInteger("FTPTimeOut", TimeOut());
    r.WriteBool("FTPAutoRefresh", cbDirAutoRefresh->Checked());
}
