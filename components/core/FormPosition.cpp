#include "components/core/FormPosition.h"

#include <cerrno>
#include <cstdlib>
#include <algorithm>

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

namespace {
long long Overlap(const TPosRect& a, const TPosRect& b) {
    const long long w = std::min<long long>(a.Left + a.Width, b.Left + b.Width) - std::max(a.Left, b.Left);
    const long long h = std::min<long long>(a.Top + a.Height, b.Top + b.Height) - std::max(a.Top, b.Top);
    return w > 0 && h > 0 ? w * h : 0;
}

// Squared distance between the rectangles (0 when they touch or overlap).
long long Distance2(const TPosRect& a, const TPosRect& b) {
    const long long dx = std::max<long long>({0, static_cast<long long>(b.Left) - (a.Left + a.Width),
                                              static_cast<long long>(a.Left) - (b.Left + b.Width)});
    const long long dy = std::max<long long>({0, static_cast<long long>(b.Top) - (a.Top + a.Height),
                                              static_cast<long long>(a.Top) - (b.Top + b.Height)});
    return dx * dx + dy * dy;
}
}  // namespace

int NearestMonitor(const TPosRect& r, const std::vector<TMonitorArea>& monitors) {
    int best = -1;
    long long bestOverlap = 0, bestDistance = 0;
    for (size_t i = 0; i < monitors.size(); ++i) {
        const long long o = Overlap(r, monitors[i].Monitor);
        const long long d = o > 0 ? 0 : Distance2(r, monitors[i].Monitor);
        const bool better = best < 0 || (o > 0 ? o > bestOverlap : bestOverlap == 0 && d < bestDistance);
        if (!better) continue;
        best = static_cast<int>(i);
        bestOverlap = o;
        bestDistance = d;
    }
    return best;
}

TPosRect PlaceOnNearestMonitor(const TPosRect& r, const std::vector<TMonitorArea>& monitors) {
    const int i = NearestMonitor(r, monitors);
    if (i < 0) return r;
    const TPosRect& w = monitors[static_cast<size_t>(i)].Work;
    return ClampToWorkArea(r, w.Left, w.Top, w.Left + w.Width, w.Top + w.Height);
}

TPosRect WorkspaceToScreen(const TPosRect& r, const std::vector<TMonitorArea>& monitors) {
    const int i = NearestMonitor(r, monitors);
    if (i < 0) return r;
    const TMonitorArea& m = monitors[static_cast<size_t>(i)];
    TPosRect s = r;
    s.Left += m.Work.Left - m.Monitor.Left;
    s.Top += m.Work.Top - m.Monitor.Top;
    return s;
}
