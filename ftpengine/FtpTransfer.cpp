#include "FtpTransfer.h"

#include <windows.h>

#include "core/SysUtils.h"

namespace {

// Room for several blocks in the system's buffers, so the peer keeps sending
// (or taking) while we handle the block before.
constexpr int kSocketBuffer = 4 * 1024 * 1024;

}  // namespace

TFtpTransfer::TFtpTransfer(TWSocket& Data, TFtpTransferHost& Host)
    : data_(Data), host_(Host) {}

void TFtpTransfer::MarkStart() { startTick_ = GetTickCount(); }

void TFtpTransfer::Reset() {
    data_.OnSessionAvailable = nullptr;
    data_.OnSessionClosed = nullptr;
    data_.OnDataAvailable = nullptr;
    data_.OnSessionConnected = nullptr;
    data_.OnDataSent = nullptr;
    Abort();
    phase_ = dpIdle;
    kind_ = tkNone;
    passive_ = false;
    sendAllowed_ = false;
    remaining_ = 0;
    bytesMoved_ = 0;
    data_.SetProto("tcp");
    data_.SetAddr("0.0.0.0");
    data_.SetPort("0");
}

uint16_t TFtpTransfer::Listen(uint32_t Peer) {
    peer_ = Peer;
    passive_ = false;
    data_.SetLingerOnOff(wsLingerOn);
    data_.SetLingerTimeout(10);
    // Some servers connect as soon as they have the PORT command, before the
    // transfer command goes out: accept whenever the connection comes.
    data_.OnSessionAvailable = [this](TObject*, uint16_t) { Accept(); };
    phase_ = dpListening;
    data_.Listen();
    return static_cast<uint16_t>(StrToIntDef(data_.LocalPortText(), 0));
}

// Only the host of the control connection may bring the data: another one
// could take the transfer over.
bool TFtpTransfer::FromPeer(TSocket h) const {
    sockaddr_in from{};
    int len = sizeof from;
    if (getpeername(h, reinterpret_cast<sockaddr*>(&from), &len) != 0) return false;
    return from.sin_addr.s_addr == peer_;
}

void TFtpTransfer::Accept() {
    TSocket h = INVALID_SOCKET;
    try {
        h = data_.Accept();
        if (h != INVALID_SOCKET && !FromPeer(h)) {
            // Not the server: turn it away and keep listening for the real one.
            closesocket(h);
            return;
        }
        data_.Close();  // the listening socket
        if (h == INVALID_SOCKET) throw ESocketException("accept failed");
        Park();
        data_.Dup(h);
    } catch (const std::exception& e) {
        if (h != INVALID_SOCKET && data_.HSocket() != h) closesocket(h);
        phase_ = dpClosing;
        host_.TransferNoConnection(std::string("Unable to establish data connection: ") + e.what());
        return;
    }
    WidenBuffers();
    if (kind_ != tkNone) Take();
}

void TFtpTransfer::WidenBuffers() {
    int size = kSocketBuffer;
    TSocket h = data_.HSocket();
    if (h == INVALID_SOCKET) return;
    setsockopt(h, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&size), sizeof size);
    setsockopt(h, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&size), sizeof size);
}

// Before the transfer step runs, the connection waits: nothing is read or sent.
void TFtpTransfer::Park() {
    phase_ = dpParked;
    data_.OnSessionClosed = [this](TObject*, uint16_t e) {
        if (phase_ != dpParked) return;
        phase_ = dpParkedClosed;
        parkedError_ = e;
    };
    data_.OnDataAvailable = [](TObject*, uint16_t) {};
    data_.OnDataSent = nullptr;
}

void TFtpTransfer::TakeParked() {
    if (phase_ == dpParked || phase_ == dpParkedClosed) Take();
}

// Gives the standing data connection to the transfer step.
void TFtpTransfer::Take() {
    startTick_ = GetTickCount();
    bool closedAlready = phase_ == dpParkedClosed;
    data_.OnSessionClosed = [this](TObject*, uint16_t e) { DataClosed(e); };
    if (kind_ == tkReceive) {
        data_.OnDataAvailable = [this](TObject*, uint16_t) { ReceiveOne(); };
        data_.OnDataSent = nullptr;
    } else {
        data_.OnDataAvailable = [this](TObject*, uint16_t) {
            char drop[2048];
            data_.Receive(drop, sizeof drop);
        };
        data_.OnDataSent = [this](TObject*, uint16_t e) { SendNext(e); };
    }
    phase_ = dpOpen;
    if (closedAlready) {
        DataClosed(parkedError_);
        return;
    }
    if (kind_ == tkReceive) {
        // What the server sent, or its close, may have come before we took the
        // connection over: read until nothing waits, so neither is missed.
        while (ReceiveOne() > 0) {
        }
        return;
    }
    if (!passive_) {
        data_.SetLingerOnOff(wsLingerOff);
        data_.SetLingerTimeout(10);
        data_.SetLingerOption();
    }
    // Sending starts only once the server said 150 and the connection stands.
    if (sendAllowed_) {
        phase_ = dpSending;
        host_.TransferStartSending();
    }
}

void TFtpTransfer::BeginReceive(std::unique_ptr<TStream> File, bool ShowLines) {
    kind_ = tkReceive;
    file_.reset();
    writer_.reset();
    if (File) writer_ = std::make_unique<TFtpFileWriter>(std::move(File), ReceiveBlock);
    else block_.resize(ReceiveBlock);
    writeFailTold_ = false;
    showLines_ = ShowLines;
    bytesMoved_ = 0;
}

