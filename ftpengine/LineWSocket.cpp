#include "LineWSocket.h"

#include <algorithm>

TCustomLineWSocket::TCustomLineWSocket(TComponent* AOwner) : TCustomSocksWSocket(AOwner) {}

TCustomLineWSocket::~TCustomLineWSocket() {
    BeginDestroy();
    FLineBuffer.Clear();
}

void TCustomLineWSocket::SetLineMode(bool Value) {
    if (Value == FLineMode) return;
    FLineMode = Value;
    if (!LineActive()) FPending = 0;
    PostDelivery();
}

void TCustomLineWSocket::SetLineEnd(const std::string& Value) {
    FLineEnd = Value;
    if (!LineActive()) FPending = 0;
}

void TCustomLineWSocket::PostDelivery() {
    // One delivery message at a time is enough: it looks at the whole buffer.
    if (FLineBuffer.Length() == 0 || FDeliveryPosted) return;
    FDeliveryPosted = PostToSelf(WM_SOCKET_LINE_DELIVERY, 0, 0);
}

void TCustomLineWSocket::TriggerLineTooLong() {
    if (OnLineTooLong && !Destroying()) OnLineTooLong(this);
}

int TCustomLineWSocket::RcvdCount() {
    if (LineActive()) {
        if (FPending > 0) return static_cast<int>(FPending);
    } else if (FLineBuffer.Length() > 0) {
        return static_cast<int>(FLineBuffer.Length());
    }
    return TCustomSocksWSocket::RcvdCount();
}

int TCustomLineWSocket::RawReceive(char* Buffer, int BufferSize, int Flags) {
    if (BufferSize > 0) {
        size_t n = 0;
        if (LineActive() && FPending > 0) {
            n = FLineBuffer.Take(Buffer, std::min(static_cast<size_t>(BufferSize), FPending));
            FPending -= n;
        } else if (!LineActive() && FLineBuffer.Length() > 0) {
            n = FLineBuffer.Take(Buffer, static_cast<size_t>(BufferSize));
        }
        if (n > 0) {
            NoteTaken(static_cast<int>(n));
            return static_cast<int>(n);
        }
    }
    return TCustomSocksWSocket::RawReceive(Buffer, BufferSize, Flags);
}

bool TCustomLineWSocket::DeliverPending() {
    while (FPending > 0 && LineActive()) {
        if (!OnDataAvailable || Destroying()) {
            // Nobody reads lines: drop this one rather than hold it for ever.
            FLineBuffer.Drop(FPending);
            FPending = 0;
            break;
        }
        uint64_t before = TakenBytes();
        TCustomSocksWSocket::TriggerDataAvailable(0);
        // A handler that reads nothing gets the line again with the next data.
        if (TakenBytes() == before) return false;
    }
    // Switched off half-way: the unread rest of the line stays at the front.
    if (!LineActive()) FPending = 0;
    return true;
}

void TCustomLineWSocket::DeliverLines(size_t From) {
    if (FPending > 0) {
        if (!DeliverPending()) return;
        From = 0;
    }
    while (LineActive() && FPending == 0) {
        TLineCut cut = FLineBuffer.Cut(FLineEnd, From, FLineLimit);
        if (cut.Length == 0) break;
        FPending = cut.Length;
        if (cut.TooLong) TriggerLineTooLong();
        if (!DeliverPending()) break;
        From = 0;
    }
}

void TCustomLineWSocket::DeliverBuffered() {
    // Line mode off: the handler takes the buffered bytes with Receive.
    while (!LineActive() && FLineBuffer.Length() > 0 && OnDataAvailable && !Destroying()) {
        uint64_t before = TakenBytes();
        TCustomSocksWSocket::TriggerDataAvailable(0);
        if (TakenBytes() == before) break;
    }
}

bool TCustomLineWSocket::TriggerDataAvailable(uint16_t Error) {
    if (!LineActive() || SocksNegotiating()) return TCustomSocksWSocket::TriggerDataAvailable(Error);

    // A line whose handler read nothing last time comes first.
    if (FPending > 0 && !DeliverPending()) return true;
    // Its handler may have switched line mode off: the next pass reads plainly.
    if (!LineActive()) return true;
    int n = TCustomSocksWSocket::RcvdCount();
    if (n <= 0) return true;
    size_t old = FLineBuffer.Length();
    char* dest = FLineBuffer.Reserve(static_cast<size_t>(n));
    int r = TCustomSocksWSocket::RawReceive(dest, n, 0);
    if (r <= 0) {
        FLineBuffer.Commit(0);
        if (r < 0) {
            int e = WSAGetLastError();
            if (e != WSAEWOULDBLOCK) FLastError = e;
        }
        return true;
    }
    FLineBuffer.Commit(static_cast<size_t>(r));
    // Back up so that a terminator split between two reads is found.
    DeliverLines(old > FLineEnd.size() ? old - FLineEnd.size() : 0);
    return true;
}

void TCustomLineWSocket::TriggerSessionClosed(uint16_t Error) {
    if (!Destroying() && FLineBuffer.Length() > 0) {
        if (LineActive()) {
            DeliverLines(0);
            // What is left has no terminator: it is the last line.
            if (LineActive() && FPending == 0 && FLineBuffer.Length() > 0) {
                FPending = FLineBuffer.Length();
                DeliverPending();
            }
        } else {
            DeliverBuffered();
        }
    }
    FLineBuffer.Clear();
    FPending = 0;
    TCustomSocksWSocket::TriggerSessionClosed(Error);
}

bool TCustomLineWSocket::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam, LRESULT& Result) {
    if (Msg != WM_SOCKET_LINE_DELIVERY) return TCustomSocksWSocket::WndProc(Msg, wParam, lParam, Result);
    Result = 0;
    FDeliveryPosted = false;
    if (LineActive())
        DeliverLines(0);
    else
        DeliverBuffered();
    return true;
}
