#include "Buffer.h"

#include <algorithm>
#include <cstring>

TBuffer::TBuffer(int Size) : buf_(static_cast<size_t>(Size > 0 ? Size : DefaultSize)) {}

void TBuffer::SetSize(int NewSize) {
    if (NewSize <= 0) NewSize = DefaultSize;
    buf_.resize(static_cast<size_t>(NewSize));
    wr_ = std::min(wr_, NewSize);
    rd_ = std::min(rd_, wr_);
}

int TBuffer::Write(const void* Data, int Len) {
    int n = std::min(Len, Size() - wr_);
    if (n <= 0) return 0;
    std::memcpy(buf_.data() + wr_, Data, static_cast<size_t>(n));
    wr_ += n;
    return n;
}

const char* TBuffer::Peek(int& Len) const {
    Len = wr_ - rd_;
    return buf_.data() + rd_;
}

void TBuffer::Remove(int Len) {
    if (Len <= 0) return;
    rd_ = std::min(rd_ + Len, wr_);
    if (rd_ == wr_) rd_ = wr_ = 0;
}
