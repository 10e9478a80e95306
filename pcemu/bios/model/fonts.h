// The text fonts the model BIOS carries: the shared 8 x 16 font and two
// fonts derived from it, 8 x 14 (rows 1-14) and 8 x 8 (each row the union
// of two rows).
#pragma once

#include <cstdint>
#include <span>

namespace pcemu::model {

std::span<const uint8_t> Font8x16(); // 256 x 16 bytes
std::span<const uint8_t> Font8x14(); // 256 x 14 bytes
std::span<const uint8_t> Font8x8();  // 256 x 8 bytes

// The font of a character height (8, 14 or 16); empty for any other.
std::span<const uint8_t> FontOfHeight(unsigned height);

} // namespace pcemu::model
