// The socket's core: life cycle, properties, errors and events, the window's
// messages, connect, listen, accept, close. Sending and receiving are in
// WSocketData.cpp, name lookups in WSocketLookup.cpp.
#include "WSocket.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "Application.h"
#include "HiddenWindow.h"
#include "WSocketWinsock.h"

namespace {

int g_socketCount = 0;
bool g_winsockStarted = false;

}  // namespace

void WSocketStartWinsock() {
    if (g_winsockStarted) return;
    WSADATA data;
    int r = WSAStartup(MAKEWORD(1, 1), &data);
    if (r != 0) throw ESocketException(Format("%s: WSAStartup error #%d", "wsock32.dll", r));
    g_winsockStarted = true;
}

namespace {

void StopWinsock() {
    if (!g_winsockStarted) return;
    WSACleanup();
    g_winsockStarted = false;
}

struct TWinsockFinalizer {
    ~TWinsockFinalizer() { StopWinsock(); }
} g_winsockFinalizer;

constexpr long kSocketEvents = FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE;

}  // namespace

bool ProcessSocketMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Not ours to swallow: the thread's own loop must see it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

// ---------------------------------------------------------------- life cycle

TCustomWSocket::TCustomWSocket(TComponent* AOwner) : TComponent(AOwner) {
    WSocketStartWinsock();
    ++g_socketCount;
    try {
        FWindow = std::make_unique<THiddenWindow>(
            "XSocketWindowClass", [this](UINT Msg, WPARAM wParam, LPARAM lParam, LRESULT& Result) {
                if (Destroying()) return false;
                return WndProc(Msg, wParam, lParam, Result);
            });
    } catch (...) {
        if (--g_socketCount == 0) StopWinsock();
        throw;
    }
    ResetToDefaults();
}

TCustomWSocket::~TCustomWSocket() {
    BeginDestroy();
    try {
        CancelLookup();
    } catch (...) {
    }
    if (FHSocket != INVALID_SOCKET || FState != wsClosed) {
        try {
            InternalClose(true, 0);
        } catch (...) {
        }
        if (FHSocket != INVALID_SOCKET) closesocket(FHSocket);
    }
    FBufList.clear();
    FWindow.reset();
    if (--g_socketCount == 0) StopWinsock();
}

HWND TCustomWSocket::Handle() const { return FWindow ? FWindow->Handle() : nullptr; }

void TCustomWSocket::ResetToDefaults() {
    std::memset(&FSin, 0, sizeof FSin);
    FSin.sin_family = AF_INET;
    FAddrAssigned = false;
    FPortAssigned = false;
    FAddrResolved = false;
    FPortResolved = false;
    FProtoResolved = false;
    FProtoStr = "tcp";
    FProtoAssigned = true;
    FProto = IPPROTO_TCP;
    FType = SOCK_STREAM;
    FLingerOnOff = wsLingerOn;
    FLingerTimeout = 0;
    FHSocket = INVALID_SOCKET;
    FState = wsClosed;
    FReadCount = 0;
    DeleteBufferedData();
    FPaused = false;
    FCloseReported = false;
    FFlushTimeout = 60;
}

// ---------------------------------------------------------------- properties

bool TCustomWSocket::SetTextProperty(std::string& Field, bool& Assigned, bool& Resolved, const std::string& Value,
                                     const char* Name) {
    std::string v = Trim(Value);
    if (Assigned && v == Field) return false;
    if (FState != wsClosed) {
        HandleError(std::string("Cannot change ") + Name + " if not closed");
        return false;
    }
    Field = v;
    Resolved = false;
    Assigned = !v.empty();
    return true;
}

void TCustomWSocket::SetAddr(const std::string& Value) {
    SetTextProperty(FAddrStr, FAddrAssigned, FAddrResolved, Value, "Addr");
}

void TCustomWSocket::SetPort(const std::string& Value) {
    SetTextProperty(FPortStr, FPortAssigned, FPortResolved, Value, "Port");
}

