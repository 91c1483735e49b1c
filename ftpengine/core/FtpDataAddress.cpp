#include "FtpDataAddress.h"

#include <cstdio>

#include "FtpReply.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// One number 0..255 of one to three digits at i.
bool ReadByte(const std::string& s, size_t& i, int& out) {
    size_t start = i;
    int v = 0;
    while (i < s.size() && IsDigit(s[i]) && i - start < 3) v = v * 10 + (s[i++] - '0');
    if (i == start || (i < s.size() && IsDigit(s[i])) || v > 255) return false;
    out = v;
    return true;
}

bool ReadSix(const std::string& s, size_t i, int (&n)[6]) {
    for (int k = 0; k < 6; ++k) {
        if (k > 0) {
            while (i < s.size() && s[i] == ' ') ++i;
            if (i >= s.size() || s[i] != ',') return false;
            ++i;
            while (i < s.size() && s[i] == ' ') ++i;
        }
        if (!ReadByte(s, i, n[k])) return false;
    }
    return true;
}

}  // namespace

bool ParsePasvReply(const std::string& Line, TFtpDataAddress& Out) {
    if (IsContinuationLine(Line) || ReplyCode(Line) != 227) return false;
    size_t i = 0;
    while (i < Line.size() && IsDigit(Line[i])) ++i;  // past the code
    for (; i < Line.size(); ++i) {
        if (!IsDigit(Line[i]) || IsDigit(Line[i - 1])) continue;
        int n[6];
        if (!ReadSix(Line, i, n)) continue;
        int port = n[4] * 256 + n[5];
        if (port == 0) return false;
        for (int k = 0; k < 4; ++k) Out.Host[k] = static_cast<uint8_t>(n[k]);
        Out.Port = static_cast<uint16_t>(port);
        return true;
    }
    return false;
}

std::string FormatPortCommand(const TFtpDataAddress& Address) {
    char buf[64];
    snprintf(buf, sizeof buf, "PORT %u,%u,%u,%u,%u,%u", Address.Host[0], Address.Host[1], Address.Host[2],
             Address.Host[3], static_cast<unsigned>(Address.Port >> 8), static_cast<unsigned>(Address.Port & 0xFF));
    return buf;
}
