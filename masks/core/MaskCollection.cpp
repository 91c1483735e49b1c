#include "masks/core/MaskCollection.h"

#include <stdexcept>

#include "masks/core/InfoSearchCalls.h"
#include "masks/core/MaskParseError.h"

SearchMask& MaskCollection::Add(const std::string& MaskName, const std::string& DependOn, int32_t MaskType,
                                int32_t DependType, int32_t BrowserType, int32_t Priority, bool CanCompile,
                                bool Hidden, int32_t MaxFoundCount) {
    auto m = std::make_unique<SearchMask>();
    m->MaskName = MaskName;
    m->DependOn = DependOn;
    m->MaskType = MaskType;
    m->DependType = DependOn.empty() ? 0 : DependType;
    m->BrowserType = BrowserType;
    m->Priority = Priority;
    m->CanCompile = CanCompile;
    m->Hidden = Hidden;
    m->MaxFoundCount = MaxFoundCount;
    masks_.push_back(std::move(m));
    return *masks_.back();
}

void MaskCollection::AddValue(const std::string& name, const std::string& value) {
    Item(FindMask(name)).AddValue(value);
}

int32_t MaskCollection::FindMask(const std::string& name) const {
    for (size_t i = 0; i < masks_.size(); ++i)
        if (masks_[i]->MaskName == name) return static_cast<int32_t>(i + 1);
    return -1;
}

SearchMask& MaskCollection::Item(int32_t index) {
    if (index < 1 || index > Count()) throw std::out_of_range("mask index out of range");
    return *masks_[static_cast<size_t>(index - 1)];
}

const SearchMask& MaskCollection::Item(int32_t index) const {
    if (index < 1 || index > Count()) throw std::out_of_range("mask index out of range");
    return *masks_[static_cast<size_t>(index - 1)];
}

void MaskCollection::Remove(int32_t index) {
    Item(index);
    masks_.erase(masks_.begin() + (index - 1));
}

void MaskCollection::SetSortAt(int16_t v) {
    sortAt_ = v;
    for (int32_t i = 1; i <= Count(); ++i) masks_[static_cast<size_t>(i - 1)]->SortAt = i == v;
}

void MaskCollection::Append(std::unique_ptr<SearchMask> m) {
    masks_.push_back(std::move(m));
    if (Count() == sortAt_) masks_.back()->SortAt = true;
}

int32_t MaskCollection::RestoreMask(std::string& text) {
    const int32_t index = Count() + 1;
    auto m = std::make_unique<SearchMask>();
    m->GetMask(text);
    Append(std::move(m));
    return index;
}

int32_t MaskCollection::RestoreMasks(std::string& text) {
    if (text.empty()) return 0;
    // Every token must be whole and the count must be met: a number read
    // from the end of the text would otherwise append empty masks.
    MaskTokenReader r(text);
    r.SetStrict();
    const int16_t n = r.GetInt();
    if (n < 0) throw MaskParseError("negative mask count");
    std::vector<std::unique_ptr<SearchMask>> read;
    for (int32_t i = 0; i < n; ++i) {
        auto m = std::make_unique<SearchMask>();
        m->GetMask(r);
        read.push_back(std::move(m));
    }
    for (auto& m : read) Append(std::move(m));
    text.erase(0, r.Position());
    return static_cast<int32_t>(read.size());
}

std::string MaskCollection::PutMasks(const std::vector<int32_t>& indices) const {
    std::string s;
    PutInt(static_cast<int32_t>(indices.size()), s);
    for (int32_t i : indices) s += Item(i).PutMask();
    return s;
}

bool MaskCollection::LoadMask(LineReader& file) {
    auto m = std::make_unique<SearchMask>();
    if (!m->LoadMask(file)) return false;
    Append(std::move(m));
    return true;
}

void MaskCollection::Apply(InfoSearchCalls& search) const {
    if (search.Status() != 0) return;
    search.EmptyMasks();
    const size_t count = masks_.size();
    for (size_t i = 0; i < count; ++i) {
        const SearchMask& m = *masks_[i];
        auto send = [&](const std::string& value) {
            search.AddMask(m.MaskName, value, m.DependOn, m.MaskType, m.DependType, m.Priority, m.MaxFoundCount,
                           m.CanCompile ? -1 : 0, m.Hidden ? -1 : 0);
        };
        if (m.ValueCount() == 0) send("");
        for (const std::string& v : m.Values()) send(v);
    }
}
