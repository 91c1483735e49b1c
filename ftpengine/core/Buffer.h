// One block of a socket's send queue: the bytes put in and how many of them
// have been sent. No platform headers.
#pragma once

#include <vector>

class TBuffer {
public:
    static constexpr int DefaultSize = 1514;

    // A size of 0 or less gives DefaultSize.
    explicit TBuffer(int Size = 0);

    int Size() const { return static_cast<int>(buf_.size()); }
    // Keeps the bytes written, as far as they fit in the new size.
    void SetSize(int NewSize);

    // Copies as much of Data as fits after the bytes already written; returns the count.
    int Write(const void* Data, int Len);
    // The bytes not yet sent; Len receives their number.
    const char* Peek(int& Len) const;
    // Marks Len bytes as sent; once everything written is sent both counts go back to 0.
    void Remove(int Len);

    int WrCount() const { return wr_; }
    int RdCount() const { return rd_; }

private:
    std::vector<char> buf_;
    int wr_ = 0;
    int rd_ = 0;
};
