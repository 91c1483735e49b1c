// Loads each GIF file given on the command line as the picture reader does
// (the file read, its first image written as a bitmap file) and prints the
// time taken and the process's peak memory so far.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "components/core/GifFile.h"
#include "runtime/core/SysUtils.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s file.gif ...\n", argv[0]);
        return 2;
    }
    for (int a = 1; a < argc; ++a) {
        std::ifstream f(argv[a], std::ios::binary);
        TMemoryStream in;
        in.Bytes().assign(std::istreambuf_iterator<char>(f), {});
        const auto t0 = std::chrono::steady_clock::now();
        int images = 0;
        try {
            TGifFile gif;
            gif.ReadFromStream(in);
            images = gif.ImageCount();
            TMemoryStream bmp;
            WriteBmpStream(gif.Image(0), bmp);
        } catch (const Exception& e) {
            std::printf("%s: %s\n", argv[a], e.what());
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        rusage u{};
        getrusage(RUSAGE_SELF, &u);
        std::printf("%s: %zu bytes, %d images, %.2f s, peak memory %.0f MiB\n", argv[a], in.Bytes().size(), images,
                    seconds, u.ru_maxrss / 1024.0);
    }
    return 0;
}
