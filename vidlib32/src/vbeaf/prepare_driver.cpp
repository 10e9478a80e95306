#include "vbeaf/prepare_driver.h"

#include "tobrin32/tobrin32.h"
#include "vbe/guest_memory.h"
#include "vbeaf/bridges.h"
#include "vidlib32/vidlib32.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace vidlib32::vbeaf {
namespace {

constexpr uint32_t kWindowLimit = 0xFFFF;

struct SelectorArea {
    uint32_t base, limit;
};
constexpr SelectorArea kSelectorAreas[5] = {
    {0x00000, 0xFFFFF}, {0x00400, 0xFFFF}, {0xA0000, 0xFFFF}, {0xB0000, 0xFFFF}, {0xC0000, 0xFFFF}};

// Made by the first load that needs each item, kept for the process: a
// process meets one adapter.
DriverMappings mappings;
bool selectorsMade = false;

// The limit of an area of `bytes` bytes. An area of no bytes (a driver that
// leaves its size for InitDriver to fill in) is mapped by its first byte:
// bytes - 1 would wrap to 4 GB and no mapping could be had.
uint32_t LimitOf(uint64_t bytes) {
    return bytes == 0 ? 0 : static_cast<uint32_t>(std::min<uint64_t>(bytes - 1, 0xFFFFFFFF));
}

// The guest address of a physical area as the services map it; nothing
// when they cannot.
std::optional<uint32_t> Map(uint32_t base, uint32_t limit) {
    void* mapped = TB_mapPhysicalAddr(base, limit);
    return mapped ? GuestOf(mapped) : std::nullopt;
}

// The register areas, all or none: a failed area leaves the cache as it was.
bool MapIoMemory(const AF_DriverHeader& header) {
    if (mappings.ioMemory[0] != 0) return true;
    uint32_t mapped[4] = {};
    for (int i = 0; i < 4; ++i) {
        if (header.IOMemoryBase[i] == 0) continue;
        std::optional<uint32_t> at = Map(header.IOMemoryBase[i], LimitOf(header.IOMemoryLen[i]));
        if (!at) return false;
        mapped[i] = *at;
    }
    std::memcpy(mappings.ioMemory, mapped, sizeof mapped);
    return true;
}

bool MapWindowAndBuffer(const AF_DriverHeader& header) {
    if (mappings.banked == 0 && header.BankedBasePtr != 0) {
        std::optional<uint32_t> at = Map(header.BankedBasePtr, kWindowLimit);
        if (!at) return false;
        mappings.banked = *at;
    }
    if (mappings.linear == 0 && header.LinearBasePtr != 0) {
        std::optional<uint32_t> at =
            Map(header.LinearBasePtr, LimitOf(uint64_t{header.LinearSize} * 1024));
        if (!at) return false;
        mappings.linear = *at;
    }
    return true;
}

void MakeSelectors() {
    if (selectorsMade) return;
    for (int i = 0; i < 5; ++i)
        mappings.selectors[i] = TB_createSelector(kSelectorAreas[i].base, kSelectorAreas[i].limit);
    selectorsMade = true;
}

} // namespace

const DriverMappings& CurrentMappings() {
    return mappings;
}

int32_t PrepareDriver(AF_DriverHeader& header, size_t length) {
    if (length < sizeof header ||
        std::memcmp(header.Signature, AF_SIGNATURE, sizeof AF_SIGNATURE) != 0)
        return AF_STATUS_NOT_A_DRIVER;
    if (header.Version < AF_VERSION_1_0) return AF_STATUS_OLD_VERSION;
    if (header.InitDriver == 0 || header.InitDriver >= length) return AF_STATUS_NOT_A_DRIVER;

    if (!MapIoMemory(header) || !MapWindowAndBuffer(header)) return AF_STATUS_NO_MAPPING;
    std::memcpy(header.IOMemMaps, mappings.ioMemory, sizeof header.IOMemMaps);
    header.BankedMem = mappings.banked;
    header.LinearMem = mappings.linear;

    MakeSelectors();
    header.Sel0000h = mappings.selectors[0];
    header.Sel0040h = mappings.selectors[1];
    header.SelA000h = mappings.selectors[2];
    header.SelB000h = mappings.selectors[3];
    header.SelC000h = mappings.selectors[4];

    header.Int86 = Int86Bridge();
    header.CallRealMode = CallRealModeBridge();
    return AF_STATUS_OK;
}

} // namespace vidlib32::vbeaf
