#include "real_memory.h"

#include "pcemu/machine.h"

#include <map>

namespace tobrin16 {
namespace {

// Selector -> real-mode segment of the blocks handed out. Never destroyed:
// the library that frees blocks may be unloaded after this one at exit.
std::map<uint16_t, uint16_t>& Blocks() {
    static auto* blocks = new std::map<uint16_t, uint16_t>;
    return *blocks;
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
    Blocks()[*selector] = *segment;
    const uint32_t outputs[4] = {*selector, 0, *segment, 0};
    for (int i = 0; i < 4; ++i)
        if (call.record[1 + i]) pc.memory().write32(call.value[1 + i], outputs[i]);
    return linear;
}

void FreeRealMemory(uint32_t selector, uint32_t offset) {
    auto it = Blocks().find(static_cast<uint16_t>(selector));
    if (selector > 0xFFFF || offset != 0 || it == Blocks().end()) return;
    pcemu::Machine& pc = pcemu::TheMachine();
    pc.freeReal(it->second);
    pc.selectors().free(it->first);
    Blocks().erase(it);
}

} // namespace tobrin16
