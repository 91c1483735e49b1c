#include "SocksWSocket.h"

#include <algorithm>
#include <cstring>

using namespace SocksProtocol;

TCustomSocksWSocket::TCustomSocksWSocket(TComponent* AOwner) : TCustomWSocket(AOwner) {}

void TCustomSocksWSocket::ResetToDefaults() {
    TCustomWSocket::ResetToDefaults();
    FSocksState = socksData;
    FSocksServer.clear();
    FSocksPort.clear();
    FSocksServerAssigned = false;
    FSocksPortAssigned = false;
    FRcvCnt = 0;
    FLeftCount = 0;
    FLeftPos = 0;
}

void TCustomSocksWSocket::SetSocksText(std::string& Field, bool& Assigned, const std::string& Value,
                                       const char* Name) {
    if (FState != wsClosed) {
        HandleError(std::string("Can't change socks ") + Name + " if not closed");
        return;
    }
    Field = Trim(Value);
    Assigned = !Field.empty();
}

void TCustomSocksWSocket::SetSocksServer(const std::string& Value) {
    SetSocksText(FSocksServer, FSocksServerAssigned, Value, "server");
}

void TCustomSocksWSocket::SetSocksPort(const std::string& Value) {
    SetSocksText(FSocksPort, FSocksPortAssigned, Value, "port");
}

void TCustomSocksWSocket::Listen() {
    if (FSocksServerAssigned) {
        HandleError("listening is not supported thru socks server");
        return;
    }
    TCustomWSocket::Listen();
}

void TCustomSocksWSocket::Connect() {
    // Without a proxy, and for the errors the plain connect reports itself.
    if (!FSocksServerAssigned || (FHSocket != INVALID_SOCKET && FState != wsClosed) || !FPortAssigned ||
        !FAddrAssigned || !FProtoAssigned) {
        TCustomWSocket::Connect();
        return;
    }
    if (LowerCase(FProtoStr) != "tcp") {
        HandleError("tcp is the only protocol supported thru socks server");
        return;
    }
    // Every length goes in one byte: refuse before anything is sent.
    std::string why = CheckRequestFields(FAddrStr, FSocksAuthentication == socksAuthenticateUsercode,
                                         FSocksUsercode, FSocksPassword);
    if (!why.empty()) {
        HandleError("connect: " + why);
        return;
    }
    try {
        FProto = IPPROTO_TCP;
        FType = SOCK_STREAM;
        FProtoResolved = true;
        FSin.sin_port = htons(WSocketResolvePort(FSocksPort, FProtoStr));
        FPortResolved = true;
        FSin.sin_addr.s_addr = WSocketResolveHost(FSocksServer);
        FAddrResolved = true;
        FSocksPortNum = WSocketResolvePort(FPortStr, FProtoStr);
    } catch (const Exception& e) {
        HandleError("connect: " + e.Message());
        return;
    }
    FSocksState = socksMethod;
    FRcvCnt = 0;
    FLeftCount = 0;
    try {
        TCustomWSocket::Connect();
    } catch (...) {
        if (FState == wsClosed) FSocksState = socksData;
        throw;
    }
    if (FState == wsClosed) FSocksState = socksData;
}

void TCustomSocksWSocket::TriggerSocksAuthState(TSocksAuthState AuthState) {
    if (OnSocksAuthState && !Destroying()) OnSocksAuthState(this, AuthState);
}

void TCustomSocksWSocket::SocksError(int Code, const std::string& Msg) {
    FSocksState = socksData;
    if (OnSocksError && !Destroying()) OnSocksError(this, Code, Msg);
    TCustomWSocket::TriggerSessionConnected(static_cast<uint16_t>(Code));
    InternalClose(true, static_cast<uint16_t>(Code));
}

void TCustomSocksWSocket::SocksSend(const std::string& Request) {
    int r = -1;
    try {
        r = Send(Request.data(), static_cast<int>(Request.size()));
    } catch (const std::exception&) {
        r = -1;
    }
    if (r >= 0 || FHSocket == INVALID_SOCKET || FSocksState == socksData) return;
    // A request that cannot go out would leave the connect waiting for ever.
    SocksError(FLastError != 0 ? FLastError : ErrInternal, "data send error");
}

void TCustomSocksWSocket::TriggerSessionConnected(uint16_t Error) {
    if (FSocksState != socksMethod) {
        TCustomWSocket::TriggerSessionConnected(Error);
        return;
    }
    TSocket h = FHSocket;
    if (OnSocksConnected && !Destroying()) OnSocksConnected(this, Error);
    if (Error != 0) {
        FSocksState = socksData;
        TCustomWSocket::TriggerSessionConnected(Error);
        return;
    }
    if (FHSocket != h || FSocksState != socksMethod) return;
    FSocksMethod = FSocksAuthentication == socksAuthenticateUsercode ? MethodUserPass : MethodNone;
    SocksSend(MethodRequest(FSocksMethod));
}

