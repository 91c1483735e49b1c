// Reads counted strings from arbitrary bytes until the input runs out.
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/CountedString.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string copy(reinterpret_cast<const char*>(data), size);
    std::FILE* f = fmemopen(copy.empty() ? nullptr : &copy[0], copy.size(), "rb");
    if (!f) return 0;
    std::u16string s;
    for (size_t i = 0; i <= size && ReadCountedString(f, s); ++i) {
    }
    std::fclose(f);
    return 0;
}
