// A GIF colour table: a count and 256 RGB triples. No platform headers.
#pragma once

#include <cstdint>

struct TRGBTriple {
    uint8_t Red = 0;
    uint8_t Green = 0;
    uint8_t Blue = 0;
};

class TColorTable {
public:
    // Presets for 0 or 2 (black, white), 16 (the standard colours) and 256
    // (a grey ramp); any other count leaves every triple black.
    explicit TColorTable(int Count = 0);

    int Count() const { return count_; }
    void SetCount(int Count) { count_ = static_cast<uint16_t>(Count); }
    TRGBTriple& operator[](int i) { return colors_[i & 255]; }
    const TRGBTriple& operator[](int i) const { return colors_[i & 255]; }

private:
    uint16_t count_ = 0;
    TRGBTriple colors_[256];
};
