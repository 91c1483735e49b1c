// Cuts arbitrary input into lines the way line mode does (reads of arbitrary
// size, a terminator of 1 to 3 bytes, a small limit) and checks that the lines
// put back together give the input and that none exceeds the limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/LineBuffer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    std::string lineEnd(reinterpret_cast<const char*>(data), (data[0] % 3) + 1);
    size_t step = (data[1] % 32) + 1;
    long limit = data[2] % 64;  // 0: no limit
    data += 3;
    size -= 3;
    const std::string input(reinterpret_cast<const char*>(data), size);
    TLineBuffer b;
    std::string out;
    for (size_t pos = 0; pos < size;) {
        size_t n = std::min(step, size - pos);
        size_t old = b.Length();
        b.Append(input.data() + pos, n);
        pos += n;
        size_t from = old > lineEnd.size() ? old - lineEnd.size() : 0;
        for (;;) {
            TLineCut cut = b.Cut(lineEnd, from, limit);
            if (cut.Length == 0) break;
            if (cut.Length > b.Length()) abort();
            if (limit > 0 && cut.Length > static_cast<size_t>(limit)) abort();
            if (!cut.TooLong && std::string(b.Data() + cut.Length - lineEnd.size(), lineEnd.size()) != lineEnd) abort();
            std::string line(cut.Length, '\0');
            if (b.Take(&line[0], cut.Length) != cut.Length) abort();
            out += line;
            from = 0;
        }
    }
    out.append(b.Data(), b.Length());
    if (out != input) abort();
    return 0;
}
