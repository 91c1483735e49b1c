#include "FtpReplyReader.h"

#include <cstring>

void TFtpReplyReader::Append(const char* Data, size_t Count) {
    if (Count == 0) return;
    // Compact before growing so a long session does not keep handed-out bytes.
    if (start_ > 0 && start_ == buf_.size()) {
        buf_.clear();
        start_ = 0;
    } else if (start_ > MaxLine) {
        buf_.erase(0, start_);
        start_ = 0;
    }
    buf_.append(Data, Count);
}

bool TFtpReplyReader::NextLine(std::string& Line) {
    for (;;) {
        size_t avail = buf_.size() - start_;
        if (avail == 0) return false;
        const char* base = buf_.data() + start_;
        const void* lf = memchr(base, '\n', avail);
        if (lf) {
            size_t len = static_cast<size_t>(static_cast<const char*>(lf) - base);
            start_ += len + 1;
            if (skipping_) {
                skipping_ = false;
                continue;
            }
            if (len > 0 && base[len - 1] == '\r') --len;
            Line.assign(base, len < MaxLine ? len : MaxLine);
            return true;
        }
        if (skipping_) {
            start_ = buf_.size();
            return false;
        }
        // MaxLine bytes plus a CR may still be a whole line; more cannot.
        if (avail <= MaxLine + 1) return false;
        Line.assign(base, MaxLine);
        start_ = buf_.size();
        skipping_ = true;
        return true;
    }
}

void TFtpReplyReader::Clear() {
    buf_.clear();
    start_ = 0;
    skipping_ = false;
}

std::string RepairReplyLine(const std::string& Line) {
    if (Line.compare(0, 18, "31 Username set to") == 0) return "3" + Line;
    if (Line.compare(0, 18, "21-Please try agai") == 0) return "4" + Line;
    return Line;
}
