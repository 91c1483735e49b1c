#include "ftpclient/core/StoredValue.h"

#include <cctype>
#include <climits>
#include <cmath>

namespace {

bool StoredValueParseInt(const std::string& text, long long& out) {
    size_t i = 0, end = text.size();
    while (i < end && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    while (end > i && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == end) return false;
    long long v = 0;
    for (; i < end; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
        v = v * 10 + (text[i] - '0');
        if (v > static_cast<long long>(INT_MAX) + 1) return false;
    }
    out = negative ? -v : v;
    return out >= INT_MIN && out <= INT_MAX;
}

bool StoredValueSameText(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    return i == a.size() && !b[i];
}

}  // namespace

int StoredInt(const TRegVariant& Value, int Default) {
    switch (Value.Type) {
    case rvInteger:
    case rvSmallint:
    case rvBoolean:
        return Value.Int >= INT_MIN && Value.Int <= INT_MAX ? static_cast<int>(Value.Int) : Default;
    case rvDouble:
    case rvSingle:
        return std::isfinite(Value.Real) && std::fabs(Value.Real) < 2147483647.0
                   ? static_cast<int>(std::lround(Value.Real))
                   : Default;
    case rvString:
    case rvOleStr: {
        long long v;
        return StoredValueParseInt(Value.Str, v) ? static_cast<int>(v) : Default;
    }
    default:
        return Default;
    }
}

bool StoredBool(const TRegVariant& Value, bool Default) {
    switch (Value.Type) {
    case rvInteger:
    case rvSmallint:
    case rvBoolean:
        return Value.Int != 0;
    case rvDouble:
    case rvSingle:
        return std::isnan(Value.Real) ? Default : Value.Real != 0;
    case rvString:
    case rvOleStr: {
        if (StoredValueSameText(Value.Str, "true")) return true;
        if (StoredValueSameText(Value.Str, "false")) return false;
        long long v;
        return StoredValueParseInt(Value.Str, v) ? v != 0 : Default;
    }
    default:
        return Default;
    }
}

std::string StoredText(const TRegVariant& Value, const std::string& Default) {
    switch (Value.Type) {
    case rvString:
    case rvOleStr:
        return Value.Str;
    case rvInteger:
    case rvSmallint:
        return std::to_string(Value.Int);
    default:
        return Default;
    }
}
