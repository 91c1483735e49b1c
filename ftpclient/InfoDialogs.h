// The properties sheet of a local or remote file and the about box.
#pragma once

#include <functional>
#include <string>

#include "ui/Form.h"
#include "ui/StdCtrls.h"

class TPageControl;

// A picture of one icon (the platform's static icon control); the icon is owned.
class TIconImage : public TWinControl {
public:
    explicit TIconImage(TWinControl* parent);
    ~TIconImage() override;
    void SetIcon(HICON icon);
    HICON Icon() const { return icon_; }

protected:
    void CreateParams(TCreateParams& p) override;
    void WndCreated() override;

private:
    HICON icon_ = nullptr;
};

// Shown modeless; closing frees it.
class TfrmFileProperties : public TForm {
public:
    TfrmFileProperties();
    TPageControl* pcProperties;
    TIconImage* imgIcon;
    TLabel *lblFilename, *lblType, *lblLocation, *lblSize, *lblModified, *lblPermDesc, *lblPermissions, *lblUser,
        *lblGroup;
    TButton* btnOk;
};

class TfrmAbout : public TForm {
public:
    explicit TfrmAbout(TForm* owner);
    void lblWEBDblClick();
    TLabel *lblAppName, *lblThanks, *lblMaker, *lblNotice, *lblWEB, *lblEMail;
    TButton* btnOk;
};

// The shell's large icon of a file type (by extension, ".EXE" as ".com") or
// of a folder; TypeName starts as "EXT File" (or "Folder") and takes the
// registered type name when there is one. Null when there is no icon.
HICON FileTypeIcon(const std::string& Extension, bool Folder, std::string& TypeName);
// The last-write time in the user's date and time format; empty when unknown.
std::string LocalFileTimeText(const FILETIME& LastWrite);
// The user logged on, or "n/a".
std::string LoggedOnUser();

extern const char* const MakerWebAddress;

// Opens an address with the shell's "open" verb; false when the shell fails.
using TUrlOpener = std::function<bool(const std::string& Url)>;
TUrlOpener& UrlOpener();
// Opens it, or says where to go when it cannot be opened.
void OpenWebAddress(const std::string& Url);
