#pragma once
// What both mode-setting paths (the VBE BIOS and an accelerator driver)
// write into the device record in the same way.
#include "vidlib32/vidlib32.h"

#include <cstdint>
#include <optional>

namespace vidlib32 {

// Component sizes and field positions of a direct-colour mode.
struct DirectColour {
    uint8_t redSize, redPosition, greenSize, greenPosition, blueSize, bluePosition;
};

// The record's masks, positions and losses: 3-3-2 without a direct-colour
// format, else per component loss = 8 - size, mask = 255 >> loss.
void SetPixelFormat(const std::optional<DirectColour>& direct);

// The software routines of the record's pixelBits (banked, or linear when
// `linear` and the depth has a linear form), colours and pixel size, the
// brackets that do nothing and the fast entries equal to the plain ones.
// The depth must have routines.
void SetRoutines(bool linear);

// SV_getModeInfo's record from a BIOS's or a driver's mode description
// (both name their fields alike): sizes, depth and the eight mask bytes.
template <typename Description>
SV_ModeInfo ModeInfoFrom(const Description& d, int32_t mode, uint16_t attributes, uint16_t pages) {
    SV_ModeInfo out = {};
    out.mode = static_cast<uint16_t>(mode);
    out.attributes = attributes;
    out.xRes = static_cast<int16_t>(d.XResolution);
    out.yRes = static_cast<int16_t>(d.YResolution);
    out.lineBytes = static_cast<int16_t>(d.BytesPerScanLine);
    out.pixelBits = static_cast<int16_t>(d.BitsPerPixel);
    out.pages = pages;
    out.redSize = d.RedMaskSize;
    out.redPos = d.RedFieldPosition;
    out.greenSize = d.GreenMaskSize;
    out.greenPos = d.GreenFieldPosition;
    out.blueSize = d.BlueMaskSize;
    out.bluePos = d.BlueFieldPosition;
    out.rsvdSize = d.RsvdMaskSize;
    out.rsvdPos = d.RsvdFieldPosition;
    return out;
}

} // namespace vidlib32
