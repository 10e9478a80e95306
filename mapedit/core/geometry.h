#pragma once
// Small value types shared by the editor core: cell positions and rectangles.
#include <cstdint>

namespace mapedit {

// A map or palette cell: column and row. (-1, -1) means "no cell".
struct CellPos {
    int32_t column = -1;
    int32_t row = -1;
    bool operator==(const CellPos&) const = default;
    bool IsNone() const { return column < 0 && row < 0; }
};

// Cells from left to right and top to bottom, both edges included.
// (-1, -1, -1, -1) means "none".
struct CellRect {
    int32_t left = -1;
    int32_t top = -1;
    int32_t right = -1;
    int32_t bottom = -1;
    bool operator==(const CellRect&) const = default;

    static constexpr CellRect None() { return {-1, -1, -1, -1}; }
    bool IsNone() const { return *this == None(); }
    int32_t Width() const { return right - left + 1; }
    int32_t Height() const { return bottom - top + 1; }
    bool Contains(int32_t x, int32_t y) const {
        return x >= left && x <= right && y >= top && y <= bottom;
    }
};

// Pixel rectangle with right and bottom excluded (width = right - left).
struct PixelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const PixelRect&) const = default;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
};

} // namespace mapedit
