// Mask list operations that change the collection and what points into it:
// removing a mask shifts the filter's and the sort's indices; a template
// file's name gets its type letter once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "masks/core/FilterBlock.h"
#include "masks/core/MaskCollection.h"

// Removes mask index: filter items on it go, those after it move up, and
// SortAt follows its mask (0 when the sort mask itself went).
void RemoveMaskAt(MaskCollection& masks, std::vector<FilterBlock>& filters, int32_t index);
// The file name a template is saved under: the type letter ("t", "l", "a",
// "g") appended unless the name already ends in ".mask" and that letter.
std::string MaskFileName(const std::string& chosen, int32_t maskType);
