// Reads a sequence of masks from arbitrary text, then one mask at a time.
// Whatever reads must come back the same through PutMask.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "masks/core/MaskCollection.h"
#include "masks/core/MaskParseError.h"

namespace {
void RoundTrip(const SearchMask& m) {
    std::string text = m.PutMask();
    SearchMask back;
    back.GetMask(text);
    if (!text.empty() || back.PutMask() != m.PutMask()) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    MaskCollection masks;
    std::string text = input;
    try {
        masks.RestoreMasks(text);
    } catch (const MaskParseError&) {
        if (text != input || masks.Count() != 0) std::abort();  // nothing may have changed
    }
    for (const auto& m : masks) RoundTrip(*m);

    text = input;
    for (int i = 0; i < 64 && !text.empty(); ++i) {
        try {
            masks.RestoreMask(text);
        } catch (const MaskParseError&) {
            try {
                GetInt(text);
            } catch (const MaskParseError&) {
                text.erase(0, 1);
            }
        }
    }
    return 0;
}
