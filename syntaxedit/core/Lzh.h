// The LZH method of the compressor: LZSS over a 4096-byte ring buffer with a
// binary-tree match search; literals and match lengths in an adaptive Huffman
// code, match positions in a fixed prefix code. No header of its own: the
// container writes the magic and the size. No platform headers.
#pragma once

#include <cstdint>

#include "SysUtils.h"

class ElzhException : public Exception {
public:
    using Exception::Exception;
};

class TLzhSource {
public:
    virtual ~TLzhSource() = default;
    virtual int GetByte() = 0;  // -1 at the end of the input
    // Called when the decoder needs a byte the input does not have.
    [[noreturn]] virtual void InputExhausted() = 0;
};

class TLzhSink {
public:
    virtual ~TLzhSink() = default;
    virtual void PutByte(uint8_t b) = 0;
};

// ElzhException "LZH : Cannot get memory for dictionary tables" when the
// tables cannot be had.
void LzhEncode(TLzhSource& in, TLzhSink& out);
// Decodes until at least size bytes came out (a final match may run past it:
// the container compares the counts). Bits are read only as needed; when the
// input ends first, in.InputExhausted() is called.
void LzhDecode(TLzhSource& in, TLzhSink& out, uint32_t size);
