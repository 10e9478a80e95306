// The x86 processor (libx86emu): real-mode interrupts and far calls, 32-bit
// protected-mode calls and interrupts. Every memory and port access of
// emulated code goes through the machine's buses.
#pragma once

#include "pcemu/cpu_regs.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace pcemu {

class MemoryBus;
class PortBus;
class DescriptorTable;

class Cpu {
public:
    // Far addresses of the system stubs in segment F000h.
    static constexpr uint16_t kIretStub = 0x0000;   // iret
    static constexpr uint16_t kCarryStub = 0x0010;  // stc; retf 2
    static constexpr uint16_t kReturnStub = 0x0020; // hlt: where every run returns to
    static constexpr uint16_t kTrapStubs = 0x0100;  // 8 bytes per trap
    static constexpr unsigned kMaxTraps = 224;
    static constexpr uint8_t kTrapPort = 0xE3; // the port a trap stub writes to
    static constexpr int kMaxDepth = 4;        // nested runs (traps calling back)

    Cpu(MemoryBus& memory, PortBus& ports, DescriptorTable& descriptors, uint64_t instructionBound);
    ~Cpu();
    Cpu(const Cpu&) = delete;
    Cpu& operator=(const Cpu&) = delete;

    // Real mode: interrupt `vector` through the interrupt table, or a far
    // call to segment:offset. All registers in and out; SS:SP is the
    // machine's real-mode stack.
    RunResult int86(uint8_t vector, CpuRegs& regs);
    RunResult farCall(uint16_t segment, uint16_t offset, CpuRegs& regs);

    // 32-bit protected mode with the machine's descriptor table: a near call
    // to the linear address `entry` (CS = flat code, SS = flat data with a
    // 32-bit stack), segment fields of regs are selectors (0: flat data).
    // The processor is back in a clean real-mode state afterwards.
    RunResult call32(uint32_t entry, CpuRegs& regs);
    // A software interrupt executed in 32-bit protected mode. Its gate traps
    // and reflects the interrupt to the real-mode handler in the interrupt
    // table (general registers passed through); when the vector still points
    // at the default iret stub, it returns with carry set.
    RunResult int386(uint8_t vector, CpuRegs& regs);

    void setInstructionBound(uint64_t bound);
    uint64_t instructionBound() const;
    // Instructions executed by all runs so far (a rep string instruction
    // counts once).
    uint64_t instructionsExecuted() const;

    // A trap: emulated code that reaches the returned real-mode far address
    // (segment << 16 | offset) runs `handler` on its registers, then returns
    // with `retf 2` (an interrupt handler that keeps the flags the handler
    // set) or `retf` (a far-call routine). 0 when the stub area is full.
    enum class TrapReturn { Interrupt, FarCall };
    using TrapHandler = std::function<void(CpuRegs&)>;
    uint32_t addTrap(TrapReturn kind, TrapHandler handler);
    // A trap for 32-bit protected-mode code: `call` to the returned guest
    // linear address runs `handler` on the caller's general registers and
    // flags, then returns with a near `ret`. 0 when the stub area is full.
    static constexpr unsigned kMaxTraps32 = 64;
    uint32_t addTrap32(TrapHandler handler);
    // Ends the innermost run in progress with RunStatus::Failed and this
    // message (for trap handlers that cannot go on).
    void failRun(std::string message);

    // The real-mode far address every unused interrupt vector holds.
    static constexpr uint32_t defaultVector() { return 0xF0000000u | kIretStub; }

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace pcemu
