#include "OptionsForm.h"

#include <windows.h>
#include <commdlg.h>

#include "AppTitle.h"
#include "ClientDialogs.h"
#include "RegValues.h"
#include "SpinEdit.h"
#include "ui/ComCtrls.h"
#include "ui/Dialogs.h"
#include "ui/core/Prompter.h"

TfrmOptions::TfrmOptions(TForm* owner, const std::string& registryKey, const std::string& programFolder)
    : TForm(owner), key_(registryKey), programFolder_(programFolder) {
    SetUpDialog(*this, "frmOptions", "Options", 460, 360);
    pcOptions = new TPageControl(this);
    pcOptions->SetBounds(8, 8, 436, 278);
    TTabSheet* general = pcOptions->AddPage("General");
    TTabSheet* transfer = pcOptions->AddPage("Transferring files");
    TTabSheet* ftp = pcOptions->AddPage("FTP");
    auto check = [](TWinControl* page, const char* caption, int y) {
        auto* c = new TCheckBox(page);
        c->SetCaption(caption);
        c->SetBounds(10, y, 400, 18);
        return c;
    };
    auto edit = [](TWinControl* page, int x, int y, int w) {
        auto* e = new TEdit(page);
        e->SetBounds(x, y, w, 21);
        return e;
    };
    cbShowWebHosting = check(general, "Show Web Hosting and Secure button on Keelson FTP toolbar.", 10);
    cbPlaySoundDownload = check(general, "Play a sound when download is finished:", 40);
    ebxSoundDownload = edit(general, 28, 62, 300);
    btnOpenDownWave = MakeButton(general, "Browse...", 0, 334, 60);
    cbPlaySoundUpload = check(general, "Play a sound when upload is finished:", 96);
    ebxSoundUpload = edit(general, 28, 118, 300);
    btnOpenUpWave = MakeButton(general, "Browse...", 0, 334, 116);
    TLabel* explain = MakeLabel(transfer,
                                "Files with the extensions listed here are transferred as text (ASCII); every other "
                                "type goes as binary. Uploading a binary file, such as an AVI file, as text spoils it.",
                                10, 8, 410, 48);
    explain->WordWrap = true;
    lbFTPTextExt = new TListBox(transfer);
    lbFTPTextExt->SetBounds(10, 60, 200, 180);
    btnAddFTPText = MakeButton(transfer, "Add", 0, 224, 60);
    btnRmvFTPText = MakeButton(transfer, "Remove", 0, 224, 92);
    btnRmvFTPText->SetEnabled(false);
    MakeLabel(ftp, "Time-out (seconds):", 10, 14, 130);
    sedtTimeOut = new TSpinEdit(ftp);
    sedtTimeOut->SetRange(1, 32768);
    sedtTimeOut->Place(150, 10, 80, 21);
    cbDirAutoRefresh = check(ftp, "Auto-refresh directories on upload/download", 44);
    pcOptions->SetActivePageIndex(0);
    btnOk = MakeButton(this, "&Ok", 0, 270, 296);
    btnCancel = MakeButton(this, "&Cancel", 0, 360, 296);
    btnCancel->Cancel = true;
    btnOpenDownWave->OnClick = [this](TObject*) { btnOpenDownWaveClick(); };
    btnOpenUpWave->OnClick = [this](TObject*) { btnOpenUpWaveClick(); };
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

void TfrmOptions::BrowseWave(TEdit* box, const std::string& title) {
    TFileDialogRequest r;
    r.Title = title;
    r.Filter = "Wave files|*.wav";
    r.FileName = box->Text();
    r.Options = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    if (Prompter().OpenFileDialog(r)) box->SetText(r.FileName);
}

void TfrmOptions::btnOpenDownWaveClick() {
    BrowseWave(ebxSoundDownload, "Choose Wave file to play when download finishes");
}

void TfrmOptions::btnOpenUpWaveClick() { BrowseWave(ebxSoundUpload, "Choose Wave file to play when upload finishes"); }

void TfrmOptions::FillList() {
    lbFTPTextExt->Clear();
    for (auto& e : ext_.Items()) lbFTPTextExt->Items().Add(e);
}

int TfrmOptions::TimeOut() const { return sedtTimeOut->Value(); }

void TfrmOptions::LoadOptions() {
    TRegValues r(key_);
    std::string blip = programFolder_ + "blip.wav";
    cbShowWebHosting->SetChecked(r.ReadBool("WebHostingButton", true), true);
    cbPlaySoundDownload->SetChecked(r.ReadBool("PlayDownload", true), true);
    ebxSoundDownload->SetText(r.ReadString("DownloadSound", blip));
    cbPlaySoundUpload->SetChecked(r.ReadBool("PlayUpload", true), true);
    ebxSoundUpload->SetText(r.ReadString("UploadSound", blip));
    ext_.SetCommaText(r.ReadString("AsciiExt", DefaultAsciiExt));
    sedtTimeOut->SetValue(r.ReadInteger("FTPTimeOut", 120));
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
