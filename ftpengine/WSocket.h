// TCustomWSocket: a non-blocking IPv4 TCP/UDP socket driven by window messages.
//
// Each socket owns a hidden window of class "XSocketWindowClass". Windows Sockets
// posts its notifications there (message 1025: connect, read, write, accept,
// close) and the finished name lookups (1026 by name, 1027 by address); the
// socket turns them into events on the thread that created it. Send hands the
// bytes to the system at once when nothing is queued; what the system leaves
// waits in a queue of 1514-byte blocks (TBuffer; kLargeSend bytes or more get
// one block of their own) and leaves as fast as the network takes it, so Send
// never blocks.
//
// The class chain, each layer in its own header:
//   TCustomWSocket        this file
//   TCustomSocksWSocket   SocksWSocket.h  connect through a SOCKS 5 proxy
//   TCustomLineWSocket    LineWSocket.h   deliver incoming data line by line (message 1044)
//   TCustomSyncWSocket    SyncWSocket.h   wait on a flag set by an event handler
//   TWSocket              SyncWSocket.h   the published component: use this one
//
// Conventions (the same in every layer):
//   - A property X is a getter X() and, when writable, a setter SetX(v). Setters
//     that the socket refuses (Addr, Port, Proto, SocksServer, SocksPort while not
//     wsClosed) report through the error rule below.
//   - Events are public std::function fields named OnX, Sender first; an empty
//     one means no handler. They run from the hidden window's messages, except
//     where noted (OnSessionClosed runs inside Close and Abort; OnDnsLookupDone
//     inside DnsLookup for a dotted address; OnSessionConnected inside Connect for
//     UDP). No event is raised while the component is being destroyed.
//   - Errors of operations go through HandleError: OnError when it is set (Sender
//     only; the text is lost), else an ESocketException carrying the text.
//   - Ports are numbers in host byte order; raw addresses (sockaddr_in) are as
//     Winsock gives them.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>

#include "Component.h"
#include "StringList.h"
#include "SysUtils.h"
#include "core/Buffer.h"
#include "core/WSocketText.h"

class THiddenWindow;

using TSocket = SOCKET;

// A Send at least this long is queued as one block and sent in one call.
constexpr int kLargeSend = 8192;

// Private messages of the socket's hidden window.
enum : UINT {
    WM_SOCKET_NOTIFY = 1025,         // wParam handle, lParam events (low word) and error (high word)
    WM_SOCKET_HOST_BY_NAME = 1026,   // wParam lookup handle, lParam error in the high word
    WM_SOCKET_HOST_BY_ADDR = 1027,
    WM_SOCKET_LINE_DELIVERY = 1044,  // line layer: deliver buffered data again
};

enum TSocketState : uint8_t {
    wsInvalidState = 0,
    wsOpened = 1,
    wsBound = 2,
    wsConnecting = 3,
    wsConnected = 4,
    wsAccepting = 5,
    wsListening = 6,
    wsClosed = 7,
};

enum TSocketSendFlags { wsSendNormal = 0, wsSendUrgent = 1 };
enum TSocketLingerOnOff { wsLingerOff = 0, wsLingerOn = 1, wsLingerNoSet = 2 };

using TDataAvailable = std::function<void(TObject* Sender, uint16_t Error)>;
using TDataSent = std::function<void(TObject* Sender, uint16_t Error)>;
using TSessionClosed = std::function<void(TObject* Sender, uint16_t Error)>;
using TSessionAvailable = std::function<void(TObject* Sender, uint16_t Error)>;
using TSessionConnected = std::function<void(TObject* Sender, uint16_t Error)>;
using TDnsLookupDone = std::function<void(TObject* Sender, uint16_t Error)>;
using TChangeState = std::function<void(TObject* Sender, TSocketState OldState, TSocketState NewState)>;

class ESocketException : public Exception {
public:
    using Exception::Exception;
};

// Host name or dotted address to an IPv4 address in network byte order (a name
// is looked up, blocking). ESocketException when empty, too long or unknown.
uint32_t WSocketResolveHost(const std::string& InAddr);
// Decimal text or service name (looked up with Proto; none when empty) to a port
// in host byte order. ESocketException when empty, too long, above 65535 or unknown.
uint16_t WSocketResolvePort(const std::string& Port, const std::string& Proto);
// Decimal text or protocol name to a protocol number.
int WSocketResolveProto(const std::string& Proto);
// Removes, translates and dispatches every message waiting in the thread's queue.
// A quit message is put back and stops it: the result is then false.
bool ProcessSocketMessages();

