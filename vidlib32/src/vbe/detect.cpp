// Detection: the controller information block with the version fix-up and
// the relocation of its strings and mode list.
#include "state.h"
#include "vbe/bios_call.h"
#include "vbe/records.h"
#include "vbe/string_area.h"
#include "vidlib32/vidlib32.h"

#include <cstring>

using namespace vidlib32;

extern "C" {

int32_t VBE_detect(void* info) {
    return VBE_detectEXT(info, 0);
}

int32_t VBE_detectEXT(void* info, int32_t forceExtension) {
    if (!info) return 0;
    VbeInfoBlock block;
    std::memcpy(&block, info, sizeof block);
    std::memcpy(block.VbeSignature, "VBE2", 4);
    RealRegs r = {};
    r.x.ax = 0x4F00;
    if (forceExtension) {
        // Asks a resident VBE extension to report itself.
        r.x.bx = 0x1234;
        r.x.cx = 0x4321;
    }
    CallVbeWithBuffer(r, &block, sizeof block);
    std::memcpy(info, &block, sizeof block);
    if (r.x.ax != kVbeOk || std::memcmp(block.VbeSignature, "VESA", 4) != 0) return 0;

    // A 2.0 block without a vendor name is a 1.2 BIOS reporting too much.
    if (block.VbeVersion >= 0x0200 && block.OemVendorNamePtr == 0) block.VbeVersion = 0x0102;
    if (!RelocateInfoBlock(block, block.VbeVersion >= 0x0200)) return 0;
    std::memcpy(info, &block, sizeof block);

    gVbe.memoryKB = block.TotalMemory * 64;
    gVbe.capabilities = block.Capabilities;
    gVbe.version = block.VbeVersion;
    return gVbe.version;
}

} // extern "C"
