#include "masks/core/MaskTokenReader.h"

#include <stdexcept>

#include "masks/core/MaskParseError.h"

namespace {
constexpr int32_t kMaxStringToken = 32767;

// A decimal integer with an optional "-", nothing else, within 16 bits.
int16_t ToInt16(const std::string& digits) {
    size_t i = digits.size() > 0 && digits[0] == '-' ? 1 : 0;
    if (i == digits.size()) throw MaskParseError("not a number: \"" + digits + "\"");
    int32_t v = 0;
    for (; i < digits.size(); ++i) {
        const char c = digits[i];
        if (c < '0' || c > '9') throw MaskParseError("not a number: \"" + digits.substr(0, 40) + "\"");
        v = v * 10 + (c - '0');
        if (v > 32768) throw MaskParseError("number out of range: \"" + digits.substr(0, 40) + "\"");
    }
    if (digits[0] == '-') v = -v;
    if (v > 32767) throw MaskParseError("number out of range: \"" + digits + "\"");
    return static_cast<int16_t>(v);
}
}  // namespace

int16_t MaskTokenReader::GetInt() {
    const size_t slash = text_.find('/', pos_);
    if (slash == std::string::npos) {
        if (strict_) throw MaskParseError("the text ends inside a token");
        pos_ = text_.size();
        return 0;
    }
    const int16_t v = ToInt16(text_.substr(pos_, slash - pos_));
    pos_ = slash + 1;
    return v;
}

std::string MaskTokenReader::GetString() {
    const size_t start = pos_;
    const int16_t n = GetInt();
    if (n < 0 || static_cast<size_t>(n) > text_.size() - pos_) {
        pos_ = start;
        throw MaskParseError("string length " + std::to_string(n) + " does not fit the text");
    }
    std::string s = text_.substr(pos_, static_cast<size_t>(n));
    pos_ += static_cast<size_t>(n);
    return s;
}

void PutInt(int32_t value, std::string& text) {
    const int16_t low = static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(value) & 0xFFFFu));
    text += std::to_string(low);
    text += '/';
}

void PutString(const std::string& value, std::string& text) {
    if (value.size() > static_cast<size_t>(kMaxStringToken))
        throw std::length_error("a mask string holds at most 32767 characters in one string");
    PutInt(static_cast<int32_t>(value.size()), text);
    text += value;
}

int16_t GetInt(std::string& text) {
    MaskTokenReader r(text);
    const int16_t v = r.GetInt();
    text.erase(0, r.Position());
    return v;
}

std::string GetString(std::string& text) {
    MaskTokenReader r(text);
    std::string s = r.GetString();
    text.erase(0, r.Position());
    return s;
}
