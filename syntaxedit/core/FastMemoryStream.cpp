#include "FastMemoryStream.h"

#include <algorithm>
#include <cstring>

#include "SysUtils.h"

TFastMemoryStream::TFastMemoryStream(const char* buffer)
    : buffer_(buffer ? buffer : ""), size_(static_cast<int64_t>(strlen(buffer_))) {}

int32_t TFastMemoryStream::Read(void* Buffer, int32_t Count) {
    if (Count <= 0 || pos_ >= size_) return 0;
    int64_t n = std::min<int64_t>(Count, size_ - pos_);
    memcpy(Buffer, buffer_ + pos_, static_cast<size_t>(n));
    pos_ += n;
    return static_cast<int32_t>(n);
}

int32_t TFastMemoryStream::Write(const void*, int32_t) { throw EStreamError("Cannot write to a read-only stream"); }

int64_t TFastMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    int64_t base = Origin == soBeginning ? 0 : Origin == soCurrent ? pos_ : size_;
    pos_ = std::max<int64_t>(0, std::min<int64_t>(base + Offset, size_));
    return pos_;
}
