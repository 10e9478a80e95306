#include "demogen/canvas.h"

#include <cstdlib>

namespace demo {

Canvas::Canvas(int width, int height, uint8_t fill)
    : width_(width), height_(height), pixels_(size_t(width) * size_t(height), fill) {}

void Canvas::Set(int x, int y, uint8_t colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[size_t(y) * size_t(width_) + size_t(x)] = colour;
}

uint8_t Canvas::Get(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return pixels_[size_t(y) * size_t(width_) + size_t(x)];
}

void Canvas::FillRect(int x, int y, int w, int h, uint8_t colour) {
    for (int row = y; row < y + h; ++row) {
        for (int col = x; col < x + w; ++col)
            Set(col, row, colour);
    }
}

void Canvas::FillDisc(int cx, int cy, int radius, uint8_t colour) {
    for (int dy = -radius; dy <= radius; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) {
            if (dx * dx + dy * dy <= radius * radius + radius) Set(cx + dx, cy + dy, colour);
        }
    }
}

void Canvas::Line(int x0, int y0, int x1, int y1, uint8_t colour) {
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        Set(x0, y0, colour);
        if (x0 == x1 && y0 == y1) return;
        int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

void Canvas::Paste(const Canvas& source, int x, int y) {
    for (int row = 0; row < source.height_; ++row) {
        for (int col = 0; col < source.width_; ++col)
            Set(x + col, y + row, source.Get(col, row));
    }
}

Canvas Canvas::Crop(int x, int y, int w, int h) const {
    Canvas part(w, h);
    for (int row = 0; row < h; ++row) {
        for (int col = 0; col < w; ++col)
            part.Set(col, row, Get(x + col, y + row));
    }
    return part;
}

uint32_t Noise(int x, int y, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B9u ^ uint32_t(x) * 0x85EBCA6Bu ^ uint32_t(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

int DitherShade(int sixteenths, int x, int y) {
    static constexpr int kBayer[4][4] = {
        {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    int whole = sixteenths >> 4, fraction = sixteenths & 15;
    return whole + (fraction > kBayer[y & 3][x & 3] ? 1 : 0);
}

} // namespace demo
