// The processor: real-mode interrupts and far calls, traps, the DOS vector
// service, 32-bit protected-mode calls and interrupts, and runs that must
// end with an error instead of hanging.
#include "machine_rig.h"

#include <vector>

using namespace pcemu;
using namespace pcemu_test;

namespace {

constexpr uint32_t kCode = 0x20000; // 2000:0000

class CpuTest : public ::testing::Test {
protected:
    void SetUp() override {
        pc = NewMachine("none");
        ASSERT_TRUE(pc);
        // A real-mode interrupt handler: add ax, bx; mov cx, ds; stc; retf 2
        Poke(*pc, kCode, {0x01, 0xD8, 0x8C, 0xD9, 0xF9, 0xCA, 0x02, 0x00});
        pc->memory().write32(0x60 * 4, 0x20000000);
    }
    // 32-bit code in the guest heap; its linear address.
    uint32_t code32(std::initializer_list<uint8_t> bytes) {
        auto at = pc->space().guestAllocLinear(bytes.size(), 16);
        EXPECT_TRUE(at);
        Poke(*pc, *at, bytes);
        return *at;
    }
    RunResult callAt(uint32_t linear, CpuRegs& regs) {
        return pc->farCall(static_cast<uint16_t>(linear >> 4), linear & 15, regs);
    }
    std::unique_ptr<Machine> pc;
};

TEST_F(CpuTest, Int86RunsTheHandlerTheInterruptTableNames) {
    CpuRegs r;
    r.eax = 0xABCD0005;
    r.ebx = 7;
    r.ds = 0x1234;
    r.esi = 0x12345678;
    r.ebp = 0x9ABCDEF0;
    RunResult run = pc->int86(0x60, r);
    ASSERT_TRUE(run.ok()) << run.message;
    EXPECT_EQ(r.eax, 0xABCD000Cu);
    EXPECT_EQ(r.cx(), 0x1234);
    EXPECT_TRUE(r.carry());
    EXPECT_EQ(r.esi, 0x12345678u);
    EXPECT_EQ(r.ebp, 0x9ABCDEF0u);
    EXPECT_EQ(r.ds, 0x1234);
    EXPECT_EQ(run.instructions, 5u); // four handler instructions and the hlt
}

TEST_F(CpuTest, FarCallReturnsRegistersAndSegments) {
    // mov es, ax; mov bx, 55AAh; retf
    Poke(*pc, kCode + 0x100, {0x8E, 0xC0, 0xBB, 0xAA, 0x55, 0xCB});
    CpuRegs r;
    r.eax = 0x4321;
    RunResult run = pc->farCall(0x2000, 0x0100, r);
    ASSERT_TRUE(run.ok()) << run.message;
    EXPECT_EQ(r.es, 0x4321);
    EXPECT_EQ(r.bx(), 0x55AA);
}

TEST_F(CpuTest, TrapsRunHostCodeOnTheCallersRegisters) {
    uint32_t trap = pc->cpu().addTrap(Cpu::TrapReturn::Interrupt, [](CpuRegs& r) {
        r.setAx(static_cast<uint16_t>(r.bx() * 2));
        r.es = 0x5555;
        r.setCarry(true);
    });
    ASSERT_NE(trap, 0u);
    pc->memory().write32(0x61 * 4, trap);
    // Emulated code calls it: int 61h; mov dx, es; retf
    Poke(*pc, kCode + 0x100, {0xCD, 0x61, 0x8C, 0xC2, 0xCB});
    CpuRegs r;
    r.ebx = 21;
    RunResult run = pc->farCall(0x2000, 0x0100, r);
    ASSERT_TRUE(run.ok()) << run.message;
    EXPECT_EQ(r.ax(), 42);
    EXPECT_EQ(r.dx(), 0x5555);
    EXPECT_TRUE(r.carry());
}

TEST_F(CpuTest, DosServiceSetsAndGetsInterruptVectors) {
    CpuRegs r;
    r.eax = 0x2562;
    r.ds = 0x1234;
    r.edx = 0x5678;
    ASSERT_TRUE(pc->int86(0x21, r).ok());
    EXPECT_EQ(pc->memory().read32(0x62 * 4), 0x12345678u);
    r = {};
    r.eax = 0x3562;
    ASSERT_TRUE(pc->int86(0x21, r).ok());
    EXPECT_EQ(r.es, 0x1234);
    EXPECT_EQ(r.bx(), 0x5678);
    EXPECT_FALSE(r.carry());
    r = {};
    r.eax = 0x4C00; // anything else: not supported
    ASSERT_TRUE(pc->int86(0x21, r).ok());
    EXPECT_TRUE(r.carry());
}

TEST_F(CpuTest, SystemServicesWithoutAHandlerReturnCarry) {
    for (uint8_t vector : {0x15, 0x1A}) {
        CpuRegs r;
        r.eax = 0x8800;
        ASSERT_TRUE(pc->int86(vector, r).ok());
        EXPECT_TRUE(r.carry()) << int(vector);
    }
}

TEST_F(CpuTest, RunawayCodeEndsWithAnError) {
    Poke(*pc, kCode + 0x100, {0xEB, 0xFE}); // jmp $
    CpuRegs r;
    RunResult run = callAt(kCode + 0x100, r);
    EXPECT_EQ(run.status, RunStatus::Runaway);
    EXPECT_NE(run.message.find("2010:0000"), std::string::npos) << run.message;

    Poke(*pc, kCode + 0x200, {0x40, 0xEB, 0xFD}); // inc ax; jmp back
    pc->cpu().setInstructionBound(10000);
    run = callAt(kCode + 0x200, r);
    EXPECT_EQ(run.status, RunStatus::InstructionBound);
    EXPECT_EQ(run.instructions, 10000u);
    EXPECT_FALSE(run.message.empty());
}

TEST_F(CpuTest, FaultsAndStrayHaltsEndTheRunAndTheMachineGoesOn) {
    Poke(*pc, kCode + 0x100, {0x0F, 0xFF});             // undefined opcode
    Poke(*pc, kCode + 0x200, {0x31, 0xC9, 0xF7, 0xF1}); // xor cx, cx; div cx
    Poke(*pc, kCode + 0x300, {0x90, 0xF4});             // nop; hlt
    CpuRegs r;
    RunResult run = callAt(kCode + 0x100, r);
    EXPECT_EQ(run.status, RunStatus::CpuFault);
    EXPECT_EQ(run.vector, 6);
    run = callAt(kCode + 0x200, r);
    EXPECT_EQ(run.status, RunStatus::CpuFault);
    EXPECT_EQ(run.vector, 0);
    run = callAt(kCode + 0x300, r);
    EXPECT_EQ(run.status, RunStatus::UnexpectedHalt);
    EXPECT_EQ(run.address, kCode + 0x302);

    r = {};
    r.ebx = 1;
    run = pc->int86(0x60, r);
    EXPECT_TRUE(run.ok()) << run.message;
    EXPECT_EQ(r.ax(), 1);
}

// A device in the register area that records what 32-bit code does to it.
class RecordingDevice : public MmioDevice {
public:
    uint32_t read(uint32_t offset, unsigned size) override {
        reads.push_back({offset, 0, size});
        return offset == 0x20 ? 0x600DF00D : 0;
    }
    void write(uint32_t offset, uint32_t value, unsigned size) override {
        writes.push_back({offset, value, size});
    }
    struct Access {
        uint32_t offset, value;
        unsigned size;
    };
    std::vector<Access> reads, writes;
};

TEST_F(CpuTest, Call32ReachesAMemoryMappedAreaThroughEs) {
    RecordingDevice device;
    ASSERT_TRUE(pc->memory().mapDevice(kRegisterAreaBase, 0x10000, &device));
    auto sel = pc->selectors().create(kRegisterAreaBase, 0xFFF);
    ASSERT_TRUE(sel);
    // mov [es:10h], eax; mov ebx, [es:20h]; mov cx, es; ret
    uint32_t entry = code32(
        {0x26, 0x89, 0x05, 0x10, 0, 0, 0, 0x26, 0x8B, 0x1D, 0x20, 0, 0, 0, 0x66, 0x8C, 0xC1, 0xC3});
    CpuRegs r;
    r.eax = 0xCAFEBABE;
    r.es = *sel;
    RunResult run = pc->call32(entry, r);
    ASSERT_TRUE(run.ok()) << run.message;
    ASSERT_EQ(device.writes.size(), 1u);
    EXPECT_EQ(device.writes[0].offset, 0x10u);
    EXPECT_EQ(device.writes[0].value, 0xCAFEBABEu);
    EXPECT_EQ(device.writes[0].size, 4u);
    EXPECT_EQ(r.ebx, 0x600DF00Du);
    EXPECT_EQ(r.cx(), *sel);
    EXPECT_EQ(r.es, *sel);

    // Back in real mode afterwards.
    r = {};
    r.ebx = 2;
    EXPECT_TRUE(pc->int86(0x60, r).ok());
    EXPECT_EQ(r.ax(), 2);
}

TEST_F(CpuTest, Call32RunsWithASmallDataSegment) {
    auto sel = pc->selectors().create(0x300000, 0xFF);
    ASSERT_TRUE(sel);
    pc->memory().write32(0x300010, 0x12345678);
    uint32_t entry = code32({0xA1, 0x10, 0, 0, 0, 0xC3}); // mov eax, [10h]; ret
    CpuRegs r;
    r.ds = *sel;
    RunResult run = pc->call32(entry, r);
    ASSERT_TRUE(run.ok()) << run.message;
    EXPECT_EQ(r.eax, 0x12345678u);
}

TEST_F(CpuTest, RealModeCodeInterruptsThroughTheVectorTableAfterACall32) {
    CpuRegs r;
    ASSERT_TRUE(pc->call32(code32({0xC3}), r).ok()); // ret
    Poke(*pc, 0x21000, {0xCD, 0x60, 0xCB});          // int 60h; retf
    r = {};
    r.eax = 5;
    r.ebx = 7;
    RunResult run = pc->farCall(0x2100, 0, r);
    ASSERT_TRUE(run.ok()) << run.message;
    EXPECT_EQ(r.ax(), 12);
}

TEST_F(CpuTest, Call32FaultsPastASelectorsLimitAndRefusesUnknownSelectors) {
    auto sel = pc->selectors().create(0x300000, 0xFFF);
    ASSERT_TRUE(sel);
    uint32_t entry =
        code32({0x26, 0xC6, 0x05, 0x00, 0x10, 0, 0, 0x01, 0xC3}); // mov byte [es:1000h], 1
    CpuRegs r;
    r.es = *sel;
    RunResult run = pc->call32(entry, r);
    EXPECT_EQ(run.status, RunStatus::CpuFault);
    EXPECT_EQ(run.vector, 13);
    EXPECT_EQ(pc->memory().read8(0x301000), 0);

    // A page-granular selector reaches past 1 MB of its base.
    auto large = pc->selectors().create(0x300000, 0x3FFFFF);
    ASSERT_TRUE(large);
    uint32_t far = code32({0x26, 0xC6, 0x05, 0x00, 0x00, 0x20, 0x00, 0x07, 0xC3}); // [es:200000h]
    r = {};
    r.es = *large;
    run = pc->call32(far, r);
    EXPECT_TRUE(run.ok()) << run.message;
    EXPECT_EQ(pc->memory().read8(0x500000), 7);

    r = {};
    r.es = 0x7000;
    run = pc->call32(entry, r);
    EXPECT_EQ(run.status, RunStatus::BadState);
}

TEST_F(CpuTest, Int386ReflectsToTheRealModeHandlerOrReportsCarry) {
    CpuRegs r;
    r.eax = 0x10005;
    r.ebx = 7;
    RunResult run = pc->int386(0x60, r);
    ASSERT_TRUE(run.ok()) << run.message;
    EXPECT_EQ(r.eax, 0x1000Cu);
    EXPECT_TRUE(r.carry());

    // A handler that clears carry: mov ax, 1; clc; retf 2
    Poke(*pc, kCode + 0x100, {0xB8, 0x01, 0x00, 0xF8, 0xCA, 0x02, 0x00});
    pc->memory().write32(0x64 * 4, 0x20000100);
    r = {};
    r.setCarry(true);
    run = pc->int386(0x64, r);
    ASSERT_TRUE(run.ok()) << run.message;
    EXPECT_EQ(r.ax(), 1);
    EXPECT_FALSE(r.carry());

    // Nobody handles 63h: carry set, registers untouched.
    r = {};
    r.eax = 0x4F00;
    run = pc->int386(0x63, r);
    ASSERT_TRUE(run.ok()) << run.message;
    EXPECT_TRUE(r.carry());
    EXPECT_EQ(r.eax, 0x4F00u);

    // A fault in the real-mode handler ends the protected-mode call.
    Poke(*pc, kCode + 0x200, {0x0F, 0xFF});
    pc->memory().write32(0x65 * 4, 0x20000200);
    run = pc->int386(0x65, r);
    EXPECT_EQ(run.status, RunStatus::Failed);
    EXPECT_NE(run.message.find("65h"), std::string::npos) << run.message;
}

TEST_F(CpuTest, ProtectedModeCodeIssuesInterruptsItself) {
    // int 60h; ret
    uint32_t entry = code32({0xCD, 0x60, 0xC3});
    CpuRegs r;
    r.eax = 1;
    r.ebx = 2;
    RunResult run = pc->call32(entry, r);
    ASSERT_TRUE(run.ok()) << run.message;
    EXPECT_EQ(r.ax(), 3);
    EXPECT_GT(pc->cpu().instructionsExecuted(), 0u);
}

} // namespace
