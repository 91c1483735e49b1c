#include "masks/core/FilterDialogModel.h"

#include <stdexcept>

#include "masks/core/MaskCollection.h"
#include "masks/core/MaskTexts.h"

void FilterDialogModel::Clear() {
    blocks_.clear();
    offered_.clear();
}

void FilterDialogModel::SetElement(int32_t i, int32_t j, int32_t Index, const std::string& Name, bool FlagNot) {
    if (i < 1 || j < 1) throw std::out_of_range("filter block or condition below 1");
    while (blockCount() < i) blocks_.emplace_back();
    FilterBlock& b = blocks_[static_cast<size_t>(i - 1)];
    while (b.Count() < j) b.Add(-1, "", false);
    FilterItem& item = b.Item(j);
    item.Index = Index;
    item.Name = Name;
    item.FlagNot = FlagNot;
}

const FilterBlock& FilterDialogModel::Block(int32_t i) const {
    if (i < 1 || i > blockCount()) throw std::out_of_range("filter block out of range");
    return blocks_[static_cast<size_t>(i - 1)];
}

void FilterDialogModel::Fill(const std::vector<FilterBlock>& Filters, const MaskCollection& Masks) {
    Clear();
    for (size_t i = 0; i < Filters.size(); ++i) {
        int32_t j = 0;
        for (const FilterItem& c : Filters[i])
            SetElement(static_cast<int32_t>(i + 1), ++j, c.Index, c.Name, c.FlagNot);
        if (j == 0) blocks_.resize(i + 1);  // an empty block stays a block
    }
    for (const auto& m : Masks) AddMask(m->Hidden ? std::string() : m->MaskName);
}

std::vector<FilterBlock> FilterDialogModel::Rebuild() const {
    std::vector<FilterBlock> filters;
    for (int32_t i = 1; i <= blockCount(); ++i) {
        FilterBlock b;
        for (int32_t j = 1; j <= itemCount(i); ++j) {
            const FilterItem& c = Mask(i, j);
            b.Add(c.Index, c.Name, c.FlagNot);
        }
        filters.push_back(std::move(b));
    }
    return filters;
}

void FilterDialogModel::Load() {
    ok_ = false;
    ShowFilter();
}

void FilterDialogModel::ShowFilter() {
    rows_.clear();
    // Clamped before the buttons are set, so Previous is never enabled on
    // the first block after the last one was removed.
    if (current_ > blockCount()) current_ = blockCount();
    if (current_ < 1) current_ = blockCount() > 0 ? 1 : 0;
    previousEnabled_ = current_ > 1;
    nextEnabled_ = current_ < blockCount();
    addEnabled_ = blockCount() > 0;
    caption_ = MaskTexts::kFilter + std::to_string(current_) + MaskTexts::kOf + std::to_string(blockCount());
    if (blockCount() == 0 || current_ < 1) return;
    for (const FilterItem& c : blocks_[static_cast<size_t>(current_ - 1)])
        rows_.push_back(FilterRow{c.FlagNot ? MaskTexts::kNot : "", c.Name, c.Index});
}

void FilterDialogModel::New() {
    blocks_.emplace_back();
    current_ = blockCount();
    ShowFilter();
}

void FilterDialogModel::Next() {
    ++current_;
    ShowFilter();
}

void FilterDialogModel::Previous() {
    --current_;
    ShowFilter();
}

void FilterDialogModel::Remove() {
    if (current_ >= blockCount()) current_ = blockCount();
    if (current_ > 0) blocks_.erase(blocks_.begin() + (current_ - 1));
    ShowFilter();
}

std::vector<std::pair<std::string, int32_t>> FilterDialogModel::OfferedRows() const {
    std::vector<std::pair<std::string, int32_t>> rows;
    for (size_t k = 0; k < offered_.size(); ++k)
        if (!offered_[k].empty()) rows.emplace_back(offered_[k], static_cast<int32_t>(k + 1));
    return rows;
}

void FilterDialogModel::AddCondition(int32_t ActiveMask, bool FlagNot) {
    const bool offered = ActiveMask >= 1 && static_cast<size_t>(ActiveMask) <= offered_.size() &&
                         !offered_[static_cast<size_t>(ActiveMask - 1)].empty();
    if (!offered || current_ < 1 || current_ > blockCount()) return;
    blocks_[static_cast<size_t>(current_ - 1)].Add(ActiveMask, offered_[static_cast<size_t>(ActiveMask - 1)],
                                                   FlagNot);
    ShowFilter();
}

void FilterDialogModel::RemoveCondition(int32_t row) {
    if (row < 1 || row > static_cast<int32_t>(rows_.size()) || current_ < 1 || current_ > blockCount()) return;
    blocks_[static_cast<size_t>(current_ - 1)].Remove(row);
    ShowFilter();
}
