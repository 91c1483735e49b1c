#include "components/core/RegistryValue.h"

#include <cstring>

#include "components/core/BrkApart.h"

namespace {

template <class T>
std::vector<uint8_t> BytesOf(T v) {
    std::vector<uint8_t> b(sizeof v);
    std::memcpy(b.data(), &v, sizeof v);
    return b;
}

}  // namespace

TRegEncoded EncodeRegValue(const TRegVariant& v) {
    TRegEncoded e;
    switch (v.Type) {
    case rvInteger:
    case rvBoolean:
        e.RegType = kRegDword;
        e.Bytes = BytesOf(static_cast<uint32_t>(static_cast<int32_t>(v.Int)));
        break;
    case rvDouble:
    case rvDate:
        e.RegType = kRegBinary;
        e.Bytes = BytesOf(v.Real);
        break;
    case rvCurrency:
        e.RegType = kRegBinary;
        e.Bytes = BytesOf(v.Int);
        break;
    case rvString:
        e.RegType = kRegSz;
        e.Bytes.assign(v.Str.begin(), v.Str.end());
        e.Bytes.push_back(0);  // readers expect the terminating zero within the size
        break;
    default:
        return e;
    }
    e.Supported = true;
    return e;
}

bool DecodeRegValue(uint32_t regType, const std::vector<uint8_t>& bytes, TRegVariant& out) {
    switch (regType) {
    case kRegSz:
    case kRegExpandSz: {
        std::string s(bytes.begin(), bytes.end());
        const size_t z = s.find('\0');
        if (z != std::string::npos) s.resize(z);
        out = TRegVariant::String(s);
        return true;
    }
    case kRegDword: {
        if (bytes.size() != 4) return false;
        int32_t v;
        std::memcpy(&v, bytes.data(), 4);
        out = TRegVariant::Integer(v);
        return true;
    }
    case kRegBinary: {
        if (bytes.size() != 8) return false;
        double d;
        std::memcpy(&d, bytes.data(), 8);
        out = TRegVariant::Double(d);
        return true;
    }
    default:
        return false;
    }
}

TRegValuePath MakeRegValuePath(const std::string& key, const std::string& name) {
    std::string base = key;
    if (!base.empty() && base.back() == '\\') base.pop_back();
    if (base.size() > 1 && base.front() == '\\') base.erase(0, 1);
    TBrkApart split;
    split.BreakString = "\\";
    split.AllowEmptyString = false;
    split.BaseString = name;
    split.BreakApart();
    TStringList& pieces = split.StringList();
    TRegValuePath p;
    p.KeyPath = base;
    if (pieces.Count() < 2) {
        p.ValueName = name;
    } else {
        for (int i = 0; i + 1 < pieces.Count(); ++i) p.KeyPath += "\\" + pieces.Strings(i);
        p.ValueName = pieces.Strings(pieces.Count() - 1);
    }
    // The platform's create call refuses a path that begins with a backslash.
    while (!p.KeyPath.empty() && p.KeyPath.front() == '\\') p.KeyPath.erase(0, 1);
    return p;
}
