// The socket's data: the send queue and its blocks, sending and flushing,
// receiving, and the pass that hands incoming data to the owner.
#include <algorithm>

#include "WSocket.h"

namespace {

// Errors of send that mean the connection is gone.
bool IsConnectionLoss(int e) {
    return e == WSAEINVAL || e == WSAENOTSOCK || e == WSAECONNRESET || e == WSAENOTCONN ||
           e == WSAECONNABORTED || e == WSAESHUTDOWN || e == WSAENETRESET;
}

}  // namespace

// ---------------------------------------------------------------- sending

void TCustomWSocket::DeleteBufferedData() {
    FBufList.clear();
    FAllSent = true;
}

void TCustomWSocket::PutDataInBlockBuffer(const char* Data, int Len) {
    if (Len >= kLargeSend) {
        // One block of its own: it leaves in one call instead of dozens.
        if (!FBufList.empty() && FBufList.back()->WrCount() == 0) {
            if (FBufList.back()->Size() >= Len) {
                FBufList.back()->Write(Data, Len);
                return;
            }
            FBufList.pop_back();
        }
        FBufList.push_back(std::make_unique<TBuffer>(Len));
        FBufList.back()->Write(Data, Len);
        return;
    }
    while (Len > 0) {
        if (FBufList.empty() || FBufList.back()->WrCount() >= FBufList.back()->Size())
            FBufList.push_back(std::make_unique<TBuffer>(TBuffer::DefaultSize));
        int n = FBufList.back()->Write(Data, Len);
        Data += n;
        Len -= n;
    }
}

int TCustomWSocket::RawSend(const char* Data, int Len) {
    int flags = FSendFlags == wsSendUrgent ? MSG_OOB : 0;
    if (FType == SOCK_DGRAM)
        return sendto(FHSocket, Data, Len, flags, reinterpret_cast<const sockaddr*>(&FSin), sizeof FSin);
    return send(FHSocket, Data, Len, flags);
}

void TCustomWSocket::TryToSend() {
    if (FHSocket == INVALID_SOCKET) return;
    for (;;) {
        if (FBufList.empty()) {
            FAllSent = true;
            return;
        }
        TBuffer& block = *FBufList.front();
        int len = 0;
        const char* data = block.Peek(len);
        if (len <= 0) {
            if (FBufList.size() > 1) {
                FBufList.pop_front();
                continue;
            }
            FAllSent = true;  // the last block stays for the next bytes
            return;
        }
        int r = RawSend(data, len);
        if (r > 0) {
            // Also after a partial send: the next try either sends more or
            // reports would-block, which brings the next write notification.
            block.Remove(r);
            continue;
        }
        if (r == 0) return;
        SendFailed(WSAGetLastError());
        return;
    }
}

void TCustomWSocket::SendFailed(int Error) {
    if (Error == WSAEWOULDBLOCK) return;  // the next write notification goes on
    if (IsConnectionLoss(Error)) {
        FLastError = Error;
        InternalClose(false, static_cast<uint16_t>(Error));
        return;
    }
    SocketError("TryToSend failed", Error);
}

bool TCustomWSocket::QueueEmpty() const {
    if (FBufList.empty()) return true;
    if (FBufList.size() > 1) return false;
    int len = 0;
    FBufList.front()->Peek(len);
    return len <= 0;
}

bool TCustomWSocket::FlushFor(DWORD Ms) {
    DWORD start = GetTickCount();
    while (FHSocket != INVALID_SOCKET && !FAllSent) {
        TryToSend();
        if (FHSocket == INVALID_SOCKET || FAllSent) break;
        DWORD elapsed = GetTickCount() - start;
        if (Ms != INFINITE && elapsed >= Ms) return false;
        DWORD wait = Ms == INFINITE ? 50 : std::min<DWORD>(50, Ms - elapsed);
        if (!PumpMessages(wait)) return false;
    }
    return FAllSent;
}

void TCustomWSocket::Flush() { FlushFor(INFINITE); }

int TCustomWSocket::Send(const void* Data, int Len) {
    if (FState != wsConnected) {
        SocketError("Send", WSAENOTCONN);
        return -1;
    }
    if (Len < 0 || !Data) Len = 0;
    FAllSent = false;
    const char* p = static_cast<const char*>(Data);
    int left = Len;
    if (FType != SOCK_STREAM || !QueueEmpty()) {
        PutDataInBlockBuffer(p, left);
        TryToSend();
    } else {
        // Nothing waits before these bytes: the system takes them from the
        // caller's buffer, and only what it leaves is copied into the queue
        // (the write notification sends it on).
        TSocket h = FHSocket;
        while (left > 0) {
            int r = RawSend(p, left);
            if (r > 0) {
                p += r;
                left -= r;
                continue;
            }
            int e = r < 0 ? WSAGetLastError() : 0;
            PutDataInBlockBuffer(p, left);
            if (r < 0) SendFailed(e);
            break;
        }
        if (FHSocket != h) return Len;  // the connection is gone, and the owner was told
        if (left == 0) FAllSent = true;
    }
    // OnDataSent must come from the message loop, not from inside Send.
    if (FAllSent && FHSocket != INVALID_SOCKET) PostToSelf(WM_SOCKET_NOTIFY, FHSocket, WSAMAKESELECTREPLY(FD_WRITE, 0));
    return Len;
}

int TCustomWSocket::SendText(const std::string& Str) { return Send(Str.data(), static_cast<int>(Str.size())); }

// ---------------------------------------------------------------- receiving

int TCustomWSocket::RawReceive(char* Buffer, int BufferSize, int Flags) {
    int r = recv(FHSocket, Buffer, BufferSize, Flags);
    if (r > 0) NoteTaken(r);
    return r;
}

int TCustomWSocket::Receive(void* Buffer, int BufferSize) {
    int r = RawReceive(static_cast<char*>(Buffer), BufferSize, 0);
    if (r < 0)
        FLastError = WSAGetLastError();
    else
        FReadCount += r;
    return r;
}

std::string TCustomWSocket::ReceiveText() {
    int n = RcvdCount();
    if (n <= 0) return "";
    std::string s(static_cast<size_t>(n), '\0');
    int r = Receive(&s[0], n);
    if (r <= 0) return "";
    s.resize(static_cast<size_t>(r));
    return s;
}

int TCustomWSocket::ReceiveDatagram(void* Buffer, int BufferSize, sockaddr_in& From) {
    int len = sizeof From;
    int r = recvfrom(FHSocket, static_cast<char*>(Buffer), BufferSize, 0, reinterpret_cast<sockaddr*>(&From), &len);
    if (r < 0) {
        FLastError = WSAGetLastError();
    } else {
        FReadCount += r;
        NoteTaken(r);
    }
    return r;
}

// ---------------------------------------------------------------- the receive pass

void TCustomWSocket::ReceiveLoop(uint16_t Error) {
    TSocket h = FHSocket;
    for (;;) {
        FLastError = 0;
        uint64_t before = FTakenBytes;
        if (!TriggerDataAvailable(Error)) {
            // Nobody wants the data: drop it, or the notifications never stop.
            char junk[1024];
            int r = RawReceive(junk, sizeof junk, 0);
            if (r < 0) {
                int e = WSAGetLastError();
                if (e != WSAEWOULDBLOCK) FLastError = e;
                break;
            }
            if (r == 0) break;
        }
        if (FHSocket != h) break;
        if (FLastError != 0) break;
        // A pass that took nothing would repeat for ever.
        if (FTakenBytes == before) break;
        if (RcvdCount() <= 0) break;
    }
}
