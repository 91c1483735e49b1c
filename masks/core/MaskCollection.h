// The window's masks in their 1-based order, the index of the sort mask, and
// the one road by which masks reach the engine (Apply).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "masks/core/SearchMask.h"

class InfoSearchCalls;
class LineReader;

class MaskCollection {
public:
    // DependType becomes 0 when DependOn is "". The new mask has no values
    // and no SortAt marker, whatever SortAt() is.
    SearchMask& Add(const std::string& MaskName, const std::string& DependOn, int32_t MaskType, int32_t DependType,
                    int32_t BrowserType, int32_t Priority, bool CanCompile, bool Hidden, int32_t MaxFoundCount);
    // Appends to the mask FindMask(name) gives; std::out_of_range when none.
    void AddValue(const std::string& name, const std::string& value);
    void AddVal(int32_t i, const std::string& value) { Item(i).AddValue(value); }
    const std::string& GetValue(int32_t i, int32_t j) const { return Item(i).GetValue(j); }
    int32_t GetValueCount(int32_t i) const { return Item(i).ValueCount(); }
    void ClearValues(int32_t i) { Item(i).ClearValues(); }

    // 1-based index of the first mask named name (exact), -1 when none.
    int32_t FindMask(const std::string& name) const;
    // The collection's own mask: changes through it are changes here.
    // std::out_of_range outside 1 to Count.
    SearchMask& Item(int32_t index);
    const SearchMask& Item(int32_t index) const;
    int32_t Count() const { return static_cast<int32_t>(masks_.size()); }
    void Remove(int32_t index);
    void Clear() { masks_.clear(); }  // SortAt stays

    int16_t SortAt() const { return sortAt_; }
    void SetSortAt(int16_t v);

    // Appends one mask read from the front of text and returns its index;
    // text keeps the rest. Malformed text: MaskParseError, nothing changed.
    int32_t RestoreMask(std::string& text);
    // A sequence of masks (a count, then that many mask strings) as paste and
    // opening a search read it: all of them are appended, or on a
    // MaskParseError none. A token cut short, a negative count or fewer masks
    // than the count are malformed. Returns how many were appended ("" is 0).
    int32_t RestoreMasks(std::string& text);
    // The count and mask strings of the masks at the given indices.
    std::string PutMasks(const std::vector<int32_t>& indices) const;
    // Appends the mask of an open mask file. A malformed file: MaskParseError,
    // nothing appended.
    bool LoadMask(LineReader& file);

    // With the search idle: EmptyMasks, then one AddMask per value of each
    // mask in order (once with "" for a mask without values). While a search
    // runs it sends nothing.
    void Apply(InfoSearchCalls& search) const;

    std::vector<std::unique_ptr<SearchMask>>::const_iterator begin() const { return masks_.begin(); }
    std::vector<std::unique_ptr<SearchMask>>::const_iterator end() const { return masks_.end(); }

private:
    void Append(std::unique_ptr<SearchMask> m);

    // Held by pointer so a mask handed out by Item stays put while others come and go.
    std::vector<std::unique_ptr<SearchMask>> masks_;
    int16_t sortAt_ = 0;
};
