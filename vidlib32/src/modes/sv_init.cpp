// SV_init: detection, the list of usable modes and the device record's
// description of the hardware.
#include "state.h"
#include "tobrin32/tobrin32.h"
#include "vbe/guest_memory.h"
#include "vbe/records.h"
#include "vbeaf/accel_modes.h"
#include "vidlib32/vidlib32.h"

#include <cstring>

using namespace vidlib32;

namespace {

constexpr size_t kModeListEntries = 100; // terminator included
constexpr size_t kNameBytes = 80;        // terminating zero included
constexpr uint16_t kListEnd = 0xFFFF;
constexpr uint16_t kFirstVbeMode = 0x100;

uint16_t modeList[kModeListEntries] = {kListEnd};
char oemName[kNameBytes] = {};

// The OEM string's copy (guest memory, terminated inside the string area),
// cut to the name buffer.
void CopyName(uint32_t guestString) {
    const auto* from = reinterpret_cast<const char*>(HostOf(guestString));
    size_t n = 0;
    while (n + 1 < kNameBytes && from[n] != 0) {
        oemName[n] = from[n];
        ++n;
    }
    oemName[n] = 0;
}

uint16_t ListEntry(uint32_t guestList, size_t i) {
    uint16_t mode;
    std::memcpy(&mode, HostOf(guestList + static_cast<uint32_t>(2 * i)), 2);
    return mode;
}

// Keeps the graphics modes from 100h on that the BIOS describes, as many as
// the list holds; notes the linear buffer and whether pages can be flipped.
void BuildModeList(uint32_t guestList) {
    size_t kept = 0;
    gDevice.linearBase = 0;
    gDevice.hasMultiBuffer = gDevice.hasVirtualScroll = 0;
    for (size_t i = 0; kept + 1 < kModeListEntries; ++i) {
        const uint16_t mode = ListEntry(guestList, i);
        if (mode == kListEnd) break;
        if (mode < kFirstVbeMode) continue;
        ModeInfoBlock info = {};
        if (!VBE_getModeInfo(mode, &info) || !(info.ModeAttributes & kModeGraphics)) continue;
        modeList[kept++] = mode;
        if (gDevice.linearBase == 0 && (info.ModeAttributes & kModeLinear))
            gDevice.linearBase = info.PhysBasePtr;
        if (info.NumberOfImagePages > 0) gDevice.hasMultiBuffer = gDevice.hasVirtualScroll = 1;
    }
    modeList[kept] = kListEnd;
}

int32_t CanVirtualize() {
    if (gDevice.version < 0x0200 || !VF_available()) return 0;
    int32_t length = 0;
    void* code = nullptr;
    return VBE_getBankFunc32(&length, &code, 0, 0);
}

} // namespace

extern "C" {

// With useAccelDriver, the driver set before or the one found now (kept for
// later calls, also when none is found) describes the hardware; otherwise,
// or without a driver, the VBE BIOS does.
SV_DeviceInfo* SV_init(int32_t useAccelDriver) {
    gDevice.modes = modeList;
    gDevice.oemName = oemName;
    gDevice.accelDriver = nullptr;
    if (useAccelDriver) {
        if (!gMode.presetDriver) gMode.presetDriver = AF_loadDriver(nullptr);
        if (gMode.presetDriver) {
            vbeaf::DescribeDriver(*static_cast<AF_DriverHeader*>(gMode.presetDriver), modeList,
                                  kModeListEntries, oemName, kNameBytes);
            return &gDevice;
        }
    }

    SV_initRMBuf();
    VbeInfoBlock info = {};
    gDevice.version = VBE_detect(&info);
    if (gDevice.version == 0) {
        modeList[0] = kListEnd;
        oemName[0] = 0;
        return nullptr;
    }
    BuildModeList(info.VideoModePtr);
    gDevice.memoryKB = info.TotalMemory * 64;
    gDevice.hasWideDac = (info.Capabilities & 1) ? 1 : 0;
    CopyName(info.OemStringPtr);
    gDevice.canVirtualize = CanVirtualize();
    return &gDevice;
}

void SV_setACCELDriver(void* driver) {
    gMode.presetDriver = driver;
}

} // extern "C"
