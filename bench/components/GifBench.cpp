// Decodes each GIF file given on the command line with our reader and with
// giflib, in turn, and prints the rates (file bytes and pixels per second).
// The index matrices must agree, or the figures mean nothing.
#include <gif_lib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "components/core/GifFile.h"

namespace {

using Clock = std::chrono::steady_clock;

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

// Decodes with giflib; the frames are copied out only when asked for.
std::vector<std::vector<uint8_t>> Giflib(const std::vector<uint8_t>& bytes, bool keep = true) {
    MemoryInput in{&bytes};
    int error = 0;
    std::vector<std::vector<uint8_t>> frames;
    GifFileType* g = DGifOpen(&in, ReadMemory, &error);
    if (!g) return frames;
    if (DGifSlurp(g) == GIF_OK && keep)
        for (int i = 0; i < g->ImageCount; ++i) {
            const SavedImage& s = g->SavedImages[i];
            frames.emplace_back(s.RasterBits, s.RasterBits + size_t(s.ImageDesc.Width) * s.ImageDesc.Height);
        }
    DGifCloseFile(g, &error);
    return frames;
}

std::vector<std::vector<uint8_t>> Ours(const std::vector<uint8_t>& bytes, bool keep = true) {
    TMemoryStream s;
    s.Bytes() = bytes;
    TGifFile gif;
    gif.ReadFromStream(s);
    std::vector<std::vector<uint8_t>> frames;
    for (int i = 0; i < gif.ImageCount(); ++i) {
        const TByteArray2D& m = gif.Image(i).Pixels();  // later frames decode here
        if (keep) frames.emplace_back(m.Data(), m.Data() + size_t(m.Columns()) * m.Rows());
    }
    return frames;
}

// Best of several rounds, in seconds.
template <class F>
double Best(int rounds, F f) {
    double best = 1e30;
    for (int i = 0; i < rounds; ++i) {
        auto t0 = Clock::now();
        f();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - t0).count());
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s file.gif ...\n", argv[0]);
        return 2;
    }
    const int rounds = 5;
    double oursTotal = 0, theirsTotal = 0, bytesTotal = 0;
    std::printf("%-28s %9s %9s | %10s %10s | %10s %10s\n", "file", "KiB", "Mpixel", "ours MB/s", "giflib MB/s",
                "ours Mpx/s", "giflib Mpx/s");
    for (int a = 1; a < argc; ++a) {
        std::ifstream f(argv[a], std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(f)), {});
        auto mine = Ours(bytes);
        auto theirs = Giflib(bytes);
        if (mine != theirs) {
            std::printf("%s: the decoders disagree\n", argv[a]);
            return 1;
        }
        double pixels = 0;
        for (auto& fr : mine) pixels += double(fr.size());
        double tOurs = Best(rounds, [&] { Ours(bytes, false); });
        double tTheirs = Best(rounds, [&] { Giflib(bytes, false); });
        oursTotal += tOurs;
        theirsTotal += tTheirs;
        bytesTotal += double(bytes.size());
        std::string name = argv[a];
        name = name.substr(name.find_last_of('/') + 1);
        std::printf("%-28s %9.0f %9.2f | %10.1f %10.1f | %10.1f %10.1f\n", name.c_str(), bytes.size() / 1024.0,
                    pixels / 1e6, bytes.size() / 1e6 / tOurs, bytes.size() / 1e6 / tTheirs, pixels / 1e6 / tOurs,
                    pixels / 1e6 / tTheirs);
    }
    std::printf("all files: ours %.1f MB/s, giflib %.1f MB/s (best of %d rounds each)\n", bytesTotal / 1e6 / oursTotal,
                bytesTotal / 1e6 / theirsTotal, rounds);
    return 0;
}
