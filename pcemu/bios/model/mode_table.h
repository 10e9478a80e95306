// The modes the model BIOS knows, as data, and their geometry in video
// memory.
#pragma once

#include <cstdint>
#include <span>

namespace pcemu::model {

enum class ModeKind { Text, Planar, Packed, Direct };

struct ModeSpec {
    uint16_t number;
    ModeKind kind;
    uint16_t width;       // pixels; characters for text
    uint16_t height;      // pixels; character rows for text
    uint8_t bitsPerPixel; // 4 for text and 16 colours; 8, 15, 16, 24, 32
    uint8_t charWidth;    // the character cell
    uint8_t charHeight;
    bool vga;        // shown by the VGA registers alone (text, 12h, 13h)
    bool linearOnly; // no window: the linear frame buffer only, not VGA compatible
};

std::span<const ModeSpec> AllModes();
// Null for a number the table does not hold (flag bits must be cleared).
const ModeSpec* FindMode(uint16_t number);

unsigned BytesPerPixel(const ModeSpec& mode); // 1 for 4 and 8 bits
// Bytes from one scan line to the next: in one plane for 16 colours, two
// per character cell for text.
uint32_t DefaultPitch(const ModeSpec& mode);
// Video memory one screen takes (all four planes for 16 colours).
uint32_t FootprintBytes(const ModeSpec& mode);
bool Fits(const ModeSpec& mode, uint32_t vramBytes);
// Bytes from one display page to the next (in one plane for 16 colours):
// pages start on 64 KB boundaries, small planar pages on 8, 16 or 32 KB.
uint32_t PageBytes(const ModeSpec& mode);
// Whole display pages in video memory whose start the display start
// registers can reach (1 when one screen fits, 0 when none does).
unsigned ImagePages(const ModeSpec& mode, uint32_t vramBytes);

} // namespace pcemu::model
