#include "FtpCli.h"

#include <windows.h>

#include <algorithm>

#include "DisplayLines.h"
#include "FtpReply.h"

namespace {

constexpr uint32_t Bit(TFtpStep s) { return 1u << s; }

// The order in which a multi-step request runs its steps.
const TFtpStep kStepOrder[] = {fsOpen, fsUser,  fsPass, fsCwd,  fsCDup, fsType, fsPort, fsRest,
                               fsGet,  fsPut,   fsAppend, fsDir, fsLs,  fsSyst, fsMkd,  fsRmd,
                               fsRnfr, fsRnto,  fsSize, fsDele, fsPwd,  fsQuote, fsQuit};

// Under Wine every socket call and message is a round trip to its server:
// large blocks and roomy system buffers keep their number low (blocks of
// 64 KiB gave a third of the rate). Progress and abort still go per block,
// and one block is all a transfer holds.
constexpr int kReceiveBlock = 262144;
constexpr int kSendBlock = 1048576;
constexpr int kSocketBuffer = 4 * 1024 * 1024;
constexpr uint32_t kTransferSteps =
    Bit(fsGet) | Bit(fsPut) | Bit(fsAppend) | Bit(fsDir) | Bit(fsLs) | Bit(fsRest);

// Sets a flag for as long as it lives.
class FlagScope {
public:
    explicit FlagScope(bool& Flag) : flag_(Flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

}  // namespace

// ---- construction

TCustomFtpCli::TCustomFtpCli(TComponent* AOwner) : TComponent(AOwner), blockBuffer_(std::max(kReceiveBlock, kSendBlock)) {
    window_ = std::make_unique<THiddenWindow>(
        "XFtpCliWindowClass", [this](UINT m, WPARAM w, LPARAM l, LRESULT& r) {
            r = 0;
            return HandleMessage(m, w, l);
        });
    control_ = new TWSocket(this);
    data_ = new TWSocket(this);
    control_->OnSessionConnected = [this](TObject*, uint16_t e) { ControlSessionConnected(e); };
    control_->OnDataAvailable = [this](TObject*, uint16_t e) { ControlDataAvailable(e); };
    control_->OnSessionClosed = [this](TObject*, uint16_t e) { ControlSessionClosed(e); };
    control_->OnDnsLookupDone = [this](TObject*, uint16_t e) { ControlDnsLookupDone(e); };
}

TCustomFtpCli::~TCustomFtpCli() {
    BeginDestroy();
    window_.reset();
    // The sockets go with the component; no handler of ours may run meanwhile.
    for (TWSocket* s : {control_, data_}) {
        s->OnSessionConnected = nullptr;
        s->OnDataAvailable = nullptr;
        s->OnSessionClosed = nullptr;
        s->OnDnsLookupDone = nullptr;
        s->OnSessionAvailable = nullptr;
        s->OnDataSent = nullptr;
    }
    dataStream_.reset();
}

TFtpShareMode TCustomFtpCli::ShareMode() const {
    switch (ShareFlags) {
        case fmShareCompat: return ftpShareCompat;
        case fmShareDenyWrite: return ftpShareDenyWrite;
        case fmShareDenyRead: return ftpShareDenyRead;
        case fmShareDenyNone: return ftpShareDenyNone;
        default: return ftpShareExclusive;
    }
}

void TCustomFtpCli::SetShareMode(TFtpShareMode m) {
    static const uint16_t flags[] = {fmShareCompat, fmShareExclusive, fmShareDenyWrite, fmShareDenyRead,
                                     fmShareDenyNone};
    ShareFlags = flags[m];
}

bool TCustomFtpCli::IsConnected() const { return control_->State() != wsClosed; }

void TCustomFtpCli::SetState(TFtpState s) {
    if (s == state_) return;
    state_ = s;
    if (OnStateChange && !Destroying()) OnStateChange(this);
}

void TCustomFtpCli::CheckReady() const {
    if (state_ != ftpStReady && state_ != ftpStStepDone) throw FtpException("FTP component not ready");
}

bool TCustomFtpCli::HandleMessage(unsigned Msg, WPARAM, LPARAM lParam) {
    if (Msg == WM_FTP_REQUEST_DONE) {
        if (OnRequestDone) OnRequestDone(this, currentRequest_, static_cast<uint16_t>(lParam & 0xFFFF));
        return true;
    }
    if (Msg == WM_FTP_SENDDATA) {
        startTick_ = GetTickCount();
        SendNextBlock(0);
        return true;
    }
    return false;
}

// ---- events raised

void TCustomFtpCli::SendLine(const std::string& Line) {
    std::string line = Line;
    if (OnCommand) OnCommand(this, line);
    Display("> " + line);
    if (control_->State() == wsConnected) control_->SendText(line + "\r\n");
}

void TCustomFtpCli::Display(const std::string& Msg) {
    if (!OnDisplay) return;
    std::string m = Msg;
    OnDisplay(this, m);
}

void TCustomFtpCli::ReadyToTransmit(bool& bCancel) {
    if (OnReadyToTransmit) OnReadyToTransmit(this, bCancel);
}

void TCustomFtpCli::DisplayFile(std::string& Line) {
    if (OnDisplayFile) OnDisplayFile(this, Line);
}

// ---- requests and steps

void TCustomFtpCli::RunFunctionSet(TFtpRequest RqType, uint32_t Set) {
    if (sessionOpen_ && (Set & Bit(fsOpen))) throw FtpException("FTP component already connected");
    CheckReady();
    savedResponse_ = LastResponse;
    savedStatus_ = -1;
    currentRequest_ = RqType;
    stepError_ = 0;
    functionSet_ = Set;
    stepKind_ = fsNone;
    requestError_ = 0;
    inRequest_ = true;
    LastResponse.clear();
    ErrorMessage.clear();
    resumeUsed_ = (Set & kTransferSteps) != 0;
    try {
        NextStep();
    } catch (...) {
        // The first step refused: nothing was started, the caller hears why.
        resumeUsed_ = false;
        functionSet_ = 0;
        nextStepHandler_ = false;
        inRequest_ = false;
        doneGuard_ = true;
        if (state_ != ftpStReady && state_ != ftpStStepDone) SetState(ftpStReady);
        CloseData();
        throw;
    }
}

void TCustomFtpCli::NextStep() {
    if (state_ == ftpStAborting) {
        functionSet_ = 0;
        requestError_ = 426;
        ErrorMessage = "426 Operation aborted.";
    }
    nextStepHandler_ = true;
    ParseStepResults();
    for (TFtpStep step : kStepOrder) {
        if (!(functionSet_ & Bit(step))) continue;
        functionSet_ &= ~Bit(step);
        switch (step) {
            case fsOpen: OpenAsync(); return;
            case fsUser: UserAsync(); return;
            case fsPass:
                // A 230 to USER needs no password.
                if (stepKind_ == fsUser && StatusCode != 331) continue;
                PassAsync();
                return;
            case fsCwd:
                if (HostDirName.empty()) continue;
                CwdAsync();
                return;
            case fsCDup: CDupAsync(); return;
            case fsType: TypeSetAsync(); return;
            case fsPort: SetupDataConnection(); return;
            case fsRest: RestAsync(); return;
            case fsGet:
                if (!(stepKind_ == fsRest && StatusCode == 350 && ResumeAt >= 0)) ResumeAt = 0;
                RetrStep();
                return;
            case fsPut: StorStep(); return;
            case fsAppend: AppeStep(); return;
            case fsDir: ListStep(); return;
            case fsLs: NlstStep(); return;
            case fsSyst: SystAsync(); return;
            case fsMkd: MkdAsync(); return;
            case fsRmd: RmdAsync(); return;
            case fsRnfr: RnfrAsync(); return;
            case fsRnto: RntoAsync(); return;
            case fsSize: SizeAsync(); return;
            case fsDele: DeleAsync(); return;
            case fsPwd: PwdAsync(); return;
            case fsQuote: QuoteAsync(); return;
            case fsQuit:
                savedResponse_ = LastResponse;
                savedStatus_ = StatusCode;
                QuitAsync();
                return;
            default: continue;
        }
    }
    functionSet_ = 0;
    nextStepHandler_ = false;
    doneGuard_ = false;
    RequestDone(requestError_);
}

void TCustomFtpCli::SendCommand(TFtpRequest RqType, const std::string& Line, Handler AfterReply,
                                std::initializer_list<int32_t> Codes) {
    CheckReady();
    if (!sessionOpen_) throw FtpException("FTP component not connected");
    if (!inRequest_) currentRequest_ = RqType;
    int i = 0;
    for (int32_t c : Codes) {
        if (i >= 15) break;
        acceptCodes_[i++] = c;
    }
    acceptCodes_[i] = 0;
    doneGuard_ = false;
    fNext_ = &TCustomFtpCli::ReplyJudge;
    afterReply_ = AfterReply;
    SetState(ftpStWaitingResponse);
    SendLine(Line);
}

void TCustomFtpCli::RequestDone(int32_t Status) {
    if (doneGuard_) return;
    doneGuard_ = true;
    if (Status == 0 && nextStepHandler_) {
        if (state_ != ftpStAborting) SetState(ftpStStepDone);
        try {
            NextStep();
        } catch (const std::exception& e) {
            // A step that cannot start ends the request here, inside a socket event.
            if (ErrorMessage.empty()) ErrorMessage = e.what();
            stepError_ = 500;
            functionSet_ = 0;
            nextStepHandler_ = false;
            doneGuard_ = false;
            RequestDone(500);
        }
        return;
    }
    SetState(ftpStReady);
    functionSet_ = 0;
    nextStepHandler_ = false;
    CloseData();
    // Whatever ended the transfer, the next one starts at 0 unless the caller says otherwise.
    if (resumeUsed_) {
        ResumeAt = 0;
        resumeUsed_ = false;
    }
    if (inRequest_ && savedStatus_ >= 0) {
        LastResponse = savedResponse_;
        StatusCode = savedStatus_;
    }
    inRequest_ = false;
    ++requestsEnded_;
    PostRequestDone(Status);
}

void TCustomFtpCli::PostRequestDone(int32_t Status) {
    if (window_) window_->Post(WM_FTP_REQUEST_DONE, 0, static_cast<LPARAM>(Status & 0xFFFF));
}

// The data connection could not be made: the step ends with 550 and Text.
void TCustomFtpCli::FailDataConnection(const std::string& Text) {
    LastResponse = Text;
    FreeDataStream();
    CloseData();
    EndStepWith(550, LastResponse);
}

// Ends the running step with a failure of our own making.
void TCustomFtpCli::EndStepWith(int32_t Code, const std::string& Message) {
    StatusCode = Code;
    if (ErrorMessage.empty()) ErrorMessage = Message;
    stepError_ = Code;
    RequestDone(Code);
}

// ---- single-step operations

void TCustomFtpCli::Step(TFtpStep Kind, TFtpRequest RqType, const std::string& Line,
                         std::initializer_list<int32_t> Codes) {
    // Refuse before touching StepKind: a running step still needs its own.
    CheckReady();
    if (!sessionOpen_) throw FtpException("FTP component not connected");
    stepKind_ = Kind;
    SendCommand(RqType, Line, nullptr, Codes);
}

void TCustomFtpCli::UserAsync() {
    if (UserName.empty()) throw FtpException("UserName emtpy");
    Step(fsUser, ftpRqUser, "USER " + UserName, {331, 230});
}

void TCustomFtpCli::PassAsync() {
    if (PassWord.empty()) throw FtpException("Password emtpy");
    Step(fsPass, ftpRqPass, "PASS " + PassWord, {230});
}

void TCustomFtpCli::CwdAsync() {
    if (HostDirName.empty()) throw FtpException("HostDirName emtpy");
    Step(fsCwd, ftpRqCwd, "CWD " + HostDirName, {200, 250, 257});
}

void TCustomFtpCli::CDupAsync() { Step(fsCDup, ftpRqCDup, "CDUP", {250}); }

void TCustomFtpCli::PwdAsync() { Step(fsPwd, ftpRqPwd, "PWD", {250, 257}); }

void TCustomFtpCli::SystAsync() { Step(fsSyst, ftpRqSyst, "SYST", {215}); }

void TCustomFtpCli::TypeSetAsync() { Step(fsType, ftpRqType, std::string("TYPE ") + TypeChar, {200}); }

void TCustomFtpCli::BinaryTypeAsync() {
    TypeChar = 'I';
    TypeSetAsync();
}

void TCustomFtpCli::AsciiTypeAsync() {
    TypeChar = 'A';
    TypeSetAsync();
}

void TCustomFtpCli::SizeAsync() {
    SizeResult = 0;
    Step(fsSize, ftpRqSize, "SIZE " + HostFileName, {213});
}

void TCustomFtpCli::MkdAsync() { Step(fsMkd, ftpRqMkd, "MKD " + HostFileName, {257}); }

void TCustomFtpCli::RmdAsync() { Step(fsRmd, ftpRqRmd, "RMD " + HostFileName, {250, 257}); }

void TCustomFtpCli::DeleAsync() { Step(fsDele, ftpRqDele, "DELE " + HostFileName, {250, 257}); }

void TCustomFtpCli::RnfrAsync() { Step(fsRnfr, ftpRqRnfr, "RNFR " + HostFileName, {350}); }

void TCustomFtpCli::RntoAsync() { Step(fsRnto, ftpRqRnto, "RNTO " + LocalFileName, {250, 257}); }

void TCustomFtpCli::QuoteAsync() { Step(fsQuote, ftpRqQuote, LocalFileName, {}); }

void TCustomFtpCli::QuitAsync() {
    // Refuse before touching StepKind: a running step still needs its own.
    CheckReady();
    if (!sessionOpen_) throw FtpException("FTP component not connected");
    stepKind_ = fsQuit;
    SendCommand(ftpRqQuit, "QUIT", &TCustomFtpCli::QuitAfterReply, {221});
}

void TCustomFtpCli::QuitAfterReply() {
    closingOnPurpose_ = true;
    if (!CloseControl()) {
        closingOnPurpose_ = false;
        RequestDone(stepError_);
    }
}

void TCustomFtpCli::RestAsync() {
    // A refused REST must neither move ResumeAt nor end the running request.
    CheckReady();
    if (!sessionOpen_) throw FtpException("FTP component not connected");
    stepKind_ = fsRest;
    int64_t size = -1;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(LocalFileName.c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        size = (static_cast<int64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
        FindClose(h);
    }
    ResumeAt = size;
    if (size <= 0) {
        // Nothing to resume from: no REST, the transfer starts at 0.
        if (!inRequest_) currentRequest_ = ftpRqRest;
        doneGuard_ = false;
        fNext_ = &TCustomFtpCli::ReplyJudge;
        afterReply_ = nullptr;
        RequestDone(0);
        return;
    }
    SendCommand(ftpRqRest, "REST " + IntToStr(size), nullptr, {});
}

// ---- multi-step requests

void TCustomFtpCli::ConnectAsync() { RunFunctionSet(ftpRqLogin, Bit(fsOpen) | Bit(fsUser) | Bit(fsPass)); }
void TCustomFtpCli::GetAsync() { RunFunctionSet(ftpRqGet, Bit(fsPort) | Bit(fsGet)); }
void TCustomFtpCli::PutAsync() { RunFunctionSet(ftpRqPut, Bit(fsPort) | Bit(fsPut)); }
void TCustomFtpCli::AppendAsync() { RunFunctionSet(ftpRqAppend, Bit(fsPort) | Bit(fsAppend)); }
void TCustomFtpCli::DirAsync() { RunFunctionSet(ftpRqDir, Bit(fsPort) | Bit(fsDir)); }
void TCustomFtpCli::NameListAsync() { RunFunctionSet(ftpRqNameList, Bit(fsPort) | Bit(fsLs)); }
void TCustomFtpCli::RenameAsync() { RunFunctionSet(ftpRqRename, Bit(fsRnfr) | Bit(fsRnto)); }
void TCustomFtpCli::RestGetAsync() { RunFunctionSet(ftpRqRestGet, Bit(fsPort) | Bit(fsRest) | Bit(fsGet)); }

namespace {
constexpr uint32_t kLogin = Bit(fsOpen) | Bit(fsUser) | Bit(fsPass) | Bit(fsCwd);
}

void TCustomFtpCli::FullGetAsync() {
    RunFunctionSet(ftpRqFullGet, kLogin | Bit(fsType) | Bit(fsPort) | Bit(fsGet) | Bit(fsQuit));
}
void TCustomFtpCli::FullPutAsync() {
    RunFunctionSet(ftpRqFullPut, kLogin | Bit(fsType) | Bit(fsPort) | Bit(fsPut) | Bit(fsQuit));
}
void TCustomFtpCli::FullAppendAsync() {
    RunFunctionSet(ftpRqFullPut, kLogin | Bit(fsType) | Bit(fsPort) | Bit(fsAppend) | Bit(fsQuit));
}
void TCustomFtpCli::FullDirAsync() { RunFunctionSet(ftpRqFullDir, kLogin | Bit(fsPort) | Bit(fsDir) | Bit(fsQuit)); }
void TCustomFtpCli::FullNameListAsync() {
    RunFunctionSet(ftpRqFullNameList, kLogin | Bit(fsPort) | Bit(fsLs) | Bit(fsQuit));
}
void TCustomFtpCli::FullSystAsync() {
    RunFunctionSet(ftpRqFullSyst, Bit(fsOpen) | Bit(fsUser) | Bit(fsPass) | Bit(fsSyst) | Bit(fsQuit));
}
void TCustomFtpCli::FullSizeAsync() { RunFunctionSet(ftpRqSize, kLogin | Bit(fsSize) | Bit(fsQuit)); }
void TCustomFtpCli::FullMkdAsync() { RunFunctionSet(ftpRqFullMkd, kLogin | Bit(fsMkd) | Bit(fsQuit)); }
void TCustomFtpCli::FullRmdAsync() { RunFunctionSet(ftpRqFullRmd, kLogin | Bit(fsRmd) | Bit(fsQuit)); }
void TCustomFtpCli::FullDeleAsync() { RunFunctionSet(ftpRqFullDele, kLogin | Bit(fsDele) | Bit(fsQuit)); }
void TCustomFtpCli::FullRenameAsync() {
    RunFunctionSet(ftpRqFullRename, kLogin | Bit(fsRnfr) | Bit(fsRnto) | Bit(fsQuit));
}
void TCustomFtpCli::FullQuoteAsync() { RunFunctionSet(ftpRqFullQuote, kLogin | Bit(fsQuote) | Bit(fsQuit)); }
void TCustomFtpCli::FullRestGetAsync() {
    RunFunctionSet(ftpRqFullRestGet,
                   kLogin | Bit(fsType) | Bit(fsPort) | Bit(fsRest) | Bit(fsGet) | Bit(fsQuit));
}

// ---- control connection

void TCustomFtpCli::OpenAsync() {
    CheckReady();
    if (sessionOpen_) throw FtpException("FTP component already connected");
    if (!inRequest_) currentRequest_ = ftpRqOpen;
    doneGuard_ = false;
    reply_.Clear();
    stepError_ = 0;
    closingOnPurpose_ = false;
    SetState(ftpStLookingUp);
    try {
        control_->DnsLookup(HostName);
    } catch (...) {
        if (state_ == ftpStLookingUp) SetState(ftpStReady);
        doneGuard_ = true;
        throw;
    }
}

void TCustomFtpCli::FailConnect(int32_t Error, const std::string& Text) {
    LastResponse = "500 " + Text;
    StatusCode = 500;
    if (ErrorMessage.empty()) ErrorMessage = LastResponse;
    stepError_ = Error;
    nextStepHandler_ = false;
    RequestDone(Error);
}

void TCustomFtpCli::ControlDnsLookupDone(uint16_t Error) {
    if (state_ == ftpStAborting) {
        EndStepWith(426, "426 Operation aborted.");
        return;
    }
    if (state_ != ftpStLookingUp) return;
    if (Error != 0) {
        FailConnect(Error, WSocketGetErrorText(Error) + " (Winsock error #" + IntToStr(Error) + ")");
        return;
    }
    try {
        control_->SetAddr(control_->DnsResult());
        control_->SetProto("tcp");
        control_->SetPort(Port);
        SetState(ftpStConnecting);
        control_->Connect();
    } catch (const std::exception& e) {
        FailConnect(500, e.what());
        if (control_->State() != wsClosed) control_->Close();
        SetState(ftpStReady);
    }
}

void TCustomFtpCli::ControlSessionConnected(uint16_t Error) {
    if (Error != 0) {
        FailConnect(Error, WSocketGetErrorText(Error) + " (Winsock error #" + IntToStr(Error) + ")");
        if (control_->State() != wsClosed) control_->Close();
        SetState(ftpStReady);
        return;
    }
    sessionOpen_ = true;
}

bool TCustomFtpCli::CloseControl() {
    if (control_->State() == wsClosed) return false;
    control_->Close();
    return true;
}

void TCustomFtpCli::ControlDataAvailable(uint16_t) {
    char buf[TFtpReplyReader::MaxLine];
    int n = control_->Receive(buf, sizeof buf);
    if (n == 0) {
        CloseControl();
        return;
    }
    if (n < 0) return;
    reply_.Append(buf, static_cast<size_t>(n));
    std::string line;
    while (control_->State() != wsClosed && reply_.NextLine(line)) {
        LastResponse = RepairReplyLine(line);
        if (OnResponse) OnResponse(this);
        DispatchReply();
    }
}

void TCustomFtpCli::DispatchReply() {
    if (state_ == ftpStConnecting) {
        if (!TakeReplyLine()) return;
        if (StatusCode != 220) {
            if (ErrorMessage.empty()) ErrorMessage = LastResponse;
            stepError_ = StatusCode;
            CloseControl();
            return;
        }
        SetState(ftpStConnected);
        if (OnSessionConnected) OnSessionConnected(this, 0);
        RequestDone(0);
        return;
    }
    if (state_ == ftpStWaitingResponse) {
        if (!fNext_) throw FtpException("Program error: FNext is nil");
        (this->*fNext_)();
        return;
    }
    Display("< " + LastResponse);
}

void TCustomFtpCli::ReplyJudge() {
    if (!TakeReplyLine()) return;
    if (CodeAccepted(StatusCode, acceptCodes_)) {
        stepError_ = 0;
    } else {
        stepError_ = StatusCode;
        if (ErrorMessage.empty()) ErrorMessage = LastResponse;
    }
    if (Passive && stepKind_ == fsPort && stepError_ == 0) {
        passiveReply_ = LastResponse;
        passiveValid_ = ParsePasvReply(LastResponse, passiveAddress_);
        if (!passiveValid_) {
            StatusCode = 550;
            stepError_ = 550;
            if (ErrorMessage.empty()) ErrorMessage = "550 Malformed PASV reply: " + LastResponse;
        }
    }
    ParseStepResults();
    if (afterReply_) {
        Handler after = afterReply_;
        afterReply_ = nullptr;
        (this->*after)();
    } else {
        RequestDone(stepError_);
    }
}

void TCustomFtpCli::ParseStepResults() {
    if (stepError_ != 0) return;
    switch (stepKind_) {
        case fsSize: SizeResult = ReplyNumberAfterCode(LastResponse); break;
        case fsCwd:
        case fsMkd:
        case fsPwd:
        case fsCDup: DirResult = ParseDirResult(LastResponse); break;
        default: break;
    }
}

void TCustomFtpCli::ControlSessionClosed(uint16_t Error) {
    if (sessionOpen_) {
        sessionOpen_ = false;
        if (state_ != ftpStAborting) SetState(ftpStNotConnected);
        if (OnSessionClosed) OnSessionClosed(this, Error);
    }
    if (state_ != ftpStAborting) SetState(ftpStStepDone);
    if (!doneGuard_) {
        // A step was running: the close ends it, and never as a success unless we asked for it.
        if (state_ == ftpStAborting) {
            StatusCode = 426;
            stepError_ = 426;
            if (ErrorMessage.empty()) ErrorMessage = "426 Operation aborted.";
        } else if (!closingOnPurpose_ && stepKind_ != fsQuit && stepError_ == 0) {
            int32_t code = Error != 0 ? Error : 421;
            std::string text = Error != 0 ? "Connection lost: " + WSocketGetErrorText(Error) +
                                                " (Winsock error #" + IntToStr(Error) + ")"
                                          : "421 Connection closed by server";
            StatusCode = code;
            stepError_ = code;
            if (ErrorMessage.empty()) ErrorMessage = text;
        }
    }
    closingOnPurpose_ = false;
    RequestDone(stepError_);
}

void TCustomFtpCli::AbortAsync() {
    TFtpState old = state_;
    SetState(ftpStAborting);
    if (old == ftpStLookingUp) {
        try {
            control_->CancelLookup();
        } catch (...) {
        }
    }
    try {
        // At once: a graceful close would wait for a peer that may have stopped reading.
        if (control_->State() != wsClosed) {
            if (control_->AllSent()) control_->Close();
            else control_->Abort();
        }
        CloseData();
    } catch (...) {
    }
    FreeDataStream();
    sessionOpen_ = false;
    if (!doneGuard_) EndStepWith(426, "426 Operation aborted.");
    SetState(ftpStReady);
}

// ---- data connection

void TCustomFtpCli::ClearDataHandlers() {
    data_->OnSessionAvailable = nullptr;
    data_->OnSessionClosed = nullptr;
    data_->OnDataAvailable = nullptr;
    data_->OnSessionConnected = nullptr;
    data_->OnDataSent = nullptr;
}

// Every end but the normal end of data resets the data connection: a graceful
// close would first flush to a server that may have stopped reading.
void TCustomFtpCli::CloseData() {
    if (data_->State() == wsClosed) return;
    FlagScope own(ownClose_);
    data_->Abort();
}

// The end of the data: what is queued still goes out, then the close.
void TCustomFtpCli::EndData() {
    if (data_->State() == wsClosed) return;
    FlagScope own(ownClose_);
    data_->Close();
}

void TCustomFtpCli::FreeDataStream() { dataStream_.reset(); }

void TCustomFtpCli::SetupDataConnection() {
    CheckReady();
    // Checked before listening, so a refused request leaves no socket behind.
    if (!sessionOpen_) throw FtpException("FTP component not connected");
    ClearDataHandlers();
    CloseData();
    passiveReply_.clear();
    passiveValid_ = false;
    transferDir_ = tdNone;
    dataAccepted_ = false;
    parkedClosed_ = false;
    data_->SetProto("tcp");
    data_->SetAddr("0.0.0.0");
    data_->SetPort("0");
    std::string cmd;
    if (Passive) {
        cmd = "PASV";
    } else {
        data_->SetLingerOnOff(wsLingerOn);
        data_->SetLingerTimeout(10);
        // Some servers connect as soon as they have the PORT command, before
        // the transfer command goes out: accept whenever the connection comes.
        data_->OnSessionAvailable = [this](TObject*, uint16_t e) { DataAccept(e); };
        data_->Listen();
        TFtpDataAddress a;
        a.Port = static_cast<uint16_t>(StrToIntDef(data_->LocalPortText(), 0));
        sockaddr_in local{}, peer{};
        control_->LocalAddress(local);
        control_->PeerAddress(peer);
        const uint8_t* b = reinterpret_cast<const uint8_t*>(&local.sin_addr.s_addr);
        if (peer.sin_addr.s_addr == htonl(INADDR_LOOPBACK)) {
            a.Host[0] = 127;
            a.Host[3] = 1;
        } else {
            for (int i = 0; i < 4; ++i) a.Host[i] = b[i];
        }
        cmd = FormatPortCommand(a);
    }
    stepKind_ = fsPort;
    try {
        if (Passive) SendCommand(ftpRqPort, cmd, nullptr, {227});
        else SendCommand(ftpRqPort, cmd, nullptr, {200});
    } catch (...) {
        CloseData();
        throw;
    }
}

bool TCustomFtpCli::ConnectPassive(TSessionConnected Handler) {
    if (!passiveValid_) {
        FailDataConnection("No passive address: the data connection step did not run");
        return false;
    }
    try {
        data_->SetAddr(control_->Addr());
        data_->SetPort(IntToStr(passiveAddress_.Port));
        data_->SetProto("tcp");
        data_->OnSessionConnected = std::move(Handler);
        data_->SetLingerOnOff(wsLingerOff);
        data_->SetLingerTimeout(0);
        data_->Connect();
    } catch (const std::exception& e) {
        FailDataConnection(std::string("Unable to establish data connection: ") + e.what());
        return false;
    }
    return true;
}

bool TCustomFtpCli::OpenReceiveFile() {
    try {
        if (ResumeAt > 0) {
            auto f = std::make_unique<TFileStream>(LocalFileName, fmOpenWrite | ShareFlags);
            f->Seek(ResumeAt, soBeginning);
            dataStream_ = std::move(f);
        } else {
            dataStream_ = std::make_unique<TFileStream>(LocalFileName, fmCreate);
            if (ShareFlags != 0) {
                dataStream_.reset();
                dataStream_ = std::make_unique<TFileStream>(LocalFileName, fmOpenWrite | ShareFlags);
            }
        }
        return true;
    } catch (const std::exception&) {
        dataStream_.reset();
        return false;
    }
}

void TCustomFtpCli::RetrStep() { StartReceive(ftpRqGet); }
void TCustomFtpCli::ListStep() { StartReceive(ftpRqDir); }
void TCustomFtpCli::NlstStep() { StartReceive(ftpRqNameList); }

void TCustomFtpCli::StartReceive(TFtpRequest Rq) {
    std::string word = Rq == ftpRqDir ? "LIST" : Rq == ftpRqNameList ? "NLST" : "RETR";
    if (!sessionOpen_) throw FtpException(word + ": not connected");
    if (LocalFileName.empty() && !DisplayFileFlag) throw FtpException("LocalFileName empty");
    CheckReady();
    resumeUsed_ = true;
    announcedSize_ = -1;
    if (!inRequest_) currentRequest_ = Rq;
    stepKind_ = Rq == ftpRqDir ? fsDir : Rq == ftpRqNameList ? fsLs : fsGet;
    transferCommand_ = word;
    controlDone_ = false;
    dataClosed_ = false;
    doneGuard_ = false;
    bytesMoved_ = 0;
    dataError_ = 0;
    localError_ = 0;
    if (!DisplayFileFlag && !OpenReceiveFile()) {
        LastResponse = "Unable to open local file " + LocalFileName;
        CloseData();
        ResumeAt = 0;
        EndStepWith(550, LastResponse);
        return;  // the request has ended: nothing more goes out
    }
    if (Passive && !ConnectPassive([this](TObject*, uint16_t e) { DataConnectedForReceive(e); })) return;
    transferDir_ = tdReceive;
    SetState(ftpStWaitingResponse);
    fNext_ = &TCustomFtpCli::FirstReplyOfReceive;
    SendLine(HostFileName.empty() ? transferCommand_ : transferCommand_ + " " + HostFileName);
    if (!Passive && dataAccepted_ && !doneGuard_) BindAcceptedData();
}

// Only the host of the control connection may bring the data: another one
// could take the transfer over.
bool TCustomFtpCli::FromControlPeer(TSocket h) {
    sockaddr_in from{}, server{};
    int len = sizeof from;
    if (getpeername(h, reinterpret_cast<sockaddr*>(&from), &len) != 0) return false;
    if (control_->PeerAddress(server) != 0) return false;
    return from.sin_addr.s_addr == server.sin_addr.s_addr;
}

// Takes the server's data connection over from the listening socket.
void TCustomFtpCli::DataAccept(uint16_t) {
    TSocket h = INVALID_SOCKET;
    try {
        h = data_->Accept();
        if (h != INVALID_SOCKET && !FromControlPeer(h)) {
            // Not the server: turn it away and keep listening for the real one.
            closesocket(h);
            return;
        }
        data_->Close();  // the listening socket
        if (h == INVALID_SOCKET) throw FtpException("accept failed");
        ParkData();
        data_->Dup(h);
    } catch (const std::exception& e) {
        if (h != INVALID_SOCKET && data_->HSocket() != h) closesocket(h);
        FailDataConnection(std::string("Unable to establish data connection: ") + e.what());
        return;
    }
    dataAccepted_ = true;
    WidenDataBuffers();
    BindAcceptedData();
}

// Room for several blocks in the system's buffers, so the peer keeps sending
// (or taking) while we handle the block before.
void TCustomFtpCli::WidenDataBuffers() {
    int size = kSocketBuffer;
    TSocket h = data_->HSocket();
    if (h == INVALID_SOCKET) return;
    setsockopt(h, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&size), sizeof size);
    setsockopt(h, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&size), sizeof size);
}

// Before the transfer step runs, the connection waits: nothing is read or sent.
void TCustomFtpCli::ParkData() {
    data_->OnSessionClosed = [this](TObject*, uint16_t e) {
        parkedClosed_ = true;
        parkedError_ = e;
    };
    data_->OnDataAvailable = [](TObject*, uint16_t) {};
    data_->OnDataSent = nullptr;
}

// Gives an accepted data connection to the running transfer step.
void TCustomFtpCli::BindAcceptedData() {
    if (transferDir_ == tdNone) {
        ParkData();
        return;
    }
    if (transferDir_ == tdReceive) {
        data_->OnSessionClosed = [this](TObject*, uint16_t e) { DataClosed(e); };
        data_->OnDataAvailable = [this](TObject*, uint16_t e) { DataForReceive(e); };
        data_->OnDataSent = nullptr;
        startTick_ = GetTickCount();
        if (parkedClosed_) {
            DataClosed(parkedError_);
            return;
        }
        // What the server sent, or its close, may have come before we took the
        // connection over: read until nothing waits, so neither is missed.
        while (ReceiveBlock() > 0) {
        }
        return;
    }
    data_->OnSessionClosed = [this](TObject*, uint16_t e) { DataClosed(e); };
    data_->OnDataAvailable = [this](TObject*, uint16_t) {
        char drop[2048];
        data_->Receive(drop, sizeof drop);
    };
    data_->OnDataSent = [this](TObject*, uint16_t e) { SendNextBlock(e); };
    if (parkedClosed_) {
        DataClosed(parkedError_);
        return;
    }
    data_->SetLingerOnOff(wsLingerOff);
    data_->SetLingerTimeout(10);
    data_->SetLingerOption();
    // Sending starts only once the server said 150 and the connection stands.
    if (sendAllowed_) window_->Post(WM_FTP_SENDDATA, 0, 0);
}

void TCustomFtpCli::DataConnectedForReceive(uint16_t Error) {
    data_->OnSessionClosed = [this](TObject*, uint16_t e) { DataClosed(e); };
    data_->OnDataAvailable = [this](TObject*, uint16_t e) { DataForReceive(e); };
    data_->OnDataSent = nullptr;
    startTick_ = GetTickCount();
    if (Error != 0) {
        FailDataConnection("Unable to establish data connection, error #" + IntToStr(Error));
        return;
    }
    WidenDataBuffers();
}

void TCustomFtpCli::MarkLocalError(const std::string& Message) {
    Display("! " + Message);
    if (localError_ == 0) {
        localError_ = 426;
        if (ErrorMessage.empty()) ErrorMessage = "426 " + Message;
    }
}

void TCustomFtpCli::DataForReceive(uint16_t) { ReceiveBlock(); }

int TCustomFtpCli::ReceiveBlock() {
    if (!ReportProgress()) return 0;
    if (data_->State() != wsConnected) return 0;
    int n = data_->Receive(blockBuffer_.data(), kReceiveBlock);
    if (n > 0) {
        bytesMoved_ += n;
        if (dataStream_) {
            bool ok = false;
            try {
                ok = dataStream_->Write(blockBuffer_.data(), n) == n;
            } catch (...) {
            }
            if (!ok) {
                // The file on disk would be short: the transfer must fail.
                MarkLocalError("Error writing local file");
                FreeDataStream();
                CloseData();
                return 0;
            }
        }
        if (DisplayFileFlag) {
            for (std::string& piece : CutDisplayLines(blockBuffer_.data(), static_cast<size_t>(n))) DisplayFile(piece);
        }
        return n;
    }
    if (n == 0) {
        EndData();  // the server has sent everything
        return 0;
    }
    if (data_->State() == wsConnected && data_->LastError() != WSAEWOULDBLOCK) {
        MarkLocalError("Data: Receive error " + IntToStr(data_->LastError()));
        FreeDataStream();
        CloseData();
        return 0;
    }
    return -1;
}

// The data connection of a transfer closed: the file is complete (or given up).
void TCustomFtpCli::DataClosed(uint16_t Error) {
    // A reset may look like a clean close (Wine): only the sender knows the file did not all go out.
    if (!ownClose_ && transferDir_ == tdSend && !endOfFile_ && localError_ == 0 && !doneGuard_) {
        MarkLocalError("Data connection closed before the end of the file");
        CloseData();  // what is still queued has nowhere to go: no graceful flush
    }
    FreeDataStream();
    dataClosed_ = true;
    dataError_ = Error;
    CheckTransferDone(true);
}

void TCustomFtpCli::FirstReplyOfReceive() {
    if (!TakeReplyLine()) return;
    if (StatusCode == 125 || StatusCode == 150) {
        // In ASCII type the byte count may differ from the file's size.
        announcedSize_ = TypeChar == 'I' && transferCommand_ == "RETR" ? AnnouncedSize(LastResponse) : -1;
        fNext_ = &TCustomFtpCli::FinalReplyOfReceive;
        return;
    }
    FailTransfer(StatusCode);
}

void TCustomFtpCli::FinalReplyOfReceive() {
    if (!TakeReplyLine()) return;
    if (StatusCode == 125 || StatusCode == 226 || StatusCode == 250) {
        controlDone_ = true;
        CheckTransferDone(dataClosed_);
        return;
    }
    Display("! RETR/LIST/NLST Failed");
    FailTransfer(StatusCode);
}

// Shows a reply line of a step; false for a line that does not end
// the reply, else StatusCode holds its code.
bool TCustomFtpCli::TakeReplyLine() {
    Display("< " + LastResponse);
    if (IsContinuationLine(LastResponse)) return false;
    StatusCode = ReplyCode(LastResponse);
    return true;
}

// The server refused or broke off the transfer with Code.
void TCustomFtpCli::FailTransfer(int32_t Code) {
    if (ErrorMessage.empty()) ErrorMessage = LastResponse;
    fNext_ = nullptr;
    FreeDataStream();
    CloseData();
    ResumeAt = 0;
    stepError_ = Code;
    RequestDone(Code);
}

void TCustomFtpCli::CheckTransferDone(bool Closed) {
    if (!controlDone_ || !Closed || doneGuard_) return;
    // A server may announce the size, cut the data short and still say 226.
    if (transferDir_ == tdReceive && announcedSize_ >= 0 && localError_ == 0 && bytesMoved_ != announcedSize_ &&
        ResumeAt + bytesMoved_ != announcedSize_)
        MarkLocalError("Received " + IntToStr(bytesMoved_) + " bytes of the " + IntToStr(announcedSize_) +
                       " announced");
    TransferStatistics();
    ResumeAt = 0;
    int32_t err = localError_ != 0 ? localError_ : dataError_;
    if (err != 0 && localError_ == 0 && ErrorMessage.empty())
        ErrorMessage = "Data connection closed with error #" + IntToStr(err);
    stepError_ = err;
    RequestDone(err);
}

void TCustomFtpCli::StorStep() {
    CheckSend();
    appendMode_ = false;
    currentRequest_ = ftpRqPut;
    StartSend();
}

void TCustomFtpCli::AppeStep() {
    CheckSend();
    appendMode_ = true;
    currentRequest_ = ftpRqAppend;
    StartSend();
}

// The refusals of the send steps, before they change anything.
void TCustomFtpCli::CheckSend() const {
    if (!sessionOpen_) throw FtpException("STOR/APPE: not connected");
    if (LocalFileName.empty()) throw FtpException("LocalFileName empty");
    CheckReady();
}

void TCustomFtpCli::StartSend() {
    resumeUsed_ = true;
    stepKind_ = appendMode_ ? fsAppend : fsPut;
    transferCommand_ = appendMode_ ? "APPE" : "STOR";
    controlDone_ = false;
    dataClosed_ = false;
    doneGuard_ = false;
    bytesMoved_ = 0;
    dataError_ = 0;
    localError_ = 0;
    bool cancel = false;
    ReadyToTransmit(cancel);
    if (cancel) {
        ErrorMessage = "426 Transmit cancelled by application";
        Display("! " + ErrorMessage);
        CloseData();
        EndStepWith(426, ErrorMessage);
        return;
    }
    endOfFile_ = false;
    sendAllowed_ = false;
    try {
        dataStream_ = std::make_unique<TFileStream>(LocalFileName, fmOpenRead | ShareFlags);
        sendSize_ = dataStream_->Size();
        if (ResumeAt > 0) dataStream_->Seek(ResumeAt, soBeginning);
    } catch (const std::exception&) {
        dataStream_.reset();
        ErrorMessage = "426 Unable to open local file " + LocalFileName;
        Display("! " + ErrorMessage);
        CloseData();
        ResumeAt = 0;
        EndStepWith(426, ErrorMessage);
        return;  // the request has ended: nothing more goes out
    }
    if (Passive) {
        ConnectPassive([this](TObject*, uint16_t e) { DataConnectedForSend(e); });
        return;  // the command goes out once the data connection stands
    }
    transferDir_ = tdSend;
    if (dataAccepted_) BindAcceptedData();
    SendStoreCommand();
}

// STOR or APPE; a STOR that resumes goes after a REST, so the server keeps
// what lies before the offset instead of replacing the file by its tail.
void TCustomFtpCli::SendStoreCommand() {
    SetState(ftpStWaitingResponse);
    if (!appendMode_ && ResumeAt > 0) {
        fNext_ = &TCustomFtpCli::RestReplyOfSend;
        SendLine("REST " + IntToStr(ResumeAt));
        return;
    }
    fNext_ = &TCustomFtpCli::FirstReplyOfSend;
    SendLine(transferCommand_ + " " + HostFileName);
}

void TCustomFtpCli::RestReplyOfSend() {
    if (!TakeReplyLine()) return;
    if (StatusCode != 350) {
        FailTransfer(StatusCode);
        return;
    }
    fNext_ = &TCustomFtpCli::FirstReplyOfSend;
    SendLine(transferCommand_ + " " + HostFileName);
}

void TCustomFtpCli::DataConnectedForSend(uint16_t Error) {
    data_->OnSessionClosed = [this](TObject*, uint16_t e) { DataClosed(e); };
    data_->OnDataAvailable = nullptr;
    data_->OnDataSent = nullptr;
    startTick_ = GetTickCount();
    if (Error != 0) {
        FailDataConnection("Unable to establish data connection, error #" + IntToStr(Error));
        return;
    }
    WidenDataBuffers();
    dataAccepted_ = true;
    transferDir_ = tdSend;
    SendStoreCommand();
}

void TCustomFtpCli::FirstReplyOfSend() {
    if (!TakeReplyLine()) return;
    if (StatusCode != 125 && StatusCode != 150) {
        FailTransfer(StatusCode);
        return;
    }
    sendAllowed_ = true;
    fNext_ = &TCustomFtpCli::FinalReplyOfSend;
    if (Passive) {
        data_->OnDataSent = [this](TObject*, uint16_t e) { SendNextBlock(e); };
        SendNextBlock(0);
    } else if (dataAccepted_) {
        window_->Post(WM_FTP_SENDDATA, 0, 0);
    }
}

void TCustomFtpCli::FinalReplyOfSend() {
    if (!TakeReplyLine()) return;
    if (StatusCode == 226 || StatusCode == 250) {
        controlDone_ = true;
        CheckTransferDone(dataClosed_);
        return;
    }
    Display("! STOR Failed");
    FailTransfer(StatusCode);
}

void TCustomFtpCli::SendNextBlock(uint16_t Error) {
    if (!dataStream_ || !ReportProgress() || !dataStream_) return;
    if (Error != 0) {
        MarkLocalError("Error #" + IntToStr(Error) + " sending data");
        CloseData();
        return;
    }
    if (endOfFile_ || !sendAllowed_) return;
    int32_t n = 0;
    try {
        n = dataStream_->Read(blockBuffer_.data(), kSendBlock);
    } catch (...) {
        n = -1;
    }
    if (n == 0 && ResumeAt + bytesMoved_ < sendSize_) n = -1;  // short read, not the end
    if (n < 0) {
        MarkLocalError("Error reading file");
        CloseData();
        return;
    }
    if (n == 0) {
        endOfFile_ = true;
        EndData();
        return;
    }
    bytesMoved_ += n;
    if (data_->Send(blockBuffer_.data(), n) < 0) {
        MarkLocalError("Error #" + IntToStr(data_->LastError()) + " sending data");
        CloseData();
    }
}

bool TCustomFtpCli::ReportProgress() {
    bool abort = false;
    if (OnProgress) OnProgress(this, bytesMoved_ + ResumeAt, abort);
    if (abort) {
        Display("! Abort requested");
        if (localError_ == 0) {
            localError_ = 426;
            if (ErrorMessage.empty()) ErrorMessage = "426 Abort requested";
        }
        FreeDataStream();
        CloseData();
        return false;
    }
    return true;
}

void TCustomFtpCli::TransferStatistics() {
    stopTick_ = GetTickCount();
    Display("! " + TransferStatisticsText(bytesMoved_, stopTick_ - startTick_));
}
