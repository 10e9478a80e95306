// The processor class: 80386 (no alignment-check flag), 80486 (no
// identification flag, or a CPUID family below 5), or a later processor,
// plus 1 when it runs in protected mode.
#include "vidlib32/vidlib32.h"

#include <cstdint>

namespace {

constexpr uint64_t kAlignmentCheck = uint64_t{1} << 18;
constexpr uint64_t kIdentification = uint64_t{1} << 21;

// Whether a flags register bit can be changed; the flags are restored.
// The stack pointer first steps over the red zone, where the compiler may
// keep locals that the pushes would overwrite.
bool FlagToggles(uint64_t bit) {
    uint64_t before = 0, after = 0;
    asm volatile("lea -128(%%rsp), %%rsp\n\t"
                 "pushfq\n\t"
                 "pop %0\n\t"
                 "mov %0, %1\n\t"
                 "xor %2, %1\n\t"
                 "push %1\n\t"
                 "popfq\n\t"
                 "pushfq\n\t"
                 "pop %1\n\t"
                 "push %0\n\t"
                 "popfq\n\t"
                 "lea 128(%%rsp), %%rsp"
                 : "=&r"(before), "=&r"(after)
                 : "r"(bit)
                 : "cc", "memory");
    return ((before ^ after) & bit) != 0;
}

uint32_t CpuidFamily() {
    uint32_t eax = 1, ebx = 0, ecx = 0, edx = 0;
    asm volatile("cpuid" : "+a"(eax), "=b"(ebx), "+c"(ecx), "=d"(edx));
    return (eax >> 8) & 0x0F;
}

// Bit 0 of the machine status word: protected mode.
int32_t ProtectedMode() {
    uint32_t msw = 0;
    asm volatile("smsw %0" : "=r"(msw));
    return static_cast<int32_t>(msw & 1);
}

} // namespace

extern "C" int32_t SV_queryCpu(void) {
    int32_t cpuClass = 4;
    if (FlagToggles(kAlignmentCheck)) {
        cpuClass = 6;
        if (FlagToggles(kIdentification) && CpuidFamily() >= 5) cpuClass = 8;
    }
    return cpuClass + ProtectedMode();
}
