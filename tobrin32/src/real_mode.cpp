// Real-mode interrupts and far calls, real-mode memory and interrupt
// vectors, through the companion's services 0, 1, 2, 5 and 6.
#include "service_call.h"
#include "tobrin16/protocol.h"
#include "tobrin32/tobrin32.h"

#include "pcemu/machine.h"

static_assert(sizeof(RealRegs) == tobrin16::kRealRegsBytes);
static_assert(sizeof(RealSegs) == tobrin16::kRealSegsBytes);

using tobrin32::CallService;
using Arg = tobrin32::ServiceArg;

namespace {

constexpr int kDosInterrupt = 0x21;
constexpr uint8_t kDosSetVector = 0x25;
constexpr uint8_t kDosGetVector = 0x35;

} // namespace

extern "C" {

int TB_int86(int intno, RealRegs* in, RealRegs* out) {
    return static_cast<int>(
        CallService(tobrin16::kRealInterrupt,
                    {Arg::Value(static_cast<uint32_t>(intno)), Arg::In(in, sizeof(RealRegs)),
                     Arg::InOut(out, sizeof(RealRegs))}));
}

int TB_int86x(int intno, RealRegs* in, RealRegs* out, RealSegs* segs) {
    return static_cast<int>(
        CallService(tobrin16::kRealInterruptWithSegments,
                    {Arg::Value(static_cast<uint32_t>(intno)), Arg::In(in, sizeof(RealRegs)),
                     Arg::InOut(out, sizeof(RealRegs)), Arg::InOut(segs, sizeof(RealSegs))}));
}

void TB_callRealMode(uint32_t segment, uint32_t offset, RealRegs* regs, RealSegs* segs) {
    CallService(tobrin16::kRealFarCall,
                {Arg::Value(segment), Arg::Value(offset), Arg::InOut(regs, sizeof(RealRegs)),
                 Arg::InOut(segs, sizeof(RealSegs))});
}

void* TB_allocRealSeg(uint32_t size, uint32_t* selector, uint32_t* offset, uint32_t* realSegment,
                      uint32_t* realOffset) {
    // The outputs start at 0, so a failed allocation leaves nothing stale.
    for (uint32_t* output : {selector, offset, realSegment, realOffset})
        if (output) *output = 0;
    const uint32_t linear =
        CallService(tobrin16::kAllocRealMemory,
                    {Arg::Value(size), Arg::InOut(selector, 4), Arg::InOut(offset, 4),
                     Arg::InOut(realSegment, 4), Arg::InOut(realOffset, 4)});
    return linear ? pcemu::TheMachine().hostPointer(linear) : nullptr;
}

void TB_freeRealSeg(uint32_t selector, uint32_t offset) {
    CallService(tobrin16::kFreeRealMemory, {Arg::Value(selector), Arg::Value(offset)});
}

uint32_t _TB_getRMvect(int intno, uint32_t* vector) {
    TB_saveDS();
    RealRegs regs = {};
    RealSegs segs = {};
    regs.h.ah = kDosGetVector;
    regs.h.al = static_cast<uint8_t>(intno);
    TB_int86x(kDosInterrupt, &regs, &regs, &segs);
    const uint32_t found = (uint32_t{segs.es} << 16) | regs.x.bx;
    if (vector) *vector = found;
    return found;
}

void _TB_setRMvect(int intno, uint32_t vector) {
    TB_saveDS();
    RealRegs regs = {};
    RealSegs segs = {};
    regs.h.ah = kDosSetVector;
    regs.h.al = static_cast<uint8_t>(intno);
    regs.x.dx = static_cast<uint16_t>(vector);
    segs.ds = static_cast<uint16_t>(vector >> 16);
    TB_int86x(kDosInterrupt, &regs, &regs, &segs);
}
}
