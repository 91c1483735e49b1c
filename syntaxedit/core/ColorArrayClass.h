// A two-dimensional array of colours (1-based x and y) for the colour
// button and its palette, with the three values a form stores for it.
// No platform headers.
#pragma once

#include <cstdint>
#include <vector>

#include "Component.h"
#include "SysUtils.h"
#include "SyntaxMemoTypes.h"

class EColorArrayIndexError : public Exception {
public:
    using Exception::Exception;
};

class TColorArrayClass : public TObject {
public:
    TColorArrayClass(int32_t xSize, int32_t ySize);

    int32_t XSize() const { return xSize_; }
    int32_t YSize() const { return ySize_; }
    // A new size drops the contents (all 0).
    void SetXSize(int32_t n);
    void SetYSize(int32_t n);

    // EColorArrayIndexError "Array index out of bounds" outside 1..XSize, 1..YSize.
    TColor Get(int32_t x, int32_t y) const;
    void Set(int32_t x, int32_t y, TColor c);

    void Assign(const TColorArrayClass& source);
    // Same sizes and elements; never equal to none.
    bool Equals(const TColorArrayClass* other) const;

    // The form's "Colors" list: x outer, y inner.
    std::vector<int32_t> ColorsList() const;
    // Raises "Array index out of bounds" when the list holds more values
    // than the array (the array then keeps what fitted).
    void ReadColors(const std::vector<int32_t>& values);

private:
    size_t Index(int32_t x, int32_t y) const;
    int32_t xSize_ = 0;
    int32_t ySize_ = 0;
    std::vector<TColor> items_;
};
