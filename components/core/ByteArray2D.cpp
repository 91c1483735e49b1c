#include "components/core/ByteArray2D.h"

#include <new>

#include "components/core/GifException.h"

TByteArray2D::TByteArray2D(int Columns, int Rows)
    : columns_(Columns < 0 ? 0 : Columns), rows_(Rows < 0 ? 0 : Rows) {
    size_t size = static_cast<size_t>(columns_) * static_cast<size_t>(rows_);
    try {
        data_.assign(size, 0);
    } catch (const std::bad_alloc&) {
        throw ENotEnoughMemory(
            "error in TBigByteArray.create: Not enough contiguous memory available\r\n requested memory block: " +
            std::to_string(size) + " bytes");
    }
}

size_t TByteArray2D::Offset(int Column, int Row) const {
    if (Column < 1 || Column > columns_ || Row < 1 || Row > rows_)
        throw EIndexOutOfBounds("Dynamic array index out of bounds");
    return static_cast<size_t>(Row - 1) * static_cast<size_t>(columns_) + static_cast<size_t>(Column - 1);
}

uint8_t TByteArray2D::Get(int Column, int Row) const { return data_[Offset(Column, Row)]; }

void TByteArray2D::Set(int Column, int Row, uint8_t Value) { data_[Offset(Column, Row)] = Value; }

std::vector<uint8_t> TByteArray2D::GetRow(int Row) const {
    if (columns_ == 0) return {};
    size_t start = Offset(1, Row);
    return std::vector<uint8_t>(data_.begin() + static_cast<std::ptrdiff_t>(start),
                                data_.begin() + static_cast<std::ptrdiff_t>(start + columns_));
}

void TByteArray2D::SetRow(int Row, const std::vector<uint8_t>& Bytes) {
    if (Bytes.size() != static_cast<size_t>(columns_))
        throw Exception("Row doesn't have equal number of elements as Matrix row");
    if (columns_ == 0) return;
    size_t start = Offset(1, Row);
    std::copy(Bytes.begin(), Bytes.end(), data_.begin() + static_cast<std::ptrdiff_t>(start));
}
