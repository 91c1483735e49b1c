#include "masks/core/MaskFileCommands.h"

#include "masks/core/MaskCollection.h"
#include "masks/core/MaskParseError.h"
#include "masks/core/MaskTexts.h"
#include "masks/core/TextFile.h"

namespace {
constexpr long kOpenForWriting = 0;
constexpr long kOpenForReading = 1;
}  // namespace

std::string OpenMaskFile(MaskCollection& masks, TextFile& file, InfoSearchCalls& search, const std::string& fileName) {
    const std::string failed = std::string(MaskTexts::kCanNotOpenMask) + " - " + fileName;
    if (!file.Open(fileName, kOpenForReading)) return failed;
    bool loaded = false;
    try {
        loaded = masks.LoadMask(file);
    } catch (const MaskParseError&) {
        loaded = false;
    }
    file.Close();
    if (!loaded) return failed;
    masks.Apply(search);
    return "";
}

std::string MaskFileLetter(int32_t MaskType) {
    static const char* const letters[] = {"t", "l", "a", "g"};
    return MaskType >= 0 && MaskType <= 3 ? letters[MaskType] : "";
}

std::string SaveMaskFile(const SearchMask& mask, TextFile& file, const std::string& fileName) {
    const std::string failed = MaskTexts::kCanNotSaveMask + fileName;
    if (!mask.FitsMaskFile()) return failed;
    if (!file.Open(fileName, kOpenForWriting)) return failed;
    const bool written = mask.SaveMask(file);
    file.Close();
    return written ? "" : failed;
}