void TCustomWSocket::SetProto(const std::string& Value) {
    SetTextProperty(FProtoStr, FProtoAssigned, FProtoResolved, Value, "Proto");
}

void TCustomWSocket::SetSendFlags(TSocketSendFlags Value) {
    if (Value != wsSendNormal && Value != wsSendUrgent) {
        HandleError("Invalid SendFlags");
        return;
    }
    FSendFlags = Value;
}

int TCustomWSocket::RcvdCount() {
    if (FHSocket == INVALID_SOCKET) return 0;
    u_long n = 0;
    if (ioctlsocket(FHSocket, FIONREAD, &n) == SOCKET_ERROR) {
        SocketError("ioctlSocket");
        return -1;
    }
    return static_cast<int>(n);
}

// ---------------------------------------------------------------- errors and events

void TCustomWSocket::HandleError(const std::string& Msg) {
    if (OnError) {
        TriggerError();
        return;
    }
    throw ESocketException(Msg);
}

void TCustomWSocket::SocketError(const std::string& Where, int ErrCode) {
    int n = ErrCode >= 0 ? ErrCode : WSAGetLastError();
    std::string text = "Error " + std::to_string(n) + " in function " + Where + "\r\n" + WSocketGetErrorText(n);
    // The connection is gone: close at once, and tell the owner once. A listening
    // socket stays: such an error of Accept is about the incoming connection.
    if ((n == WSAECONNRESET || n == WSAENOTCONN) && FState != wsListening)
        InternalClose(false, static_cast<uint16_t>(n));
    FLastError = n;
    HandleError(text);
}

bool TCustomWSocket::TriggerDataAvailable(uint16_t Error) {
    if (!OnDataAvailable || Destroying()) return false;
    OnDataAvailable(this, Error);
    return true;
}

void TCustomWSocket::TriggerSessionAvailable(uint16_t Error) {
    if (OnSessionAvailable && !Destroying()) OnSessionAvailable(this, Error);
}

void TCustomWSocket::TriggerSessionConnected(uint16_t Error) {
    if (OnSessionConnected && !Destroying()) OnSessionConnected(this, Error);
}

void TCustomWSocket::TriggerSessionClosed(uint16_t Error) {
    if (OnSessionClosed && !Destroying()) OnSessionClosed(this, Error);
}

void TCustomWSocket::TriggerDataSent(uint16_t Error) {
    if (OnDataSent && !Destroying()) OnDataSent(this, Error);
}

void TCustomWSocket::TriggerChangeState(TSocketState OldState, TSocketState NewState) {
    if (OnChangeState && !Destroying()) OnChangeState(this, OldState, NewState);
}

void TCustomWSocket::TriggerDnsLookupDone(uint16_t Error) {
    if (OnDnsLookupDone && !Destroying()) OnDnsLookupDone(this, Error);
}

void TCustomWSocket::TriggerError() {
    if (OnError && !Destroying()) OnError(this);
}

void TCustomWSocket::ChangeState(TSocketState NewState) {
    TSocketState old = FState;
    FState = NewState;
    TriggerChangeState(old, NewState);
}

// ---------------------------------------------------------------- messages

bool TCustomWSocket::PostToSelf(UINT Msg, WPARAM wParam, LPARAM lParam) {
    return PostMessageA(Handle(), Msg, wParam, lParam) != 0;
}