void TCustomSocksWSocket::SocksDoAuthenticate() {
    FSocksState = socksAuth;
    TriggerSocksAuthState(socksAuthStart);
    if (FSocksState != socksAuth) return;
    SocksSend(AuthRequest(FSocksUsercode, FSocksPassword));
}

void TCustomSocksWSocket::SocksDoConnect() {
    FSocksState = socksConnect;
    SocksSend(ConnectRequest(FAddrStr, FSocksPortNum));
}

bool TCustomSocksWSocket::TriggerDataAvailable(uint16_t Error) {
    if (FSocksState == socksData) return TCustomWSocket::TriggerDataAvailable(Error);
    if (Error != 0) {
        SocksError(Error, "data receive error");
        return true;
    }
    int room = static_cast<int>(sizeof FRcvBuf) - FRcvCnt;
    int r = TCustomWSocket::RawReceive(reinterpret_cast<char*>(FRcvBuf) + FRcvCnt, room, 0);
    if (r < 0) {
        int e = WSAGetLastError();
        if (e != WSAEWOULDBLOCK) SocksError(e, "data receive error");
        return true;
    }
    if (r == 0) {
        // The proxy closed before the dialogue ended.
        if (room > 0) SocksError(WSAECONNABORTED, "connection closed by the socks server");
        return true;
    }
    FRcvCnt += r;

    TCheck c;
    switch (FSocksState) {
    case socksMethod:
        c = CheckMethodReply(FRcvBuf, static_cast<size_t>(FRcvCnt), FSocksMethod);
        if (c.Verdict == TVerdict::NeedMore) return true;
        if (c.Verdict == TVerdict::Failed) break;
        FRcvCnt = 0;
        if (c.Method == MethodNone) {
            if (FSocksMethod == MethodUserPass) TriggerSocksAuthState(socksAuthNotRequired);
            if (FSocksState == socksMethod) SocksDoConnect();
        } else {
            SocksDoAuthenticate();
        }
        return true;
    case socksAuth:
        c = CheckAuthReply(FRcvBuf, static_cast<size_t>(FRcvCnt));
        if (c.Verdict == TVerdict::NeedMore) return true;
        if (c.Verdict == TVerdict::Failed) {
            TriggerSocksAuthState(socksAuthFailure);
            if (FSocksState == socksData) return true;
            break;
        }
        FRcvCnt = 0;
        TriggerSocksAuthState(socksAuthSuccess);
        if (FSocksState == socksAuth) SocksDoConnect();
        return true;
    case socksConnect: {
        c = CheckConnectReply(FRcvBuf, static_cast<size_t>(FRcvCnt));
        if (c.Verdict == TVerdict::NeedMore) return true;
        if (c.Verdict == TVerdict::Failed) break;
        FSocksState = socksData;
        // Target bytes that came in the same read wait here for Receive.
        FLeftPos = static_cast<int>(c.Length);
        FLeftCount = FRcvCnt - FLeftPos;
        FRcvCnt = 0;
        TSocket h = FHSocket;
        TriggerSessionConnected(0);
        if (FHSocket == h && FLeftCount > 0) TriggerDataAvailable(0);
        return true;
    }
    default:
        c.Error = ErrInternal;
        break;
    }
    SocksError(c.Error, ErrorMessage(c.Error, c.ReplyCode));
    return true;
}

void TCustomSocksWSocket::TriggerSessionClosed(uint16_t Error) {
    if (FSocksState != socksData && !Destroying()) {
        int phase = FSocksState;
        FSocksState = socksData;
        if (phase == socksAuth) TriggerSocksAuthState(socksAuthFailure);
        // A connection lost during the dialogue is a failed connect to the owner.
        if (Error != 0) {
            if (OnSocksError) OnSocksError(this, Error, WSocketGetErrorText(Error));
            TCustomWSocket::TriggerSessionConnected(Error);
        }
    }
    TCustomWSocket::TriggerSessionClosed(Error);
}

int TCustomSocksWSocket::RawReceive(char* Buffer, int BufferSize, int Flags) {
    if (FLeftCount > 0 && BufferSize > 0) {
        int n = std::min(BufferSize, FLeftCount);
        std::memcpy(Buffer, FRcvBuf + FLeftPos, static_cast<size_t>(n));
        FLeftPos += n;
        FLeftCount -= n;
        NoteTaken(n);
        return n;
    }
    return TCustomWSocket::RawReceive(Buffer, BufferSize, Flags);
}

int TCustomSocksWSocket::RcvdCount() {
    if (FLeftCount > 0) {
        int n = TCustomWSocket::RcvdCount();
        return FLeftCount + std::max(n, 0);
    }
    return TCustomWSocket::RcvdCount();
}
