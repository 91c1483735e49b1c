// Small value types shared by the editor's data objects. No platform headers.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>

// Platform colour value 0x00BBGGRR; 0x80000000 + index names a system colour.
using TColor = int32_t;

// A 256-bit set: characters of a character set, scanner states or token numbers.
struct TSet256 {
    uint8_t Bits[32] = {};

    bool Has(uint8_t c) const { return (Bits[c >> 3] >> (c & 7)) & 1; }
    void Include(uint8_t c) { Bits[c >> 3] |= static_cast<uint8_t>(1u << (c & 7)); }
    void Exclude(uint8_t c) { Bits[c >> 3] &= static_cast<uint8_t>(~(1u << (c & 7))); }
    void Clear() { memset(Bits, 0, sizeof Bits); }
    bool Empty() const {
        for (uint8_t b : Bits)
            if (b) return false;
        return true;
    }
    // True when the two sets share at least one member.
    bool Meets(const TSet256& o) const {
        for (int i = 0; i < 32; i++)
            if (Bits[i] & o.Bits[i]) return true;
        return false;
    }
    TSet256& operator|=(const TSet256& o) {
        for (int i = 0; i < 32; i++) Bits[i] |= o.Bits[i];
        return *this;
    }
    bool operator==(const TSet256& o) const { return memcmp(Bits, o.Bits, sizeof Bits) == 0; }
    bool operator!=(const TSet256& o) const { return !(*this == o); }

    static TSet256 Of(std::initializer_list<int> members) {
        TSet256 s;
        for (int m : members) s.Include(static_cast<uint8_t>(m));
        return s;
    }
    static TSet256 All() {
        TSet256 s;
        memset(s.Bits, 0xFF, sizeof s.Bits);
        return s;
    }
};

using TCharSet = TSet256;
using TStateSet = TSet256;
