// An RGB picture (what the monitor shows) and PNG output.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pcemu {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // 0x00RRGGBB, row after row

    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    void resize(int w, int h) {
        width = w;
        height = h;
        pixels.assign(static_cast<size_t>(w) * h, 0);
    }
};

// Writes an 8-bit RGB PNG. False with a message on failure.
bool WritePng(const std::string& path, const Image& image, std::string* error = nullptr);

// Widens a colour field of `bits` bits (1..8) to 8 bits by repeating its top
// bits: a 6-bit DAC value v becomes (v << 2) | (v >> 4).
constexpr uint8_t WidenField(uint32_t value, unsigned bits) {
    uint32_t v = value & ((1u << bits) - 1);
    uint32_t out = 0;
    int shift = 8 - static_cast<int>(bits);
    while (shift > -static_cast<int>(bits)) {
        out |= shift >= 0 ? v << shift : v >> -shift;
        shift -= static_cast<int>(bits);
    }
    return static_cast<uint8_t>(out);
}

} // namespace pcemu
