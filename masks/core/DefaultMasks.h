// The ten built-in property templates every window starts with (and gets
// back on a new search).
#pragma once

#include <cstdint>

class InfoSearchCalls;
class MaskCollection;

struct DefaultMask {
    const char* MaskName;
    int32_t MaskType;
    const char* DependOn;
    int32_t DependType;
    int32_t BrowserType;
    int32_t Priority;
    int32_t MaxFoundCount;
    bool CanCompile;
    bool Hidden;
    const char* Pattern;  // nullptr: the engine fills the property itself
};

constexpr int kDefaultMaskCount = 10;
extern const DefaultMask kDefaultMasks[kDefaultMaskCount];

// Replaces every mask with the ten built-ins (SortAt stays) and hands them to
// the engine. The caller refills its mask views.
void AddDefaultMasks(MaskCollection& masks, InfoSearchCalls& search);
