// The engine's control connection: the name lookup and connect of the Open
// step, the replies cut into lines and judged, the close and the abort.
#include "FtpCli.h"

#include <windows.h>

#include "FtpReply.h"

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
