// Registers passed into and out of emulated runs, and how a run ended.
#pragma once

#include <cstdint>
#include <string>

namespace pcemu {

// General registers, flags and data segment registers. In real mode the
// segment fields are segments; in protected mode they are selectors, and 0
// stands for the flat data selector.
struct CpuRegs {
    uint32_t eax = 0, ebx = 0, ecx = 0, edx = 0, esi = 0, edi = 0, ebp = 0;
    uint32_t eflags = 0;
    uint16_t ds = 0, es = 0, fs = 0, gs = 0;

    static constexpr uint32_t kCarry = 0x0001;
    static constexpr uint32_t kZero = 0x0040;

    bool carry() const { return (eflags & kCarry) != 0; }
    void setCarry(bool on) { eflags = on ? (eflags | kCarry) : (eflags & ~kCarry); }

    uint16_t ax() const { return static_cast<uint16_t>(eax); }
    uint16_t bx() const { return static_cast<uint16_t>(ebx); }
    uint16_t cx() const { return static_cast<uint16_t>(ecx); }
    uint16_t dx() const { return static_cast<uint16_t>(edx); }
    uint16_t si() const { return static_cast<uint16_t>(esi); }
    uint16_t di() const { return static_cast<uint16_t>(edi); }
    uint8_t al() const { return static_cast<uint8_t>(eax); }
    uint8_t ah() const { return static_cast<uint8_t>(eax >> 8); }
    uint8_t bl() const { return static_cast<uint8_t>(ebx); }
    uint8_t bh() const { return static_cast<uint8_t>(ebx >> 8); }
    uint8_t cl() const { return static_cast<uint8_t>(ecx); }
    uint8_t ch() const { return static_cast<uint8_t>(ecx >> 8); }
    uint8_t dl() const { return static_cast<uint8_t>(edx); }
    uint8_t dh() const { return static_cast<uint8_t>(edx >> 8); }

    void setAx(uint16_t v) { eax = (eax & 0xFFFF0000u) | v; }
    void setBx(uint16_t v) { ebx = (ebx & 0xFFFF0000u) | v; }
    void setCx(uint16_t v) { ecx = (ecx & 0xFFFF0000u) | v; }
    void setDx(uint16_t v) { edx = (edx & 0xFFFF0000u) | v; }
    void setSi(uint16_t v) { esi = (esi & 0xFFFF0000u) | v; }
    void setDi(uint16_t v) { edi = (edi & 0xFFFF0000u) | v; }
    void setAl(uint8_t v) { eax = (eax & 0xFFFFFF00u) | v; }
    void setAh(uint8_t v) { eax = (eax & 0xFFFF00FFu) | (uint32_t{v} << 8); }
    void setBl(uint8_t v) { ebx = (ebx & 0xFFFFFF00u) | v; }
    void setBh(uint8_t v) { ebx = (ebx & 0xFFFF00FFu) | (uint32_t{v} << 8); }
};

enum class RunStatus {
    Ok,
    CpuFault,         // the processor raised an exception (vector, address)
    InstructionBound, // the run executed its whole instruction budget
    Runaway,          // a jump to itself: the code can never go on
    UnexpectedHalt,   // hlt somewhere other than the return stub
    BadState,         // the call could not start (bad selector, nesting too deep, ...)
    Failed,           // a nested run or a trap handler failed
};

struct RunResult {
    RunStatus status = RunStatus::Ok;
    int vector = -1;      // CpuFault: the exception vector
    uint32_t address = 0; // linear address where the run stopped
    uint64_t instructions = 0;
    std::string message; // empty when ok

    bool ok() const { return status == RunStatus::Ok; }
};

} // namespace pcemu
