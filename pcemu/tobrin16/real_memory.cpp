#include "real_memory.h"

#include "pcemu/machine.h"

namespace tobrin16 {
namespace {

// Real-mode segment of the block behind each selector handed out, by
// descriptor index (0: none). Plain static data: nothing to destroy when the
// companion is unloaded, and usable from exit-time frees in any order.
uint16_t blockSegment[0x10000 >> 3];

uint16_t* BlockOf(uint32_t selector) {
    return selector <= 0xFFFF ? &blockSegment[selector >> 3] : nullptr;
}

} // namespace

uint32_t AllocRealMemory(const Call& call) {
    const uint32_t size = call.value[0];
    if (size == 0 || size > pcemu::kConventionalEnd) return 0;
    pcemu::Machine& pc = pcemu::TheMachine();
    const auto segment = pc.allocReal(size);
    if (!segment) return 0;
    const uint32_t linear = uint32_t{*segment} << 4;
    const auto selector = pc.selectors().create(linear, ((size + 15) & ~15u) - 1);
    if (!selector) {
        pc.freeReal(*segment);
        return 0;
    }
    *BlockOf(*selector) = *segment;
    const uint32_t outputs[4] = {*selector, 0, *segment, 0};
    for (int i = 0; i < 4; ++i)
        if (call.record[1 + i]) pc.memory().write32(call.value[1 + i], outputs[i]);
    return linear;
}

void FreeRealMemory(uint32_t selector, uint32_t offset) {
    uint16_t* block = BlockOf(selector);
    if (!block || *block == 0 || offset != 0) return;
    pcemu::Machine& pc = pcemu::TheMachine();
    pc.freeReal(*block);
    pc.selectors().free(selector);
    *block = 0;
}

} // namespace tobrin16
