// The Basic-forms units SBF's windows are laid out and answer in: twips
// (1440 to the inch) for geometry and 16-bit Booleans whose True is -1.
#pragma once

#include <cstdint>

constexpr int kTwipsPerInch = 1440;

// Rounded to the nearest pixel at dpi pixels to the inch.
constexpr int TwipsToPixels(int twips, int dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + kTwipsPerInch / 2) / kTwipsPerInch
                                        : -((-scaled + kTwipsPerInch / 2) / kTwipsPerInch));
}
constexpr int PixelsToTwips(int pixels, int dpi) {
    return dpi > 0 ? static_cast<int>(static_cast<long long>(pixels) * kTwipsPerInch / dpi) : 0;
}

using VbBoolean = int16_t;
constexpr VbBoolean kVbTrue = -1;
constexpr VbBoolean kVbFalse = 0;
constexpr VbBoolean ToVbBoolean(bool b) { return b ? kVbTrue : kVbFalse; }
// Any non-zero value counts as True, as Basic tests it.
constexpr bool FromVbBoolean(int32_t v) { return v != 0; }
