// What the registry value component stores: the key path and value name a
// value path gives, and the bytes each kind of value is written as.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The kinds of value a caller may hand over (as the framework's variants).
enum TRegVarType { rvEmpty, rvNull, rvSmallint, rvInteger, rvSingle, rvDouble, rvCurrency, rvDate,
                   rvOleStr, rvBoolean, rvString };

struct TRegVariant {
    TRegVarType Type = rvEmpty;
    int64_t Int = 0;      // rvInteger, rvSmallint, rvBoolean (0/1), rvCurrency (ten-thousandths)
    double Real = 0;      // rvDouble, rvSingle, rvDate
    std::string Str;      // rvString, rvOleStr
    static TRegVariant Integer(int32_t v) { TRegVariant r; r.Type = rvInteger; r.Int = v; return r; }
    static TRegVariant Boolean(bool v) { TRegVariant r; r.Type = rvBoolean; r.Int = v ? 1 : 0; return r; }
    static TRegVariant Double(double v) { TRegVariant r; r.Type = rvDouble; r.Real = v; return r; }
    static TRegVariant Date(double v) { TRegVariant r; r.Type = rvDate; r.Real = v; return r; }
    static TRegVariant Currency(int64_t tenThousandths) { TRegVariant r; r.Type = rvCurrency; r.Int = tenThousandths; return r; }
    static TRegVariant String(const std::string& v) { TRegVariant r; r.Type = rvString; r.Str = v; return r; }
    static TRegVariant Of(TRegVarType t) { TRegVariant r; r.Type = t; return r; }
};

// Registry types, numbered as the platform numbers them.
constexpr uint32_t kRegSz = 1, kRegExpandSz = 2, kRegBinary = 3, kRegDword = 4;

struct TRegEncoded {
    bool Supported = false;
    uint32_t RegType = 0;
    std::vector<uint8_t> Bytes;
};
// A text is stored with its terminating zero; unsupported kinds say so.
TRegEncoded EncodeRegValue(const TRegVariant& v);
// Decodes what was read; false when the stored type gives no value (the default applies).
bool DecodeRegValue(uint32_t regType, const std::vector<uint8_t>& bytes, TRegVariant& out);

struct TRegValuePath {
    std::string KeyPath;    // relative to the root, no leading backslash
    std::string ValueName;
};
// Key "Root\A\B\" and Name "Sub\Left" give "Root\A\B\Sub" and "Left".
TRegValuePath MakeRegValuePath(const std::string& key, const std::string& name);
