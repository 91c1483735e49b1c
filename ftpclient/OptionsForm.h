// The options dialog: kept for the program's life; its controls are the
// live option values, stored in the registry.
#pragma once

#include <string>

#include "SpinEdit.h"
#include "components/Edit97.h"
#include "ftpclient/core/AsciiExtList.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

class TPageControl;
class TRegistryEnhanced;

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
    // The file dialogs that choose the two sounds.
    void btnOpenDownWaveClick();
    void btnOpenUpWaveClick();

    TCheckBox *cbShowWebHosting, *cbPlaySoundDownload, *cbPlaySoundUpload, *cbDirAutoRefresh;
    TEdit97 *ebxSoundDownload, *ebxSoundUpload;
    TSpinEdit* sedtTimeOut;  // 1 to 32768 seconds
    TListBox* lbFTPTextExt;
    TButton *btnAddFTPText, *btnRmvFTPText, *btnOpenDownWave, *btnOpenUpWave, *btnOk, *btnCancel;
    TPageControl* pcOptions;
    TRegistryEnhanced* RegEnh;

private:
    void FillList();
    void BrowseWave(TEdit97* box, const std::string& title);
    std::string key_, programFolder_;
    TAsciiExtList ext_;
};
