#include "bios_filter.h"

#include <gtest/gtest.h>

namespace vidlib32_test {
namespace {

constexpr uint32_t kVector10 = 0x10 * 4;

BiosFilter* current = nullptr;

// One trap per process: the stub area is small and traps are never removed.
uint32_t Trap() {
    static const uint32_t trap = pcemu::TheMachine().cpu().addTrap(
        pcemu::Cpu::TrapReturn::Interrupt, [](pcemu::CpuRegs& regs) {
            if (current) current->handle(regs);
        });
    return trap;
}

} // namespace

BiosFilter::BiosFilter(Before before, After after)
    : before_(std::move(before)), after_(std::move(after)) {
    pcemu::Machine& pc = pcemu::TheMachine();
    original_ = pc.memory().read32(kVector10);
    current = this;
    pc.memory().write32(kVector10, Trap());
}

BiosFilter::~BiosFilter() {
    pcemu::Machine& pc = pcemu::TheMachine();
    pc.memory().write32(kVector10, original_);
    current = nullptr;
    for (uint16_t segment : blocks_)
        pc.freeReal(segment);
}

size_t BiosFilter::count(uint16_t ax) const {
    size_t n = 0;
    for (const pcemu::CpuRegs& r : calls_)
        n += r.ax() == ax;
    return n;
}

uint32_t BiosFilter::BufferOf(const pcemu::CpuRegs& regs) {
    return uint32_t{regs.es} * 16 + regs.di();
}

uint32_t BiosFilter::realBlock(uint32_t size) {
    const auto segment = pcemu::TheMachine().allocReal(size);
    EXPECT_TRUE(segment);
    if (!segment) return 0;
    blocks_.push_back(*segment);
    return uint32_t{*segment} * 16;
}

// The BIOS runs as a nested interrupt through its own vector, put back for
// the duration of the call.
void BiosFilter::handle(pcemu::CpuRegs& regs) {
    calls_.push_back(regs);
    const pcemu::CpuRegs in = regs;
    if (before_ && before_(regs)) return;
    pcemu::Machine& pc = pcemu::TheMachine();
    const uint32_t trap = pc.memory().read32(kVector10);
    pc.memory().write32(kVector10, original_);
    const pcemu::RunResult run = pc.int86(0x10, regs);
    pc.memory().write32(kVector10, trap);
    if (!run.ok()) {
        pc.cpu().failRun(run.message);
        return;
    }
    if (after_) after_(regs, in);
}

} // namespace vidlib32_test
