// The FTP engine with a blocking twin for its operations: each starts the
// request and pumps the thread's messages until the engine is ready again,
// the Timeout of silence passes, or the application ends.
#pragma once

#include "FtpCli.h"

class TFtpClient : public TCustomFtpCli {
public:
    explicit TFtpClient(TComponent* AOwner = nullptr);

    int32_t Timeout = 15;  // seconds without progress; 0 or less waits without limit
    bool MultiThreaded = false;

    bool Connect();
    bool Cwd();
    bool Pwd();
    bool CDup();
    bool SetType();
    bool Get();
    bool Put();
    bool Quit();
    bool Abort();
    bool Dir();
    bool Mkd();
    bool Rename();
    bool Dele();
    bool Rmd();
    bool Size();
    bool Quote();
    bool RestGet();

    using Operation = void (TCustomFtpCli::*)();
    // Runs any operation as a blocking call; false when it refused or failed.
    virtual bool RunSync(Operation Op);
    virtual bool WaitUntilDone();

protected:
    bool ReportProgress() override;

private:
    uint32_t Deadline = 0;
    bool waitMarked_ = false;
    uint32_t waitMark_ = 0;  // RequestsEnded() when the awaited request started
};
