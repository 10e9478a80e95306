// The Bochs display interface's registers as memory: register i is the
// 16-bit word at offset 2i, so 32-bit code can reach them through a
// selector instead of the index and data ports.
#pragma once

#include "pcemu/memory_bus.h"

namespace pcemu {

class BochsInterface;

class BochsRegisterBlock final : public MmioDevice {
public:
    explicit BochsRegisterBlock(BochsInterface& bochs) : bochs_(bochs) {}

    uint32_t read(uint32_t offset, unsigned size) override;
    void write(uint32_t offset, uint32_t value, unsigned size) override;

private:
    BochsInterface& bochs_;
};

} // namespace pcemu
