// Register records in guest memory, and their exchange with the processor's
// registers.
#pragma once

#include "pcemu/cpu_regs.h"
#include "pcemu/memory_bus.h"

#include <cstdint>

namespace tobrin16 {

struct RealRegisters {
    uint16_t ax = 0, bx = 0, cx = 0, dx = 0, si = 0, di = 0;
    uint16_t carry = 0; // 0 or 1 after the call
    uint16_t flags = 0; // low 16 bits of the flags after the call
};

struct RealSegments {
    uint16_t es = 0, cs = 0, ss = 0, ds = 0;
};

RealRegisters ReadRealRegs(pcemu::MemoryBus& memory, uint32_t at);
void WriteRealRegs(pcemu::MemoryBus& memory, uint32_t at, const RealRegisters& regs);
RealSegments ReadRealSegs(pcemu::MemoryBus& memory, uint32_t at);

pcemu::CpuRegs ToCpuRegs(const RealRegisters& regs);
// The registers after a run; a run that did not finish reports carry.
RealRegisters FromCpuRegs(const pcemu::CpuRegs& regs, bool runFinished);
// ES and DS of a record into the registers, and back into the record (CS and
// SS are the processor's own during a call and stay as they were).
void LoadSegments(const RealSegments& segs, pcemu::CpuRegs& regs);
void StoreSegments(const pcemu::CpuRegs& regs, pcemu::MemoryBus& memory, uint32_t at);

} // namespace tobrin16
