#include "CountedString.h"

#include <cstdint>
#include <vector>

bool WriteCountedString(std::FILE* f, const std::u16string& s) {
    size_t n = s.find(u'\0');
    if (n == std::u16string::npos) n = s.size();
    if (n > UINT32_MAX) return false;
    std::vector<unsigned char> bytes;
    bytes.reserve(4 + n * 2);
    uint32_t count = static_cast<uint32_t>(n);
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(count >> (8 * i)));
    for (size_t i = 0; i < n; ++i) {
        bytes.push_back(static_cast<unsigned char>(s[i] & 0xFF));
        bytes.push_back(static_cast<unsigned char>(s[i] >> 8));
    }
    return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
}

bool ReadCountedString(std::FILE* f, std::u16string& s) {
    s.clear();
    unsigned char head[4];
    if (std::fread(head, 1, 4, f) != 4) return false;
    uint32_t count = static_cast<uint32_t>(head[0]) | static_cast<uint32_t>(head[1]) << 8 |
                     static_cast<uint32_t>(head[2]) << 16 | static_cast<uint32_t>(head[3]) << 24;
    // Read in bounded chunks: memory grows only with units that really arrive.
    const size_t chunkUnits = 32 * 1024;
    std::vector<unsigned char> buf;
    std::u16string units;
    uint64_t left = count;
    while (left > 0) {
        size_t want = left < chunkUnits ? static_cast<size_t>(left) : chunkUnits;
        buf.resize(want * 2);
        if (std::fread(buf.data(), 2, want, f) != want) return false;
        for (size_t i = 0; i < want; ++i)
            units.push_back(static_cast<char16_t>(buf[2 * i] | buf[2 * i + 1] << 8));
        left -= want;
    }
    size_t nul = units.find(u'\0');
    if (nul != std::u16string::npos) units.resize(nul);
    s = std::move(units);
    return true;
}
