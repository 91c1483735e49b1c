// One block of the result filter: conditions that must all hold. A filter is
// a list of blocks that must all hold; an empty filter lists everything.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "masks/core/FilterItem.h"

class MaskCollection;

class FilterBlock {
public:
    // Appended under key when key is not ""; a key already used (letter case
    // aside) throws std::invalid_argument.
    FilterItem& Add(int32_t Index, const std::string& Name, bool FlagNot, const std::string& key = "");
    // 1-based; std::out_of_range outside 1 to Count, or for an unknown key.
    FilterItem& Item(int32_t position);
    const FilterItem& Item(int32_t position) const;
    FilterItem& Item(const std::string& key);
    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    void Remove(int32_t position);
    void Remove(const std::string& key);

    std::vector<FilterItem>::const_iterator begin() const { return items_.begin(); }
    std::vector<FilterItem>::const_iterator end() const { return items_.end(); }

private:
    size_t KeyPosition(const std::string& key) const;

    std::vector<FilterItem> items_;
    std::vector<std::string> keys_;  // beside items_, "" for none
};

// How many values a record holds of the named property.
using ValueCountOf = std::function<int32_t(const std::string& maskName)>;

// True when every condition of every block holds. A condition whose Index no
// longer names a mask (masks deleted after the filter was made) counts as a
// mask the record has no value of.
bool FilterPasses(const std::vector<FilterBlock>& Filters, const MaskCollection& Masks, const ValueCountOf& count);
