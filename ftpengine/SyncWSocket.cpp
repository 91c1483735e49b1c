#include "SyncWSocket.h"

#include "Application.h"

TCustomSyncWSocket::TCustomSyncWSocket(TComponent* AOwner) : TCustomLineWSocket(AOwner) {}

TCustomSyncWSocket::~TCustomSyncWSocket() { BeginDestroy(); }

int TCustomSyncWSocket::Wait(bool& Flag) {
    DWORD start = GetTickCount();
    while (!Flag) {
        if (Application->Terminated()) return WaitTimedOut;
        DWORD wait = 50;
        if (FTimeout > 0) {
            DWORD elapsed = GetTickCount() - start;
            if (elapsed >= static_cast<DWORD>(FTimeout)) return WaitTimedOut;
            wait = std::min<DWORD>(wait, static_cast<DWORD>(FTimeout) - elapsed);
        }
        if (!PumpMessages(wait) && !Flag) return WaitTimedOut;
    }
    return 0;
}

int TCustomSyncWSocket::Synchronize(const std::function<void()>& Proc, bool& Flag) {
    Flag = false;
    if (Proc) Proc();
    return Wait(Flag);
}

TWSocket::TWSocket(TComponent* AOwner) : TCustomSyncWSocket(AOwner) {}

TWSocket::~TWSocket() { BeginDestroy(); }
