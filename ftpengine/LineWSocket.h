// TCustomLineWSocket: with LineMode on, incoming data is held back and handed
// out one line at a time: OnDataAvailable fires once per complete line (LineEnd
// included) and Receive returns only that line, in as many calls as the handler
// likes. A line longer than LineLimit raises OnLineTooLong and comes in pieces
// of LineLimit bytes. With LineMode off data passes straight through.
// Conventions: see WSocket.h.
#pragma once

#include "SocksWSocket.h"
#include "core/LineBuffer.h"

class TCustomLineWSocket : public TCustomSocksWSocket {
public:
    explicit TCustomLineWSocket(TComponent* AOwner = nullptr);
    ~TCustomLineWSocket() override;

    bool LineMode() const { return FLineMode; }
    // Buffered data is delivered again (message 1044) in the new mode.
    void SetLineMode(bool Value);
    // The terminator, any length; empty turns line mode off in effect. CR LF at start.
    const std::string& LineEnd() const { return FLineEnd; }
    void SetLineEnd(const std::string& Value);
    // Longest line in bytes, terminator included; 0 or less: no limit. 65536 at start.
    int LineLimit() const { return FLineLimit; }
    void SetLineLimit(int Value) { FLineLimit = Value; }

    // In line mode: what is left of the line being delivered.
    int RcvdCount() override;

protected:
    bool WndProc(UINT Msg, WPARAM wParam, LPARAM lParam, LRESULT& Result) override;
    bool TriggerDataAvailable(uint16_t Error) override;
    void TriggerSessionClosed(uint16_t Error) override;
    int RawReceive(char* Buffer, int BufferSize, int Flags) override;
    virtual void TriggerLineTooLong();

    size_t LineBufferLength() const { return FLineBuffer.Length(); }

private:
    bool LineActive() const { return FLineMode && !FLineEnd.empty(); }
    void DeliverLines(size_t From);
    bool DeliverPending();
    void DeliverBuffered();
    void PostDelivery();

    bool FLineMode = false;
    std::string FLineEnd = "\r\n";
    int FLineLimit = 65536;
    TLineBuffer FLineBuffer;
    size_t FPending = 0;  // bytes of the current line that Receive may still return
    bool FDeliveryPosted = false;
};
