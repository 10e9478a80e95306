// Moving the bank window: SV_setBank and the routines a mode set chooses
// from, through the BIOS or its protected-mode window routine.
#include "state.h"
#include "tobrin32/tobrin32.h"
#include "vbe/pm_call.h"
#include "vidlib32/vidlib32.h"

namespace vidlib32 {

void DoNothing() {}
void DoNothingBank(int32_t) {}

namespace {

enum Window : uint8_t { kWindowA = 0, kWindowB = 1 };

// The window position of a bank, in granularity units, as a 16-bit value.
uint16_t Position(int32_t bank) {
    return static_cast<uint16_t>(static_cast<uint32_t>(bank) << gMode.bankShift);
}

void ProtectedModeSetWindow(Window window, int32_t bank, uint16_t es) {
    pcemu::CpuRegs regs;
    regs.ebx = window; // BH = 0: set the position
    regs.edx = Position(bank);
    regs.es = es;
    CallPmRoutine(gMode.pmSetBank, regs);
}

} // namespace
} // namespace vidlib32

using namespace vidlib32;

extern "C" {

// Before any mode set there is no routine to run; the bank is still kept.
void SV_setBank(int32_t bank) {
    gDevice.currentBank = static_cast<uint16_t>(bank);
    if (gMode.bankRoutine) gMode.bankRoutine(bank);
}

void SV_setBankASM(int32_t bank) {
    SV_setBank(bank);
}

void _VBE_setBankA(int32_t bank) {
    TB_setBankA(Position(bank));
}

void _VBE_setBankAB(int32_t bank) {
    TB_setBankAB(Position(bank));
}

void _VBE20_setBankA(int32_t bank) {
    ProtectedModeSetWindow(kWindowA, bank, 0);
}

void _VBE20_setBankAB(int32_t bank) {
    ProtectedModeSetWindow(kWindowA, bank, 0);
    ProtectedModeSetWindow(kWindowB, bank, 0);
}

void _VBE20_setBankA_ES(int32_t bank) {
    ProtectedModeSetWindow(kWindowA, bank, gVbe.mmioSelector);
}

void _VBE20_setBankAB_ES(int32_t bank) {
    ProtectedModeSetWindow(kWindowA, bank, gVbe.mmioSelector);
    ProtectedModeSetWindow(kWindowB, bank, gVbe.mmioSelector);
}

} // extern "C"
