#pragma once
// A small 8-bit picture to draw the demo art into, with the few drawing
// operations the art needs. Everything outside the canvas is clipped.
#include <cstdint>
#include <vector>

namespace demo {

class Canvas {
public:
    Canvas(int width, int height, uint8_t fill = 0);

    int Width() const { return width_; }
    int Height() const { return height_; }
    const std::vector<uint8_t>& Pixels() const { return pixels_; }

    void Set(int x, int y, uint8_t colour);
    uint8_t Get(int x, int y) const; // 0 outside
    void FillRect(int x, int y, int w, int h, uint8_t colour);
    void FillDisc(int cx, int cy, int radius, uint8_t colour);
    void Line(int x0, int y0, int x1, int y1, uint8_t colour);
    // Copies all of `source` with its top-left corner at (x, y), colour 0 included.
    void Paste(const Canvas& source, int x, int y);
    Canvas Crop(int x, int y, int w, int h) const;

private:
    int width_, height_;
    std::vector<uint8_t> pixels_;
};

// Repeatable noise: the same (x, y, seed) always gives the same number.
uint32_t Noise(int x, int y, uint32_t seed);

// A shade given in sixteenths, rounded up or down by an ordered dither pattern so
// that gradients look smooth with whole shades.
int DitherShade(int sixteenths, int x, int y);

} // namespace demo