class TCustomWSocket : public TComponent {
public:
    explicit TCustomWSocket(TComponent* AOwner = nullptr);
    ~TCustomWSocket() override;

    // ---- properties
    // Remote address (or local one, for Listen), port and protocol as text. The
    // setters trim; they work only in wsClosed, and setting the current value of
    // a given one does nothing. Every close makes Addr and Port "not given" again.
    const std::string& Addr() const { return FAddrStr; }
    void SetAddr(const std::string& Value);
    const std::string& Port() const { return FPortStr; }
    void SetPort(const std::string& Value);
    const std::string& Proto() const { return FProtoStr; }
    void SetProto(const std::string& Value);

    TSocketState State() const { return FState; }
    int LastError() const { return FLastError; }
    int ReadCount() const { return FReadCount; }     // bytes received so far
    virtual int RcvdCount();                         // bytes waiting; -1 on failure
    bool MultiThreaded() const { return FMultiThreaded; }
    void SetMultiThreaded(bool Value) { FMultiThreaded = Value; }
    // Seconds Close may spend sending what is still queued before it closes.
    int FlushTimeout() const { return FFlushTimeout; }
    void SetFlushTimeout(int Value) { FFlushTimeout = Value; }
    TSocketSendFlags SendFlags() const { return FSendFlags; }
    void SetSendFlags(TSocketSendFlags Value);
    TSocketLingerOnOff LingerOnOff() const { return FLingerOnOff; }
    void SetLingerOnOff(TSocketLingerOnOff Value) { FLingerOnOff = Value; }
    int LingerTimeout() const { return FLingerTimeout; }
    void SetLingerTimeout(int Value) { FLingerTimeout = Value; }
    const std::string& DnsResult() const { return FDnsResult; }
    const TStringList& DnsResultList() const { return FDnsResultList; }

    TSocket HSocket() const { return FHSocket; }  // INVALID_SOCKET when none
    HWND Handle() const;                          // the hidden window
    bool AllSent() const { return FAllSent; }     // the send queue is empty

    // ---- operations
    // Resolves (blocking for a name; use DnsLookup first to avoid that) and starts
    // the connect. OnSessionConnected(Error) ends it; after an error the socket
    // closes (OnSessionClosed follows). UDP is connected at once.
    virtual void Connect();
    // Sends what is still queued (up to FlushTimeout seconds), then closes
    // gracefully. OnSessionClosed(0) runs inside the call.
    virtual void Close();
    // Drops the queue and resets the connection.
    virtual void Abort();
    // Sends the whole queue, pumping messages; no time limit.
    virtual void Flush();
    // Pumps messages until the socket is closed.
    virtual void WaitForClose();
    // On Addr:Port (port "0": the system picks one, see LocalPortText);
    // OnSessionAvailable tells of each incoming connection.
    virtual void Listen();
    // The accepted handle, for Dup on another socket; INVALID_SOCKET on failure.
    virtual TSocket Accept();
    virtual int Receive(void* Buffer, int BufferSize);
    virtual std::string ReceiveText();
    virtual int ReceiveDatagram(void* Buffer, int BufferSize, sockaddr_in& From);
    // Queues the bytes; -1 when not connected. OnDataSent follows from the
    // message loop once the queue is empty.
    virtual int Send(const void* Data, int Len);
    virtual int SendText(const std::string& Str);
    // Name to DnsResult (first address) and DnsResultList (all), then
    // OnDnsLookupDone(Error). A new lookup or CancelLookup ends a pending one
    // with OnDnsLookupDone(10004).
    virtual void DnsLookup(const std::string& HostName);
    // Dotted address to its host name in DnsResult.
    virtual void AddressLookup(const std::string& HostAddr);
    virtual void CancelLookup();
    virtual std::string PeerAddressText();
    virtual int PeerAddress(sockaddr_in& Address);   // 0 or SOCKET_ERROR
    virtual std::string LocalPortText();
    virtual int LocalAddress(sockaddr_in& Address);  // 0 or SOCKET_ERROR
    // Takes over a handle (from Accept): linger applied, notifications asked, wsConnected.
    virtual void Dup(TSocket NewHSocket);
    virtual void Shutdown(int How);
    // No notifications until Resume (what arrives meanwhile waits).
    virtual void Pause();
    virtual void Resume();
    // Applies LingerOnOff and LingerTimeout to the open handle.
    void SetLingerOption();

