// The bitmap file written from a decoded GIF image.
#include <gtest/gtest.h>

#include "GifBuilder.h"
#include "components/core/GifFile.h"
#include "components/core/GifLzwDecoder.h"

namespace {

std::vector<uint8_t> BitmapOf(const std::vector<uint8_t>& gifBytes, int image = 0) {
    TMemoryStream in;
    in.Bytes() = gifBytes;
    TGifFile gif;
    gif.ReadFromStream(in);
    TMemoryStream out;
    WriteBmpStream(gif.Image(image), out);
    EXPECT_EQ(out.Position(), 0);
    return out.Bytes();
}

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t(b[at + 3]) << 24);
}

}  // namespace

TEST(GifBitmap, HeadersAreByteExact) {
    GifImageSpec im;
    im.Width = 3;
    im.Height = 2;
    im.Pixels = {1, 2, 3, 3, 2, 1};
    std::vector<uint8_t> bmp = BitmapOf(BuildGif({im}, 2));
    const uint8_t expected[54] = {
        'B', 'M', 0x3E, 0x04, 0, 0,  // 1078 + 2 rows of 4 bytes = 1086
        0, 0, 0, 0,                  // reserved
        0x36, 0x04, 0, 0,            // pixels at 1078
        40, 0, 0, 0,                 // information header size
        3, 0, 0, 0, 2, 0, 0, 0,      // width, height (bottom-up)
        1, 0, 8, 0,                  // planes, bits per pixel
        0, 0, 0, 0, 0, 0, 0, 0,      // no compression, image size 0
        143, 0, 0, 0, 143, 0, 0, 0,  // pixels per metre
        0, 0, 0, 0, 0, 0, 0, 0,      // colours used, important
    };
    ASSERT_EQ(bmp.size(), 1086u);
    for (size_t i = 0; i < 54; ++i) EXPECT_EQ(bmp[i], expected[i]) << "byte " << i;
    // Rows bottom-up, each padded to 4 bytes.
    const std::vector<uint8_t> rows(bmp.begin() + 1078, bmp.end());
    EXPECT_EQ(rows, (std::vector<uint8_t>{3, 2, 1, 0, 1, 2, 3, 0}));
}

TEST(GifBitmap, FourEntryTableLeavesSlots4To255Black) {
    GifImageSpec im;
    im.Pixels = {2};
    std::vector<uint8_t> bmp = BitmapOf(BuildGif({im}, 2));
    for (int i = 0; i < 4; ++i)  // blue, green, red, 0 from the table's (i, 2i, 3i)
        EXPECT_EQ(U32(bmp, 54 + 4 * i), uint32_t(3 * i) | (2 * i) << 8 | i << 16) << "slot " << i;
    for (int i = 4; i < 256; ++i) EXPECT_EQ(U32(bmp, 54 + 4 * i), 0u) << "slot " << i;
}

TEST(GifBitmap, LocalTableWinsOverGlobal) {
    GifImageSpec im;
    im.Pixels = {1};
    im.LocalBits = 1;
    im.Options.CodeSize = 2;
    std::vector<uint8_t> bmp = BitmapOf(BuildGif({im}, 3));
    EXPECT_EQ(U32(bmp, 54 + 4), 0x00010203u);
    // Slots past the local table keep the preset the image was made with:
    // a global table of 8 entries presets nothing, so they are black.
    EXPECT_EQ(U32(bmp, 54 + 4 * 5), 0u);
}

TEST(GifBitmap, WideRowsArePaddedAndSizeFollows) {
    for (int w : {1, 4, 5, 255}) {
        GifImageSpec im;
        im.Width = w;
        im.Height = 3;
        im.Pixels.assign(static_cast<size_t>(w) * 3, 1);
        std::vector<uint8_t> bmp = BitmapOf(BuildGif({im}, 2));
        uint32_t stride = (uint32_t(w) + 3) & ~3u;
        EXPECT_EQ(U32(bmp, 2), 1078 + 3 * stride) << "width " << w;
        EXPECT_EQ(bmp.size(), 1078 + 3 * stride) << "width " << w;
    }
}

TEST(GifBitmap, ProgressHookSeesRowsOfTallBitmaps) {
    static std::vector<float> seen;
    GifImageSpec im;
    im.Width = 2;
    im.Height = 501;
    im.Pixels.assign(2 * 501, 1);
    std::vector<uint8_t> bytes = BuildGif({im}, 2);
    TMemoryStream in;
    in.Bytes() = bytes;
    TGifFile gif;
    gif.ReadFromStream(in);
    seen.clear();
    ProgressHook = [](float f) { seen.push_back(f); };
    TMemoryStream out;
    WriteBmpStream(gif.Image(0), out);
    ProgressHook = nullptr;
    ASSERT_EQ(seen.size(), 501u);
    EXPECT_FLOAT_EQ(seen.front(), 1.0f);
    EXPECT_FLOAT_EQ(seen.back(), 1.0f - 500.0f / 501.0f);
}