bool TCustomWSocket::PumpMessages(DWORD WaitMs) {
    MsgWaitForMultipleObjectsEx(0, nullptr, WaitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (FMultiThreaded) return ProcessSocketMessages();
    Application->ProcessMessages();
    return !Application->Terminated();
}

void TCustomWSocket::PurgeNotifications(TSocket Closed) {
    // Notifications still queued for the closed handle must go: a new socket
    // may get the same value. Those for another handle stay, in order: an
    // accepted socket reports through this window before Dup takes it over.
    MSG msg;
    std::vector<MSG> keep;
    while (PeekMessageA(&msg, Handle(), WM_SOCKET_NOTIFY, WM_SOCKET_NOTIFY, PM_REMOVE))
        if (static_cast<TSocket>(msg.wParam) != Closed) keep.push_back(msg);
    for (const MSG& m : keep) PostMessageA(Handle(), m.message, m.wParam, m.lParam);
}

bool TCustomWSocket::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam, LRESULT& Result) {
    Result = 0;
    switch (Msg) {
    case WM_SOCKET_NOTIFY:
        HandleSelect(wParam, lParam);
        return true;
    case WM_SOCKET_HOST_BY_NAME:
    case WM_SOCKET_HOST_BY_ADDR:
        HandleLookupDone(Msg, wParam, lParam);
        return true;
    default:
        return false;
    }
}

void TCustomWSocket::HandleSelect(WPARAM wParam, LPARAM lParam) {
    TSocket h = static_cast<TSocket>(wParam);
    if (h == INVALID_SOCKET || h != FHSocket || FPaused) return;
    WORD events = WSAGETSELECTEVENT(lParam);
    uint16_t error = WSAGETSELECTERROR(lParam);
    // Handlers may close the socket (or open another); stop as soon as it is not this one.
    auto gone = [&] { return FHSocket != h; };

    if (events & FD_CONNECT) {
        ChangeState(wsConnected);
        TriggerSessionConnected(error);
        if (error != 0 && !gone() && FState != wsClosed) Close();
        if (gone()) return;
    }
    if (events & FD_READ) {
        ReceiveLoop(error);
        if (gone()) return;
    }
    if (events & FD_WRITE) {
        TryToSend();
        if (gone()) return;
        if (FAllSent) TriggerDataSent(error);
        if (gone()) return;
    }
    if (events & FD_ACCEPT) {
        TriggerSessionAvailable(error);
        if (gone()) return;
    }
    if ((events & FD_CLOSE) && FState != wsConnecting) {
        ReceiveLoop(0);
        if (gone()) return;
        if (!FCloseReported) {
            FCloseReported = true;
            TriggerSessionClosed(error);
        }
        if (!gone() && FState != wsClosed) Close();
    }
}


// ---------------------------------------------------------------- connect, listen, accept

void TCustomWSocket::CloseHandleQuietly() {
    if (FHSocket != INVALID_SOCKET) {
        closesocket(FHSocket);
        PurgeNotifications(FHSocket);
        FHSocket = INVALID_SOCKET;
    }
    if (FState != wsClosed) ChangeState(wsClosed);
}

bool TCustomWSocket::ApplyLinger() {
    if (FLingerOnOff == wsLingerNoSet) return true;
    if (FHSocket == INVALID_SOCKET) {
        HandleError("Cannot set linger option at this time");
        return false;
    }
    linger l;
    l.l_onoff = FLingerOnOff == wsLingerOn ? 1 : 0;
    l.l_linger = static_cast<u_short>(FLingerTimeout);
    if (setsockopt(FHSocket, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&l), sizeof l) != 0) {
        SocketError("setsockopt(SO_LINGER)");
        return false;
    }
    return true;
}

void TCustomWSocket::SetLingerOption() { ApplyLinger(); }

bool TCustomWSocket::ResolveAll(const char* ErrorPrefix) {
    try {
        if (!FProtoResolved) {
            FProto = WSocketResolveProto(FProtoStr);
            FType = FProto == IPPROTO_UDP ? SOCK_DGRAM : SOCK_STREAM;
            FProtoResolved = true;
        }
        if (!FPortResolved) {
            FSin.sin_port = htons(WSocketResolvePort(FPortStr, FProtoStr));
            FPortResolved = true;
        }
        if (!FAddrResolved) {
            FSin.sin_addr.s_addr = WSocketResolveHost(FAddrStr);
            FAddrResolved = true;
        }
    } catch (const Exception& e) {
        HandleError(ErrorPrefix + e.Message());
        return false;
    }
    FSin.sin_family = AF_INET;
    return true;
}

