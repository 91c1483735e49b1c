#include "searchwindow/core/Spinners.h"

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

std::string SettingText(Spinner which, int32_t value, const std::string& noLimitText) {
    return IsLimit(which) && value < 0 ? noLimitText : std::to_string(value);
}
