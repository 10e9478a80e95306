// Which modes a personality offers, lists and can set with the video
// memory it has.
#pragma once

#include "bios/model/mode_table.h"
#include "bios/model/personality.h"

#include <cstdint>
#include <vector>

namespace pcemu::model {

// The personality knows the mode (4F01h describes it). Linear-only modes
// need a linear buffer.
bool Offers(const Personality& p, const ModeSpec& mode);
// Known and fits in video memory: 4F02h sets it, 4F01h reports it supported.
bool Supports(const Personality& p, const ModeSpec& mode, uint32_t vramBytes);
// The VideoModePtr list, without its FFFFh terminator: the supported modes,
// or every offered mode when the personality lists those that do not fit.
std::vector<uint16_t> ModeList(const Personality& p, uint32_t vramBytes);

} // namespace pcemu::model