bool TCustomWSocket::BindSocket() {
    sockaddr_in local;
    std::memset(&local, 0, sizeof local);
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = INADDR_ANY;
    if (bind(FHSocket, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        HandleError(Format("winsock.bind failed, error #%d", WSAGetLastError()));
        return false;
    }
    int len = sizeof local;
    if (getsockname(FHSocket, reinterpret_cast<sockaddr*>(&local), &len) != 0) {
        HandleError(Format("winsock.getsockname failed, error #%d", WSAGetLastError()));
        return false;
    }
    return true;
}

void TCustomWSocket::Connect() {
    if (FHSocket != INVALID_SOCKET && FState != wsClosed) {
        HandleError("Connect: Socket already in use");
        return;
    }
    if (!FPortAssigned) {
        HandleError("Connect: No Port Specified");
        return;
    }
    if (!FAddrAssigned) {
        HandleError("Connect: No IP Address Specified");
        return;
    }
    if (!FProtoAssigned) {
        HandleError("Connect: No Protocol Specified");
        return;
    }
    if (!ResolveAll("connect: ")) return;
    DeleteBufferedData();

    FHSocket = socket(AF_INET, FType, FProto);
    if (FHSocket == INVALID_SOCKET) {
        SocketError("Connect (socket)");
        return;
    }
    ChangeState(wsOpened);

    // A connect that fails half-way gives its handle back before it reports.
    auto fail = [this](const char* Where) {
        int e = WSAGetLastError();
        CloseHandleQuietly();
        SocketError(Where, e);
    };
    try {
        BOOL on = TRUE;
        if (FType == SOCK_DGRAM) {
            if (!BindSocket()) {
                CloseHandleQuietly();
                return;
            }
            if (FSin.sin_addr.s_addr == INADDR_BROADCAST &&
                setsockopt(FHSocket, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on), sizeof on) != 0)
                return fail("setsockopt(SO_BROADCAST)");
        } else {
            if (!ApplyLinger()) {
                CloseHandleQuietly();
                return;
            }
            if (setsockopt(FHSocket, SOL_SOCKET, SO_KEEPALIVE, reinterpret_cast<const char*>(&on), sizeof on) != 0)
                return fail("setsockopt(SO_KEEPALIVE)");
            if (setsockopt(FHSocket, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on), sizeof on) != 0)
                return fail("setsockopt(SO_REUSEADDR)");
        }
        if (WSAAsyncSelect(FHSocket, Handle(), WM_SOCKET_NOTIFY, kSocketEvents | FD_ACCEPT) != 0)
            return fail("WSAAsyncSelect");
    } catch (...) {
        CloseHandleQuietly();
        throw;
    }

    if (FType == SOCK_DGRAM) {
        ChangeState(wsConnected);
        TriggerSessionConnected(0);
        return;
    }
    if (connect(FHSocket, reinterpret_cast<sockaddr*>(&FSin), sizeof FSin) == 0 ||
        WSAGetLastError() == WSAEWOULDBLOCK)
        ChangeState(wsConnecting);
    else
        fail("Connect");
}

