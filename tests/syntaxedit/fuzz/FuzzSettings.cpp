#include "FuzzRoundTrip.h"
#include "SM_Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LoadSaveLoad<TSM_Settings>(data, size);
    return 0;
}
