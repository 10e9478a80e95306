// What SV_init and SV_getModeInfo report on an accelerator driver.
#include "modes/mode_record.h"
#include "pcemu/machine.h"
#include "state.h"
#include "vbeaf/accel_modes.h"

#include <algorithm>
#include <cstring>

namespace vidlib32::vbeaf {
namespace {

constexpr uint16_t kListEnd = 0xFFFF;
// How far a driver's mode list is read for its terminator.
constexpr uint32_t kMaxListed = 1024;

// The capability bits themselves, as the record keeps them on this path.
int32_t Bit(uint32_t attributes, uint32_t bit) {
    return static_cast<int32_t>(attributes & bit);
}

} // namespace

void DescribeDriver(AF_DriverHeader& driver, uint16_t* modes, size_t modeEntries, char* name,
                    size_t nameBytes) {
    gDevice.accelDriver = &driver;
    // The list lies in guest memory: read as the driver's code would.
    pcemu::MemoryBus& memory = pcemu::TheMachine().memory();
    size_t kept = 0;
    for (uint32_t i = 0; driver.AvailableModes != 0 && i < kMaxListed && kept + 1 < modeEntries;
         ++i) {
        const uint16_t mode = memory.read16(driver.AvailableModes + 2 * i);
        if (mode == kListEnd) break;
        AF_ModeInfo info = {};
        if (AF_getVideoModeInfo(&driver, mode, &info) == 0) modes[kept++] = mode;
    }
    modes[kept] = kListEnd;

    const uint32_t attributes = driver.Attributes;
    gDevice.hasMultiBuffer = Bit(attributes, AF_HAVE_MULTIBUFFER);
    gDevice.hasVirtualScroll = Bit(attributes, AF_HAVE_VIRTUALSCROLL);
    gDevice.hasWideDac = Bit(attributes, AF_HAVE_8BITDAC);
    gDevice.hasAccel2D = Bit(attributes, AF_HAVE_ACCEL2D);
    gDevice.hasHwCursor = Bit(attributes, AF_HAVE_HWCURSOR);
    gDevice.linearBase = driver.LinearBasePtr;
    gDevice.memoryKB = static_cast<int32_t>(driver.TotalMemory);
    const size_t length =
        std::min(nameBytes - 1, strnlen(driver.OemVendorName, sizeof driver.OemVendorName));
    std::copy_n(driver.OemVendorName, length, name);
    name[length] = 0;
    gDevice.canVirtualize = driver.SetBank32 != 0 ? 1 : 0;
    gDevice.version = 0x0200;
}

int32_t DriverModeInfo(int32_t number, SV_ModeInfo* modeInfo) {
    AF_ModeInfo info = {};
    if (AF_getVideoModeInfo(AccelDriver(), number, &info) != 0) return 0;
    *modeInfo = ModeInfoFrom(info, number, info.Attributes, info.MaxBuffers);
    return 1;
}

} // namespace vidlib32::vbeaf
