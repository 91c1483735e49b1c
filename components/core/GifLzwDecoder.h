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

// Each table entry is kept as the place of its string in the output (every
// string is its predecessor's string, already written, plus one byte), so a
// code is copied from the output rather than walked through a prefix chain.
class TGifLzwDecoder {
public:
    // EGifException "Bad code Size" unless CodeSize lies in 2..9.
    TGifLzwDecoder(const uint8_t* Data, size_t Size, int CodeSize, bool Interlaced, TByteArray2D& Pixels);

    // Fills the matrix; EGifException "Bad code" on a code the table does not
    // know or an end code right after a clear code, also after the last row
    // (codes are read up to the end code; pixels past the last row are
    // dropped). Running out of data ends quietly with the rows not reached left 0.
    void Decode();

private:
    enum TLzwState { lsFirstCode, lsAfterClear, lsGrowing, lsTableFull };
    static constexpr int kMaxCodes = 4096;

    bool ReadCode(int& Code);
    void ResetTable();
    void AddEntry(uint32_t Offset, uint32_t Length);
    uint32_t Emit(int Code);
    void ReportRows();
    void StoreInterlaced(const uint8_t* Linear);

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
    TLzwState state_ = lsFirstCode;

    TByteArray2D& pixels_;
    bool interlaced_;
    int columns_;
    int rows_;
    uint8_t* out_ = nullptr;  // the decoded bytes in the order of the data
    uint32_t total_;
    uint32_t written_ = 0;
    int rowsReported_ = 0;
    int reportRow_ = 0;
    int reportPass_ = 1;

    uint32_t offset_[kMaxCodes];  // where the entry's string was written
    uint16_t length_[kMaxCodes];
};
