// Far memory: byte, word and long accesses and copies through selectors,
// cached selectors, the data segment, and the segment registers.
#include "far_memory.h"

#include "service_call.h"
#include "tobrin16/protocol.h"
#include "tobrin32/tobrin32.h"

#include "pcemu/machine.h"

#include <cstdio>
#include <cstring>

namespace tobrin32 {
namespace {

using tobrin16::kCreateSelector;
using Arg = ServiceArg;

// The data segment that TB_loadDS brings back, and the one in use.
uint16_t savedDataSelector = pcemu::DescriptorTable::kFlatData;
uint16_t dataSelector = pcemu::DescriptorTable::kFlatData;

// Cached selectors: created on first use, never freed.
uint32_t biosSelector = 0;
uint32_t colorTextSelector = 0;
uint32_t monoTextSelector = 0;
uint32_t graphSelector = 0;
uint32_t firstMegabyteSelector = 0;

uint32_t Cached(uint32_t& selector, uint32_t base, uint32_t limit) {
    if (selector == 0)
        selector = CallService(kCreateSelector, {Arg::Value(base), Arg::Value(limit)});
    return selector;
}

constexpr uint8_t kBiosVideoMode = 0x49;

pcemu::MemoryBus& Memory() {
    return pcemu::TheMachine().memory();
}

} // namespace

std::optional<uint32_t> CheckedLinear(const char* who, uint32_t selector, uint32_t offset,
                                      uint32_t size) {
    std::optional<uint32_t> at;
    if (selector <= 0xFFFF)
        at = pcemu::TheMachine().selectors().linear(static_cast<uint16_t>(selector), offset, size);
    if (!at)
        std::fprintf(stderr,
                     "tobrin32: %s refused: %u bytes at %04X:%08X lie outside the selector's "
                     "limit, or the selector is not valid\n",
                     who, size, selector, offset);
    return at;
}

uint16_t CurrentDataSelector() {
    return dataSelector;
}

void* NearPointer(uint32_t linear, uint32_t dataBase) {
    return pcemu::TheMachine().hostPointer(linear - dataBase);
}

} // namespace tobrin32

using namespace tobrin32;

extern "C" {

int TB_getModeType(void) {
    return 2;
}

uint32_t TB_getBIOSSelector(void) {
    return Cached(biosSelector, 0x400, 0xFFFF);
}
uint32_t TB_getVGAColorTextSelector(void) {
    return Cached(colorTextSelector, 0xB8000, 0xFFFF);
}
uint32_t TB_getVGAMonoTextSelector(void) {
    return Cached(monoTextSelector, 0xB0000, 0xFFFF);
}
uint32_t TB_getVGAGraphSelector(void) {
    return Cached(graphSelector, 0xA0000, 0xFFFF);
}

uint32_t TB_getVGASelector(void) {
    switch (TB_getByte(TB_getBIOSSelector(), kBiosVideoMode)) {
    case 3:
        return TB_getVGAColorTextSelector();
    case 7:
        return TB_getVGAMonoTextSelector();
    default:
        return TB_getVGAGraphSelector();
    }
}

void TB_mapRealPointer(uint32_t* selector, uint32_t* offset, uint32_t realSegment,
                       uint32_t realOffset) {
    const uint32_t megabyte = Cached(firstMegabyteSelector, 0, 0xFFFFF);
    if (selector) *selector = megabyte;
    if (offset) *offset = realSegment * 16 + realOffset;
}

uint8_t TB_getByte(uint32_t selector, uint32_t offset) {
    const auto at = CheckedLinear("TB_getByte", selector, offset, 1);
    return at ? Memory().read8(*at) : 0;
}
uint16_t TB_getWord(uint32_t selector, uint32_t offset) {
    const auto at = CheckedLinear("TB_getWord", selector, offset, 2);
    return at ? Memory().read16(*at) : 0;
}
uint32_t TB_getLong(uint32_t selector, uint32_t offset) {
    const auto at = CheckedLinear("TB_getLong", selector, offset, 4);
    return at ? Memory().read32(*at) : 0;
}
void TB_setByte(uint32_t selector, uint32_t offset, uint8_t value) {
    if (const auto at = CheckedLinear("TB_setByte", selector, offset, 1))
        Memory().write8(*at, value);
}
void TB_setWord(uint32_t selector, uint32_t offset, uint16_t value) {
    if (const auto at = CheckedLinear("TB_setWord", selector, offset, 2))
        Memory().write16(*at, value);
}
void TB_setLong(uint32_t selector, uint32_t offset, uint32_t value) {
    if (const auto at = CheckedLinear("TB_setLong", selector, offset, 4))
        Memory().write32(*at, value);
}

// Both copies move four bytes at a time, then the remaining 0 to 3.
void TB_memcpynf(void* dst, uint32_t srcSelector, uint32_t srcOffset, uint32_t count) {
    if (count == 0 || !dst) return;
    const auto at = CheckedLinear("TB_memcpynf", srcSelector, srcOffset, count);
    if (!at) return;
    auto* out = static_cast<uint8_t*>(dst);
    uint32_t i = 0;
    for (; count - i >= 4; i += 4) {
        const uint32_t v = Memory().read32(*at + i);
        std::memcpy(out + i, &v, 4);
    }
    for (; i < count; ++i)
        out[i] = Memory().read8(*at + i);
}

void TB_memcpyfn(uint32_t dstSelector, uint32_t dstOffset, const void* src, uint32_t count) {
    if (count == 0 || !src) return;
    const auto at = CheckedLinear("TB_memcpyfn", dstSelector, dstOffset, count);
    if (!at) return;
    const auto* in = static_cast<const uint8_t*>(src);
    uint32_t i = 0;
    for (; count - i >= 4; i += 4) {
        uint32_t v = 0;
        std::memcpy(&v, in + i, 4);
        Memory().write32(*at + i, v);
    }
    for (; i < count; ++i)
        Memory().write8(*at + i, in[i]);
}

void TB_saveDS(void) {
    savedDataSelector = dataSelector;
}

void TB_loadDS(void) {
    dataSelector = savedDataSelector;
}

void TB_segread(ProtSegs* segs) {
    if (!segs) return;
    segs->cs = pcemu::DescriptorTable::kFlatCode;
    segs->es = segs->ss = segs->fs = segs->gs = pcemu::DescriptorTable::kFlatData;
    segs->ds = dataSelector;
}
}
