#include "ftpclient/core/StoredValue.h"

#include "runtime/core/SysUtils.h"

#include <climits>
#include <cmath>

namespace {

bool StoredValueParseInt(const std::string& text, long long& out) {
    int64_t v = 0;
    if (!TryStrToInt64(text, v) || v < INT_MIN || v > INT_MAX) return false;
    out = v;
    return true;
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
        if (SameText(Value.Str, "true")) return true;
        if (SameText(Value.Str, "false")) return false;
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
