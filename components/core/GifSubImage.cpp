#include "components/core/GifSubImage.h"

#include "components/core/GifException.h"
#include "components/core/GifFile.h"
#include "components/core/GifLzwDecoder.h"

namespace {
int Log2OfColorCount(int count) {
    for (int bits = 1; bits <= 8; ++bits)
        if (count == 1 << bits) return bits;
    throw EGifException(Format("Number of colors (%d) wrong; must be a power of 2", count));
}

uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
}  // namespace

TGifSubImage::TGifSubImage(int ColorCount, TGifFile* Owner)
    : Owner(Owner), LocalColors(ColorCount) {
    BitsPerEntry = Log2OfColorCount(ColorCount);
    CodeSize = BitsPerEntry < 2 ? 2 : BitsPerEntry;
    Packed = static_cast<uint8_t>((LocalTable ? 0x80 : 0) | (Interlaced ? 0x40 : 0) | (BitsPerEntry - 1));
}

void TGifSubImage::TakeExtensions(TExtensionList List) {
    Extensions = std::move(List);
    for (const auto& e : Extensions) {
        if (e->Kind != ekGraphicControl) continue;
        DisposalMethod = (e->Packed() >> 2) & 7;
        Transparent = (e->Packed() & 1) != 0;
    }
}

const TColorTable& TGifSubImage::Palette() const {
    if (LocalTable || !Owner) return LocalColors;
    return Owner->GlobalColors;
}

void TGifSubImage::ReadFrom(TStream& Stream) {
    uint8_t d[9];
    Stream.ReadBuffer(d, 9);
    Left = Word(d);
    Top = Word(d + 2);
    Width = Word(d + 4);
    Height = Word(d + 6);
    Packed = d[8];
    LocalTable = (Packed & 0x80) != 0;
    Interlaced = (Packed & 0x40) != 0;
    BitsPerEntry = (Packed & 7) + 1;
    if (LocalTable) {
        int count = 1 << BitsPerEntry;
        LocalColors.SetCount(count);
        uint8_t rgb[256 * 3];
        Stream.ReadBuffer(rgb, count * 3);
        for (int i = 0; i < count; ++i) LocalColors[i] = {rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]};
    }
    if (static_cast<int64_t>(Width) * Height > kGifMaxPixels)
        throw EGifException(Format("Image too large (%u x %u pixels)", unsigned(Width), unsigned(Height)));
    pixels_.reset();

    uint8_t codeSize = 0;
    Stream.ReadBuffer(&codeSize, 1);
    CodeSize = codeSize;
    // The sub-blocks up to the empty one, or up to the end of the stream.
    LzwData.clear();
    uint8_t len = 0;
    while (Stream.Read(&len, 1) == 1 && len != 0) {
        size_t at = LzwData.size();
        LzwData.resize(at + len);
        int32_t got = Stream.Read(LzwData.data() + at, len);
        LzwData.resize(at + static_cast<size_t>(got < 0 ? 0 : got));
        if (got < len) break;
    }
}

const TByteArray2D& TGifSubImage::Pixels() const {
    if (!pixels_) Decode();
    return *pixels_;
}

void TGifSubImage::DecodeLzw() {
    pixels_.reset();
    Decode();
}

// The matrix is kept only once the whole image decoded.
void TGifSubImage::Decode() const {
    auto matrix = std::make_unique<TByteArray2D>(Width, Height);
    TGifLzwDecoder decoder(LzwData.data(), LzwData.size(), CodeSize, Interlaced, *matrix);
    decoder.Decode();
    pixels_ = std::move(matrix);
}
