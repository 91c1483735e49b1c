#include "SysUtils.h"

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

std::string Format(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    va_list ap2;
    va_copy(ap2, ap);
    int n = vsnprintf(nullptr, 0, fmt, ap);
    va_end(ap);
    std::string out;
    if (n > 0) {
        std::vector<char> buf(static_cast<size_t>(n) + 1);
        vsnprintf(buf.data(), buf.size(), fmt, ap2);
        out.assign(buf.data(), static_cast<size_t>(n));
    }
    va_end(ap2);
    return out;
}

static bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string TrimLeft(const std::string& s) {
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    return s.substr(i);
}

std::string TrimRight(const std::string& s) {
    size_t n = s.size();
    while (n > 0 && IsBlank(s[n - 1])) --n;
    return s.substr(0, n);
}

std::string Trim(const std::string& s) { return TrimRight(TrimLeft(s)); }

static char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; }
static char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

std::string UpperCase(const std::string& s) {
    std::string r(s);
    for (char& c : r) c = AsciiUpper(c);
    return r;
}

std::string LowerCase(const std::string& s) {
    std::string r(s);
    for (char& c : r) c = AsciiLower(c);
    return r;
}

int CompareText(const std::string& a, const std::string& b) {
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(AsciiUpper(a[i]));
        unsigned char y = static_cast<unsigned char>(AsciiUpper(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool SameText(const std::string& a, const std::string& b) { return CompareText(a, b) == 0; }

std::string IntToStr(int64_t v) { return std::to_string(static_cast<long long>(v)); }

bool TryStrToInt64(const std::string& text, int64_t& out) {
    std::string s = Trim(text);
    if (s.empty()) return false;
    size_t i = 0;
    bool neg = false;
    if (s[0] == '+' || s[0] == '-') {
        neg = s[0] == '-';
        i = 1;
    }
    if (i >= s.size()) return false;
    uint64_t acc = 0;
    const uint64_t limit = neg ? uint64_t(INT64_MAX) + 1 : uint64_t(INT64_MAX);
    for (; i < s.size(); ++i) {
        char c = s[i];
        if (c < '0' || c > '9') return false;
        unsigned d = unsigned(c - '0');
        if (acc > (limit - d) / 10) return false;
        acc = acc * 10 + d;
    }
    out = neg ? static_cast<int64_t>(0 - acc) : static_cast<int64_t>(acc);
    return true;
}

int StrToInt(const std::string& s) {
    int64_t v;
    if (!TryStrToInt64(s, v) || v < INT_MIN || v > INT_MAX)
        throw EConvertError("'" + s + "' is not a valid integer value");
    return static_cast<int>(v);
}

int StrToIntDef(const std::string& s, int def) {
    int64_t v;
    if (!TryStrToInt64(s, v) || v < INT_MIN || v > INT_MAX) return def;
    return static_cast<int>(v);
}
