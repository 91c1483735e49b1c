// The first byte picks code templates or the auto-correct table.
#include "CodeTemplates.h"
#include "FuzzRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    if (data[0] & 1) LoadSaveLoad<TAutoReplace>(data + 1, size - 1);
    else LoadSaveLoad<TCodeTemplates>(data + 1, size - 1);
    return 0;
}
