#pragma once
// The VGA ports that programs outside the adapter use directly (the DAC and
// the input status register), and the input status bits they test.
#include <cstdint>

namespace pcemu::vga {

inline constexpr uint16_t kDacReadIndex = 0x3C7;
inline constexpr uint16_t kDacWriteIndex = 0x3C8;
inline constexpr uint16_t kDacData = 0x3C9;
inline constexpr uint16_t kInputStatus = 0x3DA;

// Input status bits: the display is blanked (between lines or frames), and a
// vertical retrace is under way.
inline constexpr uint8_t kDisplayDisabled = 0x01;
inline constexpr uint8_t kVerticalRetrace = 0x08;

} // namespace pcemu::vga
