#include "StreamPrimitives.h"

#include "SyntaxMemoErrors.h"

void WriteByte(TStream& s, uint8_t b) { s.WriteBuffer(&b, 1); }

void WriteWord(TStream& s, uint16_t w) {
    uint8_t b[2] = {static_cast<uint8_t>(w), static_cast<uint8_t>(w >> 8)};
    s.WriteBuffer(b, 2);
}

void WriteInt(TStream& s, int32_t v) {
    uint32_t u = static_cast<uint32_t>(v);
    uint8_t b[4] = {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
                    static_cast<uint8_t>(u >> 24)};
    s.WriteBuffer(b, 4);
}

void WriteSet(TStream& s, const TSet256& set) { s.WriteBuffer(set.Bits, 32); }

void WriteShortString(TStream& s, const std::string& text) {
    if (text.size() > 255)
        throw ESyntaxMemo(Format("String too long for its length byte (%d characters)", static_cast<int>(text.size())));
    WriteByte(s, static_cast<uint8_t>(text.size()));
    s.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
}

void WriteLongString(TStream& s, const std::string& text) {
    WriteInt(s, static_cast<int32_t>(text.size()));
    s.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
}

uint8_t ReadByte(TStream& s) {
    uint8_t b;
    s.ReadBuffer(&b, 1);
    return b;
}

uint16_t ReadWord(TStream& s) {
    uint8_t b[2];
    s.ReadBuffer(b, 2);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

int32_t ReadInt(TStream& s) {
    uint8_t b[4];
    s.ReadBuffer(b, 4);
    return static_cast<int32_t>(static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
                                (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24));
}

TSet256 ReadSet(TStream& s) {
    TSet256 set;
    s.ReadBuffer(set.Bits, 32);
    return set;
}

std::string ReadShortString(TStream& s) {
    std::string text(ReadByte(s), '\0');
    s.ReadBuffer(&text[0], static_cast<int32_t>(text.size()));
    return text;
}

std::string ReadLongString(TStream& s) {
    int32_t n = ReadInt(s);
    if (n < 0 || n > BytesLeft(s)) throw ESyntaxMemo(Format("Invalid string length in stream: %d", n));
    std::string text(static_cast<size_t>(n), '\0');
    s.ReadBuffer(&text[0], n);
    return text;
}

int64_t BytesLeft(TStream& s) {
    int64_t left = s.Size() - s.Position();
    return left < 0 ? 0 : left;
}

int32_t ReadCount(TStream& s, int32_t max, int32_t minItemSize, const char* what) {
    int32_t n = ReadInt(s);
    if (n < 0 || n > max || static_cast<int64_t>(n) * minItemSize > BytesLeft(s))
        throw ESyntaxMemo(Format("Invalid %s count in stream: %d", what, n));
    return n;
}
