#include "FtpCli.h"

#include <windows.h>

#include <algorithm>

#include "DisplayLines.h"
#include "FtpReceiveFile.h"
#include "FtpReply.h"

namespace {

constexpr uint32_t Bit(TFtpStep s) { return 1u << s; }

// The order in which a multi-step request runs its steps.
const TFtpStep kStepOrder[] = {fsOpen, fsUser,  fsPass, fsCwd,  fsCDup, fsType, fsPort, fsRest,
                               fsGet,  fsPut,   fsAppend, fsDir, fsLs,  fsSyst, fsMkd,  fsRmd,
                               fsRnfr, fsRnto,  fsSize, fsDele, fsPwd,  fsQuote, fsQuit};

constexpr uint32_t kTransferSteps =
    Bit(fsGet) | Bit(fsPut) | Bit(fsAppend) | Bit(fsDir) | Bit(fsLs) | Bit(fsRest);

}  // namespace

// ---- construction

TCustomFtpCli::TCustomFtpCli(TComponent* AOwner) : TComponent(AOwner) {
    window_ = std::make_unique<THiddenWindow>(
        "XFtpCliWindowClass", [this](UINT m, WPARAM w, LPARAM l, LRESULT& r) {
            r = 0;
            return HandleMessage(m, w, l);
        });
    control_ = new TWSocket(this);
    data_ = new TWSocket(this);
    TFtpTransferHost& host = *this;
    transfer_ = std::make_unique<TFtpTransfer>(*data_, host);
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
    transfer_.reset();
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
        transfer_->MarkStart();
        transfer_->SendNext(0);
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
    transfer_->DropFile();
    sessionOpen_ = false;
    if (!doneGuard_) EndStepWith(426, "426 Operation aborted.");
    SetState(ftpStReady);
}

// ---- data connection

// Every end but the normal end of data resets the data connection: a graceful
// close would first flush to a server that may have stopped reading.
void TCustomFtpCli::CloseData() { transfer_->Abort(); }

