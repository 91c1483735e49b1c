#include "masks/core/EditMaskModel.h"

#include "masks/core/MaskCollection.h"
#include "masks/core/MaskTexts.h"

namespace {
// The up-down controls' ranges; their ends also keep the 16-bit copy from wrapping.
constexpr int16_t kMaxFoundTop = 9999;
constexpr int32_t kPriorityTop = 10;
}  // namespace

void EditMaskModel::Load(int32_t index, const MaskCollection& masks) {
    const SearchMask& m = masks.Item(index);
    Finished = false;
    page_ = 0;
    maskName_ = m.MaskName;
    finishEnabled_ = !maskName_.empty();
    parent_ = m.DependOn.empty() ? MaskTexts::kNone : m.DependOn;
    dependType_ = m.DependType;
    Hidden = m.Hidden;
    CanCompile = m.CanCompile;
    maskType_ = m.MaskType;
    browserType_ = m.BrowserType;
    maxFound_ = static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(m.MaxFoundCount) & 0xFFFFu));
    priority_ = m.Priority;
    values_ = m.Values();

    parents_.assign(1, MaskTexts::kNone);
    for (int32_t k = 1; k <= masks.Count(); ++k) {
        const SearchMask& other = masks.Item(k);
        if (k != index && other.MaskType != 3 && !other.Hidden) parents_.push_back(other.MaskName);
    }
    // 0 shows "After parent values" selected but disabled, and stays 0.
    if (dependType_ >= 0 && dependType_ <= 2) {
        dependEnabled_ = dependType_ != 0;
        dependShown_ = dependType_ == 2 ? 2 : 1;
    }
    if (parent_ == MaskTexts::kNone) dependEnabled_ = false;
}

void EditMaskModel::Store(int32_t index, MaskCollection& masks) const {
    if (!Finished) return;
    SearchMask& m = masks.Item(index);
    m.MaskName = maskName_;
    m.DependOn = parent_ == MaskTexts::kNone ? std::string() : parent_;
    m.Hidden = Hidden;
    m.CanCompile = CanCompile;
    m.MaskType = maskType_;
    m.DependType = dependType_;
    m.BrowserType = browserType_;
    m.MaxFoundCount = maxFound_;
    m.Priority = priority_;
    masks.ClearValues(index);
    for (const std::string& v : values_)
        if (!v.empty()) masks.AddVal(index, v);
}

void EditMaskModel::Close(DialogClose how, const std::vector<std::string>& listValues) {
    Finished = how == DialogClose::Ok;
    if (Finished) values_ = listValues;
}

std::string EditMaskModel::Caption() const { return maskName_ + MaskTexts::kPageTitles[page_]; }

void EditMaskModel::Next() {
    if (page_ < 3) ++page_;
}

void EditMaskModel::Back() {
    if (page_ > 0) --page_;
}

void EditMaskModel::NameChanged(const std::string& text) {
    finishEnabled_ = !text.empty();
    if (finishEnabled_) maskName_ = text;
}

void EditMaskModel::ParentPicked(const std::string& text) {
    if (text.empty() || text == MaskTexts::kNone) {
        parent_ = MaskTexts::kNone;
        dependEnabled_ = false;
        dependType_ = 0;
        return;
    }
    parent_ = text;
    dependEnabled_ = true;
}

void EditMaskModel::SetDependType(int32_t t) {
    dependType_ = t;
    dependShown_ = t;
}

std::string EditMaskModel::MaxFoundText() const {
    return maxFound_ < 0 ? std::string(MaskTexts::kNotTest) : std::to_string(maxFound_);
}

void EditMaskModel::MaxFoundUp() {
    if (maxFound_ < kMaxFoundTop) ++maxFound_;
}

void EditMaskModel::MaxFoundDown() {
    if (maxFound_ > -1) --maxFound_;
    else maxFound_ = -1;
}

void EditMaskModel::PriorityUp() {
    if (priority_ < kPriorityTop) ++priority_;
}

void EditMaskModel::PriorityDown() {
    if (priority_ > 0) --priority_;
    else priority_ = 0;
}

ValueListRemoval RemoveValueAt(std::vector<std::string>& values, int32_t selected) {
    if (selected < 1 || selected > static_cast<int32_t>(values.size())) return {-1, std::string()};
    values.erase(values.begin() + (selected - 1));
    if (selected <= static_cast<int32_t>(values.size())) return {selected, values[static_cast<size_t>(selected - 1)]};
    return {0, std::string()};
}
