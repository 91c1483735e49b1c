#include "LineBuffer.h"

#include <algorithm>
#include <cstring>

char* TLineBuffer::Reserve(size_t Count) {
    // Taken bytes are given back before the buffer grows.
    if (start_ > 0 && end_ + Count > buf_.size()) {
        std::memmove(buf_.data(), buf_.data() + start_, end_ - start_);
        end_ -= start_;
        start_ = 0;
    }
    if (end_ + Count > buf_.size()) buf_.resize(std::max(end_ + Count, buf_.size() * 2));
    return buf_.data() + end_;
}

void TLineBuffer::Commit(size_t Count) { end_ = std::min(end_ + Count, buf_.size()); }

void TLineBuffer::Append(const char* Data, size_t Count) {
    if (Count == 0) return;
    std::memcpy(Reserve(Count), Data, Count);
    Commit(Count);
}

size_t TLineBuffer::Take(char* Dest, size_t Count) {
    size_t n = std::min(Count, Length());
    if (n > 0) std::memcpy(Dest, Data(), n);
    Drop(n);
    return n;
}

void TLineBuffer::Drop(size_t Count) {
    start_ += std::min(Count, Length());
    if (start_ == end_) start_ = end_ = 0;
}

void TLineBuffer::Clear() {
    std::vector<char>().swap(buf_);
    start_ = end_ = 0;
}

TLineCut TLineBuffer::Cut(const std::string& LineEnd, size_t From, long Limit) const {
    TLineCut cut;
    size_t len = Length();
    if (LineEnd.empty() || len == 0) return cut;
    size_t limit = Limit > 0 ? static_cast<size_t>(Limit) : 0;
    size_t found = std::string::npos;
    if (From < len && LineEnd.size() <= len) {
        const char* first = Data() + From;
        const char* last = Data() + len;
        const char* p = std::search(first, last, LineEnd.begin(), LineEnd.end());
        if (p != last) found = static_cast<size_t>(p - Data());
    }
    if (found != std::string::npos) {
        cut.Length = found + LineEnd.size();
        if (limit && cut.Length > limit) {
            cut.Length = limit;
            cut.TooLong = true;
        }
    } else if (limit && len >= limit) {
        // Whatever the end turns out to be, the line will not fit.
        cut.Length = limit;
        cut.TooLong = true;
    }
    return cut;
}
