// Mode information with the fix-ups for what older BIOSes report, and the
// distance from one display page to the next.
#include "state.h"
#include "vbe/bios_call.h"
#include "vbe/records.h"
#include "vidlib32/vidlib32.h"

#include <algorithm>
#include <cstring>

using namespace vidlib32;

namespace {

struct Masks {
    uint8_t redSize, redPos, greenSize, greenPos, blueSize, bluePos, rsvdSize, rsvdPos;
};

// Packed-pixel modes above 8 bits per pixel are direct colour; the usual
// field layout of each depth fills in what an old BIOS leaves out.
void DirectColourForOldBios(ModeInfoBlock& m) {
    if (m.MemoryModel != kModelPacked || m.BitsPerPixel <= 8) return;
    m.MemoryModel = kModelDirect;
    Masks masks;
    switch (m.BitsPerPixel) {
    case 15:
        masks = {5, 10, 5, 5, 5, 0, 1, 15};
        break;
    case 16:
        masks = {5, 11, 6, 5, 5, 0, 0, 0};
        break;
    case 24:
        masks = {8, 16, 8, 8, 8, 0, 0, 0};
        break;
    default:
        return;
    }
    m.RedMaskSize = masks.redSize;
    m.RedFieldPosition = masks.redPos;
    m.GreenMaskSize = masks.greenSize;
    m.GreenFieldPosition = masks.greenPos;
    m.BlueMaskSize = masks.blueSize;
    m.BlueFieldPosition = masks.bluePos;
    m.RsvdMaskSize = masks.rsvdSize;
    m.RsvdFieldPosition = masks.rsvdPos;
}

// VBE 1.x BIOSes may leave the page count out: it is what video memory
// holds, less the page shown. A mode larger than video memory gets no
// further page (0), and the count stays within its byte.
void PagesForOldBios(ModeInfoBlock& m) {
    if (gVbe.version >= 0x0200 || m.NumberOfImagePages != 0 || m.XResolution == 0 ||
        m.YResolution == 0)
        return;
    const int64_t pageSize = VBE_getPageSize(&m);
    if (pageSize <= 0) return;
    int64_t memory = int64_t{gVbe.memoryKB} * 1024;
    if (m.BitsPerPixel == 4) memory /= 4;
    const int64_t pages = memory / pageSize - 1;
    m.NumberOfImagePages = static_cast<uint8_t>(std::clamp<int64_t>(pages, 0, 255));
}

int64_t RoundUp(int64_t value, int64_t unit) {
    return (value + unit - 1) / unit * unit;
}

} // namespace

extern "C" {

int32_t VBE_getModeInfo(int32_t mode, void* modeInfo) {
    if (!modeInfo) return 0;
    ModeInfoBlock m;
    std::memcpy(&m, modeInfo, sizeof m);
    RealRegs r = {};
    r.x.ax = 0x4F01;
    r.x.cx = static_cast<uint16_t>(mode);
    CallVbeWithBuffer(r, &m, sizeof m);
    if (r.x.ax != kVbeOk || !(m.ModeAttributes & kModeSupported)) {
        std::memcpy(modeInfo, &m, sizeof m);
        return 0;
    }
    DirectColourForOldBios(m);
    // A 16-bit mode with a 1-bit reserved field is a 15-bit mode.
    if (m.BitsPerPixel == 16 && m.RsvdMaskSize == 1) m.BitsPerPixel = 15;
    PagesForOldBios(m);
    std::memcpy(modeInfo, &m, sizeof m);
    return 1;
}

// 4 bits per pixel counts one plane, whose small pages go in steps of 8, 16
// or 32 KB; every other depth uses whole 64 KB banks.
int32_t VBE_getPageSize(const void* modeInfo) {
    if (!modeInfo) return 0;
    ModeInfoBlock m;
    std::memcpy(&m, modeInfo, sizeof m);
    const int64_t bytes = int64_t{m.BytesPerScanLine} * m.YResolution;
    if (m.BitsPerPixel == 4)
        for (int64_t small : {0x2000, 0x4000, 0x8000})
            if (RoundUp(bytes, small) == small) return static_cast<int32_t>(small);
    return static_cast<int32_t>(std::min<int64_t>(RoundUp(bytes, 0x10000), INT32_MAX));
}

} // extern "C"
