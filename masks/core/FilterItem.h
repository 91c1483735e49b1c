// One condition of the result filter: a record must have at least one value
// of the mask at Index (FlagNot False) or none (FlagNot True).
#pragma once

#include <cstdint>
#include <string>

struct FilterItem {
    std::string Name;   // for display and the state string
    int32_t Index = 0;  // 1-based position of the mask in the window's MaskCollection
    bool FlagNot = false;
};
