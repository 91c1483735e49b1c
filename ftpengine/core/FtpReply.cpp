#include "FtpReply.h"

#include <cstdio>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Reads blanks, an optional sign and digits from Line at i; i ends after them.
int64_t ReadNumber(const std::string& Line, size_t& i) {
    while (i < Line.size() && IsBlank(Line[i])) ++i;
    bool neg = false;
    if (i < Line.size() && (Line[i] == '-' || Line[i] == '+')) {
        neg = Line[i] == '-';
        ++i;
    }
    int64_t v = 0;
    const int64_t cap = INT64_MAX / 10 - 10;
    while (i < Line.size() && IsDigit(Line[i])) {
        if (v < cap) v = v * 10 + (Line[i] - '0');
        ++i;
    }
    return neg ? -v : v;
}

// Index just after the leading code of the line.
size_t AfterCode(const std::string& Line) {
    size_t i = 0;
    ReadNumber(Line, i);
    return i;
}

}  // namespace

bool IsContinuationLine(const std::string& Line) {
    if (Line.empty() || !IsDigit(Line[0])) return true;
    size_t i = 0;
    while (i < Line.size() && IsDigit(Line[i])) ++i;
    return i < Line.size() && Line[i] == '-';
}

int32_t ReplyCode(const std::string& Line) {
    size_t i = 0;
    int64_t v = ReadNumber(Line, i);
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

int64_t ReplyNumberAfterCode(const std::string& Line) {
    size_t i = AfterCode(Line);
    return ReadNumber(Line, i);
}

bool CodeAccepted(int32_t Code, const int32_t* AcceptCodes) {
    if (!AcceptCodes || AcceptCodes[0] == 0) return Code < 500;
    for (int i = 0; i < 15 && AcceptCodes[i] != 0; ++i)
        if (AcceptCodes[i] == Code) return true;
    return false;
}

std::string ParseDirResult(const std::string& Line) {
    size_t i = AfterCode(Line);
    while (i < Line.size() && IsBlank(Line[i])) ++i;
    std::string dir;
    if (i >= Line.size() || Line[i] != '"') return dir;
    for (++i; i < Line.size(); ++i) {
        if (Line[i] == '"') {
            if (i + 1 < Line.size() && Line[i + 1] == '"') {
                dir += '"';
                ++i;
            } else {
                break;
            }
        } else {
            dir += Line[i];
        }
    }
    return dir;
}

std::string TransferStatisticsText(int64_t Bytes, uint32_t ElapsedMs) {
    char buf[128];
    snprintf(buf, sizeof buf, "%lld bytes received/sent in %u seconds", static_cast<long long>(Bytes),
             ElapsedMs / 1000);
    std::string s = buf;
    if (ElapsedMs != 0) {
        int64_t rate = Bytes < 32768 ? Bytes * 1000 / ElapsedMs : Bytes / ElapsedMs * 1000;
        snprintf(buf, sizeof buf, " (%lld Bytes/sec)", static_cast<long long>(rate));
        s += buf;
    }
    return s;
}

int64_t AnnouncedSize(const std::string& Line) {
    int64_t found = -1;
    for (size_t open = Line.find('('); open != std::string::npos; open = Line.find('(', open + 1)) {
        size_t i = open + 1;
        int64_t n = 0;
        size_t digits = 0;
        while (i < Line.size() && Line[i] >= '0' && Line[i] <= '9' && digits < 18) {
            n = n * 10 + (Line[i] - '0');
            ++i;
            ++digits;
        }
        if (digits == 0 || (i < Line.size() && Line[i] >= '0' && Line[i] <= '9')) continue;
        if (Line.compare(i, 7, " bytes)") == 0) found = n;
    }
    return found;
}
