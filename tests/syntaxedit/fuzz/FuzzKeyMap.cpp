#include "FuzzRoundTrip.h"
#include "KeyboardActionContoller.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LoadSaveLoad<TKeyboardActionContoller>(data, size);
    return 0;
}
