// The VBE records the model BIOS hands out, laid out byte by byte as the
// standard defines them: VbeInfoBlock (function 00h) and ModeInfoBlock (01h).
#pragma once

#include "bios/model/mode_table.h"
#include "bios/model/personality.h"
#include "bios/model/rom_image.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace pcemu::model {

using VbeInfoBytes = std::array<uint8_t, 512>;
using ModeInfoBytes = std::array<uint8_t, 256>;

// Fills the VbeInfoBlock; returns how many bytes of it the caller receives:
// 512 when a VBE 2.0 personality was asked with "VBE2", else 256.
size_t FillVbeInfo(const Personality& p, const RomLayout& rom, uint32_t vramBytes, bool vbe2Request,
                   VbeInfoBytes& out);

void FillModeInfo(const Personality& p, const ModeSpec& mode, uint32_t vramBytes,
                  const RomLayout& rom, ModeInfoBytes& out);

} // namespace pcemu::model
