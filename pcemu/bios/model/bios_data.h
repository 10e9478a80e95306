// Video fields of the BIOS data area (segment 40h) that the model BIOS
// keeps up to date.
#pragma once

#include <cstdint>

namespace pcemu::model::bda {

inline constexpr uint32_t kMode = 0x449;         // byte: current video mode
inline constexpr uint32_t kColumns = 0x44A;      // word: text columns
inline constexpr uint32_t kPageSize = 0x44C;     // word: bytes per display page
inline constexpr uint32_t kPageStart = 0x44E;    // word: offset of the active page
inline constexpr uint32_t kCursors = 0x450;      // 8 words: cursor position per page
inline constexpr uint32_t kCursorShape = 0x460;  // word: start line (high), end line (low)
inline constexpr uint32_t kActivePage = 0x462;   // byte
inline constexpr uint32_t kCrtcPort = 0x463;     // word: 3D4h
inline constexpr uint32_t kRows = 0x484;         // byte: text rows - 1
inline constexpr uint32_t kCharHeight = 0x485;   // word: scan lines per character
inline constexpr uint32_t kVideoControl = 0x487; // byte: bit 7 = memory kept at the mode set

// The two spans of video fields, saved and restored by VBE function 04h.
inline constexpr uint32_t kVideoFields = 0x449;
inline constexpr uint32_t kVideoFieldsSize = 0x467 - 0x449;
inline constexpr uint32_t kEgaFields = 0x484;
inline constexpr uint32_t kEgaFieldsSize = 0x48B - 0x484;

} // namespace pcemu::model::bda
