// The GIF reader on byte arrays built here: well-formed files, the odd
// streams real encoders write, and broken ones.
#include <gtest/gtest.h>

#include <memory>

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

#include "GifBuilder.h"
#include "components/core/GifException.h"
#include "components/core/GifFile.h"
#include "components/core/GifLzwDecoder.h"

namespace {

std::unique_ptr<TGifFile> Read(const std::vector<uint8_t>& bytes) {
    TMemoryStream s;
    s.Bytes() = bytes;
    auto gif = std::make_unique<TGifFile>();
    gif->ReadFromStream(s);
    return gif;
}

std::vector<uint8_t> Matrix(const TGifSubImage& im) {
    const TByteArray2D& m = im.Pixels();
    return std::vector<uint8_t>(m.Data(), m.Data() + static_cast<size_t>(m.Columns()) * m.Rows());
}

// Deterministic noise: long runs are rare, so the code table fills quickly.
std::vector<uint8_t> Noise(size_t n, int colors, uint32_t seed) {
    std::vector<uint8_t> v(n);
    for (auto& p : v) {
        seed = seed * 1103515245u + 12345u;
        p = static_cast<uint8_t>((seed >> 16) % static_cast<uint32_t>(colors));
    }
    return v;
}

GifImageSpec Image(int w, int h, std::vector<uint8_t> pixels, int codeSize = 2) {
    GifImageSpec im;
    im.Width = w;
    im.Height = h;
    im.Pixels = std::move(pixels);
    im.Options.CodeSize = codeSize;
    return im;
}

// The most memory the process has held so far, in MiB.
double PeakMemoryMiB() {
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc)) return -1;
    return static_cast<double>(pmc.PeakWorkingSetSize) / (1 << 20);
#else
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_maxrss) / 1024;  // KiB on Linux
#endif
}

// 40 frames of 8192 x 8192 (each at the per-image limit) in 620 bytes: each
// frame's data is a clear code, one pixel and the end code.
std::vector<uint8_t> FortyHugeFrames() {
    CodePacker p;
    p.Put(4, 3);
    p.Put(0, 3);
    p.Put(5, 3);
    GifImageSpec frame = Image(8192, 8192, {});
    frame.Lzw = p.Finish();
    return BuildGif(std::vector<GifImageSpec>(40, frame), 1);
}

std::string ErrorOf(const std::vector<uint8_t>& bytes) {
    try {
        Read(bytes);
    } catch (const EGifException& e) {
        return e.Message();
    }
    return "(no EGifException)";
}

}  // namespace

TEST(GifReader, OnePixel) {
    auto gif = Read(BuildGif({Image(1, 1, {3})}));
    ASSERT_EQ(gif->ImageCount(), 1);
    const TGifSubImage& im = gif->Image(0);
    EXPECT_EQ(im.Width, 1);
    EXPECT_EQ(im.Height, 1);
    EXPECT_EQ(Matrix(im), std::vector<uint8_t>{3});
    EXPECT_EQ(im.Palette()[3].Green, 6);  // entry i of the test table is (i, 2i, 3i)
    EXPECT_EQ(gif->ScreenWidth(), 1);
}

TEST(GifReader, InterlacedThreeRowsAreStoredInTheOrder0_2_1) {
    GifImageSpec im = Image(2, 3, {1, 1, 2, 2, 3, 3});
    im.Interlaced = true;
    std::vector<uint8_t> bytes = BuildGif({im});
    auto gif = Read(bytes);
    EXPECT_EQ(Matrix(gif->Image(0)), (std::vector<uint8_t>{1, 1, 2, 2, 3, 3}));
    // The data itself holds rows 0, 2, 1: decoded flat it reads 1 1 3 3 2 2.
    GifImageSpec flat = Image(2, 3, {1, 1, 3, 3, 2, 2});
    EXPECT_EQ(InterlaceOrder(im.Pixels, 2, 3), flat.Pixels);
}

TEST(GifReader, InterlacedRowOrderForEveryHeightUpTo20) {
    for (int h = 1; h <= 20; ++h) {
        std::vector<int> expected, got;
        const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
        for (int p = 0; p < 4; ++p)
            for (int r = start[p]; r < h; r += step[p]) expected.push_back(r);
        int pass = 1;
        for (int r = 0; r < h; r = NextInterlacedRow(r, h, pass)) got.push_back(r);
        EXPECT_EQ(got, expected) << "height " << h;
    }
}

