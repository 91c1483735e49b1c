#include "ColorArrayClass.h"

TColorArrayClass::TColorArrayClass(int32_t xSize, int32_t ySize) {
    SetXSize(xSize);
    SetYSize(ySize);
}

void TColorArrayClass::SetXSize(int32_t n) {
    if (n == xSize_) return;
    xSize_ = n < 0 ? 0 : n;
    items_.assign(static_cast<size_t>(xSize_) * static_cast<size_t>(ySize_), 0);
}

void TColorArrayClass::SetYSize(int32_t n) {
    if (n == ySize_) return;
    ySize_ = n < 0 ? 0 : n;
    items_.assign(static_cast<size_t>(xSize_) * static_cast<size_t>(ySize_), 0);
}

size_t TColorArrayClass::Index(int32_t x, int32_t y) const {
    if (x < 1 || x > xSize_ || y < 1 || y > ySize_) throw EColorArrayIndexError("Array index out of bounds");
    return static_cast<size_t>(y - 1) * static_cast<size_t>(xSize_) + static_cast<size_t>(x - 1);
}

TColor TColorArrayClass::Get(int32_t x, int32_t y) const { return items_[Index(x, y)]; }

void TColorArrayClass::Set(int32_t x, int32_t y, TColor c) { items_[Index(x, y)] = c; }

void TColorArrayClass::Assign(const TColorArrayClass& source) {
    if (&source == this) return;
    xSize_ = source.xSize_;
    ySize_ = source.ySize_;
    items_ = source.items_;
}

bool TColorArrayClass::Equals(const TColorArrayClass* other) const {
    if (!other) return false;
    return other == this || (other->xSize_ == xSize_ && other->ySize_ == ySize_ && other->items_ == items_);
}

std::vector<int32_t> TColorArrayClass::ColorsList() const {
    std::vector<int32_t> out;
    for (int32_t x = 1; x <= xSize_; x++)
        for (int32_t y = 1; y <= ySize_; y++) out.push_back(Get(x, y));
    return out;
}

void TColorArrayClass::ReadColors(const std::vector<int32_t>& values) {
    size_t i = 0;
    for (int32_t x = 1; x <= xSize_; x++)
        for (int32_t y = 1; y <= ySize_ && i < values.size(); y++) Set(x, y, values[i++]);
    if (i < values.size()) throw EColorArrayIndexError("Array index out of bounds");
}
