// The real-mode transfer buffer that the BIOS calls with a block need:
// allocated on first need, freed by SV_exit or at process exit.
#include "frame/fatal.h"
#include "state.h"
#include "tobrin32/tobrin32.h"
#include "vidlib32/vidlib32.h"

#include <cstdlib>

namespace vidlib32 {
namespace {

constexpr uint32_t kTransferBufferBytes = 1024;

// The buffer this module allocated (selector 0: none), freed by SV_exit and
// at exit. A buffer a caller gave VBE_init is the caller's.
uint32_t ownSelector = 0, ownOffset = 0;
bool freeAtExitRegistered = false;

void FreeTransferBuffer() {
    if (ownSelector == 0) return;
    TB_freeRealSeg(ownSelector, ownOffset);
    if (gVbe.bufferSelector == ownSelector && gVbe.bufferOffset == ownOffset)
        gVbe.bufferSelector = 0;
    ownSelector = ownOffset = 0;
}

} // namespace
} // namespace vidlib32

using namespace vidlib32;

extern "C" {

void SV_initRMBuf(void) {
    if (ownSelector != 0) return;
    uint32_t selector = 0, offset = 0, segment = 0, realOffset = 0;
    if (!TB_allocRealSeg(kTransferBufferBytes, &selector, &offset, &segment, &realOffset) ||
        selector == 0)
        FatalExit();
    ownSelector = selector;
    ownOffset = offset;
    VBE_init(kTransferBufferBytes, selector, offset, segment, realOffset);
    if (!freeAtExitRegistered) freeAtExitRegistered = std::atexit(FreeTransferBuffer) == 0;
}

void SV_exit(void) {
    FreeTransferBuffer();
}

} // extern "C"
