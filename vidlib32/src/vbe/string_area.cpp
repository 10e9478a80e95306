#include "vbe/string_area.h"

#include "tobrin32/tobrin32.h"
#include "vbe/guest_memory.h"

#include <array>

namespace vidlib32 {
namespace {

constexpr uint16_t kListEnd = 0xFFFF;

uint8_t* area = nullptr; // allocated on the first detection, kept
uint32_t areaGuest = 0;

bool HaveArea() {
    if (area) return true;
    area = GuestAlloc(kStringAreaBytes);
    if (!area) return false;
    areaGuest = GuestOf(area).value_or(0);
    return true;
}

// Real-mode memory reached through a selector and offset.
struct FarMemory {
    uint32_t selector = 0, offset = 0;

    explicit FarMemory(uint32_t farPointer) {
        TB_mapRealPointer(&selector, &offset, farPointer >> 16, farPointer & 0xFFFF);
    }
    uint8_t byte(uint32_t i) const { return TB_getByte(selector, offset + i); }
    uint16_t word(uint32_t i) const { return TB_getWord(selector, offset + 2 * i); }
};

// Mode numbers before the terminator, counting at most `limit`.
uint32_t CountModes(const FarMemory& list, uint32_t limit) {
    uint32_t n = 0;
    while (n < limit && list.word(n) != kListEnd)
        ++n;
    return n;
}

// Copies a zero-terminated string into area[at...], at most `room` bytes
// with its terminator (room >= 1). Returns the bytes written.
uint32_t CopyString(const FarMemory& from, uint32_t at, uint32_t room) {
    uint32_t i = 0;
    for (; i + 1 < room; ++i) {
        const uint8_t c = from.byte(i);
        if (c == 0) break;
        area[at + i] = c;
    }
    area[at + i] = 0;
    return i + 1;
}

} // namespace

bool RelocateInfoBlock(VbeInfoBlock& info, bool vbe2) {
    if (!HaveArea()) return false;
    // Copies of the packed block's pointer fields (they are not aligned).
    std::array<uint32_t, 4> strings = {info.OemStringPtr, info.OemVendorNamePtr,
                                       info.OemProductNamePtr, info.OemProductRevPtr};
    const uint32_t stringCount = vbe2 ? 4 : 1;

    // The list keeps its terminator and leaves one byte per string.
    const FarMemory list(info.VideoModePtr);
    const uint32_t maxModes = (kStringAreaBytes - stringCount) / 2 - 1;
    const uint32_t modes = CountModes(list, maxModes);
    const uint32_t listBytes = 2 * (modes + 1);

    uint32_t at = 0;
    for (uint32_t i = 0; i < stringCount; ++i) {
        const uint32_t laterStrings = stringCount - 1 - i;
        const uint32_t room = kStringAreaBytes - listBytes - at - laterStrings;
        const uint32_t start = at;
        at += CopyString(FarMemory(strings[i]), at, room);
        strings[i] = areaGuest + start;
    }
    info.OemStringPtr = strings[0];
    if (vbe2) {
        info.OemVendorNamePtr = strings[1];
        info.OemProductNamePtr = strings[2];
        info.OemProductRevPtr = strings[3];
    }

    for (uint32_t i = 0; i < modes; ++i) {
        const uint16_t mode = list.word(i);
        area[at + 2 * i] = static_cast<uint8_t>(mode);
        area[at + 2 * i + 1] = static_cast<uint8_t>(mode >> 8);
    }
    area[at + 2 * modes] = area[at + 2 * modes + 1] = 0xFF;
    info.VideoModePtr = areaGuest + at;
    return true;
}

} // namespace vidlib32
