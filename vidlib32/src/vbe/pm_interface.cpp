// The protected-mode interface table: its copy, the selector of the register
// area it names, and the entry addresses of its routines.
#include "vbe/pm_interface.h"

#include "state.h"
#include "tobrin32/tobrin32.h"
#include "vbe/guest_memory.h"
#include "vbe/records.h"
#include "vidlib32/vidlib32.h"

#include <cstring>
#include <optional>

namespace vidlib32 {
namespace {

constexpr uint16_t kListEnd = 0xFFFF;
constexpr uint32_t kHeaderBytes = 8; // the four offsets before the code
enum TableWord { kSetWindow = 0, kSetDisplayStart = 1, kSetPalette = 2, kPortList = 3 };

uint32_t copyLength = 0;

std::optional<uint16_t> Word(uint32_t at) {
    if (!gVbe.pmInterfaceCopy || uint64_t{at} + 2 > copyLength) return std::nullopt;
    uint16_t v;
    std::memcpy(&v, gVbe.pmInterfaceCopy + at, 2);
    return v;
}

std::optional<uint32_t> Long(uint32_t at) {
    if (!gVbe.pmInterfaceCopy || uint64_t{at} + 4 > copyLength) return std::nullopt;
    uint32_t v;
    std::memcpy(&v, gVbe.pmInterfaceCopy + at, 4);
    return v;
}

// The table's port list ends with FFFFh; a memory entry after it (32-bit
// base, 16-bit length) names the registers the routines reach through ES.
// Lists that run past the copy's end are not read.
void FindRegisterArea() {
    const std::optional<uint16_t> list = Word(kPortList * 2);
    if (!list || *list == 0 || gVbe.mmioSelector != 0) return;
    uint32_t at = *list;
    for (std::optional<uint16_t> port = Word(at); port && *port != kListEnd; port = Word(at))
        at += 2;
    at += 2;
    const std::optional<uint16_t> next = Word(at);
    if (!next || *next == kListEnd) return;
    const std::optional<uint32_t> base = Long(at);
    const std::optional<uint16_t> length = Word(at + 4);
    if (!base || !length || *length == 0) return;
    gVbe.mmioSelector = static_cast<uint16_t>(TB_createSelector(*base, *length - 1u));
}

void LoadPmInterface() {
    RealRegs r = {};
    RealSegs s = {};
    r.x.ax = 0x4F0A;
    r.h.bl = 0x00;
    TB_int86x(0x10, &r, &r, &s);
    if (r.x.ax != kVbeOk || r.x.cx == 0) return;
    uint8_t* copy = GuestAlloc(r.x.cx);
    if (!copy) return;
    uint32_t selector = 0, offset = 0;
    TB_mapRealPointer(&selector, &offset, s.es, r.x.di);
    TB_memcpynf(copy, selector, offset, r.x.cx);
    gVbe.pmInterfaceCopy = copy;
    copyLength = r.x.cx;
    FindRegisterArea();
}

// The routine at the table's offset `index`; null when there is none, or
// when the offset (signed, as the table holds it) leads outside the code.
void* Entry(TableWord index) {
    const PmTableView table = PmInterface();
    if (!table.bytes) return nullptr;
    const std::optional<uint16_t> word = Word(index * 2);
    if (!word) return nullptr;
    const int32_t offset = static_cast<int16_t>(*word);
    if (offset < static_cast<int32_t>(kHeaderBytes) ||
        static_cast<uint32_t>(offset) >= table.length)
        return nullptr;
    return gVbe.pmInterfaceCopy + offset;
}

} // namespace

PmTableView PmInterface() {
    if (gVbe.version < 0x0200) return {};
    if (!gVbe.pmInterfaceCopy) LoadPmInterface();
    if (!gVbe.pmInterfaceCopy) return {};
    return {gVbe.pmInterfaceCopy, copyLength};
}

} // namespace vidlib32

using namespace vidlib32;

extern "C" {

void* VBE_getSetBank(void) {
    return Entry(kSetWindow);
}

void* VBE_getSetDisplayStart(void) {
    return Entry(kSetDisplayStart);
}

void* VBE_getSetPalette(void) {
    return Entry(kSetPalette);
}

// The entries the mode set kept point into the copy: they go with it.
void VBE_freePMCode(void) {
    GuestFree(gVbe.pmInterfaceCopy);
    gVbe.pmInterfaceCopy = nullptr;
    copyLength = 0;
    gMode.pmSetBank = gMode.pmSetDisplayStart = gMode.pmSetPalette = nullptr;
}

} // extern "C"
