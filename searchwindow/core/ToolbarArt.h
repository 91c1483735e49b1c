// The window's own toolbar pictures, 16 by 16, drawn from a few shapes as
// 0x00RRGGBB pixels; the window turns them into its image lists.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

enum class SbfGlyph {
    New, Open, Save, Sort, ViewLarge, ViewSmall, ViewList,
    NewMask, Cut, Copy, Paste, Filter,
    Back, Forward, Stop, Refresh, Home, ReportValues, ReportUnique,
    Count
};

// Where a picture is see-through.
constexpr uint32_t kGlyphTransparent = 0xFF00FF;
constexpr int kGlyphSize = 16;

struct GlyphPixels {
    int Width = kGlyphSize, Height = kGlyphSize;
    std::vector<uint32_t> Pixels;  // top-down rows
    uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
};

GlyphPixels DrawGlyph(SbfGlyph glyph);
