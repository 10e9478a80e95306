#include "vbeaf/bridges.h"

#include "pcemu/machine.h"
#include "tobrin32/tobrin32.h"

namespace vidlib32::vbeaf {
namespace {

struct RealCall {
    RealRegs regs = {};
    RealSegs segs = {};
};

RealCall Into(const AF_RMRegs& rm) {
    RealCall call;
    call.regs.x.ax = static_cast<uint16_t>(rm.eax);
    call.regs.x.bx = static_cast<uint16_t>(rm.ebx);
    call.regs.x.cx = static_cast<uint16_t>(rm.ecx);
    call.regs.x.dx = static_cast<uint16_t>(rm.edx);
    call.regs.x.si = static_cast<uint16_t>(rm.esi);
    call.regs.x.di = static_cast<uint16_t>(rm.edi);
    call.segs.es = rm.es;
    call.segs.ds = rm.ds;
    return call;
}

void Back(const RealCall& call, AF_RMRegs& rm) {
    rm.eax = call.regs.x.ax;
    rm.ebx = call.regs.x.bx;
    rm.ecx = call.regs.x.cx;
    rm.edx = call.regs.x.dx;
    rm.esi = call.regs.x.si;
    rm.edi = call.regs.x.di;
    rm.es = call.segs.es;
    rm.ds = call.segs.ds;
}

// The structure at the caller's EDI, run through `run`, written back.
template <typename Run> void Bridge(pcemu::CpuRegs& caller, Run run) {
    pcemu::MemoryBus& memory = pcemu::TheMachine().memory();
    AF_RMRegs rm;
    memory.readBlock(caller.edi, &rm, sizeof rm);
    run(rm);
    memory.writeBlock(caller.edi, &rm, sizeof rm);
}

} // namespace

void RunInt86(uint8_t interrupt, AF_RMRegs& regs) {
    RealCall call = Into(regs);
    TB_int86x(interrupt, &call.regs, &call.regs, &call.segs);
    Back(call, regs);
}

void RunCallRealMode(AF_RMRegs& regs) {
    RealCall call = Into(regs);
    TB_callRealMode(regs.cs, regs.ip, &call.regs, &call.segs);
    Back(call, regs);
}

uint32_t Int86Bridge() {
    static const uint32_t stub = pcemu::TheMachine().cpu().addTrap32(
        [](pcemu::CpuRegs& r) { Bridge(r, [&r](AF_RMRegs& rm) { RunInt86(r.bl(), rm); }); });
    return stub;
}

uint32_t CallRealModeBridge() {
    static const uint32_t stub = pcemu::TheMachine().cpu().addTrap32(
        [](pcemu::CpuRegs& r) { Bridge(r, [](AF_RMRegs& rm) { RunCallRealMode(rm); }); });
    return stub;
}

} // namespace vidlib32::vbeaf
