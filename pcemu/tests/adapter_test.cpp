// Adapter registers: the retrace cycle, the attribute flip-flop, CRTC write
// protection, DAC index state, the Bochs interface's banks and memory, PCI.
#include "machine_rig.h"

#include <chrono>

using namespace pcemu;
using namespace pcemu_test;

namespace {

TEST(RetraceTest, StatusFollowsASeventyHertzFrameOfTheClock) {
    constexpr auto kStep = std::chrono::microseconds(2);
    auto clock = std::make_shared<ScriptedClock>(kStep);
    auto pc = NewMachine("none", clock);
    ASSERT_TRUE(pc);
    auto status = [&] { return pc->ports().in8(0x3DA); };

    // Every read advances the scripted clock, so these loops end.
    while (status() & 0x08) {
    }
    while (!(status() & 0x08)) {
    }
    int reads = 1, retraceReads = 1, blankReads = 1, retraceWithoutBlank = 0;
    bool inRetrace = true;
    for (;; ++reads) {
        uint8_t s = status();
        if (s & 0x01) ++blankReads;
        if (s & 0x08) {
            if (!inRetrace) break; // the next frame's retrace
            ++retraceReads;
            if (!(s & 0x01)) ++retraceWithoutBlank;
        } else {
            inRetrace = false;
        }
    }
    double frameSeconds = reads * std::chrono::duration<double>(kStep).count();
    EXPECT_NEAR(1.0 / frameSeconds, Adapter::kRefreshHz, 0.05);
    EXPECT_NEAR(Adapter::kRefreshHz, 70.0, 0.2);
    // Two retrace lines of 31.7 us each.
    EXPECT_GE(retraceReads, 30);
    EXPECT_LE(retraceReads, 33);
    EXPECT_EQ(retraceWithoutBlank, 0);
    // Blanking: 49 of 449 lines, plus a fifth of each displayed line.
    EXPECT_NEAR(static_cast<double>(blankReads) / reads, (49 + 400 * 0.2) / 449, 0.01);
}

TEST(VgaRegistersTest, ReadingInputStatusResetsTheAttributeFlipFlop) {
    auto pc = NewMachine("none");
    ASSERT_TRUE(pc);
    PortBus& io = pc->ports();
    io.in8(0x3DA);
    io.out8(0x3C0, 0x12);
    io.out8(0x3C0, 0x0F); // register 12h = 0Fh
    io.out8(0x3C0, 0x05); // an index: the flip-flop now expects data
    io.in8(0x3DA);        // ... until input status 1 is read
    io.out8(0x3C0, 0x13);
    io.out8(0x3C0, 0x08);
    io.out8(0x3C0, 0x12);
    EXPECT_EQ(io.in8(0x3C1), 0x0F);
    io.out8(0x3C0, 0x13); // data: the flip-flop was waiting for it
    EXPECT_EQ(io.in8(0x3C1), 0x13);
    io.in8(0x3DA);
    io.out8(0x3C0, 0x13);
    EXPECT_EQ(io.in8(0x3C1), 0x08);
    EXPECT_EQ(io.in8(0x3C1), 0x08); // reads do not move the flip-flop
}

TEST(VgaRegistersTest, CrtcProtectBitGuardsRegisters0To7) {
    auto pc = NewMachine("none");
    ASSERT_TRUE(pc);
    PortBus& io = pc->ports();
    Crtc(*pc, 0x01, 0x4F);
    Crtc(*pc, 0x11, 0x80);
    Crtc(*pc, 0x01, 0x27);
    Crtc(*pc, 0x07, 0xFF);
    Crtc(*pc, 0x0C, 0x12);
    io.out8(0x3D4, 0x01);
    EXPECT_EQ(io.in8(0x3D5), 0x4F);
    io.out8(0x3D4, 0x07);
    EXPECT_EQ(io.in8(0x3D5), 0x10); // the line compare bit stays writable
    io.out8(0x3D4, 0x0C);
    EXPECT_EQ(io.in8(0x3D5), 0x12);
    // Colour addressing: the monochrome CRTC ports do not answer.
    io.out8(0x3B4, 0x0C);
    EXPECT_EQ(io.in8(0x3B5), 0xFF);
    io.out8(0x3C2, 0x66); // monochrome addressing
    io.out8(0x3B4, 0x0C);
    EXPECT_EQ(io.in8(0x3B5), 0x12);
    EXPECT_EQ(io.in8(0x3CC), 0x66);
}

TEST(DacTest, IndexesAdvanceAndValuesKeepSixBits) {
    auto pc = NewMachine("none");
    ASSERT_TRUE(pc);
    PortBus& io = pc->ports();
    io.out8(0x3C8, 10);
    for (uint8_t v : {1, 2, 3, 0x44, 0x3F, 0xFF})
        io.out8(0x3C9, v);
    EXPECT_EQ(io.in8(0x3C8), 12);
    EXPECT_EQ(io.in8(0x3C7), 0x00);
    io.out8(0x3C7, 11);
    EXPECT_EQ(io.in8(0x3C7), 0x03);
    EXPECT_EQ(io.in8(0x3C9), 0x04);
    EXPECT_EQ(io.in8(0x3C9), 0x3F);
    EXPECT_EQ(io.in8(0x3C9), 0x3F);
    EXPECT_EQ(pc->adapter().dacEntry(10), 0x010203u);
    EXPECT_EQ(pc->adapter().dacBits(), 6);

    // The Bochs interface's 8-bit DAC keeps whole bytes.
    Bochs(*pc, kBochsXRes, 320);
    Bochs(*pc, kBochsYRes, 200);
    Bochs(*pc, kBochsBpp, 8);
    Bochs(*pc, kBochsEnable, kBochsEnabled | kBochs8BitDac);
    EXPECT_EQ(pc->adapter().dacBits(), 8);
    SetDac(*pc, 1, 0xC8, 0x80, 0xFF);
    EXPECT_EQ(pc->adapter().dacEntry(1), 0xC880FFu);
}

class BochsTest : public ::testing::Test {
protected:
    void SetUp() override {
        pc = NewMachine("none");
        ASSERT_TRUE(pc);
        Bochs(*pc, kBochsXRes, 640);
        Bochs(*pc, kBochsYRes, 480);
        Bochs(*pc, kBochsBpp, 8);
    }
    uint16_t reg(uint16_t index) {
        pc->ports().out16(0x1CE, index);
        return pc->ports().in16(0x1CF);
    }
    std::unique_ptr<Machine> pc;
};

TEST_F(BochsTest, BankSwitchesMoveTheWindowViewOverTheLinearView) {
    Bochs(*pc, kBochsEnable, kBochsEnabled | kBochsLinear);
    uint8_t* window = pc->hostPointer(kVgaWindow);
    uint8_t* linear = pc->space().vram();
    ASSERT_EQ(linear, pc->hostPointer(kLinearBufferBase));

    Bochs(*pc, kBochsBank, 3);
    EXPECT_EQ(pc->adapter().windowMoves(), 1u);
    window[0x1234] = 0x5A;
    EXPECT_EQ(linear[3 * 0x10000 + 0x1234], 0x5A);
    linear[3 * 0x10000 + 10] = 0x77;
    EXPECT_EQ(window[10], 0x77);
    EXPECT_EQ(pc->memory().read8(kVgaWindow + 10), 0x77);
    EXPECT_EQ(pc->memory().read8(kLinearBufferBase + 3 * 0x10000 + 10), 0x77);

    Bochs(*pc, kBochsBank, 3); // no real move
    EXPECT_EQ(pc->adapter().windowMoves(), 1u);

    // Separate read bank (bit 15) and write bank (bit 14).
    linear[5 * 0x10000] = 0x55;
    Bochs(*pc, kBochsBank, 0x8005);
    EXPECT_EQ(pc->adapter().windowMoves(), 1u);
    EXPECT_EQ(pc->memory().read8(kVgaWindow), 0x55);
    pc->memory().write8(kVgaWindow + 1, 0x33);
    EXPECT_EQ(linear[3 * 0x10000 + 1], 0x33);
    Bochs(*pc, kBochsBank, 0x4007);
    EXPECT_EQ(pc->adapter().windowMoves(), 2u);
    EXPECT_EQ(pc->adapter().readBank(), 5);
    window[2] = 0x22;
    EXPECT_EQ(linear[7 * 0x10000 + 2], 0x22);
    // Both bits: both banks; the register reads back the bare number.
    Bochs(*pc, kBochsBank, 0xC009);
    EXPECT_EQ(reg(kBochsBank), 9);
    EXPECT_EQ(pc->adapter().readBank(), 9);
    // A bank past the end of video memory is refused.
    Bochs(*pc, kBochsBank, 256);
    EXPECT_EQ(reg(kBochsBank), 9);
    EXPECT_EQ(pc->adapter().windowMoves(), 3u);

    // Leaving the Bochs modes brings the window back to the start.
    Bochs(*pc, kBochsEnable, 0);
    EXPECT_EQ(pc->space().windowOffset(), 0u);
    EXPECT_EQ(pc->adapter().windowMoves(), 4u);
}

TEST_F(BochsTest, EnablingClearsMemoryUnlessAskedNotTo) {
    uint8_t* linear = pc->space().vram();
    linear[100] = 1;
    linear[pc->space().vramSize() - 1] = 2;
    Bochs(*pc, kBochsEnable, kBochsEnabled);
    EXPECT_EQ(linear[100], 0);
    EXPECT_EQ(linear[pc->space().vramSize() - 1], 0);
    linear[100] = 3;
    Bochs(*pc, kBochsEnable, kBochsEnabled | kBochs8BitDac); // already on: no clear
    EXPECT_EQ(linear[100], 3);
    Bochs(*pc, kBochsEnable, 0);
    Bochs(*pc, kBochsEnable, kBochsEnabled | kBochsNoClear);
    EXPECT_EQ(linear[100], 3);
}

TEST_F(BochsTest, CapabilitiesAndMemorySize) {
    EXPECT_EQ(reg(kBochsId), 0xB0C5);
    Bochs(*pc, kBochsId, 0xB0C0);
    EXPECT_EQ(reg(kBochsId), 0xB0C0);
    Bochs(*pc, kBochsId, 0x1234);
    EXPECT_EQ(reg(kBochsId), 0xB0C0);
    EXPECT_EQ(reg(kBochsVideoMemory64K), 256); // 16 MB
    Bochs(*pc, kBochsEnable, kBochsGetCaps);
    EXPECT_EQ(reg(kBochsXRes), 2560);
    EXPECT_EQ(reg(kBochsBpp), 32);
    Bochs(*pc, kBochsEnable, 0);
    EXPECT_EQ(reg(kBochsXRes), 640);
}

TEST(BochsMemoryTest, AModeThatDoesNotFitStaysOff) {
    auto pc = NewMachine("none", nullptr, 256);
    ASSERT_TRUE(pc);
    Bochs(*pc, kBochsXRes, 640);
    Bochs(*pc, kBochsYRes, 480);
    Bochs(*pc, kBochsBpp, 16);
    Bochs(*pc, kBochsEnable, kBochsEnabled);
    EXPECT_EQ(pc->adapter().bochsRegister(kBochsEnable) & kBochsEnabled, 0);
    Bochs(*pc, kBochsBpp, 4); // 4 planes of 38400 bytes fit
    Bochs(*pc, kBochsEnable, kBochsEnabled);
    EXPECT_EQ(pc->adapter().bochsRegister(kBochsEnable) & kBochsEnabled, kBochsEnabled);
    EXPECT_EQ(pc->adapter().bochsRegister(kBochsVirtHeight), 819); // 65536 / 80
}

TEST(PciTest, ConfigurationMechanismOnePresentsTheVgaFunction) {
    auto pc = NewMachine("none");
    ASSERT_TRUE(pc);
    PortBus& io = pc->ports();
    auto config = [&](uint32_t device, uint32_t reg) {
        io.out32(0xCF8, 0x80000000u | (device << 11) | reg);
        return io.in32(0xCFC);
    };
    pc->adapter().setPciIds(0x1234, 0x1111);
    EXPECT_EQ(config(2, 0x00), 0x11111234u);
    EXPECT_EQ(config(2, 0x08) >> 16, 0x0300u);
    EXPECT_EQ(config(2, 0x10), 0xE0000008u);
    EXPECT_EQ(config(3, 0x00), 0xFFFFFFFFu);
    io.out32(0xCF8, 0x80001000u);
    EXPECT_EQ(io.in16(0xCFE), 0x1111); // device ID through the upper data port
    // BAR sizing: all ones read back as the size mask.
    io.out32(0xCF8, 0x80001010u);
    io.out32(0xCFC, 0xFFFFFFFFu);
    EXPECT_EQ(io.in32(0xCFC), 0xFF000008u); // 16 MB
    io.out32(0xCFC, 0xE0000000u);
    EXPECT_EQ(io.in32(0xCFC), 0xE0000008u);
    // With the enable bit clear nothing answers.
    io.out32(0xCF8, 0x00001000u);
    EXPECT_EQ(io.in32(0xCFC), 0xFFFFFFFFu);
}

} // namespace
