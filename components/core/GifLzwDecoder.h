// The variable-length LZW decoder of GIF image data (codes packed least
// significant bit first) and the interlaced row order. No platform headers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "components/core/ByteArray2D.h"

// The row after Row in an interlaced image of Height rows, moving Pass (1..4)
// on as passes run out; Height once every pass is done.
int NextInterlacedRow(int Row, int Height, int& Pass);

// Called with the fraction done while tall images decode; none by default.
using TProgressHook = void (*)(float Fraction);
extern TProgressHook ProgressHook;

class TGifLzwDecoder {
public:
    // EGifException "Bad code Size" unless CodeSize lies in 2..9.
    TGifLzwDecoder(const uint8_t* Data, size_t Size, int CodeSize, bool Interlaced, TByteArray2D& Pixels);

    // Fills the matrix; EGifException "Bad code" on a code the table does not
    // know. Running out of data ends quietly with the rows not reached left 0.
    void Decode();

private:
    enum TLzwState { lsFirstCode, lsAfterClear, lsGrowing, lsTableFull };
    static constexpr int kMaxCodes = 4096;

    bool ReadCode(int& Code);
    void ResetTable();
    void AddEntry(int Prefix, uint8_t Suffix);
    void Output(int Code);
    void OutputSlow(int Code);
    void RowDone();

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    uint64_t bitBuf_ = 0;
    int bitCount_ = 0;

    int codeSize_;
    int clearCode_;
    int endCode_;
    int nextCode_ = 0;
    int width_ = 0;
    int prev_ = 0;
    TLzwState state_ = lsFirstCode;

    TByteArray2D& pixels_;
    bool interlaced_;
    int columns_;
    int rows_;
    int row_ = 0;
    int column_ = 0;
    int pass_ = 1;
    bool done_ = false;
    uint8_t* rowPtr_ = nullptr;

    uint16_t prefix_[kMaxCodes];
    uint16_t length_[kMaxCodes];
    uint8_t suffix_[kMaxCodes];
    uint8_t first_[kMaxCodes];
    uint8_t stack_[kMaxCodes];
};