TEST(GifReader, VersionsInEitherCaseLoadOthersRaise) {
    struct Case { const char* Version; const char* Error; };
    const Case cases[] = {
        {"87a", ""}, {"89a", ""}, {"87A", ""}, {"89A", ""},
        {"90a", "Gif Version must be 87a or 89a"},
        {"89b", "Gif Version must be 87a or 89a"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = BuildGif({Image(1, 1, {2})}, 2, c.Version);
        std::string error = ErrorOf(bytes);
        if (*c.Error)
            EXPECT_EQ(error, c.Error) << "version " << c.Version;
        else
            EXPECT_EQ(error, "(no EGifException)") << "version " << c.Version;
    }
    EXPECT_EQ(ErrorOf({'G', 'I', 'F', '8'}), "Gif Version must be 87a or 89a");
}

TEST(GifReader, ErrorsCarryTheirExactMessages) {
    struct Case { const char* Name; std::vector<uint8_t> Bytes; const char* Message; };
    GifImageSpec unknownExt = Image(1, 1, {1});
    unknownExt.Before = {'!', 0x99, 0};
    GifImageSpec size1 = Image(1, 1, {1});
    size1.Lzw = {0x00};
    size1.Options.CodeSize = 1;
    GifImageSpec size10 = size1;
    size10.Options.CodeSize = 10;
    // After the clear code 4 and the first code 1 the next free code is 6: 7 is unknown.
    GifImageSpec beyond = Image(4, 1, {});
    {
        CodePacker p;
        p.Put(4, 3); p.Put(1, 3); p.Put(7, 3); p.Put(5, 3);
        beyond.Lzw = p.Finish();
    }
    GifImageSpec clearThenEnd = Image(4, 1, {});
    {
        CodePacker p;
        p.Put(4, 3); p.Put(5, 3);
        clearThenEnd.Lzw = p.Finish();
    }
    GifImageSpec huge = Image(65535, 65535, {});
    huge.Lzw = {0x00};
    // The codes after the last row are read up to the end code and checked.
    GifImageSpec clearThenEndLate = Image(2, 1, {});
    {
        CodePacker p;
        p.Put(4, 3); p.Put(1, 3); p.Put(1, 3); p.Put(4, 3); p.Put(5, 3);
        clearThenEndLate.Lzw = p.Finish();
    }
    GifImageSpec beyondLate = Image(2, 1, {});
    {
        CodePacker p;  // after 1, 1 and 2 the next free code is 8: 9 is unknown
        p.Put(4, 3); p.Put(1, 3); p.Put(1, 3); p.Put(2, 3); p.Put(9, 4); p.Put(5, 4);
        beyondLate.Lzw = p.Finish();
    }
    const Case cases[] = {
        {"unknown extension", BuildGif({unknownExt}), "Unrecognized extension block.\r\nCode = $99"},
        {"code size 1", BuildGif({size1}), "Bad code Size"},
        {"code size 10", BuildGif({size10}), "Bad code Size"},
        {"code beyond the next free one", BuildGif({beyond}), "Bad code"},
        {"end code after a clear code", BuildGif({clearThenEnd}), "Bad code"},
        {"65535 x 65535", BuildGif({huge}), "Image too large (65535 x 65535 pixels)"},
        {"end code after a clear code past the last row", BuildGif({clearThenEndLate}), "Bad code"},
        {"unknown code past the last row", BuildGif({beyondLate}), "Bad code"},
    };
    for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.Bytes), c.Message) << c.Name;
}

TEST(GifReader, CodeSizesTwoToNineDecode) {
    for (int cs = 2; cs <= 8; ++cs) {
        std::vector<uint8_t> px = Noise(40 * 30, 1 << cs, 7u + cs);
        auto gif = Read(BuildGif({Image(40, 30, px, cs)}, cs));
        EXPECT_EQ(Matrix(gif->Image(0)), px) << "code size " << cs;
    }
    // Code size 9 is accepted; its literals keep their low byte.
    GifImageSpec nine = Image(3, 1, {1, 2, 3}, 9);
    EXPECT_EQ(Matrix(Read(BuildGif({nine}, 8))->Image(0)), (std::vector<uint8_t>{1, 2, 3}));
}

TEST(GifReader, TruncatedDataKeepsDecodedRowsAndZerosBelow) {
    const int w = 64, h = 64;
    std::vector<uint8_t> px = Noise(w * h, 4, 99);
    for (auto& p : px) p = static_cast<uint8_t>(p | 1);  // no zero pixel: zeros show what was not reached
    std::vector<uint8_t> full = BuildGif({Image(w, h, px)}, 2, "89a", false);
    for (size_t cut : {full.size() / 2, full.size() - 300, full.size() - 40}) {
        std::vector<uint8_t> bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut));
        auto gif = Read(bytes);
        std::vector<uint8_t> got = Matrix(gif->Image(0));
        int rows = 0;
        while (rows < h && std::equal(px.begin() + rows * w, px.begin() + (rows + 1) * w, got.begin() + rows * w)) ++rows;
        EXPECT_GT(rows, 0) << "cut at " << cut;
        EXPECT_LT(rows, h) << "cut at " << cut;
        EXPECT_TRUE(std::all_of(got.begin() + rows * w, got.end(), [](uint8_t v) { return v == 0; }))
            << "cut at " << cut << ": rows below " << rows << " must be 0";
    }
}

