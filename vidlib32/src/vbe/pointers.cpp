// Pointers to video memory: the 64 KB bank window and the linear buffer.
#include "state.h"
#include "tobrin32/tobrin32.h"
#include "vbe/records.h"
#include "vidlib32/vidlib32.h"

#include <algorithm>
#include <cstring>

using namespace vidlib32;

namespace {

constexpr uint32_t kWindowLimit = 0xFFFF;
constexpr uint32_t kDefaultLinearLimit = 0x3FFFFF; // 4 MB

ModeInfoBlock Read(const void* modeInfo) {
    ModeInfoBlock m;
    std::memcpy(&m, modeInfo, sizeof m);
    return m;
}

} // namespace

extern "C" {

// A mode without window A (segment 0) has no banked pointer.
void* VBE_getBankedPointer(const void* modeInfo) {
    if (!modeInfo) return nullptr;
    const ModeInfoBlock m = Read(modeInfo);
    if (m.WinASegment == 0) return nullptr;
    return TB_mapPhysicalAddr(uint32_t{m.WinASegment} * 16, kWindowLimit);
}

// The first successful mapping is kept for every later call. It covers the
// video memory that detection found (4 MB when none was found), so that
// every page of a mode lies inside it and a smaller memory is not asked for
// more than it has. A mode without a linear buffer (PhysBasePtr 0) is not
// mapped.
void* VBE_getLinearPointer(const void* modeInfo) {
    if (gVbe.linearPointer) return gVbe.linearPointer;
    if (!modeInfo) return nullptr;
    const ModeInfoBlock m = Read(modeInfo);
    if (m.PhysBasePtr == 0) return nullptr;
    const uint32_t limit =
        gVbe.memoryKB > 0 ? static_cast<uint32_t>(gVbe.memoryKB) * 1024u - 1u : kDefaultLinearLimit;
    gVbe.linearPointer = TB_mapPhysicalAddr(m.PhysBasePtr, limit);
    return gVbe.linearPointer;
}

} // extern "C"
