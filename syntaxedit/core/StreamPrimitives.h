// Little-endian stream primitives that every stream form of the editor is built
// from. Readers raise the stream's read error at the end of data, and the
// checked readers refuse counts and lengths the remaining bytes cannot hold.
#pragma once

#include <cstdint>
#include <string>

#include "Stream.h"
#include "SyntaxMemoTypes.h"

void WriteByte(TStream& s, uint8_t b);
void WriteWord(TStream& s, uint16_t w);
void WriteInt(TStream& s, int32_t v);
void WriteSet(TStream& s, const TSet256& set);
// ESyntaxMemo when the text does not fit its length byte.
void WriteShortString(TStream& s, const std::string& text);
void WriteLongString(TStream& s, const std::string& text);

uint8_t ReadByte(TStream& s);
uint16_t ReadWord(TStream& s);
int32_t ReadInt(TStream& s);
TSet256 ReadSet(TStream& s);
std::string ReadShortString(TStream& s);
// ESyntaxMemo "Invalid string length in stream: %d" for a negative length or one
// longer than what is left of the stream.
std::string ReadLongString(TStream& s);

// Bytes left between the position and the end.
int64_t BytesLeft(TStream& s);
// Reads a count and checks it lies in 0..max and that at least count * minItemSize
// bytes remain; ESyntaxMemo "Invalid <what> count in stream: %d" otherwise.
int32_t ReadCount(TStream& s, int32_t max, int32_t minItemSize, const char* what);
