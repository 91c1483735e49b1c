// The FTP engine: one session over a control and a data connection, driven
// entirely by socket events and messages to its own hidden window. Every
// operation starts a request and returns; OnRequestDone reports its end later,
// from the message loop.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

#include "FtpDataAddress.h"
#include "FtpReplyReader.h"
#include "FtpTransfer.h"
#include "HiddenWindow.h"
#include "SyncWSocket.h"
#include "core/Component.h"
#include "core/Stream.h"
#include "core/SysUtils.h"

class FtpException : public Exception {
public:
    using Exception::Exception;
};

enum TFtpState : uint8_t {
    ftpStNotConnected = 0,
    ftpStReady = 1,
    ftpStStepDone = 2,
    ftpStLookingUp = 3,
    ftpStConnected = 4,
    ftpStAborting = 5,
    ftpStConnecting = 7,
    ftpStWaitingResponse = 8,
};

// Bit numbers in FunctionSet, and the values of StepKind.
enum TFtpStep : uint8_t {
    fsNone = 0,
    fsOpen = 1, fsUser, fsPass, fsCwd, fsSize, fsMkd, fsRmd, fsRnfr, fsRnto, fsGet, fsDir, fsQuit,
    fsSyst, fsDele, fsPwd, fsQuote, fsPut, fsType, fsRest, fsCDup, fsLs, fsAppend, fsPort,
};

enum TFtpRequest : uint8_t {
    ftpRqNone = 0,
    ftpRqOpen = 1, ftpRqUser, ftpRqPass, ftpRqCwd, ftpRqLogin, ftpRqFullGet, ftpRqDir, ftpRqNameList,
    ftpRqPort, ftpRqGet, ftpRqFullDir, ftpRqFullNameList, ftpRqFullSyst, ftpRqSyst, ftpRqQuit, ftpRqSize,
    ftpRqPut, ftpRqAppend,
    ftpRqMkd = 21, ftpRqRmd, ftpRqFullRename, ftpRqDele, ftpRqRename, ftpRqRnto, ftpRqRnfr, ftpRqFullDele,
    ftpRqFullMkd, ftpRqFullRmd, ftpRqPwd, ftpRqQuote, ftpRqCDup, ftpRqFullQuote, ftpRqFullPut, ftpRqType,
    ftpRqRest, ftpRqRestGet, ftpRqFullRestGet,
};

enum TFtpShareMode { ftpShareCompat, ftpShareExclusive, ftpShareDenyWrite, ftpShareDenyRead, ftpShareDenyNone };

using TFtpDisplay = std::function<void(TObject* Sender, std::string& Msg)>;
using TFtpCommand = std::function<void(TObject* Sender, std::string& Cmd)>;
using TFtpProgress = std::function<void(TObject* Sender, int64_t Count, bool& Abort)>;
using TFtpRequestDone = std::function<void(TObject* Sender, TFtpRequest RqType, uint16_t Error)>;
using TFtpReadyToTransmit = std::function<void(TObject* Sender, bool& bCancel)>;

// Private messages of the engine's window.
constexpr unsigned WM_FTP_REQUEST_DONE = 1025;
constexpr unsigned WM_FTP_SENDDATA = 1026;

class TCustomFtpCli : public TComponent, private TFtpTransferHost {
public:
    explicit TCustomFtpCli(TComponent* AOwner = nullptr);
    ~TCustomFtpCli() override;

    // ---- settings read by the operations
    std::string HostName;
    std::string Port = "ftp";
    std::string UserName;
    std::string PassWord;
    std::string HostDirName;
    std::string HostFileName;
    std::string LocalFileName;  // also RNTO's argument and the raw command line
    bool DisplayFlag = false;
    bool DisplayFileFlag = false;
    // The first failure since the last multi-step request started.
    std::string ErrorMessage;
    bool Binary() const { return TypeChar == 'I'; }
    void SetBinary(bool b) { TypeChar = b ? 'I' : 'A'; }
    TFtpShareMode ShareMode() const;
    void SetShareMode(TFtpShareMode m);

    // ---- results
    TFtpState State() const { return state_; }
    int32_t StatusCode = 0;
    std::string LastResponse;
    std::string DirResult;
    int64_t SizeResult = 0;
    int64_t ResumeAt = 0;  // restart offset of the next transfer
    bool Passive = false;
    intptr_t Tag = 0;
    char TypeChar = 'I';
    uint16_t ShareFlags = fmShareExclusive;

    TWSocket* ControlConnection() const { return control_; }
    TWSocket* DataConnection() const { return data_; }
    HWND HiddenWindow() const { return window_ ? window_->Handle() : nullptr; }
    bool IsConnected() const;
    TFtpRequest CurrentRequest() const { return currentRequest_; }

    // ---- events
    TFtpDisplay OnDisplay;
    TFtpDisplay OnDisplayFile;
    TFtpCommand OnCommand;
    TNotifyEvent OnResponse;
    TFtpProgress OnProgress;
    TSessionConnected OnSessionConnected;
    TSessionClosed OnSessionClosed;
    TFtpRequestDone OnRequestDone;
    TNotifyEvent OnStateChange;
    TFtpReadyToTransmit OnReadyToTransmit;

