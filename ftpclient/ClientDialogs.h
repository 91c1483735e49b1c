// The small forms of the client: the error box, the overwrite/resume
// question, the progress window, the permission dialog and the one-line
// input. The site dialogs are in SiteDialogs.h.
#pragma once

#include <functional>
#include <string>

// The core first: it declares names that the platform headers would rename.
#include "ftpclient/core/Permissions.h"
#include "ftpclient/core/TransferProgress.h"
#include "components/Edit97.h"
#include "TransferBar.h"
#include "ui/Form.h"
#include "ReadOnlyText.h"
#include "ui/StdCtrls.h"

class TTransferBar;

// Builds controls at fixed places: what a form resource would hold.
TLabel* MakeLabel(TWinControl* parent, const std::string& caption, int x, int y, int w, int h = 16);
TButton* MakeButton(TWinControl* parent, const std::string& caption, int result, int x, int y, int w = 80);
// Name, caption, border and size of a dialog centred on its owner.
void SetUpDialog(TForm& form, const char* name, const std::string& caption, int width, int height,
                 TFormBorderStyle border = bsDialog);

class TfrmMessage : public TForm {
public:
    explicit TfrmMessage(TForm* owner);
    void FormCreate();  // run again before every use
    TLabel* lblDesc;
    TButton* btnOk;
};

enum TOverResumeAnswer { orOverwrite = 1, orCancel = 2, orResume = 4 };

class TfrmOverResume : public TForm {
public:
    explicit TfrmOverResume(TForm* owner);
    TLabel* lblDesc;
    TButton *btnOverwrite, *btnResume, *btnCancel;
};


class TfrmDownload : public TForm {
public:
    explicit TfrmDownload(TForm* owner, std::function<double()> now);
    void UpdateProgress(const std::string& Name, int64_t Total, int64_t Done);
    // The Abort button and the close box: both stop the transfer.
    std::function<void()> OnAbort;
    TLabel *lblDownloading, *lblUploading, *lblFilename, *lblTotalSize, *lblReceived, *lblProgress,
        *lblElapsedTime, *lblTransferRate, *lblEstTime, *lblRemainTime;
    TTransferBar* pbDownload;
    TButton* btnAbort;

private:
    bool updating_ = false;
    TTransferProgress progress_;
    std::function<double()> now_;
};

class TfrmChMod : public TForm {
public:
    explicit TfrmChMod(TForm* owner);
    void SetPermissions(const std::string& FileName, const std::string& Permissions);
    TPermissions Chosen() const;
    TLabel *lblFilename, *lblNote;
    TCheckBox* cb[3][3];
    TButton *btnOk, *btnCancel;
};

class TfrmFolder : public TForm {
public:
    explicit TfrmFolder(TForm* owner);
    void SetAllowEmpty(bool a);
    TLabel *lblCurrentFolder, *lblNewFolder;
    TReadOnlyText* lblCurDir;  // the path can be selected and copied
    TEdit97* ebx97NewDir;
    TButton *btnCreate, *btnCancel;

private:
    void Check();
    bool allowEmpty_ = false;
};
