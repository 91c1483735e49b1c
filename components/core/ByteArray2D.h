// A Columns x Rows byte matrix in one block, rows and columns counted from 1.
// The GIF decoder keeps one palette index per byte in it. No platform headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class TByteArray2D {
public:
    // ENotEnoughMemory when the block cannot be had.
    TByteArray2D(int Columns, int Rows);

    int Columns() const { return columns_; }
    int Rows() const { return rows_; }

    // EIndexOutOfBounds "Dynamic array index out of bounds" outside 1..Columns / 1..Rows.
    uint8_t Get(int Column, int Row) const;
    void Set(int Column, int Row, uint8_t Value);

    std::vector<uint8_t> GetRow(int Row) const;
    // Exception when Bytes is not one row long.
    void SetRow(int Row, const std::vector<uint8_t>& Bytes);

    // Row r (from 0) starts at Data() + r * Columns().
    uint8_t* Data() { return data_.data(); }
    const uint8_t* Data() const { return data_.data(); }

private:
    size_t Offset(int Column, int Row) const;

    int columns_;
    int rows_;
    std::vector<uint8_t> data_;
};
