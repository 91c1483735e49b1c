#include "FtpCli.h"

#include <windows.h>

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
