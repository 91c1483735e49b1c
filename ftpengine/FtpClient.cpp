#include "FtpClient.h"

#include <windows.h>

#include "Application.h"
#include "Ticks.h"

TFtpClient::TFtpClient(TComponent* AOwner) : TCustomFtpCli(AOwner) {}

bool TFtpClient::Connect() { return RunSync(&TCustomFtpCli::ConnectAsync); }
bool TFtpClient::Cwd() { return RunSync(&TCustomFtpCli::CwdAsync); }
bool TFtpClient::Pwd() { return RunSync(&TCustomFtpCli::PwdAsync); }
bool TFtpClient::CDup() { return RunSync(&TCustomFtpCli::CDupAsync); }
bool TFtpClient::SetType() { return RunSync(&TCustomFtpCli::TypeSetAsync); }
bool TFtpClient::Get() { return RunSync(&TCustomFtpCli::GetAsync); }
bool TFtpClient::Put() { return RunSync(&TCustomFtpCli::PutAsync); }
bool TFtpClient::Quit() { return RunSync(&TCustomFtpCli::QuitAsync); }
bool TFtpClient::Dir() { return RunSync(&TCustomFtpCli::DirAsync); }
bool TFtpClient::Mkd() { return RunSync(&TCustomFtpCli::MkdAsync); }
bool TFtpClient::Rename() { return RunSync(&TCustomFtpCli::RenameAsync); }
bool TFtpClient::Dele() { return RunSync(&TCustomFtpCli::DeleAsync); }
bool TFtpClient::Rmd() { return RunSync(&TCustomFtpCli::RmdAsync); }
bool TFtpClient::Size() { return RunSync(&TCustomFtpCli::SizeAsync); }
bool TFtpClient::Quote() { return RunSync(&TCustomFtpCli::QuoteAsync); }
bool TFtpClient::RestGet() { return RunSync(&TCustomFtpCli::RestGetAsync); }

// The abort itself succeeds once the engine is ready; the aborted request
// reports its 426 through OnRequestDone.
bool TFtpClient::Abort() {
    try {
        AbortAsync();
    } catch (const std::exception& e) {
        ErrorMessage = e.what();
        return false;
    }
    return State() == ftpStReady;
}

bool TFtpClient::RunSync(Operation Op) {
    waitMark_ = RequestsEnded();
    waitMarked_ = true;
    // A call refused while a request runs must not put its text where that
    // request's own failure belongs.
    bool idle = State() == ftpStReady || State() == ftpStStepDone;
    try {
        (this->*Op)();
    } catch (const std::exception& e) {
        waitMarked_ = false;
        if (idle) ErrorMessage = e.what();
        return false;
    }
    return WaitUntilDone();
}

bool TFtpClient::WaitUntilDone() {
    if (!waitMarked_) waitMark_ = RequestsEnded();
    waitMarked_ = false;
    Deadline = GetTickCount() + static_cast<uint32_t>(Timeout) * 1000u;
    for (;;) {
        // A server may close right after its last reply, moving the state on
        // to ftpStStepDone before this loop looks: the count still tells.
        if (State() == ftpStReady || RequestsEnded() != waitMark_) return StepError() == 0;
        if (Application->Terminated() || (Timeout > 0 && TickReached(GetTickCount(), Deadline))) break;
        Application->ProcessMessages();
        if (MultiThreaded) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) {
                    PostQuitMessage(static_cast<int>(msg.wParam));
                    break;
                }
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        } else {
            Application->ProcessMessages();
        }
        if (State() == ftpStReady || Application->Terminated()) continue;
        // Sleep until a message comes instead of spinning; wake now and then for the deadline.
        DWORD wait = 50;
        if (Timeout > 0) {
            int32_t left = static_cast<int32_t>(Deadline - GetTickCount());
            if (left < 0) left = 0;
            if (static_cast<DWORD>(left) < wait) wait = static_cast<DWORD>(left);
        }
        MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    AbortAsync();
    ErrorMessage = "426 Timeout";
    StatusCode = 426;
    return false;
}

bool TFtpClient::ReportProgress() {
    bool go = TCustomFtpCli::ReportProgress();
    if (Timeout > 0) Deadline = GetTickCount() + static_cast<uint32_t>(Timeout) * 1000u;
    return go;
}
