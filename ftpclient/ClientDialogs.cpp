#include "ClientDialogs.h"

#include <commctrl.h>

#include "AppTitle.h"
#include "FtpLogView.h"
#include "ftpclient/core/ClientUtils.h"
#include "ui/core/Prompter.h"

TLabel* MakeLabel(TWinControl* parent, const std::string& caption, int x, int y, int w, int h) {
    auto* l = new TLabel(parent);
    l->SetCaption(caption);
    l->SetBounds(x, y, w, h);
    return l;
}

TButton* MakeButton(TWinControl* parent, const std::string& caption, int result, int x, int y, int w) {
    auto* b = new TButton(parent);
    b->SetCaption(caption);
    b->ModalResult = result;
    b->SetBounds(x, y, w, 25);
    return b;
}

void SetUpDialog(TForm& form, const char* name, const std::string& caption, int width, int height,
                 TFormBorderStyle border) {
    form.SetName(name);
    form.SetCaption(caption);
    form.SetBorderStyle(border);
    form.Position = poOwnerFormCenter;
    form.SetBounds(0, 0, width, height);
}

TfrmMessage::TfrmMessage(TForm* owner) : TForm(owner) {
    SetName("frmMessage");
    SetBorderStyle(bsDialog);
    SetBounds(0, 0, 380, 150);
    lblDesc = MakeLabel(this, "", 12, 12, 350, 60);
    lblDesc->WordWrap = true;
    btnOk = MakeButton(this, "&Ok", mrOk, 150, 80);
    btnOk->SetDefault(true);
    FormCreate();
}

void TfrmMessage::FormCreate() {
    Position = poOwnerFormCenter;
    SetCaption(AppTitle);
    lblDesc->SetCaption("");
}

TfrmOverResume::TfrmOverResume(TForm* owner) : TForm(owner) {
    SetUpDialog(*this, "frmOverResume", AppTitle, 400, 150);
    lblDesc = MakeLabel(this, "", 12, 12, 370, 48);
    lblDesc->WordWrap = true;
    btnOverwrite = MakeButton(this, "&Overwrite", orOverwrite, 30, 80);
    btnResume = MakeButton(this, "&Resume", orResume, 150, 80);
    btnCancel = MakeButton(this, "&Cancel", orCancel, 270, 80);
    btnCancel->Cancel = true;
}

TfrmDownload::TfrmDownload(TForm* owner, std::function<double()> now) : TForm(nullptr), now_(std::move(now)) {
    (void)owner;  // a free-standing window, as the platform places it
    SetName("frmDownload");
    SetCaption("Downloading ...");
    SetBorderStyle(bsSingle);
    SetBounds(CW_USEDEFAULT, CW_USEDEFAULT, 400, 260);
    lblDownloading = MakeLabel(this, "Velmora Larch FTP is now downloading the file ...", 12, 10, 370);
    lblUploading = MakeLabel(this, "Velmora Larch FTP is now uploading the file ...", 12, 10, 370);
    lblUploading->Hide();
    lblFilename = MakeLabel(this, "", 12, 30, 370);
    const char* names[] = {"Total size:", "Received:", "Elapsed time:", "Transfer rate:", "Estimated time:",
                           "Time left:"};
    TLabel** values[] = {&lblTotalSize, &lblReceived, &lblElapsedTime, &lblTransferRate, &lblEstTime,
                         &lblRemainTime};
    for (int i = 0; i < 6; ++i) {
        MakeLabel(this, names[i], 12, 54 + i * 20, 110);
        *values[i] = MakeLabel(this, "", 130, 54 + i * 20, 150);
    }
    pbDownload = new TTransferBar(this);
    pbDownload->SetBounds(12, 180, 320, 18);
    lblProgress = MakeLabel(this, "", 340, 181, 45);
    btnAbort = MakeButton(this, "&Abort", 0, 160, 204);
    btnAbort->OnClick = [this](TObject*) {
        if (OnAbort) OnAbort();
    };
    OnClose = [this](TObject*, TCloseAction& a) {
        a = caHide;
        if (OnAbort) OnAbort();
    };
    progress_ = TTransferProgress(TNumberFormat());
    UpdateProgress("", 0, 0);
}

