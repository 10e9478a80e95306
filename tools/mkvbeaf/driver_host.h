// A driver image in an emulated PC, set up the way a loader sets it up: the
// image in guest memory, the register areas and windows "mapped" (guest
// addresses equal physical ones), five selectors, and the two real-mode
// bridges as 32-bit traps. Then its entries can be called with the
// registers of their conventions. For tests and benchmarks of the reference
// driver.
#pragma once

#include <pcemu/machine.h>
#include <vidlib32/vbeaf.h>

#include <cstdint>
#include <span>
#include <vector>

namespace mkvbeaf {

class DriverHost {
public:
    explicit DriverHost(pcemu::Machine& pc) : pc_(pc) {}

    // Copies the image into guest memory and fills in the loader's fields.
    // False when guest memory or the trap area is full.
    bool load(std::span<const uint8_t> image);
    // InitDriver with EBX = the header; its EAX.
    uint32_t init();
    // Calls the entry the header holds at `field` with EBX = the header; its
    // EAX. An absent entry is not called (the result is then ~0).
    uint32_t call(uint32_t AF_DriverHeader::*field, pcemu::CpuRegs& regs);
    // How the last call ran.
    const pcemu::RunResult& lastRun() const { return lastRun_; }

    uint32_t base() const { return base_; }
    AF_DriverHeader& header() const;

    // What the driver asked of the bridges.
    struct BridgeCall {
        bool interrupt;
        uint8_t number; // the interrupt (Int86)
        uint16_t ax;
    };
    std::vector<BridgeCall> bridgeCalls;

private:
    void bridge(pcemu::CpuRegs& regs, bool interrupt);

    pcemu::Machine& pc_;
    uint32_t base_ = 0;
    pcemu::RunResult lastRun_;
};

} // namespace mkvbeaf
