// The emulated PC: address space, buses, processor, descriptor table,
// adapter and video BIOS, built from a MachineConfig.
#pragma once

#include "pcemu/adapter.h"
#include "pcemu/address_space.h"
#include "pcemu/bios.h"
#include "pcemu/clock.h"
#include "pcemu/config.h"
#include "pcemu/cpu.h"
#include "pcemu/descriptors.h"
#include "pcemu/memory_bus.h"
#include "pcemu/ports.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace pcemu {

class RangeAllocator;
class Machine;

struct MachineOrError {
    std::unique_ptr<Machine> machine;
    std::string error;
    explicit operator bool() const { return machine != nullptr; }
};

class Machine {
public:
    // Builds and boots a PC; on failure the machine is null and error says why.
    static MachineOrError Create(const MachineConfig& config);
    ~Machine();
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    const MachineConfig& config() const { return config_; }
    AddressSpace& space() { return *space_; }
    MemoryBus& memory() { return *memory_; }
    PortBus& ports() { return *ports_; }
    Cpu& cpu() { return *cpu_; }
    DescriptorTable& selectors() { return *selectors_; }
    Adapter& adapter() { return *adapter_; }
    Clock& clock() { return *clock_; }
    Bios& bios() { return *bios_; }

    uint8_t* hostPointer(uint32_t guest) const { return space_->hostPointer(guest); }
    std::optional<uint32_t> linearOf(const void* host) const { return space_->linearOf(host); }

    // Real-mode memory blocks in conventional memory (10000h-9FBFFh),
    // paragraph aligned and zeroed: the segment, or nothing when full.
    std::optional<uint16_t> allocReal(uint32_t size);
    bool freeReal(uint16_t segment);
    // Bytes of conventional memory still free for real-mode blocks.
    uint32_t realMemoryFree() const;

    RunResult int86(uint8_t vector, CpuRegs& regs) { return cpu_->int86(vector, regs); }
    RunResult farCall(uint16_t seg, uint16_t off, CpuRegs& regs) {
        return cpu_->farCall(seg, off, regs);
    }
    RunResult call32(uint32_t entry, CpuRegs& regs) { return cpu_->call32(entry, regs); }
    RunResult int386(uint8_t vector, CpuRegs& regs) { return cpu_->int386(vector, regs); }

private:
    explicit Machine(const MachineConfig& config);
    std::string build();

    MachineConfig config_;
    std::shared_ptr<Clock> clock_;
    std::unique_ptr<AddressSpace> space_;
    std::unique_ptr<MemoryBus> memory_;
    std::unique_ptr<PortBus> ports_;
    std::unique_ptr<DescriptorTable> selectors_;
    std::unique_ptr<Adapter> adapter_;
    std::unique_ptr<Cpu> cpu_;
    std::unique_ptr<RangeAllocator> realMemory_;
    std::unique_ptr<Bios> bios_;
};

// The process-wide PC, created from the environment on first use and kept
// until exit. If it cannot be built, prints "pcemu: <message>" to stderr and
// ends the process with exit code 1.
Machine& TheMachine();

} // namespace pcemu
