// GIF files made by ImageMagick during the test run (make-gifs.py): every
// frame's indices, looked up in its palette, give the source picture back;
// in the host build the index matrices also equal what giflib decodes.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "GifBuilder.h"
#include "components/core/GifFile.h"

#ifdef QF_HAVE_GIFLIB
#include <gif_lib.h>
#endif

namespace {

const char* const kDir = "magick/";

struct Ppm {
    int Width = 0, Height = 0;
    std::vector<uint8_t> Rgb;
};

Ppm ReadPpm(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::string magic;
    Ppm p;
    int maxval = 0;
    f >> magic >> p.Width >> p.Height >> maxval;
    f.get();
    p.Rgb.resize(static_cast<size_t>(p.Width) * p.Height * 3);
    f.read(reinterpret_cast<char*>(p.Rgb.data()), static_cast<std::streamsize>(p.Rgb.size()));
    EXPECT_TRUE(f && magic == "P6" && maxval == 255) << path;
    return p;
}

std::vector<uint8_t> FileBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

struct Listed {
    std::string Gif;
    bool NeedsLocal = false;
    std::vector<std::string> Frames;
};

std::vector<Listed> Listing() {
    std::vector<Listed> all;
    std::ifstream f(std::string(kDir) + "list.txt");
    std::string line;
    while (std::getline(f, line)) {
        std::istringstream in(line);
        Listed l;
        int local = 0;
        in >> l.Gif >> local;
        l.NeedsLocal = local != 0;
        for (std::string s; in >> s;) l.Frames.push_back(s);
        all.push_back(l);
    }
    return all;
}

std::unique_ptr<TGifFile> Decode(const std::vector<uint8_t>& bytes) {
    TMemoryStream s;
    s.Bytes() = bytes;
    auto gif = std::make_unique<TGifFile>();
    gif->ReadFromStream(s);
    return gif;
}

#ifdef QF_HAVE_GIFLIB
struct MemoryInput {
    const std::vector<uint8_t>* Bytes;
    size_t Pos = 0;
};

int ReadMemory(GifFileType* g, GifByteType* buf, int n) {
    auto* in = static_cast<MemoryInput*>(g->UserData);
    size_t k = std::min(static_cast<size_t>(n), in->Bytes->size() - in->Pos);
    std::memcpy(buf, in->Bytes->data() + in->Pos, k);
    in->Pos += k;
    return static_cast<int>(k);
}

// giflib's index matrices, one per frame; empty when giflib refuses the file.
std::vector<std::vector<uint8_t>> GiflibFrames(const std::vector<uint8_t>& bytes) {
    MemoryInput in{&bytes};
    int error = 0;
    GifFileType* g = DGifOpen(&in, ReadMemory, &error);
    std::vector<std::vector<uint8_t>> frames;
    if (!g) return frames;
    if (DGifSlurp(g) == GIF_OK) {
        for (int i = 0; i < g->ImageCount; ++i) {
            const SavedImage& s = g->SavedImages[i];
            size_t n = static_cast<size_t>(s.ImageDesc.Width) * s.ImageDesc.Height;
            frames.emplace_back(s.RasterBits, s.RasterBits + n);
        }
    }
    DGifCloseFile(g, &error);
    return frames;
}

void ExpectSameAsGiflib(const std::vector<uint8_t>& bytes, const std::string& name) {
    auto ours = Decode(bytes);
    auto theirs = GiflibFrames(bytes);
    ASSERT_EQ(static_cast<int>(theirs.size()), ours->ImageCount()) << name;
    for (int i = 0; i < ours->ImageCount(); ++i) {
        const TByteArray2D& m = ours->Image(i).Pixels();
        std::vector<uint8_t> mine(m.Data(), m.Data() + static_cast<size_t>(m.Columns()) * m.Rows());
        EXPECT_TRUE(mine == theirs[static_cast<size_t>(i)]) << name << " frame " << i << " differs from giflib";
    }
}
#endif

}  // namespace

