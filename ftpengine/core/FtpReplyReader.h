// Cuts the bytes of the control connection into reply lines. No platform headers.
#pragma once

#include <cstddef>
#include <string>

// A line ends at the first LF; a CR right before it is dropped. Bytes are
// searched by length, so a NUL inside a line is kept. A line longer than
// MaxLine is handed out cut at MaxLine and the rest of it, up to its LF, is
// dropped: an over-long line must not end the session.
class TFtpReplyReader {
public:
    static constexpr size_t MaxLine = 4096;

    // Appends received bytes.
    void Append(const char* Data, size_t Count);
    // Takes the next complete line; false when none is ready yet.
    bool NextLine(std::string& Line);
    // Bytes held that are not yet part of a handed-out line.
    size_t Pending() const { return buf_.size() - start_; }
    void Clear();

private:
    std::string buf_;
    size_t start_ = 0;       // first byte not yet handed out
    bool skipping_ = false;  // dropping the tail of an over-long line
};

// Two servers answer with the first digit of the code missing; put it back.
std::string RepairReplyLine(const std::string& Line);
