#include "ServerConnectForm.h"

#include "ClientDialogs.h"
#include "FtpClient.h"
#include "ui/ComCtrls.h"

TfrmServerConnect::TfrmServerConnect(TForm* owner, TFtpClient* engine) : TForm(nullptr), engine_(engine) {
    SetUpDialog(*this, "frmServerConnect", "Connect to FTP server", 392, 238);
    animFind = new TAnimate(this);
    animFind->SetBounds(12, 8, 362, 64);
    animFind->SetCommonAVI(aviFindComputer);
    animFind->StartFrame = 1;
    animFind->StopFrame = 8;
    lblServerName = new TLabel3D(this);
    lblServerName->SetBounds(12, 78, 362, 22);
    lblServerName->Alignment = TLabel::taCenter;
    lblServerName->Font().SetSize(11);
    lblServerName->Font().SetStyle(fsBold);
    lblServerName->SetCaption("Untitled");
    lblServerAddress = MakeLabel(this, "Unknown", 12, 102, 362);
    TLabel** ticker[] = {&lblProgress1, &lblProgress2, &lblProgress3};
    for (int i = 0; i < 3; ++i) *ticker[i] = MakeLabel(this, "", 12, 128 + i * 18, 362);
    btnCancel = MakeButton(this, "&Cancel", 0, 156, 186);
    btnCancel->Cancel = true;
    btnCancel->OnClick = [this](TObject*) { Close(); };
    // Escape closes wherever the focus is: on the box or on its one button.
    auto escape = [this](TObject*, WORD& key, TShiftState) {
        if (key != VK_ESCAPE) return;
        key = 0;
        Close();
    };
    OnKeyDown = escape;
    btnCancel->OnKeyDown = escape;
    OnShow = [this](TObject*) { btnCancel->SetFocus(); };
    OnClose = [this](TObject*, TCloseAction& action) { FormClose(action); };
    // Centred on the owner by hand: the box has no owner window.
    if (owner && owner->HandleAllocated()) {
        RECT r;
        GetWindowRect(owner->Handle(), &r);
        Position = poDesigned;
        SetBounds(r.left + (r.right - r.left - Width()) / 2, r.top + (r.bottom - r.top - Height()) / 2, Width(),
                  Height());
    } else {
        Position = poScreenCenter;
    }
    animFind->Play();
    // A platform whose clip is shorter than that plays the clip it has.
    if (!animFind->Active()) {
        animFind->StopFrame = 0;
        animFind->Play();
    }
}

void TfrmServerConnect::AddProgressLine(const std::string& Text, TColor Color) {
    lblProgress1->SetCaption(lblProgress2->Caption());
    lblProgress1->Font().SetColor(lblProgress2->Font().Color());
    lblProgress2->SetCaption(lblProgress3->Caption());
    lblProgress2->Font().SetColor(lblProgress3->Font().Color());
    lblProgress3->SetCaption(Text);
    lblProgress3->Font().SetColor(Color);
    // The engine's blocking calls leave no time for a paint message.
    for (TLabel* l : {lblProgress1, lblProgress2, lblProgress3})
        if (l->HandleAllocated()) l->Repaint();
}

void TfrmServerConnect::FormClose(TCloseAction& action) {
    animFind->Stop();
    Hide();
    if (engine_) {
        try {
            engine_->Abort();
            // The abort closed the line; a quit then has nobody to tell.
            if (engine_->IsConnected()) engine_->Quit();
        } catch (...) {
        }
    }
    action = caFree;
    if (OnForget) OnForget();
}
