#include "guest_records.h"

namespace tobrin16 {

RealRegisters ReadRealRegs(pcemu::MemoryBus& memory, uint32_t at) {
    RealRegisters r;
    uint16_t* words[] = {&r.ax, &r.bx, &r.cx, &r.dx, &r.si, &r.di, &r.carry, &r.flags};
    for (uint32_t i = 0; i < 8; ++i)
        *words[i] = memory.read16(at + 2 * i);
    return r;
}

void WriteRealRegs(pcemu::MemoryBus& memory, uint32_t at, const RealRegisters& r) {
    const uint16_t words[] = {r.ax, r.bx, r.cx, r.dx, r.si, r.di, r.carry, r.flags};
    for (uint32_t i = 0; i < 8; ++i)
        memory.write16(at + 2 * i, words[i]);
}

RealSegments ReadRealSegs(pcemu::MemoryBus& memory, uint32_t at) {
    return {memory.read16(at), memory.read16(at + 2), memory.read16(at + 4), memory.read16(at + 6)};
}

pcemu::CpuRegs ToCpuRegs(const RealRegisters& r) {
    pcemu::CpuRegs regs;
    regs.eax = r.ax;
    regs.ebx = r.bx;
    regs.ecx = r.cx;
    regs.edx = r.dx;
    regs.esi = r.si;
    regs.edi = r.di;
    return regs;
}

RealRegisters FromCpuRegs(const pcemu::CpuRegs& regs, bool runFinished) {
    RealRegisters r;
    r.ax = regs.ax();
    r.bx = regs.bx();
    r.cx = regs.cx();
    r.dx = regs.dx();
    r.si = regs.si();
    r.di = regs.di();
    r.carry = regs.carry() || !runFinished ? 1 : 0;
    r.flags = static_cast<uint16_t>(regs.eflags | (runFinished ? 0 : pcemu::CpuRegs::kCarry));
    return r;
}

void LoadSegments(const RealSegments& segs, pcemu::CpuRegs& regs) {
    regs.es = segs.es;
    regs.ds = segs.ds;
}

void StoreSegments(const pcemu::CpuRegs& regs, pcemu::MemoryBus& memory, uint32_t at) {
    memory.write16(at, regs.es);
    memory.write16(at + 6, regs.ds);
}

} // namespace tobrin16
