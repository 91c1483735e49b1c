// One image of a GIF file: its descriptor, colour table, extensions, LZW
// data and the decoded palette indices. No platform headers.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "components/core/ByteArray2D.h"
#include "components/core/ColorTable.h"
#include "components/core/Extension.h"
#include "runtime/core/Stream.h"

class TGifFile;

// Images above this many pixels are refused: the matrix would not fit, and
// 65535 x 65535 overflows 32-bit sizes.
constexpr int64_t kGifMaxPixels = int64_t(1) << 26;

class TGifSubImage {
public:
    // EGifException "Number of colors (n) wrong; must be a power of 2" unless
    // ColorCount is 2, 4, ..., 256.
    TGifSubImage(int ColorCount, TGifFile* Owner);

    // Reads the descriptor after the "," byte, the local table, the code size
    // and the data sub-blocks; no pixels are made yet.
    void ReadFrom(TStream& Stream);
    // Decodes LzwData into a new matrix (the decoder's EGifException).
    void DecodeLzw();
    // The last graphic control extension among them sets disposal and transparency.
    void TakeExtensions(TExtensionList List);

    // The local table when the image has one, else the file's global table.
    const TColorTable& Palette() const;
    // The palette indices, decoded on first use: an image that nobody looks
    // at costs no matrix (a file may hold many frames of 2^26 pixels each).
    const TByteArray2D& Pixels() const;
    bool Decoded() const { return pixels_ != nullptr; }

    TGifFile* Owner;
    int CodeSize;
    std::vector<uint8_t> LzwData;  // the data sub-blocks, joined
    int DisposalMethod = 0;
    bool Transparent = false;
    TExtensionList Extensions;
    uint16_t Left = 0, Top = 0, Width = 0, Height = 0;
    uint8_t Packed = 0;
    bool LocalTable = false;
    bool Interlaced = false;
    int BitsPerEntry;
    TColorTable LocalColors;

private:
    void Decode() const;
    mutable std::unique_ptr<TByteArray2D> pixels_;
};
