#include "PlainSearch.h"

#include <algorithm>
#include <cstring>

#include "SysUtils.h"

namespace {

uint8_t UpperAscii(uint8_t c) { return c >= 'a' && c <= 'z' ? static_cast<uint8_t>(c - 32) : c; }

uint8_t TableByte(int v) { return static_cast<uint8_t>(std::min(v, 255)); }

int32_t CoreForward(TEdStream& s, int32_t lastPos, const TSearchTables& t, bool matchCase, int32_t startPos) {
    const std::string& pat = matchCase ? t.Pattern : t.Upper;
    const uint8_t* table = matchCase ? t.ForwardExact : t.ForwardFolded;
    int32_t n = static_cast<int32_t>(pat.size());
    int32_t size = static_cast<int32_t>(s.Size());
    int32_t k = n;
    int64_t target = static_cast<int64_t>(startPos) + n - 1;
    if (target > lastPos || target >= size) return lastPos + 1;
    s.MoveTo(static_cast<int32_t>(target));
    while (k > 0) {
        int32_t pos = s.GetPosition();
        if (pos > lastPos || pos >= size) break;
        uint8_t c = s.CurChar();
        if (!matchCase) c = UpperAscii(c);
        if (c == static_cast<uint8_t>(pat[static_cast<size_t>(k - 1)])) {
            k--;
            if (pos == 0) return k == 0 ? 0 : lastPos + 1;
            if (k > 0) s.Prev();
            else return pos;
        } else {
            int32_t m = (n - k) + 1;
            int64_t next = static_cast<int64_t>(pos) + std::max<int32_t>(m, table[c]);
            if (next > lastPos || next >= size) return lastPos + 1;
            s.MoveTo(static_cast<int32_t>(next));
            k = n;
        }
    }
    return lastPos + 1;
}

int32_t CoreBackward(TEdStream& s, int32_t lastPos, const TSearchTables& t, bool matchCase, int32_t startPos) {
    const std::string& pat = matchCase ? t.Pattern : t.Upper;
    const uint8_t* table = matchCase ? t.BackwardExact : t.BackwardFolded;
    int32_t n = static_cast<int32_t>(pat.size());
    int32_t size = static_cast<int32_t>(s.Size());
    startPos = std::min(startPos, size);
    if (startPos < n) return lastPos + 1;
    s.MoveTo(startPos - n);
    int32_t k = n;
    while (k > 0) {
        int32_t pos = s.GetPosition();
        if (pos > lastPos || pos >= size) return lastPos + 1;
        uint8_t c = s.CurChar();
        if (!matchCase) c = UpperAscii(c);
        int32_t d = n - k;
        if (c == static_cast<uint8_t>(pat[static_cast<size_t>(d)])) {
            k--;
            if (k == 0) return pos + 1 - n;
            s.Next();
        } else {
            int32_t step = std::max<int32_t>(d + 1, table[c]);
            if (pos < step) return lastPos + 1;
            s.MoveTo(pos - step);
            k = n;
        }
    }
    return lastPos + 1;
}

bool IsWordChar(const TWordTests* w, uint8_t c) {
    bool starts = w && w->StartsWord ? w->StartsWord(c) : DefaultCharStartsWord(c);
    bool inWord = w && w->IsInWord ? w->IsInWord(c) : DefaultCharIsInWord(c);
    return starts || inWord;
}

uint8_t CharAt(TEdStream& s, int32_t pos) {
    s.MoveTo(pos);
    return s.CurChar();
}

}  // namespace

bool DefaultCharStartsWord(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }

bool DefaultCharIsInWord(uint8_t c) {
    return DefaultCharStartsWord(c) || (c >= '0' && c <= '9') || c == '\'' || c == '-';
}

void BuildSearchTables(TSearchTables& t, const std::string& pattern) {
    int n = static_cast<int>(pattern.size());
    t.Upper = UpperCase(pattern);
    t.Pattern = pattern;
    memset(t.ForwardExact, TableByte(n), 256);
    memcpy(t.BackwardExact, t.ForwardExact, 256);
    memcpy(t.ForwardFolded, t.ForwardExact, 256);
    memcpy(t.BackwardFolded, t.ForwardExact, 256);
    for (int i = 0; i < n; i++) {
        uint8_t c = static_cast<uint8_t>(pattern[static_cast<size_t>(i)]);
        t.ForwardExact[c] = TableByte(n - i - 1);
        t.ForwardFolded[UpperAscii(c)] = TableByte(n - i - 1);
    }
    for (int i = n - 1; i >= 0; i--) {
        uint8_t c = static_cast<uint8_t>(pattern[static_cast<size_t>(i)]);
        t.BackwardExact[c] = TableByte(i);
        t.BackwardFolded[UpperAscii(c)] = TableByte(i);
    }
    t.Built = true;
}

int32_t FindText(const TWordTests* words, TEdStream& stream, int32_t lastPos, TSearchTables& tables,
                 bool wholeWord, bool matchCase, bool backward, int32_t startPos, const std::string& pattern) {
    if (!tables.Built || UpperCase(pattern) != tables.Upper || pattern != tables.Pattern)
        BuildSearchTables(tables, pattern);
    int32_t n = static_cast<int32_t>(pattern.size());
    if (n == 0 || startPos < 0) return lastPos + 1;
    for (;;) {
        int32_t r = backward ? CoreBackward(stream, lastPos, tables, matchCase, startPos)
                             : CoreForward(stream, lastPos, tables, matchCase, startPos);
        if (!wholeWord || r > lastPos) return r;
        // A match is a whole word when no word character touches either end;
        // at the ends of the text there is nothing to touch it.
        bool accept = !(r > 0 && IsWordChar(words, CharAt(stream, r - 1)));
        if (accept && r + n <= lastPos) accept = !IsWordChar(words, CharAt(stream, r + n));
        if (accept) return r;
        // Try again one character further on: an overlapping occurrence may
        // still be a whole word.
        startPos = backward ? r + n - 1 : r + 1;
    }
}

bool SameBytes(const void* a, const void* b, int n) {
    const uint8_t* p = static_cast<const uint8_t*>(a);
    const uint8_t* q = static_cast<const uint8_t*>(b);
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        uint32_t x, y;
        memcpy(&x, p + i, 4);
        memcpy(&y, q + i, 4);
        if (x != y) return false;
    }
    for (; i < n; i++)
        if (p[i] != q[i]) return false;
    return true;
}

uint8_t LowerAscii(uint8_t c) { return c >= 'A' && c <= 'Z' ? static_cast<uint8_t>(c + 32) : c; }