TEST(GifReader, DeferredClearGoesOnAtTwelveBits) {
    const int w = 200, h = 150;  // enough codes to fill the table several times over
    GifImageSpec im = Image(w, h, Noise(w * h, 256, 5), 8);
    im.Options.DeferClear = true;
    auto gif = Read(BuildGif({im}, 8));
    EXPECT_EQ(Matrix(gif->Image(0)), im.Pixels);
}

TEST(GifReader, DataWithoutALeadingClearCodeStartsAsAfterOne) {
    GifImageSpec im = Image(30, 20, Noise(600, 4, 3));
    im.Options.LeadingClear = false;
    EXPECT_EQ(Matrix(Read(BuildGif({im}))->Image(0)), im.Pixels);
}

TEST(GifReader, PixelsAfterTheLastRowAreDropped) {
    GifImageSpec im = Image(5, 2, {});
    std::vector<uint8_t> more = Noise(5 * 40, 4, 11);  // 40 rows of data for a 2-row image
    im.Lzw = LzwEncode(more, im.Options);
    auto gif = Read(BuildGif({im, Image(1, 1, {2})}));
    EXPECT_EQ(Matrix(gif->Image(0)), std::vector<uint8_t>(more.begin(), more.begin() + 10));
    ASSERT_EQ(gif->ImageCount(), 2);  // the reader is still in step with the file
    GifImageSpec inter = Image(3, 3, {});
    inter.Interlaced = true;
    inter.Lzw = LzwEncode(more, inter.Options);
    EXPECT_EQ(Read(BuildGif({inter}))->Image(0).Pixels().Rows(), 3);
}

TEST(GifReader, FortyHugeFramesCostOneMatrix) {
    const std::vector<uint8_t> bytes = FortyHugeFrames();
    ASSERT_EQ(bytes.size(), 620u);
    const double before = PeakMemoryMiB();
    auto gif = Read(bytes);
    const double grown = PeakMemoryMiB() - before;
    ASSERT_EQ(gif->ImageCount(), 40);
    // One 64 MiB matrix for the first frame, not forty (2.5 GiB).
    EXPECT_LT(grown, 400) << "peak memory grew by " << grown << " MiB";
    EXPECT_TRUE(gif->Image(0).Decoded());
    EXPECT_FALSE(gif->Image(39).Decoded());
    EXPECT_EQ(gif->Image(0).Pixels().Rows(), 8192);
}

TEST(GifReader, LaterFramesDecodeWhenTheirPixelsAreAsked) {
    GifImageSpec broken = Image(4, 1, {});
    {
        CodePacker p;  // 7 is beyond the next free code 6
        p.Put(4, 3); p.Put(1, 3); p.Put(7, 3); p.Put(5, 3);
        broken.Lzw = p.Finish();
    }
    auto gif = Read(BuildGif({Image(2, 1, {1, 2}), Image(3, 1, {3, 2, 1}), broken}));
    ASSERT_EQ(gif->ImageCount(), 3);
    EXPECT_FALSE(gif->Image(1).Decoded());
    EXPECT_EQ(Matrix(gif->Image(1)), (std::vector<uint8_t>{3, 2, 1}));
    EXPECT_TRUE(gif->Image(1).Decoded());
    // A broken frame after the first one spoils only itself, when it is looked at.
    try {
        gif->Image(2).Pixels();
        FAIL() << "no exception";
    } catch (const EGifException& e) {
        EXPECT_EQ(e.Message(), "Bad code");
    }
    EXPECT_FALSE(gif->Image(2).Decoded());
    EXPECT_EQ(Matrix(gif->Image(0)), (std::vector<uint8_t>{1, 2}));
}

TEST(GifReader, SubBlockLongerThanTheStreamEnds) {
    std::vector<uint8_t> bytes = BuildGif({}, 2, "89a", false);
    LzwOptions o;
    std::vector<uint8_t> lzw = LzwEncode({1, 2, 3, 1, 1, 1, 1, 1, 1}, o);
    const uint8_t descriptor[] = {',', 0, 0, 0, 0, 3, 0, 3, 0, 0, 2, 200};
    bytes.insert(bytes.end(), std::begin(descriptor), std::end(descriptor));
    bytes.insert(bytes.end(), lzw.begin(), lzw.begin() + 2);  // a block claiming 200 bytes, 2 there
    auto gif = Read(bytes);
    ASSERT_EQ(gif->ImageCount(), 1);
    EXPECT_EQ(gif->Image(0).LzwData.size(), 2u);
}

