// Packs a file or a stream into a self-describing compressed container and
// unpacks it: "WRZL" + size + KH blocks (fast LZ with runs), or "!HZL" + size
// + an LZH bit stream (slower, stronger). No platform headers.
#pragma once

#include <cstdint>
#include <string>

#include "Lzh.h"
#include "Stream.h"

class ECompressorException : public Exception {
public:
    using Exception::Exception;
};

class ECompressorKHCompressor : public Exception {
public:
    using Exception::Exception;
};

class TCompressor : public TObject {
public:
    enum : uint8_t { cmLZH = 0, cmKH = 1, cmAuto = 2 };
    static const int kBlockSize = 32768;
    static const int kBufferSize = kBlockSize + 16;

    // Input and output files (UseStreams false) or streams (UseStreams true;
    // not owned). In stream mode the input is read from its position to its
    // end and the output written at the output's position.
    std::string InputFileName, OutputFileName;
    uint8_t Method = cmKH;
    bool UseStreams = false;
    TStream* InputStream = nullptr;
    TStream* OutputStream = nullptr;
    int32_t AdvisePercent = 40;

    // Bytes written, header included. Failures raise ECompressorException (a
    // failed file output is deleted).
    int64_t Compress();
    // Bytes written; equal to the size in the header or the call fails.
    int64_t Decompress();
    // True when KH is the better method for the input; below 3 blocks of input
    // it is false and Method becomes LZH.
    bool Advise();
};

// One KH block of n (at most 32768) input bytes into out (room for
// TCompressor::kBufferSize bytes); returns its length. Falls back to a stored
// block (128 and the bytes) when compressing does not pay.
int KHCompressBlock(const uint8_t* in, int n, uint8_t* out);
// Decodes one block into out (room for 32768 bytes); returns the byte count,
// or -1 for a block that refers before its start or produces more than 32768
// bytes.
int KHDecompressBlock(const uint8_t* data, int length, uint8_t* out);
