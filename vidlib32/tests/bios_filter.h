#pragma once
// Test support: stands between the library and the video BIOS. Every
// interrupt 10h call is recorded; a filter may answer a call itself or
// change what the BIOS answered, so that tests reach what no personality
// reports (odd granularities, long lists, large window code).
#include "pcemu/machine.h"

#include <functional>
#include <vector>

namespace vidlib32_test {

class BiosFilter {
public:
    // Runs before the BIOS: true when it answered the call itself.
    using Before = std::function<bool(pcemu::CpuRegs& regs)>;
    // Runs after the BIOS answered; `in` holds the registers of the call.
    using After = std::function<void(pcemu::CpuRegs& regs, const pcemu::CpuRegs& in)>;

    explicit BiosFilter(Before before = nullptr, After after = nullptr);
    ~BiosFilter();
    BiosFilter(const BiosFilter&) = delete;
    BiosFilter& operator=(const BiosFilter&) = delete;

    // The registers of every call so far, as they came in.
    const std::vector<pcemu::CpuRegs>& calls() const { return calls_; }
    // Calls whose AX was `ax`.
    size_t count(uint16_t ax) const;

    // Guest memory helpers for answers: ES:DI of a call, and a real-mode
    // block that lives as long as the filter.
    static uint32_t BufferOf(const pcemu::CpuRegs& regs);
    uint32_t realBlock(uint32_t size);

    void handle(pcemu::CpuRegs& regs);

private:
    Before before_;
    After after_;
    uint32_t original_ = 0;
    std::vector<pcemu::CpuRegs> calls_;
    std::vector<uint16_t> blocks_;
};

} // namespace vidlib32_test