TEST(GifReader, ExtensionsAreKeptAndGraphicControlSetsDisposal) {
    GifImageSpec im = Image(1, 1, {1});
    im.Before = {'!', 0xFE, 3, 'a', 'b', 'c', 0,                         // comment
                 '!', 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0,
                 '!', 0xF9, 4, (2 << 2) | 1, 10, 0, 7, 0};              // graphic control
    auto gif = Read(BuildGif({im}));
    const TGifSubImage& s = gif->Image(0);
    ASSERT_EQ(s.Extensions.size(), 3u);
    EXPECT_EQ(s.Extensions[0]->Kind, ekComment);
    EXPECT_EQ(s.Extensions[0]->SubBlocks, std::vector<std::string>{"abc"});
    EXPECT_EQ(s.Extensions[1]->Kind, ekApplication);
    EXPECT_EQ(s.Extensions[2]->Delay(), 10);
    EXPECT_EQ(s.Extensions[2]->TransparentIndex(), 7);
    EXPECT_EQ(s.DisposalMethod, 2);
    EXPECT_TRUE(s.Transparent);
}

TEST(GifReader, LocalTableIsThePalette) {
    GifImageSpec im = Image(2, 1, {5, 6}, 3);
    im.LocalBits = 3;
    auto gif = Read(BuildGif({im, Image(1, 1, {1})}, 2));
    EXPECT_TRUE(gif->Image(0).LocalTable);
    EXPECT_EQ(gif->Image(0).Palette()[5].Blue, 15);
    EXPECT_EQ(&gif->Image(1).Palette(), &gif->GlobalColors);
}

TEST(GifReader, AFileWithoutImagesHasNoFirstImage) {
    auto gif = Read(BuildGif({}));
    try {
        gif->Image(0);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (0)");
    }
    // An unexpected byte where a block should start ends the file quietly.
    std::vector<uint8_t> bytes = BuildGif({Image(1, 1, {1})}, 2, "89a", false);
    bytes.push_back('x');
    EXPECT_EQ(Read(bytes)->ImageCount(), 1);
}

TEST(GifReader, ColourCountMustBeAPowerOfTwo) {
    for (int n : {2, 4, 8, 16, 32, 64, 128, 256}) EXPECT_NO_THROW(TGifSubImage(n, nullptr)) << n;
    try {
        TGifSubImage bad(3, nullptr);
        FAIL() << "no exception";
    } catch (const EGifException& e) {
        EXPECT_EQ(e.Message(), "Number of colors (3) wrong; must be a power of 2");
    }
    TGifSubImage two(2, nullptr);
    EXPECT_EQ(two.CodeSize, 2);
    EXPECT_EQ(two.Packed, 0);
    TGifSubImage big(256, nullptr);
    EXPECT_EQ(big.CodeSize, 8);
    EXPECT_EQ(big.Packed, 7);
    EXPECT_EQ(big.LocalColors[200].Red, 200);  // the grey ramp preset
}

TEST(GifReader, ProgressHookSeesEveryRowOfTallImages) {
    static std::vector<float> seen;
    seen.clear();
    ProgressHook = [](float f) { seen.push_back(f); };
    Read(BuildGif({Image(2, 250, Noise(500, 4, 1))}));
    Read(BuildGif({Image(2, 200, Noise(400, 4, 1))}));  // below 201 rows: not reported
    ProgressHook = nullptr;
    ASSERT_EQ(seen.size(), 250u);
    EXPECT_FLOAT_EQ(seen.front(), 1.0f / 250);
    EXPECT_FLOAT_EQ(seen.back(), 1.0f);
}

TEST(GifReader, MatrixIndicesAreCheckedAndRowsMustFit) {
    TByteArray2D m(3, 2);
    m.Set(3, 2, 9);
    EXPECT_EQ(m.Get(3, 2), 9);
    EXPECT_EQ(m.GetRow(2), (std::vector<uint8_t>{0, 0, 9}));
    EXPECT_THROW(m.Get(0, 1), EIndexOutOfBounds);
    EXPECT_THROW(m.Set(4, 1, 0), EIndexOutOfBounds);
    EXPECT_THROW(m.Get(1, 3), EIndexOutOfBounds);
    try {
        m.SetRow(1, {1, 2});
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Row doesn't have equal number of elements as Matrix row");
    }
}
