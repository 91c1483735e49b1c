// The engine's data-connection and transfer steps: PORT or PASV, the
// receive and send steps, the replies that frame a transfer and its end.
#include "FtpCli.h"

#include <windows.h>

#include <algorithm>

#include "DisplayLines.h"
#include "FtpReceiveFile.h"
#include "FtpReply.h"

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
    progressReported_ = -1;
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

// A notification that brought no bytes (or a pass that found none) is not
// progress: each event reports a count above the one before.
bool TCustomFtpCli::TransferProgress() {
    int64_t count = transfer_->BytesMoved() + ResumeAt;
    if (count == progressReported_) return true;
    progressReported_ = count;
    return ReportProgress();
}

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
    progressReported_ = -1;
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
