// SV_setPalette: entries start .. start + count - 1 of the caller's block,
// narrowed to 6 bits when the DAC is 6 bits wide, sent in chunks of at most
// maxPerRetrace entries (each at the start of a vertical retrace), or all at
// once without waiting when maxPerRetrace is -1.
#include "palette/palette_routes.h"

#include "state.h"

#include <algorithm>

namespace vidlib32::palette {
namespace {

constexpr int32_t kDacEntries = 256;
constexpr int32_t kWaitForRetrace = 0x80;

// One chunk by the route the hardware offers. BIOSes that refuse palette
// calls (no function 09h, or a protected-mode entry that is a stub) would
// leave the colours unset: in VGA-compatible modes the DAC ports take over.
// An accelerator driver takes 8-bit entries and waits itself when asked to.
void SendChunk(int32_t start, int32_t count, const uint8_t* entries, int32_t waitFlag) {
    if (gDevice.accelDriver) {
        AF_setPaletteData(AccelDriver(), reinterpret_cast<const AF_Palette*>(entries), count, start,
                          waitFlag == kWaitForRetrace ? 1 : 0);
        return;
    }
    if (gDevice.version < 0x0200) {
        ProgramDacPorts(start, count, entries, waitFlag);
        return;
    }
    bool done = gMode.pmSetPalette != nullptr
                    ? CallProtectedModePalette(start, count, entries, waitFlag)
                    : VBE_setPalette(start, count, entries, waitFlag) != 0;
    if (!done && gMode.vgaCompatible) ProgramDacPorts(start, count, entries, waitFlag);
}

} // namespace
} // namespace vidlib32::palette

// The DAC holds 256 entries: a start outside them programs nothing, and a
// count reaching past the last entry is cut there (the local 6-bit block
// holds 256 entries too). A maxPerRetrace of 0 or below other than -1 would
// never finish; it means no limit per retrace.
extern "C" void SV_setPalette(int32_t start, int32_t count, const void* palette,
                              int32_t maxPerRetrace) {
    using namespace vidlib32::palette;
    if (palette == nullptr || start < 0 || start >= kDacEntries || count <= 0) return;
    count = std::min(count, kDacEntries - start);
    const uint8_t* source = static_cast<const uint8_t*>(palette) + 4 * start;
    uint8_t narrowed[kDacEntries * 4];
    if (vidlib32::gMode.dacIs6Bit) {
        for (int32_t i = 0; i < count; ++i) {
            for (int k = 0; k < 3; ++k)
                narrowed[4 * i + k] = static_cast<uint8_t>(source[4 * i + k] >> 2);
            narrowed[4 * i + 3] = 0;
        }
        source = narrowed;
    }
    const int32_t waitFlag = maxPerRetrace == -1 ? 0 : kWaitForRetrace;
    const int32_t perChunk = maxPerRetrace > 0 ? maxPerRetrace : count;
    while (count > 0) {
        int32_t chunk = std::min(count, perChunk);
        SendChunk(start, chunk, source, waitFlag);
        start += chunk;
        source += 4 * chunk;
        count -= chunk;
    }
}
