// Compresses arbitrary bytes with the method the first byte picks and checks
// that they come back unchanged.
#include <cstdint>
#include <cstring>

#include "Compressor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    TMemoryStream in, packed, out;
    if (size > 1) in.WriteBuffer(data + 1, static_cast<int32_t>(size - 1));
    in.SetPosition(0);
    TCompressor c;
    c.Method = data[0] % 3;
    c.UseStreams = true;
    c.InputStream = &in;
    c.OutputStream = &packed;
    c.Compress();
    packed.SetPosition(0);
    c.InputStream = &packed;
    c.OutputStream = &out;
    c.Decompress();
    if (out.Size() != static_cast<int64_t>(size - 1) || (size > 1 && memcmp(out.Memory(), data + 1, size - 1) != 0))
        __builtin_trap();
    return 0;
}