    // ---- events
    TSessionAvailable OnSessionAvailable;
    TSessionConnected OnSessionConnected;
    TSessionClosed OnSessionClosed;
    TChangeState OnChangeState;
    TDataAvailable OnDataAvailable;
    TDataSent OnDataSent;        // also after the first write notification of a connection
    TNotifyEvent OnLineTooLong;  // raised by the line layer
    TDnsLookupDone OnDnsLookupDone;
    TNotifyEvent OnError;

protected:
    virtual bool WndProc(UINT Msg, WPARAM wParam, LPARAM lParam, LRESULT& Result);
    virtual void ResetToDefaults();
    virtual void InternalClose(bool Shut, uint16_t Error);
    virtual bool BindSocket();
    virtual int RawSend(const char* Data, int Len);
    virtual int RawReceive(char* Buffer, int BufferSize, int Flags);
    // The error rule: OnError when set, else ESocketException(Msg).
    virtual void HandleError(const std::string& Msg);
    // "Error n in function Where" with the text of n (WSAGetLastError when ErrCode is -1).
    void SocketError(const std::string& Where, int ErrCode = -1);

    // Return whether a handler took the data.
    virtual bool TriggerDataAvailable(uint16_t Error);
    virtual void TriggerSessionAvailable(uint16_t Error);
    virtual void TriggerSessionConnected(uint16_t Error);
    virtual void TriggerSessionClosed(uint16_t Error);
    virtual void TriggerDataSent(uint16_t Error);
    virtual void TriggerChangeState(TSocketState OldState, TSocketState NewState);
    virtual void TriggerDnsLookupDone(uint16_t Error);
    virtual void TriggerError();

    void ChangeState(TSocketState NewState);
    void TryToSend();
    void DeleteBufferedData();
    int SendQueueBlocks() const { return static_cast<int>(FBufList.size()); }
    bool PostToSelf(UINT Msg, WPARAM wParam, LPARAM lParam);
    // Waits a little for input and dispatches it (the own pump when MultiThreaded);
    // false once the application is terminating.
    bool PumpMessages(DWORD WaitMs);
    // Every layer counts here the bytes it hands out, so a pass that took
    // nothing can be told from one that made progress.
    void NoteTaken(int Count) { FTakenBytes += static_cast<uint64_t>(Count); }
    uint64_t TakenBytes() const { return FTakenBytes; }

    std::string FAddrStr, FPortStr, FProtoStr;
    bool FAddrAssigned = false, FPortAssigned = false, FProtoAssigned = true;
    bool FAddrResolved = false, FPortResolved = false, FProtoResolved = false;
    sockaddr_in FSin{};  // remote (or bound) address in network order
    int FProto = IPPROTO_TCP;
    int FType = SOCK_STREAM;
    TSocket FHSocket = INVALID_SOCKET;
    TSocketState FState = wsClosed;
    int FLastError = 0;
    int FReadCount = 0;
    bool FMultiThreaded = false;
    int FFlushTimeout = 60;
    TSocketSendFlags FSendFlags = wsSendNormal;
    TSocketLingerOnOff FLingerOnOff = wsLingerOn;
    int FLingerTimeout = 0;
    bool FAllSent = true;
    bool FPaused = false;
    bool FCloseReported = false;

private:
    void HandleSelect(WPARAM wParam, LPARAM lParam);
    void HandleLookupDone(UINT Msg, WPARAM wParam, LPARAM lParam);
    void ReceiveLoop(uint16_t Error);
    void PutDataInBlockBuffer(const char* Data, int Len);
    // A send that failed with Error: would-block waits, a lost connection closes, others raise.
    void SendFailed(int Error);
    bool QueueEmpty() const;
    bool FlushFor(DWORD Ms);
    void PurgeNotifications(TSocket Closed);
    void CloseHandleQuietly();
    // Refuses an invalid name (error, then OnDnsLookupDone 10022) or clears the way.
    bool BeginLookup(bool Valid);
    // Protocol, port and address from their texts, where not done yet; a
    // failure goes to HandleError with ErrorPrefix in front.
    bool ResolveAll(const char* ErrorPrefix);
    bool SetTextProperty(std::string& Field, bool& Assigned, bool& Resolved, const std::string& Value,
                         const char* Name);
    bool ApplyLinger();

    uint32_t FLookupAddr = 0;

    std::list<std::unique_ptr<TBuffer>> FBufList;
    uint64_t FTakenBytes = 0;
    std::string FDnsResult;
    TStringList FDnsResultList;
    HANDLE FDnsLookupHandle = nullptr;
    char FDnsLookupBuffer[MAXGETHOSTSTRUCT + 1] = {};
    std::unique_ptr<THiddenWindow> FWindow;
};