void TCustomFtpCli::SetupDataConnection() {
    CheckReady();
    // Checked before listening, so a refused request leaves no socket behind.
    if (!sessionOpen_) throw FtpException("FTP component not connected");
    transfer_->Reset();
    passiveReply_.clear();
    passiveValid_ = false;
    std::string cmd;
    if (Passive) {
        cmd = "PASV";
    } else {
        sockaddr_in local{}, peer{};
        control_->LocalAddress(local);
        control_->PeerAddress(peer);
        TFtpDataAddress a;
        a.Port = transfer_->Listen(peer.sin_addr.s_addr);
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

bool TCustomFtpCli::ConnectPassive() {
    if (!passiveValid_) {
        FailDataConnection("No passive address: the data connection step did not run");
        return false;
    }
    return transfer_->Connect(control_->Addr(), passiveAddress_.Port);
}

std::unique_ptr<TStream> TCustomFtpCli::OpenReceiveFile() {
    auto file = std::make_shared<TFtpReceiveFile>(LocalFileName, ResumeAt, ShareFlags);
    if (!file->Check()) return nullptr;
    receiveFile_ = file;
    return TFtpReceiveFile::Stream(file);
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
    doneGuard_ = false;
    dataError_ = 0;
    localError_ = 0;
    receiveFile_.reset();
    std::unique_ptr<TStream> file;
    if (!DisplayFileFlag) {
        file = OpenReceiveFile();
        if (!file) {
            LastResponse = "Unable to open local file " + LocalFileName;
            CloseData();
            ResumeAt = 0;
            EndStepWith(550, LastResponse);
            return;  // the request has ended: nothing more goes out
        }
    }
    transfer_->BeginReceive(std::move(file), DisplayFileFlag);
    if (Passive && !ConnectPassive()) return;
    SetState(ftpStWaitingResponse);
    fNext_ = &TCustomFtpCli::FirstReplyOfReceive;
    SendLine(HostFileName.empty() ? transferCommand_ : transferCommand_ + " " + HostFileName);
    if (!Passive && !doneGuard_) transfer_->TakeParked();
}

// ---- what the transfer reports

bool TCustomFtpCli::TransferProgress() { return ReportProgress(); }

void TCustomFtpCli::TransferFailed(const std::string& Note) {
    if (!doneGuard_) MarkLocalError(Note);
}

void TCustomFtpCli::TransferLines(const char* Data, size_t Len) {
    for (std::string& piece : CutDisplayLines(Data, Len)) DisplayFile(piece);
}

void TCustomFtpCli::TransferNoConnection(const std::string& Text) { FailDataConnection(Text); }

void TCustomFtpCli::TransferConnected() { SendStoreCommand(); }

void TCustomFtpCli::TransferStartSending() { window_->Post(WM_FTP_SENDDATA, 0, 0); }

void TCustomFtpCli::TransferClosed(uint16_t Error) {
    dataError_ = Error;
    CheckTransferDone();
}

void TCustomFtpCli::MarkLocalError(const std::string& Message) {
    Display("! " + Message);
    if (localError_ == 0) {
        localError_ = 426;
        if (ErrorMessage.empty()) ErrorMessage = "426 " + Message;
    }
}

// ---- replies of a transfer

void TCustomFtpCli::FirstReplyOfReceive() {
    if (!TakeReplyLine()) return;
    if (StatusCode == 125 || StatusCode == 150) {
        // Accepted: only now is the local file made (or cut).
        if (receiveFile_ && !receiveFile_->Open()) MarkLocalError("Unable to open local file " + LocalFileName);
        receiveFile_.reset();
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
        CheckTransferDone();
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
    receiveFile_.reset();
    if (ErrorMessage.empty()) ErrorMessage = LastResponse;
    fNext_ = nullptr;
    CloseData();
    ResumeAt = 0;
    stepError_ = Code;
    RequestDone(Code);
}

// A transfer ends when both the final reply and the close have come, in either order.
void TCustomFtpCli::CheckTransferDone() {
    if (!controlDone_ || !transfer_->Closed() || doneGuard_) return;
    // A server may announce the size, cut the data short and still say 226.
    int64_t moved = transfer_->BytesMoved();
    if (transfer_->Kind() == tkReceive && announcedSize_ >= 0 && localError_ == 0 && moved != announcedSize_ &&
        ResumeAt + moved != announcedSize_)
        MarkLocalError("Received " + IntToStr(moved) + " bytes of the " + IntToStr(announcedSize_) + " announced");
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
    doneGuard_ = false;
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
    std::unique_ptr<TStream> file;
    int64_t remaining = 0;
    try {
        file = std::make_unique<TFileStream>(LocalFileName, fmOpenRead | ShareFlags);
        remaining = file->Size() - std::max<int64_t>(ResumeAt, 0);
        if (ResumeAt > 0) file->Seek(ResumeAt, soBeginning);
    } catch (const std::exception&) {
        ErrorMessage = "426 Unable to open local file " + LocalFileName;
        Display("! " + ErrorMessage);
        CloseData();
        ResumeAt = 0;
        EndStepWith(426, ErrorMessage);
        return;  // the request has ended: nothing more goes out
    }
    transfer_->BeginSend(std::move(file), remaining);
    if (Passive) {
        ConnectPassive();
        return;  // the command goes out once the data connection stands
    }
    transfer_->TakeParked();
    if (!doneGuard_) SendStoreCommand();
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

void TCustomFtpCli::FirstReplyOfSend() {
    if (!TakeReplyLine()) return;
    if (StatusCode != 125 && StatusCode != 150) {
        FailTransfer(StatusCode);
        return;
    }
    fNext_ = &TCustomFtpCli::FinalReplyOfSend;
    transfer_->AllowSending();
}

void TCustomFtpCli::FinalReplyOfSend() {
    if (!TakeReplyLine()) return;
    if (StatusCode == 226 || StatusCode == 250) {
        controlDone_ = true;
        CheckTransferDone();
        return;
    }
    Display("! STOR Failed");
    FailTransfer(StatusCode);
}

bool TCustomFtpCli::ReportProgress() {
    bool abort = false;
    if (OnProgress) OnProgress(this, transfer_->BytesMoved() + ResumeAt, abort);
    if (abort) {
        Display("! Abort requested");
        if (localError_ == 0) {
            localError_ = 426;
            if (ErrorMessage.empty()) ErrorMessage = "426 Abort requested";
        }
        CloseData();
        return false;
    }
    return true;
}

void TCustomFtpCli::TransferStatistics() {
    stopTick_ = GetTickCount();
    Display("! " + TransferStatisticsText(transfer_->BytesMoved(), stopTick_ - transfer_->StartTick()));
}
