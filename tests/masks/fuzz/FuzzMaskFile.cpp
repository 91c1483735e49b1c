// Loads a mask file from arbitrary bytes. A mask that loads and fits a file
// saves and loads back to the same mask.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../MaskFakes.h"
#include "masks/core/MaskCollection.h"
#include "masks/core/MaskFileCommands.h"

namespace {
bool Sixteen(int32_t v) { return v >= -32768 && v <= 32767; }

bool Same(const SearchMask& a, const SearchMask& b) {
    return a.MaskName == b.MaskName && a.DependOn == b.DependOn && a.MaskType == b.MaskType &&
           a.DependType == b.DependType && a.BrowserType == b.BrowserType && a.Priority == b.Priority &&
           a.MaxFoundCount == b.MaxFoundCount && a.CanCompile == b.CanCompile && a.Hidden == b.Hidden &&
           a.Values() == b.Values();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemoryTextFile file;
    file.Files["in"] = std::string(reinterpret_cast<const char*>(data), size);
    MaskCollection masks;
    RecordingSearch search;
    const std::string message = OpenMaskFile(masks, file, search, "in");
    if (file.IsOpen() || masks.Count() != (message.empty() ? 1 : 0)) std::abort();
    if (!message.empty()) return 0;

    const SearchMask& m = masks.Item(1);
    if (!m.FitsMaskFile() || !Sixteen(m.MaskType) || !Sixteen(m.DependType)) return 0;
    if (m.DependOn.compare(0, 6, "<None>") == 0) return 0;
    if (!SaveMaskFile(m, file, "out").empty()) std::abort();
    file.Files["in"] = file.Files["out"];
    if (!OpenMaskFile(masks, file, search, "in").empty() || !Same(m, masks.Item(2))) std::abort();
    return 0;
}
