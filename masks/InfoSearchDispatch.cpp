#include "masks/InfoSearchDispatch.h"

int32_t InfoSearchDispatch::Status() { return static_cast<int32_t>(search_.Get("Status").AsLong()); }

void InfoSearchDispatch::EmptyMasks() { search_.Call("EmptyMasks"); }

void InfoSearchDispatch::AddMask(const std::string& MaskName, const std::string& MaskValue,
                                 const std::string& DependOn, int32_t MaskType, int32_t DependType, int32_t Priority,
                                 int32_t MaxFoundCount, int32_t CanCompile, int32_t Hidden) {
    search_.Call("AddMask", {MaskName, MaskValue, DependOn, static_cast<long>(MaskType), static_cast<long>(DependType),
                             static_cast<long>(Priority), static_cast<long>(MaxFoundCount),
                             static_cast<long>(CanCompile), static_cast<long>(Hidden)});
}
