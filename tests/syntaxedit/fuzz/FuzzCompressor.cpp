// Decompresses arbitrary bytes: any failure must be a clean ECompressorException.
#include <cstdint>

#include "Compressor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TMemoryStream in, out;
    if (size) in.WriteBuffer(data, static_cast<int32_t>(size));
    in.SetPosition(0);
    TCompressor c;
    c.UseStreams = true;
    c.InputStream = &in;
    c.OutputStream = &out;
    try {
        int64_t n = c.Decompress();
        if (n != out.Size()) __builtin_trap();
    } catch (const ECompressorException&) {
    }
    return 0;
}
