// Plain (not regular-expression) find over the editor's text stream: a
// Boyer-Moore skip search forward or backward, with or without case, optionally
// for whole words; and the small byte helpers the editor shares.
// No platform headers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "EdStream.h"

// Skip tables, kept between searches and rebuilt when the pattern changes.
struct TSearchTables {
    std::string Upper;    // the pattern upper-cased
    std::string Pattern;  // the pattern as given
    uint8_t ForwardExact[256] = {};
    uint8_t BackwardExact[256] = {};
    uint8_t ForwardFolded[256] = {};
    uint8_t BackwardFolded[256] = {};
    bool Built = false;
};

// The editor's word tests; the defaults when a member is unset.
struct TWordTests {
    std::function<bool(uint8_t)> StartsWord;  // default: A-Z a-z _
    std::function<bool(uint8_t)> IsInWord;    // default: A-Z a-z 0-9 _ ' -
};
bool DefaultCharStartsWord(uint8_t c);
bool DefaultCharIsInWord(uint8_t c);

void BuildSearchTables(TSearchTables& tables, const std::string& pattern);

// Start position of the match, or lastPos + 1 when there is none. lastPos is
// the last character position of the text. Forward searches start at startPos;
// backward ones find the last match that ends at or before startPos.
int32_t FindText(const TWordTests* words, TEdStream& stream, int32_t lastPos, TSearchTables& tables,
                 bool wholeWord, bool matchCase, bool backward, int32_t startPos, const std::string& pattern);

bool SameBytes(const void* a, const void* b, int n);
uint8_t LowerAscii(uint8_t c);
inline int32_t Difference(int32_t a, int32_t b) { return b - a; }
