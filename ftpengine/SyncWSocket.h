// TCustomSyncWSocket: a blocking wait on a flag that an event handler sets,
// pumping messages meanwhile; and TWSocket, the published socket component
// (every layer: SOCKS 5, line mode, wait). Conventions: see WSocket.h.
#pragma once

#include <functional>

#include "LineWSocket.h"

class TCustomSyncWSocket : public TCustomLineWSocket {
public:
    explicit TCustomSyncWSocket(TComponent* AOwner = nullptr);
    ~TCustomSyncWSocket() override;

    enum : int { WaitTimedOut = 12001 };

    // Pumps messages (the own pump when MultiThreaded) until Flag is set: 0. Gives
    // WaitTimedOut when the application terminates or the wait time passes.
    int Wait(bool& Flag);
    // Clears Flag, runs Proc (when given), then waits on Flag.
    int Synchronize(const std::function<void()>& Proc, bool& Flag);

protected:
    int FTimeout = 0;  // milliseconds; 0 waits without limit
};

class TWSocket : public TCustomSyncWSocket {
public:
    explicit TWSocket(TComponent* AOwner = nullptr);
    ~TWSocket() override;
};