    // ---- operations: each starts a request (or refuses with FtpException)
    virtual void OpenAsync();
    virtual void UserAsync();
    virtual void PassAsync();
    virtual void ConnectAsync();
    virtual void QuitAsync();
    virtual void AbortAsync();
    virtual void GetAsync();
    virtual void RetrStep();
    virtual void FullGetAsync();
    virtual void PutAsync();
    virtual void StorStep();
    virtual void FullPutAsync();
    virtual void AppendAsync();
    virtual void AppeStep();
    virtual void FullAppendAsync();
    virtual void ListStep();
    virtual void DirAsync();
    virtual void NlstStep();
    virtual void NameListAsync();
    virtual void TypeSetAsync();
    virtual void BinaryTypeAsync();
    virtual void AsciiTypeAsync();
    virtual void PwdAsync();
    virtual void CwdAsync();
    virtual void CDupAsync();
    virtual void FullDirAsync();
    virtual void FullNameListAsync();
    virtual void SystAsync();
    virtual void FullSystAsync();
    virtual void SizeAsync();
    virtual void FullSizeAsync();
    virtual void MkdAsync();
    virtual void FullMkdAsync();
    virtual void RmdAsync();
    virtual void FullRmdAsync();
    virtual void DeleAsync();
    virtual void FullDeleAsync();
    virtual void RnfrAsync();
    virtual void RntoAsync();
    virtual void RenameAsync();
    virtual void FullRenameAsync();
    virtual void QuoteAsync();
    virtual void FullQuoteAsync();
    virtual void RestAsync();
    virtual void RestGetAsync();
    virtual void FullRestGetAsync();

    // The data-connection step: PORT (listening) or PASV.
    virtual void SetupDataConnection();

protected:
    using Handler = void (TCustomFtpCli::*)();

    virtual void SendLine(const std::string& Line);
    virtual void Display(const std::string& Msg);
    virtual void ReadyToTransmit(bool& bCancel);
    virtual void DisplayFile(std::string& Line);
    // Called before each data block; false stops the transfer.
    virtual bool ReportProgress();
    virtual void TransferStatistics();

    void RunFunctionSet(TFtpRequest RqType, uint32_t Set);
    void SendCommand(TFtpRequest RqType, const std::string& Line, Handler AfterReply,
                     std::initializer_list<int32_t> Codes);
    // A one-command step: StepKind, then the command with its accepted codes.
    void Step(TFtpStep Kind, TFtpRequest RqType, const std::string& Line, std::initializer_list<int32_t> Codes);
    int32_t StepError() const { return stepError_; }
    // Counts requests that have ended: a wait can tell its request ended even
    // when a close has already moved the state on from ftpStReady.
    uint32_t RequestsEnded() const { return requestsEnded_; }

private:
    void SetState(TFtpState s);
    void CheckReady() const;
    void NextStep();
    void RequestDone(int32_t Status);
    void PostRequestDone(int32_t Status);
    bool HandleMessage(unsigned Msg, WPARAM wParam, LPARAM lParam);

    // control connection
    void ControlDnsLookupDone(uint16_t Error);
    void ControlSessionConnected(uint16_t Error);
    void ControlDataAvailable(uint16_t Error);
    void ControlSessionClosed(uint16_t Error);
    void FailConnect(int32_t Error, const std::string& Text);
    void DispatchReply();
    void ReplyJudge();
    void ParseStepResults();
    void QuitAfterReply();
    bool CloseControl();
    void EndStepWith(int32_t Code, const std::string& Message);
    void FailDataConnection(const std::string& Text);

    // data connection and transfer
    void StartReceive(TFtpRequest Rq);
    void StartSend();
    void CheckSend() const;
    bool ConnectPassive();
    std::unique_ptr<TStream> OpenReceiveFile();
    void CloseData();
    bool TakeReplyLine();
    void FirstReplyOfReceive();
    void FinalReplyOfReceive();
    void SendStoreCommand();
    void RestReplyOfSend();
    void FirstReplyOfSend();
    void FinalReplyOfSend();
    void CheckTransferDone();
    void FailTransfer(int32_t Code);
    void MarkLocalError(const std::string& Message);

    // TFtpTransferHost
    bool TransferProgress() override;
    void TransferFailed(const std::string& Note) override;
    void TransferLines(const char* Data, size_t Len) override;
    void TransferNoConnection(const std::string& Text) override;
    void TransferConnected() override;
    void TransferStartSending() override;
    void TransferClosed(uint16_t Error) override;

    TWSocket* control_ = nullptr;
    TWSocket* data_ = nullptr;
    std::unique_ptr<THiddenWindow> window_;

    TFtpState state_ = ftpStReady;
    TFtpRequest currentRequest_ = ftpRqNone;
    uint32_t functionSet_ = 0;
    TFtpStep stepKind_ = fsNone;
    int32_t stepError_ = 0;
    int32_t requestError_ = 0;
    bool inRequest_ = false;
    bool doneGuard_ = true;
    bool sessionOpen_ = false;
    bool closingOnPurpose_ = false;
    int32_t acceptCodes_[16] = {0};
    Handler fNext_ = nullptr;
    Handler afterReply_ = nullptr;
    bool nextStepHandler_ = false;
    uint32_t requestsEnded_ = 0;
    std::string savedResponse_;
    int32_t savedStatus_ = -1;
    std::string passiveReply_;
    bool passiveValid_ = false;
    TFtpDataAddress passiveAddress_;
    TFtpReplyReader reply_;

    // transfer: the data side lives in transfer_, the reply side here
    std::unique_ptr<TFtpTransfer> transfer_;
    // A download's local file, until the server has accepted the transfer.
    std::shared_ptr<class TFtpReceiveFile> receiveFile_;
    std::string transferCommand_;
    bool appendMode_ = false;
    uint32_t stopTick_ = 0;
    bool controlDone_ = false;    // the final reply came and was good
    uint16_t dataError_ = 0;
    int32_t localError_ = 0;      // the transfer broke on our side: the step must fail
    int64_t announcedSize_ = -1;  // "(N bytes)" of a binary RETR's 150 reply
    bool resumeUsed_ = false;     // the running request moves data: ResumeAt ends with it
    int64_t progressReported_ = -1;  // the count of the transfer's last OnProgress
};