void TfrmDownload::UpdateProgress(const std::string& Name, int64_t Total, int64_t Done) {
    if (updating_) return;
    updating_ = true;
    try {
        TProgressView v = progress_.Update(Name, Total, Done, now_());
        lblFilename->SetCaption(v.FileName);
        lblTotalSize->SetCaption(v.TotalSize);
        lblReceived->SetCaption(v.Received);
        lblProgress->SetCaption(v.Progress);
        lblElapsedTime->SetCaption(v.Elapsed);
        pbDownload->SetMax(100);
        pbDownload->SetPosition(v.Bar);
        if (v.RateShown) {
            lblTransferRate->SetCaption(v.TransferRate);
            lblEstTime->SetCaption(v.EstTime);
            lblRemainTime->SetCaption(v.RemainTime);
        }
    } catch (...) {
    }
    updating_ = false;
}

TfrmChMod::TfrmChMod(TForm* owner) : TForm(owner) {
    SetUpDialog(*this, "frmChMod", "Change File Permissions", 320, 260);
    lblFilename = MakeLabel(this, "", 12, 10, 290);
    const char* cols[] = {"Read", "Write", "Execute"};
    const char* rows[] = {"User", "Group", "World"};
    for (int c = 0; c < 3; ++c) MakeLabel(this, cols[c], 90 + c * 70, 36, 60);
    for (int r = 0; r < 3; ++r) {
        MakeLabel(this, rows[r], 12, 60 + r * 26, 70);
        for (int c = 0; c < 3; ++c) {
            cb[r][c] = new TCheckBox(this);
            cb[r][c]->SetBounds(100 + c * 70, 58 + r * 26, 20, 20);
        }
    }
    lblNote = MakeLabel(this, "Note: Not all servers support this command.", 12, 145, 290);
    btnOk = MakeButton(this, "&Cool", mrOk, 60, 180);
    btnCancel = MakeButton(this, "&No Way", mrCancel, 170, 180);
    btnCancel->Cancel = true;
}

void TfrmChMod::SetPermissions(const std::string& FileName, const std::string& Permissions) {
    size_t k = FileName.find_last_of("\\/");
    lblFilename->SetCaption(k == std::string::npos ? FileName : FileName.substr(k + 1));
    TPermissions p = TPermissions::FromString(Permissions);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) cb[r][c]->SetChecked(p.Flags[r][c], true);
}

TPermissions TfrmChMod::Chosen() const {
    TPermissions p;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) p.Flags[r][c] = cb[r][c]->Checked();
    return p;
}

TfrmFolder::TfrmFolder(TForm* owner) : TForm(owner) {
    SetUpDialog(*this, "frmFolder", "Create a new folder", 360, 170, bsToolWindow);
    lblCurrentFolder = MakeLabel(this, "Current Folder:", 12, 10, 330);
    lblCurDir = new TReadOnlyText(this);
    lblCurDir->SetBounds(12, 28, 330, 16);
    lblNewFolder = MakeLabel(this, "New Folder name:", 12, 52, 330);
    ebx97NewDir = new TEdit97(this);
    ebx97NewDir->SetBounds(12, 70, 330, 21);
    btnCreate = MakeButton(this, "Create", mrOk, 90, 102);
    btnCreate->SetDefault(true);
    btnCancel = MakeButton(this, "Cancel", mrCancel, 180, 102);
    btnCancel->Cancel = true;
    ebx97NewDir->OnChange = [this](TObject*) { Check(); };
    ebx97NewDir->OnKeyPress = [](TObject*, char& key) {
        if (!IsFolderNameKey(key)) key = 0;
    };
    Check();
}

void TfrmFolder::SetAllowEmpty(bool a) {
    allowEmpty_ = a;
    Check();
}

void TfrmFolder::Check() { btnCreate->SetEnabled(allowEmpty_ || !ebx97NewDir->Text().empty()); }
