// The 8 x 16 text font in the code page 437 layout, shared by the model BIOS and the
// graphics library.
#pragma once

#include <cstdint>

namespace pcemu {

// Glyph g occupies bytes 16 * g to 16 * g + 15, one byte per row from top to bottom;
// bit 7 is the leftmost pixel.
extern const uint8_t kFont8x16[256 * 16];

} // namespace pcemu