void TCustomWSocket::Listen() {
    if (FHSocket != INVALID_SOCKET && FState != wsClosed) {
        SocketError("listen: socket already in use", WSAEINVAL);
        return;
    }
    if (!FPortAssigned) {
        SocketError("listen: port not assigned", WSAEINVAL);
        return;
    }
    if (!FProtoAssigned) {
        SocketError("listen: protocol not assigned", WSAEINVAL);
        return;
    }
    if (!FAddrAssigned) {
        SocketError("listen: address not assigned", WSAEINVAL);
        return;
    }
    if (!ResolveAll("listen: ")) return;

    FHSocket = socket(AF_INET, FType, FProto);
    if (FHSocket == INVALID_SOCKET) {
        SocketError("socket");
        return;
    }
    auto fail = [this](const char* Where) {
        int e = WSAGetLastError();
        CloseHandleQuietly();
        SocketError(Where, e);
    };
    if (bind(FHSocket, reinterpret_cast<sockaddr*>(&FSin), sizeof FSin) != 0) return fail("Bind");
    ChangeState(wsBound);
    TSocket h = FHSocket;
    if (FType == SOCK_DGRAM) {
        ChangeState(wsListening);
        ChangeState(wsConnected);
        TriggerSessionConnected(0);
        if (FHSocket != h) return;
    } else {
        if (listen(FHSocket, 5) != 0) return fail("Listen");
        ChangeState(wsListening);
    }
    if (WSAAsyncSelect(FHSocket, Handle(), WM_SOCKET_NOTIFY, FD_READ | FD_WRITE | FD_ACCEPT | FD_CLOSE) != 0)
        fail("WSAASyncSelect");
}

TSocket TCustomWSocket::Accept() {
    if (FState != wsListening) {
        SocketError("not a listening socket", WSAEINVAL);
        return INVALID_SOCKET;
    }
    int len = sizeof FSin;
    TSocket h = accept(FHSocket, reinterpret_cast<sockaddr*>(&FSin), &len);
    if (h == INVALID_SOCKET) {
        SocketError("Accept");
        return INVALID_SOCKET;
    }
    return h;
}

void TCustomWSocket::Dup(TSocket NewHSocket) {
    if (NewHSocket == 0 || NewHSocket == INVALID_SOCKET) {
        SocketError("Dup", WSAEINVAL);
        return;
    }
    if (FState != wsClosed) {
        if (FHSocket != INVALID_SOCKET) {
            WSAAsyncSelect(FHSocket, Handle(), 0, 0);
            if (closesocket(FHSocket) != 0) {
                SocketError("Dup (closesocket)");
                return;
            }
            PurgeNotifications(FHSocket);
            FHSocket = INVALID_SOCKET;
        }
        ChangeState(wsClosed);
    }
    FHSocket = NewHSocket;
    FType = SOCK_STREAM;
    FCloseReported = false;
    FPaused = false;
    DeleteBufferedData();
    if (!ApplyLinger()) return;
    if (WSAAsyncSelect(FHSocket, Handle(), WM_SOCKET_NOTIFY, kSocketEvents) != 0) {
        SocketError("WSAAsyncSelect");
        return;
    }
    ChangeState(wsConnected);
}

// ---------------------------------------------------------------- close

void TCustomWSocket::Close() {
    // What the owner queued is part of the conversation: send it before the end.
    if (FHSocket != INVALID_SOCKET && FState == wsConnected && !FAllSent)
        FlushFor(FFlushTimeout > 0 ? static_cast<DWORD>(FFlushTimeout) * 1000 : 0);
    InternalClose(true, 0);
}

void TCustomWSocket::Abort() {
    CancelLookup();
    DeleteBufferedData();
    if (FState == wsConnected && FType == SOCK_STREAM && FHSocket != INVALID_SOCKET) {
        // Linger on with no time: the close resets the connection.
        linger l;
        l.l_onoff = 1;
        l.l_linger = 0;
        setsockopt(FHSocket, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&l), sizeof l);
    }
    InternalClose(false, 0);
}

