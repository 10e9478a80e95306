#include "vbe/bios_call.h"

#include "frame/fatal.h"
#include "state.h"
#include "vbe/messages.h"

namespace vidlib32 {

void CallVbe(RealRegs& regs) {
    TB_int86(0x10, &regs, &regs);
}

void RequireTransferBuffer() {
    if (gVbe.bufferSelector == 0) FatalError(kFatalCaption, kNoBufferMessage);
}

bool CallVbeWithBuffer(RealRegs& regs, void* block, uint32_t length) {
    RequireTransferBuffer();
    if (length > static_cast<uint32_t>(gVbe.bufferSize)) return false;
    RealSegs segs = {};
    segs.es = static_cast<uint16_t>(gVbe.bufferSegment);
    regs.x.di = static_cast<uint16_t>(gVbe.bufferRealOffset);
    TB_memcpyfn(gVbe.bufferSelector, gVbe.bufferOffset, block, length);
    TB_int86x(0x10, &regs, &regs, &segs);
    TB_memcpynf(block, gVbe.bufferSelector, gVbe.bufferOffset, length);
    return true;
}

} // namespace vidlib32
