// The options dialog: kept for the program's life; its controls are the
// live option values, stored in the registry.
#pragma once

#include <string>

#include "ftpclient/core/AsciiExtList.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

class TfrmOptions : public TForm {
public:
    TfrmOptions(TForm* owner, const std::string& registryKey, const std::string& programFolder);
    void LoadOptions();
    void SaveOptions();

    int TimeOut() const;
    bool AutoRefresh() const { return cbDirAutoRefresh->Checked(); }
    TAsciiExtList& TextExt() { return ext_; }
    // Add with the typed text; false (and the message shown) when refused.
    bool AddExtension(const std::string& typed);
    // "Add": asks for the extension in the input box.
    void btnAddFTPTextClick();

    TCheckBox *cbShowWebHosting, *cbPlaySoundDownload, *cbPlaySoundUpload, *cbDirAutoRefresh;
    TEdit *ebxSoundDownload, *ebxSoundUpload, *sedtTimeOut;
    TListBox* lbFTPTextExt;
    TButton *btnAddFTPText, *btnRmvFTPText, *btnOk, *btnCancel;

private:
    void FillList();
    std::string key_, programFolder_;
    TAsciiExtList ext_;
};
