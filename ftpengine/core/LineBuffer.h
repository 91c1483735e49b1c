// Bytes received in line mode but not yet delivered, and where the next line
// ends. No platform headers.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Where the first line of the buffer ends.
struct TLineCut {
    size_t Length = 0;     // bytes of the line, terminator included; 0: no line yet
    bool TooLong = false;  // the line is cut at the limit, its end is still to come
};

class TLineBuffer {
public:
    size_t Length() const { return end_ - start_; }
    const char* Data() const { return buf_.data() + start_; }

    // Room for Count more bytes at the end; Commit says how many were filled.
    char* Reserve(size_t Count);
    void Commit(size_t Count);
    void Append(const char* Data, size_t Count);

    // Copies up to Count bytes from the front into Dest and drops them.
    size_t Take(char* Dest, size_t Count);
    void Drop(size_t Count);
    // Empties the buffer and gives its memory back.
    void Clear();

    // The first line whose terminator starts at or after From (a terminator
    // split between two reads is found when From backs up by its length).
    // A line longer than Limit comes as a piece of Limit bytes with TooLong set;
    // Limit 0 or less means no limit. An empty LineEnd finds no line.
    TLineCut Cut(const std::string& LineEnd, size_t From, long Limit) const;

private:
    std::vector<char> buf_;
    size_t start_ = 0;  // bytes before start_ were taken already
    size_t end_ = 0;
};
