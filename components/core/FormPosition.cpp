#include "components/core/FormPosition.h"

#include <cerrno>
#include <cstdlib>

int ParseStoredInt(const std::string& text, int def) {
    if (text.empty() || text.size() > 20) return def;
    int base = 10;
    std::string digits = text;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        digits = text.substr(2);
    }
    if (digits.empty() || digits[0] == ' ' || digits[0] == '+' || (base == 16 && digits[0] == '-')) return def;
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(digits.c_str(), &end, base);
    if (errno != 0 || *end != '\0' || v < -2147483648LL || v > 2147483647LL) return def;
    return static_cast<int>(v);
}

TPosRect ClampToWorkArea(TPosRect r, int areaLeft, int areaTop, int areaRight, int areaBottom) {
    const int aw = areaRight - areaLeft, ah = areaBottom - areaTop;
    if (r.Width > aw) r.Width = aw;
    if (r.Height > ah) r.Height = ah;
    if (r.Width < 0) r.Width = 0;
    if (r.Height < 0) r.Height = 0;
    if (r.Left + r.Width > areaRight) r.Left = areaRight - r.Width;
    if (r.Top + r.Height > areaBottom) r.Top = areaBottom - r.Height;
    if (r.Left < areaLeft) r.Left = areaLeft;
    if (r.Top < areaTop) r.Top = areaTop;
    return r;
}
