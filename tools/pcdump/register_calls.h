// Interrupt 10h calls written as register settings ("AX=4F02,BX=4101").
#pragma once

#include "pcemu/cpu_regs.h"

#include <string>

namespace pcdump {

struct RegisterCall {
    pcemu::CpuRegs regs;
    bool setsEs = false;
    bool setsDi = false;
};

// Registers EAX-EDI, EBP, AX-DI, BP, AL-DH, DS, ES, FS, GS with hexadecimal
// values (an optional 0x in front). Throws Failure.
RegisterCall ParseRegisterCall(const std::string& text);

// "AX=004F BX=0000 ... ES=1000 CF=0".
std::string FormatRegisters(const pcemu::CpuRegs& regs);

} // namespace pcdump
