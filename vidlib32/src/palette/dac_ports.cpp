// The palette through the VGA DAC's ports: write index 3C8h, then red, green
// and blue of each entry to 3C9h. Waiting polls the input status register
// (3DAh) until a vertical retrace begins.
#include "palette/palette_routes.h"

#include "vidlib32/vidlib32.h"

#include "pcemu/machine.h"
#include "pcemu/vga_ports.h"

#include <chrono>

namespace vidlib32::palette {
namespace {

using pcemu::vga::kDacData;
using pcemu::vga::kDacWriteIndex;
using pcemu::vga::kInputStatus;
using pcemu::vga::kVerticalRetrace;
// A retrace comes every frame (about 14 ms); waiting longer than this means
// the adapter gives none, and programming goes ahead without it.
constexpr auto kLongestWait = std::chrono::milliseconds(100);

// Polls until bit `kVerticalRetrace` of the input status equals `set`.
bool PollRetrace(pcemu::PortBus& ports, bool set, std::chrono::steady_clock::time_point deadline) {
    while (((ports.in8(kInputStatus) & kVerticalRetrace) != 0) != set)
        if (std::chrono::steady_clock::now() > deadline) return false;
    return true;
}

// Returns at the start of a vertical retrace: waits for the current one to
// end, then for the next to begin.
void WaitForRetraceStart(pcemu::PortBus& ports) {
    auto deadline = std::chrono::steady_clock::now() + kLongestWait;
    if (PollRetrace(ports, false, deadline)) PollRetrace(ports, true, deadline);
}

} // namespace

void ProgramDacPorts(int32_t start, int32_t count, const uint8_t* entries, int32_t waitFlag) {
    pcemu::PortBus& ports = pcemu::TheMachine().ports();
    if (waitFlag != 0) WaitForRetraceStart(ports);
    ports.out8(kDacWriteIndex, static_cast<uint8_t>(start));
    for (int32_t i = 0; i < count; ++i) {
        const uint8_t* entry = entries + 4 * i;
        ports.out8(kDacData, entry[2]);
        ports.out8(kDacData, entry[1]);
        ports.out8(kDacData, entry[0]);
    }
}

} // namespace vidlib32::palette

extern "C" void _VGA_setPalette(int32_t start, int32_t count, const void* palette,
                                int32_t waitForRetrace) {
    if (palette == nullptr) return;
    vidlib32::palette::ProgramDacPorts(start, count, static_cast<const uint8_t*>(palette),
                                       waitForRetrace);
}
