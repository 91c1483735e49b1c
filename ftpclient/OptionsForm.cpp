#include "OptionsForm.h"

#include <windows.h>
#include <commdlg.h>

#include "AppTitle.h"
#include "ClientDialogs.h"
#include "components/RegistryEnhanced.h"
#include "ftpclient/core/StoredValue.h"
#include "SpinEdit.h"
#include "ui/ComCtrls.h"
#include "ui/Dialogs.h"
#include "ui/core/Prompter.h"

TfrmOptions::TfrmOptions(TForm* owner, const std::string& registryKey, const std::string& programFolder)
    : TForm(owner), key_(registryKey), programFolder_(programFolder) {
    SetUpDialog(*this, "frmOptions", "Options", 460, 360);
    RegEnh = new TRegistryEnhanced(this);
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
        auto* e = new TEdit97(page);
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

void TfrmOptions::BrowseWave(TEdit97* box, const std::string& title) {
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
    RegEnh->RootKey = hkCurrentUser;
    RegEnh->Access = kRead;
    RegEnh->Key = key_;
    auto readBool = [this](const char* name, bool def) { return StoredBool(RegEnh->ReadValue(name, TRegVariant::Boolean(def)), def); };
    auto readText = [this](const char* name, const std::string& def) {
        return StoredText(RegEnh->ReadValue(name, TRegVariant::String(def)), def);
    };
    std::string blip = programFolder_ + "blip.wav";
    cbShowWebHosting->SetChecked(readBool("WebHostingButton", true), true);
    cbPlaySoundDownload->SetChecked(readBool("PlayDownload", true), true);
    ebxSoundDownload->SetText(readText("DownloadSound", blip));
    cbPlaySoundUpload->SetChecked(readBool("PlayUpload", true), true);
    ebxSoundUpload->SetText(readText("UploadSound", blip));
    ext_.SetCommaText(readText("AsciiExt", DefaultAsciiExt));
    sedtTimeOut->SetValue(StoredInt(RegEnh->ReadValue("FTPTimeOut", TRegVariant::Integer(120)), 120));
    cbDirAutoRefresh->SetChecked(readBool("FTPAutoRefresh", true), true);
    FillList();
}

void TfrmOptions::SaveOptions() {
    RegEnh->RootKey = hkCurrentUser;
    RegEnh->Access = kAllAccess;
    RegEnh->Key = key_;
    RegEnh->WriteValue("WebHostingButton", TRegVariant::Boolean(cbShowWebHosting->Checked()));
    RegEnh->WriteValue("PlayDownload", TRegVariant::Boolean(cbPlaySoundDownload->Checked()));
    RegEnh->WriteValue("DownloadSound", TRegVariant::String(ebxSoundDownload->Text()));
    RegEnh->WriteValue("PlayUpload", TRegVariant::Boolean(cbPlaySoundUpload->Checked()));
    RegEnh->WriteValue("UploadSound", TRegVariant::String(ebxSoundUpload->Text()));
    RegEnh->WriteValue("AsciiExt", TRegVariant::String(ext_.CommaText()));
    RegEnh->WriteValue("FTPTimeOut", TRegVariant::Integer(TimeOut()));
    RegEnh->WriteValue("FTPAutoRefresh", TRegVariant::Boolean(cbDirAutoRefresh->Checked()));
}
