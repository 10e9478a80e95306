// 32-bit traps: protected-mode code that calls a trap stub reaches a host
// handler with its registers, can call back into real mode from there, and
// goes on after the stub's ret.
#include "machine_rig.h"

using namespace pcemu;
using namespace pcemu_test;

namespace {

TEST(Trap32Test, CodeCallsTheHandlerWithItsRegistersAndGoesOn) {
    auto pc = NewMachine("none");
    ASSERT_TRUE(pc);
    CpuRegs seen;
    uint32_t trap = pc->cpu().addTrap32([&](CpuRegs& r) {
        seen = r;
        r.eax = r.ebx * 2;
        r.setCarry(true);
    });
    ASSERT_NE(trap, 0u);
    auto code = pc->space().guestAllocLinear(32);
    ASSERT_TRUE(code);
    // mov ebx, 21; call trap; adc eax, 100; mov ecx, esp; ret
    Poke(*pc, *code, {0xBB, 21, 0, 0, 0, 0xE8});
    pc->memory().write32(*code + 6, trap - (*code + 10));
    Poke(*pc, *code + 10, {0x15, 100, 0, 0, 0, 0x89, 0xE1, 0xC3});
    CpuRegs r;
    r.esi = 0x5A5A;
    RunResult run = pc->call32(*code, r);
    ASSERT_TRUE(run.ok()) << run.message;
    EXPECT_EQ(seen.ebx, 21u);
    EXPECT_EQ(seen.esi, 0x5A5Au);
    EXPECT_EQ(r.eax, 42u + 100u + 1u); // the carry the handler set reached the code
    CpuRegs before;
    ASSERT_TRUE(pc->call32(*code + 15, before).ok()); // mov ecx, esp; ret alone
    EXPECT_EQ(r.ecx, before.ecx);                     // the stub's ret left the stack as it was
}

TEST(Trap32Test, HandlerMayRunRealModeCodeAndTheAreaHasAnEnd) {
    auto pc = NewMachine("none");
    ASSERT_TRUE(pc);
    // Interrupt 60h: add ax, bx; iret.
    Poke(*pc, 0x20000, {0x01, 0xD8, 0xCF});
    pc->memory().write32(0x60 * 4, 0x20000000);
    uint32_t trap = pc->cpu().addTrap32([&](CpuRegs& r) {
        CpuRegs real;
        real.eax = r.eax;
        real.ebx = r.ebx;
        RunResult nested = pc->int86(0x60, real);
        r.eax = nested.ok() ? real.ax() : 0xDEAD;
    });
    auto code = pc->space().guestAllocLinear(16);
    ASSERT_TRUE(code);
    Poke(*pc, *code, {0xFF, 0x25}); // jmp [slot]: the trap returns to the caller
    pc->memory().write32(*code + 2, *code + 8);
    pc->memory().write32(*code + 8, trap);
    CpuRegs r;
    r.eax = 0x1200;
    r.ebx = 0x0034;
    RunResult run = pc->call32(*code, r);
    ASSERT_TRUE(run.ok()) << run.message;
    EXPECT_EQ(r.eax, 0x1234u);

    for (unsigned i = 1; i < Cpu::kMaxTraps32; ++i)
        EXPECT_NE(pc->cpu().addTrap32([](CpuRegs&) {}), 0u);
    EXPECT_EQ(pc->cpu().addTrap32([](CpuRegs&) {}), 0u);
    EXPECT_EQ(pc->cpu().addTrap32(nullptr), 0u);
}

} // namespace
