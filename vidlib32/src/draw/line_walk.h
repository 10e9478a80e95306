#pragma once
// The Bresenham walk shared by every line routine. A cursor knows how to
// store the colour at its place and how to move one pixel right or one row
// on; the walk decides when it moves.
#include <cstdint>

namespace vidlib32::draw {

// A line run from left to right: its first pixel and its steps.
struct LineShape {
    int32_t x, y;         // first pixel (the left end)
    int32_t major, minor; // larger and smaller of the two deltas
    bool xMajor;          // one pixel per column (equal deltas count as X-major)
    bool down;            // rows grow along the line
};

inline LineShape ShapeOf(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (x2 < x1) {
        int32_t tx = x1, ty = y1;
        x1 = x2, y1 = y2;
        x2 = tx, y2 = ty;
    }
    int32_t dx = x2 - x1;
    int32_t dy = y2 >= y1 ? y2 - y1 : y1 - y2;
    bool xMajor = dy <= dx;
    return {x1, y1, xMajor ? dx : dy, xMajor ? dy : dx, xMajor, y2 >= y1};
}

// Draws major + 1 pixels. Cursor: plot(), right(), row(), finish().
template <typename Cursor> void WalkLine(const LineShape& shape, Cursor& cursor) {
    const int32_t incr1 = 2 * shape.minor;
    const int32_t incr2 = 2 * shape.minor - 2 * shape.major;
    int32_t d = 2 * shape.minor - shape.major;
    if (shape.xMajor) {
        for (int32_t n = shape.major; n >= 0; --n) {
            cursor.plot();
            cursor.right();
            if (d < 0) {
                d += incr1;
            } else {
                d += incr2;
                cursor.row();
            }
        }
    } else {
        for (int32_t n = shape.major; n >= 0; --n) {
            cursor.plot();
            cursor.row();
            if (d < 0) {
                d += incr1;
            } else {
                d += incr2;
                cursor.right();
            }
        }
    }
    cursor.finish();
}

// The row step of a line in bytes: one line down, or up.
inline int32_t RowStep(const LineShape& shape, int32_t lineBytes) {
    return shape.down ? lineBytes : -lineBytes;
}

} // namespace vidlib32::draw
