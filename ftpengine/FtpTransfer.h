// The data connection of an FTP session and the bytes one transfer moves over
// it: listening or connecting, taking the connection over, writing what comes
// into the local file or sending the file block by block. The engine
// (TCustomFtpCli) sends the commands and judges the replies; this class tells
// it what happens on the data side through TFtpTransferHost.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "FtpFileWriter.h"
#include "SyncWSocket.h"
#include "core/Stream.h"

// What a transfer needs from the engine that runs it.
class TFtpTransferHost {
public:
    // Before each block: false stops the transfer (the host has ended it).
    virtual bool TransferProgress() = 0;
    // A failure on our side: the step must fail with Note as its text.
    virtual void TransferFailed(const std::string& Note) = 0;
    // A block of a listing shown line by line.
    virtual void TransferLines(const char* Data, size_t Len) = 0;
    // The data connection could not be made; Text says why.
    virtual void TransferNoConnection(const std::string& Text) = 0;
    // A passive upload's connection stands: its command may go out.
    virtual void TransferConnected() = 0;
    // An active upload's connection stands after the server allowed it:
    // the first block goes out from the message loop.
    virtual void TransferStartSending() = 0;
    // The data connection closed with Error: the data side is over.
    virtual void TransferClosed(uint16_t Error) = 0;

protected:
    ~TFtpTransferHost() = default;
};

enum TTransferKind : uint8_t { tkNone, tkReceive, tkSend };

enum TDataPhase : uint8_t {
    dpIdle,          // no data connection
    dpListening,     // active: waiting for the server to connect
    dpConnecting,    // passive: the connect is under way
    dpParked,        // it stands, but no transfer step has taken it yet
    dpParkedClosed,  // it closed before a transfer step took it
    dpOpen,          // it carries the transfer (an upload waits for AllowSending)
    dpSending,       // the upload goes out block by block
    dpDrained,       // the whole file went out and the end of the data with it
    dpClosing,       // we close it: what follows is not the peer's doing
    dpClosed,        // closed: the data side of the transfer is over
};

class TFtpTransfer {
public:
    // Large blocks keep the number of socket calls and messages low, which
    // under Wine are round trips to its server (blocks of 64 KiB gave a third
    // of the rate, 256 KiB two thirds of these). A block is also the unit of
    // progress and how far an abort may lag. A download holds up to
    // TFtpFileWriter::BlockCount blocks while the disk catches up, an upload one.
    static constexpr int ReceiveBlock = 1048576;
    static constexpr int SendBlock = 1048576;

    TFtpTransfer(TWSocket& Data, TFtpTransferHost& Host);

    TDataPhase Phase() const { return phase_; }
    TTransferKind Kind() const { return kind_; }
    bool Closed() const { return phase_ == dpClosed; }
    int64_t BytesMoved() const { return bytesMoved_; }
    uint32_t StartTick() const { return startTick_; }
    void MarkStart();

    // Resets whatever connection there was; the next transfer starts afresh.
    void Reset();
    // Active mode: listens on a port the system picks and returns it. Only a
    // connection from Peer (network order) is taken; others are turned away.
    uint16_t Listen(uint32_t Peer);
    // The transfer step: what it moves, from or to which file.
    void BeginReceive(std::unique_ptr<TStream> File, bool ShowLines);
    void BeginSend(std::unique_ptr<TStream> File, int64_t Remaining);
    // Active mode: a connection the server made before the step ran is taken now.
    void TakeParked();
    // Passive mode: connects to Addr:Port for the transfer begun; false when
    // that failed at once (the host has been told).
    bool Connect(const std::string& Addr, uint16_t Port);
    // The server said 125 or 150: the upload may start.
    void AllowSending();
    // The next block of an upload (also after the socket's queue emptied).
    void SendNext(uint16_t Error);
    // Abort, time-out and failures: the connection is reset at once and the file let go.
    void Abort();
    void DropFile();

private:
    void Accept();
    bool FromPeer(TSocket h) const;
    void WidenBuffers();
    void Park();
    void Take();
    void Connected(uint16_t Error);
    void DataClosed(uint16_t Error);
    // One block: bytes received, 0 when the transfer stopped or ended, -1 when nothing waits.
    int ReceiveOne();
    void EndOfData();
    void Fail(const std::string& Note);
    // A download's file fell short: the transfer fails, and says so once.
    void WriteFailed(bool Closing);

    TWSocket& data_;
    TFtpTransferHost& host_;
    TDataPhase phase_ = dpIdle;
    TTransferKind kind_ = tkNone;
    uint32_t peer_ = 0;
    uint16_t parkedError_ = 0;
    std::unique_ptr<TStream> file_;             // an upload's file
    std::unique_ptr<TFtpFileWriter> writer_;    // a download's file
    bool writeFailTold_ = false;
    bool showLines_ = false;
    bool passive_ = false;
    bool sendAllowed_ = false;  // the server's 150 may come before the connection stands
    int64_t remaining_ = 0;     // bytes an upload still has to read from its file
    int64_t bytesMoved_ = 0;
    uint32_t startTick_ = 0;
    std::vector<char> block_;  // an upload's block; a listing shown without a file
};
