#include "masks/core/FilterBlock.h"

#include <stdexcept>

#include "masks/core/MaskCollection.h"

namespace {
bool SameKey(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}
}  // namespace

FilterItem& FilterBlock::Add(int32_t Index, const std::string& Name, bool FlagNot, const std::string& key) {
    if (!key.empty() && KeyPosition(key) != items_.size()) throw std::invalid_argument("key already in the block");
    FilterItem item;
    item.FlagNot = FlagNot;
    item.Index = Index;
    item.Name = Name;
    items_.push_back(item);
    keys_.push_back(key);
    return items_.back();
}

size_t FilterBlock::KeyPosition(const std::string& key) const {
    for (size_t i = 0; i < keys_.size(); ++i)
        if (!keys_[i].empty() && SameKey(keys_[i], key)) return i;
    return items_.size();
}

FilterItem& FilterBlock::Item(int32_t position) {
    if (position < 1 || position > Count()) throw std::out_of_range("filter item out of range");
    return items_[static_cast<size_t>(position - 1)];
}

const FilterItem& FilterBlock::Item(int32_t position) const {
    if (position < 1 || position > Count()) throw std::out_of_range("filter item out of range");
    return items_[static_cast<size_t>(position - 1)];
}

FilterItem& FilterBlock::Item(const std::string& key) {
    const size_t at = KeyPosition(key);
    if (key.empty() || at == items_.size()) throw std::out_of_range("no filter item under this key");
    return items_[at];
}

void FilterBlock::Remove(int32_t position) {
    Item(position);
    items_.erase(items_.begin() + (position - 1));
    keys_.erase(keys_.begin() + (position - 1));
}

void FilterBlock::Remove(const std::string& key) {
    Item(key);
    Remove(static_cast<int32_t>(KeyPosition(key) + 1));
}

bool FilterPasses(const std::vector<FilterBlock>& Filters, const MaskCollection& Masks, const ValueCountOf& count) {
    for (const FilterBlock& block : Filters) {
        bool holds = true;
        for (const FilterItem& c : block) {
            const bool named = c.Index >= 1 && c.Index <= Masks.Count();
            const bool has = named && count(Masks.Item(c.Index).MaskName) > 0;
            if (has == c.FlagNot) holds = false;
        }
        if (!holds) return false;
    }
    return true;
}
