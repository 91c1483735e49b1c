// Any bytes given to the GIF reader end in images or in an exception, and
// the first image always makes a bitmap.
#include <cstddef>
#include <cstdint>

#include "components/core/GifFile.h"
#include "runtime/core/SysUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TMemoryStream in;
    in.Bytes().assign(data, data + size);
    TGifFile gif;
    try {
        gif.ReadFromStream(in);
    } catch (const Exception&) {
        return 0;
    }
    if (gif.ImageCount() > 0) {
        TMemoryStream out;
        WriteBmpStream(gif.Image(0), out);
    }
    return 0;
}
