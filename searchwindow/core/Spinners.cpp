#include "searchwindow/core/Spinners.h"

#include <cstdint>
#include <limits>

namespace {
int32_t LowerLimit(Spinner which) {
    return which == Spinner::MaxFound || which == Spinner::MaxLevel ? -1 : 1;
}
int32_t UpperLimit(Spinner which) {
    return which == Spinner::ChannelCount ? kMaxChannelCount : std::numeric_limits<int32_t>::max();
}
bool IsLimit(Spinner which) { return which == Spinner::MaxFound || which == Spinner::MaxLevel; }
}  // namespace

SpinStep Spin(Spinner which, int32_t value, bool up, const std::string& noLimitText) {
    int64_t v = static_cast<int64_t>(value) + (up ? 1 : -1);
    if (v < LowerLimit(which)) v = LowerLimit(which);
    if (v > UpperLimit(which)) v = UpperLimit(which);
    SpinStep s{static_cast<int32_t>(v), std::to_string(v)};
    if (IsLimit(which) && !up && v < 0) s.Text = noLimitText;
    return s;
}

std::optional<int32_t> ParseSetting(Spinner which, const std::string& text) {
    if (text.empty() || text.size() > 11) return std::nullopt;
    size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size()) return std::nullopt;
    int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        v = v * 10 + (text[i] - '0');
    }
    if (text[0] == '-') v = -v;
    if (v < LowerLimit(which) || v > UpperLimit(which)) return std::nullopt;
    return static_cast<int32_t>(v);
}

std::optional<int32_t> ConvertSettingText(const std::string& text) {
    size_t b = 0, e = text.size();
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (b < e && blank(text[b])) ++b;
    while (e > b && blank(text[e - 1])) --e;
    size_t i = b;
    const bool negative = i < e && text[i] == '-';
    if (i < e && (text[i] == '-' || text[i] == '+')) ++i;
    int64_t whole = 0;
    size_t digits = 0;
    for (; i < e && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
        whole = whole * 10 + (text[i] - '0');
        if (whole > (int64_t{1} << 32)) return std::nullopt;
    }
    // The fraction: above one half rounds up, exactly one half to even.
    int roundUp = 0;
    if (i < e && text[i] == '.') {
        ++i;
        int first = -1;
        bool restNonZero = false;
        for (; i < e && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
            if (first < 0)
                first = text[i] - '0';
            else if (text[i] != '0')
                restNonZero = true;
        }
        if (first > 5 || (first == 5 && (restNonZero || whole % 2 == 1))) roundUp = 1;
    }
    if (i != e || digits == 0) return std::nullopt;
    int64_t v = whole + roundUp;
    if (negative) v = -v;
    if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(v);
}

std::string SettingText(Spinner which, int32_t value, const std::string& noLimitText) {
    return IsLimit(which) && value < 0 ? noLimitText : std::to_string(value);
}
