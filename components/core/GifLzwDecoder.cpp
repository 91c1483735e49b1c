#include "components/core/GifLzwDecoder.h"

#include <cstring>
#include <vector>

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
      columns_(Pixels.Columns()), rows_(Pixels.Rows()),
      total_(static_cast<uint32_t>(static_cast<size_t>(Pixels.Columns()) * static_cast<size_t>(Pixels.Rows()))) {
    if (CodeSize < 2 || CodeSize > 9) throw EGifException("Bad code Size");
    clearCode_ = 1 << CodeSize;
    endCode_ = clearCode_ + 1;
    ResetTable();
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

// The new entry is the previous string plus the byte that follows it in the
// output, so it is simply one byte longer at the previous string's place.
void TGifLzwDecoder::AddEntry(uint32_t Offset, uint32_t Length) {
    offset_[nextCode_] = Offset;
    length_[nextCode_] = static_cast<uint16_t>(Length);
    ++nextCode_;
    if (nextCode_ == (1 << width_)) {
        if (width_ < 12)
            ++width_;
        else
            state_ = lsTableFull;  // a deferred clear: go on at 12 bits without new entries
    }
}

// Writes Code's string (cut at the end of the image); gives its length.
uint32_t TGifLzwDecoder::Emit(int Code) {
    if (Code < clearCode_) {
        if (written_ < total_) out_[written_++] = static_cast<uint8_t>(Code);
        return 1;
    }
    uint32_t len = length_[Code];
    uint32_t n = len < total_ - written_ ? len : total_ - written_;
    const uint8_t* src = out_ + offset_[Code];
    uint8_t* dst = out_ + written_;
    if (n > 16 && src + n <= dst) {
        std::memcpy(dst, src, n);
    } else {
        // The string of the code equal to the next free one overlaps itself.
        for (uint32_t i = 0; i < n; ++i) dst[i] = src[i];
    }
    written_ += n;
    return len;
}

void TGifLzwDecoder::ReportRows() {
    int done = static_cast<int>(written_ / static_cast<uint32_t>(columns_));
    for (; rowsReported_ < done; ++rowsReported_) {
        ProgressHook(static_cast<float>(reportRow_ + 1) / static_cast<float>(rows_));
        reportRow_ = interlaced_ ? NextInterlacedRow(reportRow_, rows_, reportPass_) : reportRow_ + 1;
    }
}

void TGifLzwDecoder::StoreInterlaced(const uint8_t* Linear) {
    int pass = 1;
    for (int k = 0, row = 0; k < rows_ && row < rows_; ++k, row = NextInterlacedRow(row, rows_, pass))
        std::memcpy(pixels_.Data() + static_cast<size_t>(row) * columns_, Linear + static_cast<size_t>(k) * columns_,
                    static_cast<size_t>(columns_));
}

void TGifLzwDecoder::Decode() {
    std::vector<uint8_t> linear;
    if (interlaced_) linear.assign(total_, 0);
    out_ = interlaced_ ? linear.data() : pixels_.Data();
    const bool report = ProgressHook && rows_ >= 201 && columns_ > 0;
    uint32_t prevAt = 0, prevLen = 0;
    int code = 0;
    // Codes are read up to the end code: those after the last row are still
    // checked, but what they stand for is dropped.
    while (ReadCode(code)) {
        if (code == clearCode_) {
            ResetTable();
            state_ = lsAfterClear;
            continue;
        }
        if (code == endCode_) {
            if (state_ == lsAfterClear) throw EGifException("Bad code");
            break;
        }
        uint32_t at = written_;
        if (state_ == lsFirstCode || state_ == lsAfterClear) {
            // Data that starts without a clear code starts as after one.
            prevLen = Emit(code >= nextCode_ ? 0 : code);
            state_ = lsGrowing;
        } else {
            if (code > nextCode_) throw EGifException("Bad code");
            if (state_ == lsGrowing) AddEntry(prevAt, prevLen + 1);
            prevLen = Emit(code);
        }
        prevAt = at;
        if (report) ReportRows();
    }
    // A row cut short by the end of the data stays 0.
    if (written_ < total_ && columns_ > 0) {
        uint32_t rowStart = written_ - written_ % static_cast<uint32_t>(columns_);
        std::memset(out_ + rowStart, 0, written_ - rowStart);
    }
    if (interlaced_) StoreInterlaced(linear.data());
}