void TCustomWSocket::InternalClose(bool Shut, uint16_t Error) {
    if (FHSocket == INVALID_SOCKET) {
        if (FState != wsClosed) {
            ChangeState(wsClosed);
            try {
                ResetToDefaults();
            } catch (...) {
            }
        }
        return;
    }
    if (FState == wsClosed) return;

    if (Shut) {
        shutdown(FHSocket, SD_SEND);
        // Linger on with no time would reset the connection and throw away
        // what the system still holds; a graceful close delivers it.
        if (FType == SOCK_STREAM && FLingerOnOff == wsLingerOn && FLingerTimeout == 0) {
            linger l;
            l.l_onoff = 0;
            l.l_linger = 0;
            setsockopt(FHSocket, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&l), sizeof l);
        }
    }
    WSAAsyncSelect(FHSocket, Handle(), 0, 0);
    DWORD start = GetTickCount();
    DWORD limit = (static_cast<DWORD>(std::max(FLingerTimeout, 0)) + 1) * 1000;
    for (;;) {
        if (closesocket(FHSocket) == 0) break;
        int e = WSAGetLastError();
        if (e == WSANOTINITIALISED) break;
        if (e != WSAEWOULDBLOCK) {
            SocketError("Disconnect (closesocket)", e);
            return;
        }
        if (GetTickCount() - start > limit || !PumpMessages(10)) {
            // The linger time is over: give up on a graceful end.
            linger l;
            l.l_onoff = 1;
            l.l_linger = 0;
            setsockopt(FHSocket, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&l), sizeof l);
            closesocket(FHSocket);
            break;
        }
    }
    PurgeNotifications(FHSocket);
    FHSocket = INVALID_SOCKET;
    ChangeState(wsClosed);
    if (!Destroying() && !FCloseReported) {
        FCloseReported = true;
        TriggerSessionClosed(Error);
    }
    // A handler that already opened the socket again keeps its new connection.
    if (FHSocket == INVALID_SOCKET && FState == wsClosed) {
        try {
            ResetToDefaults();
        } catch (...) {
        }
    }
}

void TCustomWSocket::Shutdown(int How) {
    if (FHSocket != INVALID_SOCKET) shutdown(FHSocket, How);
}

void TCustomWSocket::WaitForClose() {
    while (FHSocket != INVALID_SOCKET && FState != wsClosed) {
        if (!PumpMessages(50)) break;
        if (FHSocket == INVALID_SOCKET) break;
        if (RcvdCount() > 0) TriggerDataAvailable(0);
        if (FHSocket == INVALID_SOCKET) break;
        char c;
        if (RawReceive(&c, 0, 0) < 0 && WSAGetLastError() != WSAEWOULDBLOCK) break;
    }
}


// ---------------------------------------------------------------- addresses

std::string TCustomWSocket::PeerAddressText() {
    if (FState != wsConnected) return "error";
    sockaddr_in a;
    if (PeerAddress(a) != 0) {
        SocketError("GetPeerName");
        return "error";
    }
    return WSocketDottedText(a.sin_addr.s_addr);
}

int TCustomWSocket::PeerAddress(sockaddr_in& Address) {
    std::memset(&Address, 0, sizeof Address);
    if (FState != wsConnected) return SOCKET_ERROR;
    int len = sizeof Address;
    return getpeername(FHSocket, reinterpret_cast<sockaddr*>(&Address), &len);
}

int TCustomWSocket::LocalAddress(sockaddr_in& Address) {
    std::memset(&Address, 0, sizeof Address);
    int len = sizeof Address;
    return getsockname(FHSocket, reinterpret_cast<sockaddr*>(&Address), &len);
}

std::string TCustomWSocket::LocalPortText() {
    if (FState != wsBound && FState != wsConnected && FState != wsListening) return "error";
    sockaddr_in a;
    if (LocalAddress(a) != 0) return "error";
    return std::to_string(ntohs(a.sin_port));
}

// ---------------------------------------------------------------- pause

void TCustomWSocket::Pause() {
    if (FHSocket == INVALID_SOCKET) return;
    FPaused = true;
    if (WSAAsyncSelect(FHSocket, Handle(), 0, 0) != 0) SocketError("WSAAsyncSelect");
}

void TCustomWSocket::Resume() {
    if (FHSocket == INVALID_SOCKET) return;
    FPaused = false;
    long events = kSocketEvents | (FState == wsListening ? FD_ACCEPT : 0);
    if (WSAAsyncSelect(FHSocket, Handle(), WM_SOCKET_NOTIFY, events) != 0) SocketError("WSAAsyncSelect");
}
