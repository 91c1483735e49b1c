// The box shown while a site is being connected to: the site, a clip, the
// last three lines of what the engine says, and Cancel.
#pragma once

#include <functional>
#include <string>

#include "components/Label3D.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

class TAnimate;
class TFtpClient;

class TfrmServerConnect : public TForm {
public:
    // Centred on owner, but a window of its own on the desktop. Closing the
    // box (Cancel, Escape, its close box) stops engine's connect.
    explicit TfrmServerConnect(TForm* owner, TFtpClient* engine = nullptr);
    // Line 1 takes line 2, line 2 takes line 3, line 3 shows the text.
    void AddProgressLine(const std::string& Text, TColor Color);
    // Raised when the box closes itself: whoever keeps it lets go, the box
    // frees itself once its messages are done.
    std::function<void()> OnForget;

    TLabel3D* lblServerName;
    TLabel* lblServerAddress;
    TAnimate* animFind;
    TLabel *lblProgress1, *lblProgress2, *lblProgress3;
    TButton* btnCancel;

private:
    void FormClose(TCloseAction& action);
    TFtpClient* engine_;
};
