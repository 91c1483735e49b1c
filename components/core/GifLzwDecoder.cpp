#include "components/core/GifLzwDecoder.h"

#include <cstring>

#include "components/core/GifException.h"

TProgressHook ProgressHook = nullptr;

int NextInterlacedRow(int Row, int Height, int& Pass) {
    static const int kStep[5] = {0, 8, 8, 4, 2};
    static const int kStart[6] = {0, 0, 4, 2, 1, 0};
    if (Pass < 1 || Pass > 4) return Height;
    int next = Row + kStep[Pass];
    while (next >= Height) {
        if (++Pass > 4) return Height;
        next = kStart[Pass];
    }
    return next;
}

TGifLzwDecoder::TGifLzwDecoder(const uint8_t* Data, size_t Size, int CodeSize, bool Interlaced,
                               TByteArray2D& Pixels)
    : data_(Data), size_(Size), codeSize_(CodeSize), pixels_(Pixels), interlaced_(Interlaced),
      columns_(Pixels.Columns()), rows_(Pixels.Rows()) {
    if (CodeSize < 2 || CodeSize > 9) throw EGifException("Bad code Size");
    clearCode_ = 1 << CodeSize;
    endCode_ = clearCode_ + 1;
    for (int i = 0; i < clearCode_; ++i) {
        prefix_[i] = 0;
        suffix_[i] = static_cast<uint8_t>(i);
        first_[i] = static_cast<uint8_t>(i);
        length_[i] = 1;
    }
    ResetTable();
    done_ = columns_ == 0 || rows_ == 0;
    rowPtr_ = pixels_.Data();
}

void TGifLzwDecoder::ResetTable() {
    nextCode_ = endCode_ + 1;
    width_ = codeSize_ + 1;
    state_ = lsFirstCode;
}

bool TGifLzwDecoder::ReadCode(int& Code) {
    while (bitCount_ < width_) {
        if (pos_ >= size_) return false;
        bitBuf_ |= static_cast<uint64_t>(data_[pos_++]) << bitCount_;
        bitCount_ += 8;
    }
    Code = static_cast<int>(bitBuf_ & ((1u << width_) - 1));
    bitBuf_ >>= width_;
    bitCount_ -= width_;
    return true;
}

// A new entry: Prefix's string followed by the first byte of the code that
// comes next (for the code equal to nextCode_ that is Prefix's own first byte).
void TGifLzwDecoder::AddEntry(int Prefix, uint8_t Suffix) {
    prefix_[nextCode_] = static_cast<uint16_t>(Prefix);
    suffix_[nextCode_] = Suffix;
    first_[nextCode_] = first_[Prefix];
    length_[nextCode_] = static_cast<uint16_t>(length_[Prefix] + 1);
    ++nextCode_;
    if (nextCode_ == (1 << width_)) {
        if (width_ < 12)
            ++width_;
        else
            state_ = lsTableFull;  // a deferred clear: go on at 12 bits without new entries
    }
}

void TGifLzwDecoder::RowDone() {
    if (ProgressHook && rows_ >= 201) ProgressHook(static_cast<float>(row_ + 1) / static_cast<float>(rows_));
    row_ = interlaced_ ? NextInterlacedRow(row_, rows_, pass_) : row_ + 1;
    column_ = 0;
    if (row_ >= rows_) {
        done_ = true;  // whatever follows the last row is dropped
        return;
    }
    rowPtr_ = pixels_.Data() + static_cast<size_t>(row_) * static_cast<size_t>(columns_);
}

void TGifLzwDecoder::Output(int Code) {
    int len = length_[Code];
    if (column_ + len > columns_) {
        OutputSlow(Code);
        return;
    }
    // The string fits the row: write it backwards in place.
    uint8_t* p = rowPtr_ + column_ + len - 1;
    for (int i = 0; i < len; ++i) {
        *p-- = suffix_[Code];
        Code = prefix_[Code];
    }
    column_ += len;
    if (column_ == columns_) RowDone();
}

void TGifLzwDecoder::OutputSlow(int Code) {
    int len = length_[Code];
    if (len > kMaxCodes) throw EGifException("Bad code");
    for (int i = len - 1; i >= 0; --i) {
        stack_[i] = suffix_[Code];
        Code = prefix_[Code];
    }
    int at = 0;
    while (at < len && !done_) {
        int n = len - at;
        if (n > columns_ - column_) n = columns_ - column_;
        std::memcpy(rowPtr_ + column_, stack_ + at, static_cast<size_t>(n));
        at += n;
        column_ += n;
        if (column_ == columns_) RowDone();
    }
}

void TGifLzwDecoder::Decode() {
    int code = 0;
    while (!done_) {
        if (!ReadCode(code)) break;
        if (code == clearCode_) {
            ResetTable();
            state_ = lsAfterClear;
            continue;
        }
        if (code == endCode_) {
            if (state_ == lsAfterClear) throw EGifException("Bad code");
            break;
        }
        if (state_ == lsFirstCode || state_ == lsAfterClear) {
            // Data that starts without a clear code starts as after one.
            if (code >= nextCode_) code = 0;
            Output(code);
            prev_ = code;
            state_ = lsGrowing;
            continue;
        }
        if (code > nextCode_) throw EGifException("Bad code");
        if (state_ == lsGrowing) {
            // For the code equal to nextCode_ the new entry is the one it names.
            AddEntry(prev_, code == nextCode_ ? first_[prev_] : first_[code]);
        }
        Output(code);
        prev_ = code;
    }
    // A row cut short by the end of the data stays 0.
    if (!done_ && column_ > 0) std::memset(rowPtr_, 0, static_cast<size_t>(column_));
}
