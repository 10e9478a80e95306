// Turns the adapter's state into the picture the monitor shows.
#pragma once

#include "pcemu/adapter.h"

#include <array>
#include <cstdint>

namespace pcemu {

struct VgaState;
struct BochsState;
class Dac;

struct ScanoutSource {
    const VgaState& vga;
    const Dac& dac;
    const BochsState& bochs;
    const uint8_t* vram;
    uint32_t vramSize;
};

DisplayMode DescribeDisplay(const ScanoutSource& source);
void RenderDisplay(const ScanoutSource& source, Image& out);

// The DAC index for a 4-bit colour through the attribute controller's
// palette, mode control bit 7 and colour select.
uint8_t AttributeToDac(const VgaState& vga, uint8_t colour);

void RenderText(const ScanoutSource& source, const DisplayMode& mode,
                const std::array<uint32_t, 256>& rgb, Image& out);
void RenderPlanar(const ScanoutSource& source, const DisplayMode& mode,
                  const std::array<uint32_t, 256>& rgb, Image& out);
void RenderPacked(const ScanoutSource& source, const DisplayMode& mode,
                  const std::array<uint32_t, 256>& rgb, Image& out);
void RenderDirect(const ScanoutSource& source, const DisplayMode& mode, Image& out);

} // namespace pcemu