void TFtpTransfer::BeginSend(std::unique_ptr<TStream> File, int64_t Remaining) {
    block_.resize(SendBlock);
    kind_ = tkSend;
    writer_.reset();
    file_ = std::move(File);
    remaining_ = Remaining;
    sendAllowed_ = false;
    bytesMoved_ = 0;
}

bool TFtpTransfer::Connect(const std::string& Addr, uint16_t Port) {
    passive_ = true;
    phase_ = dpConnecting;
    try {
        data_.SetAddr(Addr);
        data_.SetPort(IntToStr(Port));
        data_.SetProto("tcp");
        data_.OnSessionConnected = [this](TObject*, uint16_t e) { Connected(e); };
        data_.SetLingerOnOff(wsLingerOff);
        data_.SetLingerTimeout(0);
        data_.Connect();
    } catch (const std::exception& e) {
        phase_ = dpClosing;
        host_.TransferNoConnection(std::string("Unable to establish data connection: ") + e.what());
        return false;
    }
    return true;
}

void TFtpTransfer::Connected(uint16_t Error) {
    startTick_ = GetTickCount();
    if (Error != 0) {
        phase_ = dpClosing;
        host_.TransferNoConnection("Unable to establish data connection, error #" + IntToStr(Error));
        return;
    }
    WidenBuffers();
    phase_ = dpParked;
    Take();
    if (kind_ == tkSend && phase_ == dpOpen) host_.TransferConnected();
}

void TFtpTransfer::AllowSending() {
    sendAllowed_ = true;
    if (kind_ != tkSend || phase_ != dpOpen) return;  // the connection comes later
    phase_ = dpSending;
    if (passive_) SendNext(0);
    else host_.TransferStartSending();
}

// The data connection of a transfer closed: the file is complete (or given up).
void TFtpTransfer::DataClosed(uint16_t Error) {
    TDataPhase was = phase_;
    phase_ = dpClosed;
    file_.reset();
    if (writer_) {
        // Done only once every byte received is in the file.
        bool written = writer_->Finish();
        writer_.reset();
        if (!written) WriteFailed(true);
    }
    // A reset may look like a clean close (Wine): only the sender knows the
    // file did not all go out.
    if (kind_ == tkSend && (was == dpOpen || was == dpSending)) {
        host_.TransferFailed("Data connection closed before the end of the file");
        if (data_.State() != wsClosed) data_.Abort();  // what is queued has nowhere to go
    }
    host_.TransferClosed(Error);
}

int TFtpTransfer::ReceiveOne() {
    if (phase_ != dpOpen || !host_.TransferProgress()) return 0;
    if (phase_ != dpOpen || data_.State() != wsConnected) return 0;
    // The writer reports a failed write at the next block (or at the end):
    // the file on disk would be short, so the transfer must fail.
    if (writer_ && writer_->Failed()) {
        WriteFailed(false);
        return 0;
    }
    char* block = writer_ ? writer_->Block() : block_.data();
    int n = data_.Receive(block, ReceiveBlock);
    if (n > 0) {
        bytesMoved_ += n;
        if (writer_) {
            writer_->Commit(n);
            if (writer_->Failed()) {
                WriteFailed(false);
                return 0;
            }
        }
        if (showLines_) host_.TransferLines(block, static_cast<size_t>(n));
        return n;
    }
    if (n == 0) {
        EndOfData();  // the server has sent everything
        return 0;
    }
    if (data_.State() == wsConnected && data_.LastError() != WSAEWOULDBLOCK) {
        Fail("Data: Receive error " + IntToStr(data_.LastError()));
        return 0;
    }
    return -1;
}

void TFtpTransfer::SendNext(uint16_t Error) {
    if (phase_ != dpSending || !file_ || !host_.TransferProgress()) return;
    if (phase_ != dpSending || !file_) return;
    if (Error != 0) {
        Fail("Error #" + IntToStr(Error) + " sending data");
        return;
    }
    int32_t n = 0;
    try {
        n = file_->Read(block_.data(), SendBlock);
    } catch (...) {
        n = -1;
    }
    if (n == 0 && remaining_ > 0) n = -1;  // the file shrank: a short read, not the end
    if (n < 0) {
        Fail("Error reading file");
        return;
    }
    if (n == 0) {
        EndOfData();
        return;
    }
    bytesMoved_ += n;
    remaining_ -= n;
    if (data_.Send(block_.data(), n) < 0) Fail("Error #" + IntToStr(data_.LastError()) + " sending data");
}

// The normal end of the data: what is queued still goes out, then the close.
void TFtpTransfer::EndOfData() {
    phase_ = dpDrained;
    if (data_.State() != wsClosed) data_.Close();
}

void TFtpTransfer::Fail(const std::string& Note) {
    host_.TransferFailed(Note);
    Abort();
}

void TFtpTransfer::WriteFailed(bool Closing) {
    if (writeFailTold_) return;
    writeFailTold_ = true;
    if (Closing) host_.TransferFailed("Error writing local file");
    else Fail("Error writing local file");
}

void TFtpTransfer::DropFile() {
    file_.reset();
    if (writer_) {
        // What was received stays in the file (a resume starts after it);
        // that is at most a few blocks for the disk.
        writer_->Finish();
        writer_.reset();
    }
}

void TFtpTransfer::Abort() {
    DropFile();
    if (data_.State() == wsClosed) return;
    if (phase_ != dpClosed) phase_ = dpClosing;
    data_.Abort();
    if (phase_ == dpClosing) phase_ = dpClosed;
}