TEST(GifFiles, FramesGiveTheirSourcePicturesBack) {
    std::vector<Listed> listing = Listing();
    ASSERT_GE(listing.size(), 9u) << "make-gifs.py did not run";
    for (const Listed& l : listing) {
        auto gif = Decode(FileBytes(kDir + l.Gif));
        ASSERT_EQ(gif->ImageCount(), static_cast<int>(l.Frames.size())) << l.Gif;
        bool sawLocal = false;
        for (size_t f = 0; f < l.Frames.size(); ++f) {
            const TGifSubImage& im = gif->Image(static_cast<int>(f));
            Ppm src = ReadPpm(kDir + l.Frames[f]);
            ASSERT_EQ(im.Width, src.Width) << l.Gif;
            ASSERT_EQ(im.Height, src.Height) << l.Gif;
            sawLocal = sawLocal || im.LocalTable;
            const TColorTable& pal = im.Palette();
            const uint8_t* idx = im.Pixels().Data();
            size_t wrong = 0, first = 0;
            for (size_t i = 0; i < static_cast<size_t>(src.Width) * src.Height; ++i) {
                const TRGBTriple& c = pal[idx[i]];
                bool same = idx[i] < pal.Count() && c.Red == src.Rgb[3 * i] && c.Green == src.Rgb[3 * i + 1] &&
                            c.Blue == src.Rgb[3 * i + 2];
                if (!same && wrong++ == 0) first = i;
            }
            EXPECT_EQ(wrong, 0u) << l.Gif << " frame " << f << ": first wrong pixel at " << first;
        }
        if (l.NeedsLocal) {
            EXPECT_TRUE(sawLocal) << l.Gif << " was meant to carry a local table";
        }
    }
}

TEST(GifFiles, InterlacedFilesAreInterlaced) {
    EXPECT_TRUE(Decode(FileBytes(std::string(kDir) + "interlaced.gif"))->Image(0).Interlaced);
    EXPECT_FALSE(Decode(FileBytes(std::string(kDir) + "bands.gif"))->Image(0).Interlaced);
}

// giflib is a host library: the cross build registers these tests and skips them.
TEST(GifFiles, IndexMatricesEqualGiflibs) {
#ifndef QF_HAVE_GIFLIB
    GTEST_SKIP() << "giflib is compared in the host build";
#else
    std::vector<Listed> listing = Listing();
    ASSERT_FALSE(listing.empty());
    for (const Listed& l : listing) ExpectSameAsGiflib(FileBytes(kDir + l.Gif), l.Gif);
#endif
}

TEST(GifFiles, DeferredClearAndMissingLeadingClearAgreeWithGiflib) {
#ifndef QF_HAVE_GIFLIB
    GTEST_SKIP() << "giflib is compared in the host build";
#else
    struct Case { const char* Name; bool LeadingClear; bool DeferClear; bool Interlaced; };
    const Case cases[] = {
        {"deferred clear", true, true, false},
        {"deferred clear, interlaced", true, true, true},
        {"no leading clear", false, false, false},
    };
    for (const Case& c : cases) {
        GifImageSpec im;
        im.Width = 211;
        im.Height = 97;
        uint32_t seed = 17;
        for (int i = 0; i < im.Width * im.Height; ++i) {
            seed = seed * 1103515245u + 12345u;
            im.Pixels.push_back(static_cast<uint8_t>((seed >> 16) % 256));
        }
        im.Options.CodeSize = 8;
        im.Options.LeadingClear = c.LeadingClear;
        im.Options.DeferClear = c.DeferClear;
        im.Interlaced = c.Interlaced;
        std::vector<uint8_t> bytes = BuildGif({im}, 8);
        ExpectSameAsGiflib(bytes, c.Name);
        auto gif = Decode(bytes);
        const TByteArray2D& m = gif->Image(0).Pixels();
        EXPECT_TRUE(std::equal(im.Pixels.begin(), im.Pixels.end(), m.Data())) << c.Name;
    }
#endif
}
