// The client's own pictures: toolbar glyphs and status lights, drawn from
// character maps and a few shapes, as 0x00RRGGBB pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

enum class TArt {
    Connect,
    Disconnect,
    AddServer,
    FolderUp,
    NewFolder,
    Delete,
    Refresh,
    Binary,
    Ascii,
    Auto,
    Hosting,
    Secure,
    ConnectedOn,
    ConnectedOff,
    DisconnectedOn,
    DisconnectedOff,
};

// Where a picture is see-through (the glyph's lower-left pixel is this colour).
constexpr uint32_t ArtTransparent = 0xFF00FF;

struct TArtPixels {
    int Width = 0, Height = 0;
    std::vector<uint32_t> Pixels;  // top-down rows
    uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
};

TArtPixels DrawArt(TArt art);
