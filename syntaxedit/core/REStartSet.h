// Which characters can start a match of a regular-expression program from a
// given node on: the search skips to them instead of trying every position,
// and a choice passes over alternatives that cannot start at the character in
// hand. No platform headers.
#pragma once

#include <cstdint>
#include <vector>

struct TREStart {
    uint8_t Bits[32] = {};
    // The part can match without taking a character: any position may start it.
    bool MatchesEmpty = false;
    // A line start that also matches at position 0 without a line break.
    bool AtTextStart = false;

    bool Has(uint8_t c) const { return (Bits[c >> 3] >> (c & 7)) & 1; }
    void Add(uint8_t c) { Bits[c >> 3] |= static_cast<uint8_t>(1u << (c & 7)); }
    int Count() const;
    // True when nothing can be skipped: every position may start a match.
    bool Anything() const { return MatchesEmpty || Count() == 256; }
    // c (at a position inside the text, not its first) can start it.
    bool Admits(uint8_t c) const { return MatchesEmpty || Has(c); }
};

class TREStartSets {
public:
    // program: magic byte, then nodes as TRECompiler makes them.
    explicit TREStartSets(const std::vector<uint8_t>& program);

    // What can start a match from node p on, the rest of the program included.
    // Anything for a program it cannot follow.
    TREStart From(int32_t p);
    // The set worked out for p by an earlier From, or null.
    const TREStart* Known(int32_t p) const;
    // What the second character of a match from node p on can be, for a
    // match that starts inside the text (not at its first position) and is
    // followed by at least one more character.
    TREStart SecondFrom(int32_t p);

private:
    TREStart Memo(int32_t p, bool second);
    TREStart Walk(int32_t p, bool second);
    bool Took(TREStart& s, int32_t p, int32_t next, bool second);
    void AddNode(TREStart& s, int32_t p) const;
    static TREStart Everything();

    const std::vector<uint8_t>& prog_;
    // Per program byte: entry in sets_, -1 none, -2 being worked out; one
    // index for first characters, one for second ones.
    std::vector<int32_t> index_[2];
    std::vector<TREStart> sets_;
};
