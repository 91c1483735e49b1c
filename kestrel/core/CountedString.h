// CountedString: a 32-bit little-endian count of UTF-16 code units, then
// exactly that many units (little-endian), no terminator.
#pragma once

#include <cstdio>
#include <string>

// Writes s up to its first NUL unit. False when the stream took fewer bytes.
bool WriteCountedString(std::FILE* f, const std::u16string& s);

// Reads one record into s, cut at its first NUL unit. False (s empty) when
// the count or the units cannot all be read: the count is checked against
// what the stream really holds before more than one chunk is reserved, so a
// count of 0xFFFFFFFF or one beyond the end allocates nothing large.
bool ReadCountedString(std::FILE* f, std::u16string& s);
