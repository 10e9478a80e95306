// Software interrupts in the emulated processor's 32-bit protected mode.
#include "tobrin32/tobrin32.h"

#include "pcemu/machine.h"

#include <cstdio>

extern "C" {

uint32_t TB_int386x(int intno, ProtRegs* in, ProtRegs* out, ProtSegs* segs) {
    if (!in || !out || !segs) return 0;
    pcemu::CpuRegs regs;
    regs.eax = in->eax;
    regs.ebx = in->ebx;
    regs.ecx = in->ecx;
    regs.edx = in->edx;
    regs.esi = in->esi;
    regs.edi = in->edi;
    regs.es = segs->es;
    regs.ds = segs->ds;
    regs.fs = segs->fs;
    regs.gs = segs->gs;
    regs.setCarry(false);
    pcemu::RunResult run;
    if (intno < 0 || intno > 0xFF) {
        run.status = pcemu::RunStatus::BadState;
        run.message = "there is no such interrupt";
    } else {
        run = pcemu::TheMachine().int386(static_cast<uint8_t>(intno), regs);
    }
    if (!run.ok()) {
        // The interrupt did not complete: the registers come back as they
        // went in, with carry set.
        std::fprintf(stderr, "tobrin32: TB_int386x interrupt %d: %s\n", intno, run.message.c_str());
        const ProtRegs unchanged = *in;
        *out = unchanged;
        out->cflag = 1;
        return out->eax;
    }
    const ProtRegs result = {
        regs.eax, regs.ebx, regs.ecx, regs.edx, regs.esi, regs.edi, regs.carry() ? 1u : 0u};
    *out = result;
    segs->es = regs.es;
    segs->ds = regs.ds;
    segs->fs = regs.fs;
    segs->gs = regs.gs;
    return out->eax;
}

uint32_t TB_int386(int intno, ProtRegs* in, ProtRegs* out) {
    ProtSegs segs;
    TB_segread(&segs);
    return TB_int386x(intno, in, out, &segs);
}
}
