// The assembled reference driver (asm/driver.asm), embedded at build time.
#pragma once

#include <cstdint>
#include <span>

namespace mkvbeaf {

extern const std::span<const uint8_t> kDriverImage;

} // namespace mkvbeaf
