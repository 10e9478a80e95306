// The reference driver's own data, right after the header in its image: what
// InitDriver expects of the hardware and the state its entries keep between
// calls. Private to the driver; mkvbeaf patches engineId for an image whose
// InitDriver must fail.
#pragma once

#include <vidlib32/vbeaf.h>

#include <cstdint>

namespace mkvbeaf {

struct DriverData {
    uint32_t engineId;    // what the engine's ID register must read
    uint32_t relocated;   // non-zero once InitDriver has relocated the entries
    uint32_t memoryBytes; // video memory, found by InitDriver
    // The mode set last.
    uint32_t bytesPerPixel;
    uint32_t pitch;
    uint32_t bufferSize;
    uint32_t bufferLines;
    uint32_t visibleBuffer;
    // SetVideoMode's arguments while it works.
    uint32_t requestMode, requestPitch, requestBuffers, requestWidth, requestHeight;
    uint32_t reserved[19];
};
static_assert(sizeof(DriverData) == 128);

// Where the data lies in the image.
inline constexpr uint32_t kDriverDataOffset = sizeof(AF_DriverHeader);

} // namespace mkvbeaf
