// GIF files loaded through the picture formats, by their extension.
#include <gtest/gtest.h>

#include "GifBuilder.h"
#include "TestSupport.h"
#include "components/GifPicture.h"
#include "components/core/GifException.h"

namespace {
std::string Bytes(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }

// Table entry i is (i, 2i, 3i): as 0x00RRGGBB.
uint32_t TableColour(int i) { return static_cast<uint32_t>(i << 16 | (2 * i) << 8 | 3 * i); }
}  // namespace

TEST(GifPicture, RegisteredAsGifFormat) {
    const TFileFormat* f = FindFileFormat("gif");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->Description, "GIF-Format");
    EXPECT_EQ(FindFileFormat(".GIF"), f) << "extensions match without the dot and case";
    EXPECT_EQ(FindFileFormat("png"), nullptr);
}

TEST(GifPicture, LoadingAGifFileGivesItsFirstImageAsTheBitmap) {
    qftest::TempDir dir;
    GifImageSpec im;
    im.Width = 3;
    im.Height = 2;
    im.Pixels = {1, 2, 3, 3, 0, 1};
    GifImageSpec second;
    second.Pixels = {2};
    const std::string path = dir.File("picture.gif");
    qftest::WriteFileBytes(path, Bytes(BuildGif({im, second}, 2)));
    TBitmap bmp;
    LoadPictureFromFile(path, bmp);
    ASSERT_EQ(bmp.Width(), 3);
    ASSERT_EQ(bmp.Height(), 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(bmp.PixelRGB(x, y), TableColour(im.Pixels[static_cast<size_t>(y * 3 + x)]))
                << "pixel " << x << "," << y;
}

TEST(GifPicture, InterlacedRowsLandInDisplayOrder) {
    qftest::TempDir dir;
    GifImageSpec im;
    im.Width = 1;
    im.Height = 3;
    im.Pixels = {1, 2, 3};
    im.Interlaced = true;
    const std::string path = dir.File("rows.GIF");
    qftest::WriteFileBytes(path, Bytes(BuildGif({im}, 2)));
    TBitmap bmp;
    LoadPictureFromFile(path, bmp);
    for (int y = 0; y < 3; ++y) EXPECT_EQ(bmp.PixelRGB(0, y), TableColour(y + 1)) << "row " << y;
}

TEST(GifPicture, BadFilesGiveClearErrors) {
    qftest::TempDir dir;
    TBitmap bmp;
    qftest::WriteFileBytes(dir.File("x.pcx"), "anything");
    try {
        LoadPictureFromFile(dir.File("x.pcx"), bmp);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Unknown picture file extension (.pcx)");
    }
    qftest::WriteFileBytes(dir.File("old.gif"), "GIF90a\x01\x00\x01\x00\x00\x00\x00;");
    EXPECT_THROW(LoadPictureFromFile(dir.File("old.gif"), bmp), EGifException);
}

TEST(GifPicture, LoadFromStreamReadsTheWholeStreamFromItsStart) {
    GifImageSpec im;
    im.Width = 2;
    im.Pixels = {3, 1};
    TMemoryStream s;
    s.Bytes() = BuildGif({im}, 2);
    s.SetPosition(s.Size());  // where a writer left it
    TBitmap bmp;
    TGifBitmap::LoadFromStream(s, bmp);
    ASSERT_EQ(bmp.Width(), 2);
    EXPECT_EQ(bmp.PixelRGB(0, 0), TableColour(3));
    EXPECT_EQ(bmp.PixelRGB(1, 0), TableColour(1));
}

TEST(GifPicture, AFileWithoutAnImageRaisesTheListIndexError) {
    TMemoryStream s;
    s.Bytes() = BuildGif({}, 2);
    TBitmap bmp;
    try {
        TGifBitmap::LoadFromStream(s, bmp);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (0)");
    }
}
