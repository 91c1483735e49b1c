// A GIF file (87a or 89a) read into its images, and the first image written
// as an 8-bit bitmap file. No platform headers.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "components/core/ColorTable.h"
#include "components/core/GifSubImage.h"
#include "runtime/core/Stream.h"

class TGifFile {
public:
    TGifFile();

    // Reads from the stream's position and decodes the first image.
    // EGifException "Gif Version must be 87a or 89a", "Unrecognized extension
    // block.\r\nCode = $XX" and the first image's decoder errors (a later
    // image raises its own from Pixels()); EReadError when a descriptor or
    // table is cut short.
    void ReadFromStream(TStream& Stream);

    // Exception "List index out of bounds (n)" when there is no such image.
    TGifSubImage& Image(int Index) const;
    int ImageCount() const { return static_cast<int>(images_.size()); }

    uint16_t ScreenWidth() const { return static_cast<uint16_t>(Screen[0] | (Screen[1] << 8)); }
    uint16_t ScreenHeight() const { return static_cast<uint16_t>(Screen[2] | (Screen[3] << 8)); }

    uint8_t Header[6];
    uint8_t Screen[7] = {};  // width, height, packed flags, background index, aspect ratio
    bool GlobalTable = true;
    int GlobalBits = 1;
    TColorTable GlobalColors;

private:
    void ReadExtension(TStream& Stream, TExtensionList& List);
    std::vector<std::unique_ptr<TGifSubImage>> images_;
};

// Writes Image as an uncompressed 8-bit bitmap file (bottom-up rows, 256
// palette slots) and rewinds the stream to 0.
void WriteBmpStream(const TGifSubImage& Image, TStream& Stream);
