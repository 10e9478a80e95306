// VBE functions 02h-09h of the model BIOS and the far routine behind
// WinFuncPtr: mode flags, windows on each window layout, scan line length,
// display start with and without retrace, DAC width, palette, saved state.
#include "model_rig.h"

#include <chrono>

using namespace pcemu;
using namespace pcemu_test;

namespace {

constexpr uint32_t kBank = 0x10000;

TEST(VbeModeTest, FlagsOfTheModeNumberAreHonouredAndReported) {
    ModelPc pc("vbe20");
    ASSERT_TRUE(pc);
    uint8_t* vram = pc->space().vram();
    ASSERT_TRUE(pc.setMode(0x4101));
    EXPECT_EQ(pc.vbe(0x4F03).bx(), 0x4101);
    EXPECT_EQ(pc->adapter().bochsRegister(kBochsEnable) & kBochsLinear, kBochsLinear);
    DisplayMode shown = pc->adapter().displayMode();
    EXPECT_EQ(shown.kind, DisplayMode::Kind::Svga);
    EXPECT_EQ(shown.width, 640);
    EXPECT_EQ(shown.height, 480);
    EXPECT_EQ(shown.bitsPerPixel, 8);

    vram[1000] = 0x5A;
    ASSERT_TRUE(pc.setMode(0x8111)); // keep video memory
    EXPECT_EQ(pc.vbe(0x4F03).bx(), 0x8111);
    EXPECT_EQ(vram[1000], 0x5A);
    EXPECT_EQ(pc->adapter().displayMode().bitsPerPixel, 16);
    ASSERT_TRUE(pc.setMode(0x0111));
    EXPECT_EQ(vram[1000], 0x00);
    EXPECT_EQ(pc.vbe(0x4F03).bx(), 0x0111);

    // VGA modes through the same function; AH=0Fh and 4F03h agree.
    ASSERT_TRUE(pc.setMode(0x0013));
    EXPECT_EQ(pc->adapter().displayMode().kind, DisplayMode::Kind::Vga256);
    EXPECT_EQ(pc.vbe(0x0F00).ax(), 0x2813); // 40 columns, mode 13h
    EXPECT_EQ(pc.vbe(0x4F03).bx(), 0x0013);
    pc.vbe(0x0083); // mode 3, memory kept
    EXPECT_EQ(pc.vbe(0x0F00).ax(), 0x5083);
    EXPECT_EQ(pc.vbe(0x4F03).bx(), 0x8003);

    EXPECT_FALSE(pc.setMode(0x0120)); // not a mode of this BIOS
    EXPECT_FALSE(pc.setMode(0x0901)); // CRTC values at ES:DI are not offered
    EXPECT_EQ(pc.vbe(0x4F03).bx(), 0x8003);
}

TEST(VbeModeTest, VbeOneTwoHasNoLinearBuffer) {
    ModelPc pc("vbe12");
    ASSERT_TRUE(pc);
    EXPECT_FALSE(pc.setMode(0x4101));
    EXPECT_FALSE(pc.setMode(0x0107)); // 1.25 MB: listed, but does not fit
    EXPECT_TRUE(pc.setMode(0x0101));
    EXPECT_EQ(pc->adapter().bochsRegister(kBochsEnable) & kBochsLinear, 0);
}

struct WindowCase {
    const char* bios;
    uint32_t granularity; // bytes
    bool dual;
};

class WindowTest : public ::testing::TestWithParam<WindowCase> {
protected:
    void SetUp() override {
        ASSERT_TRUE(pc);
        ASSERT_TRUE(pc.setMode(0x101));
        vram = pc->space().vram();
    }
    CpuRegs window(uint8_t bh, uint8_t bl, uint16_t dx = 0) {
        return pc.vbe(0x4F05, static_cast<uint16_t>((bh << 8) | bl), 0, dx);
    }
    // Writes and reads through A000:0000 as emulated code sees it.
    void poke(uint8_t v) { pc->memory().write8(kVgaWindow, v); }
    uint8_t peek() { return pc->memory().read8(kVgaWindow); }

    ModelPc pc{GetParam().bios};
    uint8_t* vram = nullptr;
};

TEST_P(WindowTest, SetWindowMovesWhatTheWindowReadsAndWrites) {
    const WindowCase& c = GetParam();
    uint32_t g = c.granularity;
    vram[5 * g] = 0x11;
    vram[7 * g] = 0x22;
    if (!c.dual) {
        ASSERT_EQ(window(0, 0, 5).ax(), 0x004F);
        EXPECT_EQ(peek(), 0x11);
        poke(0x33);
        EXPECT_EQ(vram[5 * g], 0x33);
        EXPECT_EQ(window(1, 0).dx(), 5);
        EXPECT_EQ(window(0, 1, 5).ax(), 0x014F); // no window B
        EXPECT_EQ(window(1, 1).ax(), 0x014F);
        // The host's view of the window moved with it.
        EXPECT_EQ(pc->hostPointer(kVgaWindow)[0], 0x33);
    } else {
        ASSERT_EQ(window(0, 0, 5).ax(), 0x004F); // A: reads
        ASSERT_EQ(window(0, 1, 7).ax(), 0x004F); // B: writes
        EXPECT_EQ(peek(), 0x11);
        poke(0x44);
        EXPECT_EQ(vram[7 * g], 0x44);
        EXPECT_EQ(vram[5 * g], 0x11);
        EXPECT_EQ(window(1, 0).dx(), 5);
        EXPECT_EQ(window(1, 1).dx(), 7);
        EXPECT_EQ(pc->adapter().readBank(), 5);
        EXPECT_EQ(pc->adapter().writeBank(), 7);
        EXPECT_EQ(window(0, 2, 1).ax(), 0x014F);
    }
    // A window reaching past video memory, or an unknown BH, is refused.
    uint32_t positions = pc->space().vramSize() / g;
    EXPECT_EQ(window(0, 0, static_cast<uint16_t>(positions - kBank / g + 1)).ax(), 0x014F);
    EXPECT_EQ(window(0, 0, static_cast<uint16_t>(positions - kBank / g)).ax(), 0x004F);
    EXPECT_EQ(window(2, 0, 1).ax(), 0x014F);
}

TEST_P(WindowTest, WinFuncPtrIsAFarRoutineDoingTheSame) {
    const WindowCase& c = GetParam();
    ASSERT_TRUE(pc.modeInfo(0x101));
    uint32_t far = pc.u32(0x0C);
    ASSERT_NE(far, 0u);
    auto call = [&](uint8_t bh, uint8_t bl, uint16_t dx) {
        CpuRegs r;
        r.ebx = static_cast<uint32_t>((bh << 8) | bl);
        r.edx = dx;
        r.ecx = 0x1234;
        RunResult run = pc->farCall(static_cast<uint16_t>(far >> 16), far & 0xFFFF, r);
        EXPECT_TRUE(run.ok()) << run.message; // returned to its caller with retf
        EXPECT_EQ(r.cx(), 0x1234);
        return r;
    };
    vram[3 * c.granularity] = 0x77;
    EXPECT_EQ(call(0, 0, 3).ax(), 0x004F);
    EXPECT_EQ(peek(), 0x77);
    EXPECT_EQ(call(1, 0, 0).dx(), 3);
    EXPECT_EQ(window(1, 0).dx(), 3);
    if (c.dual) {
        EXPECT_EQ(call(0, 1, 9).ax(), 0x004F);
        EXPECT_EQ(pc->adapter().writeBank(), 9);
        EXPECT_EQ(pc->adapter().readBank(), 3);
        EXPECT_EQ(call(1, 1, 0).dx(), 9);
    } else {
        EXPECT_EQ(call(0, 1, 9).ax(), 0x014F);
        EXPECT_EQ(pc->adapter().writeBank(), 3);
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, WindowTest,
                         ::testing::Values(WindowCase{"vbe20", 0x10000, false},
                                           WindowCase{"gran4k", 0x1000, false},
                                           WindowCase{"dualwin", 0x10000, true},
                                           WindowCase{"vbe12", 0x10000, false}),
                         [](const auto& info) { return std::string(info.param.bios); });

TEST(WindowTest, NoWindowControlInVgaOrLinearModes) {
    ModelPc pc("vbe20");
    ASSERT_TRUE(pc);
    ASSERT_TRUE(pc.setMode(0x13));
    EXPECT_EQ(pc.vbe(0x4F05, 0, 0, 1).ax(), 0x034F);
    ASSERT_TRUE(pc.setMode(0x4101));
    EXPECT_EQ(pc.vbe(0x4F05, 0, 0, 1).ax(), 0x034F);
}

TEST(ScanLineTest, LengthInPixelsOrBytesAndTheMaximum) {
    ModelPc pc("vbe20");
    ASSERT_TRUE(pc);
    ASSERT_TRUE(pc.setMode(0x101));
    CpuRegs r = pc.vbe(0x4F06, 0x00, 1000);
    EXPECT_EQ(r.ax(), 0x004F);
    EXPECT_EQ(r.bx(), 1000);
    EXPECT_EQ(r.cx(), 1000);
    EXPECT_EQ(r.dx(), 4 * 1024 * 1024 / 1000);
    EXPECT_EQ(pc->adapter().displayMode().pitch, 1000u);
    r = pc.vbe(0x4F06, 0x01);
    EXPECT_EQ(r.bx(), 1000);
    EXPECT_EQ(r.cx(), 1000);
    // Narrower than the screen: the screen width.
    EXPECT_EQ(pc.vbe(0x4F06, 0x00, 100).cx(), 640);
    r = pc.vbe(0x4F06, 0x03);
    EXPECT_EQ(r.bx(), 4 * 1024 * 1024 / 480);
    EXPECT_EQ(r.cx(), 4 * 1024 * 1024 / 480);
    EXPECT_EQ(pc.vbe(0x4F06, 0x00, 9000).ax(), 0x014F); // 9000 x 480 > 4 MB
    EXPECT_EQ(pc.vbe(0x4F06, 0x01).cx(), 640);

    ASSERT_TRUE(pc.setMode(0x111));
    r = pc.vbe(0x4F06, 0x02, 2001); // bytes: rounded up to whole pixels
    EXPECT_EQ(r.bx(), 2002);
    EXPECT_EQ(r.cx(), 1001);
    ASSERT_TRUE(pc.setMode(0x102));
    r = pc.vbe(0x4F06, 0x00, 801); // 16 colours: whole bytes of 8 pixels
    EXPECT_EQ(r.bx(), 101);
    EXPECT_EQ(r.cx(), 808);
    EXPECT_EQ(r.dx(), 1024 * 1024 / 101);

    ASSERT_TRUE(pc.setMode(0x13));
    EXPECT_EQ(pc.vbe(0x4F06, 0x01).ax(), 0x034F);
}

TEST(DisplayStartTest, SetsAndReadsThePixelAndLine) {
    ModelPc pc("vbe20");
    ASSERT_TRUE(pc);
    ASSERT_TRUE(pc.setMode(0x101));
    ASSERT_EQ(pc.vbe(0x4F07, 0x00, 10, 20).ax(), 0x004F);
    EXPECT_EQ(pc->adapter().displayMode().start, 20u * 640 + 10);
    CpuRegs r = pc.vbe(0x4F07, 0x01);
    EXPECT_EQ(r.ax(), 0x004F);
    EXPECT_EQ(r.bh(), 0);
    EXPECT_EQ(r.cx(), 10);
    EXPECT_EQ(r.dx(), 20);
    // The last start that still shows a whole screen, and one line more.
    uint16_t lastLine = 4 * 1024 * 1024 / 640 - 480;
    uint16_t lastPixel = 4 * 1024 * 1024 % 640;
    EXPECT_EQ(pc.vbe(0x4F07, 0x00, lastPixel, lastLine).ax(), 0x004F);
    EXPECT_EQ(pc.vbe(0x4F07, 0x00, lastPixel + 1, lastLine).ax(), 0x014F);
    EXPECT_EQ(pc.vbe(0x4F07, 0x00, 640, 0).ax(), 0x014F);
    EXPECT_EQ(pc.vbe(0x4F07, 0x01).dx(), lastLine);

    // VGA modes keep their start in the CRTC.
    ASSERT_TRUE(pc.setMode(0x13));
    ASSERT_EQ(pc.vbe(0x4F07, 0x00, 0, 10).ax(), 0x004F);
    EXPECT_EQ(pc->adapter().displayMode().start, 10u * 320);
    EXPECT_EQ(pc.vbe(0x4F07, 0x01).dx(), 10);
    ASSERT_TRUE(pc.setMode(0x12));
    ASSERT_EQ(pc.vbe(0x4F07, 0x00, 16, 5).ax(), 0x004F);
    EXPECT_EQ(pc->adapter().displayMode().start, 5u * 80 + 2);
    r = pc.vbe(0x4F07, 0x01);
    EXPECT_EQ(r.cx(), 16);
    EXPECT_EQ(r.dx(), 5);
    ASSERT_TRUE(pc.setMode(0x03));
    EXPECT_EQ(pc.vbe(0x4F07, 0x00, 0, 1).ax(), 0x034F);
}

TEST(DisplayStartTest, Function80hWaitsForTheVerticalRetrace) {
    auto clock = std::make_shared<ScriptedClock>(std::chrono::microseconds(10));
    ModelPc pc("vbe20", 0, clock);
    ASSERT_TRUE(pc);
    ASSERT_TRUE(pc.setMode(0x101));
    auto inRetrace = [&] { return (pc->ports().in8(0x3DA) & 0x08) != 0; };
    clock->set(std::chrono::nanoseconds(0)); // top of the frame
    ASSERT_EQ(pc.vbe(0x4F07, 0x00, 0, 1).ax(), 0x004F);
    EXPECT_FALSE(inRetrace());
    clock->set(std::chrono::nanoseconds(0));
    ASSERT_EQ(pc.vbe(0x4F07, 0x80, 0, 2).ax(), 0x004F);
    EXPECT_TRUE(inRetrace());
    EXPECT_EQ(pc.vbe(0x4F07, 0x01).dx(), 2);
}

TEST(DacWidthTest, EightBitsWhereTheCapabilityAndModeAllowIt) {
    ModelPc pc("vbe20");
    ASSERT_TRUE(pc);
    ASSERT_TRUE(pc.setMode(0x101));
    CpuRegs r = pc.vbe(0x4F08, 0x0800);
    EXPECT_EQ(r.ax(), 0x004F);
    EXPECT_EQ(r.bh(), 8);
    EXPECT_EQ(pc->adapter().dacBits(), 8);
    EXPECT_EQ(pc.vbe(0x4F08, 0x0001).bh(), 8);
    EXPECT_EQ(pc->adapter().bochsRegister(kBochsEnable) & kBochsEnabled, kBochsEnabled);
    ASSERT_TRUE(pc.setMode(0x8101)); // a mode set goes back to 6 bits
    EXPECT_EQ(pc.vbe(0x4F08, 0x0001).bh(), 6);
    EXPECT_EQ(pc->adapter().dacBits(), 6);
    EXPECT_EQ(pc.vbe(0x4F08, 0x0800).bh(), 8);
    EXPECT_EQ(pc.vbe(0x4F08, 0x0600).bh(), 6);
    EXPECT_EQ(pc->adapter().dacBits(), 6);
    ASSERT_TRUE(pc.setMode(0x13));
    r = pc.vbe(0x4F08, 0x0800);
    EXPECT_EQ(r.ax(), 0x034F);
    EXPECT_EQ(r.bh(), 6);

    ModelPc old("vbe12");
    ASSERT_TRUE(old);
    ASSERT_TRUE(old.setMode(0x101));
    r = old.vbe(0x4F08, 0x0800);
    EXPECT_EQ(r.ax(), 0x014F);
    EXPECT_EQ(r.bh(), 6);
    EXPECT_EQ(old->adapter().dacBits(), 6);
}

TEST(PaletteTest, EntriesAreBlueGreenRedPad) {
    ModelPc pc("vbe20");
    ASSERT_TRUE(pc);
    ASSERT_TRUE(pc.setMode(0x101));
    const uint8_t entries[] = {0x01, 0x02, 0x03, 0x00, 0x3F, 0x20,
                               0x10, 0x00, 0x7F, 0x40, 0xC0, 0x99};
    std::memcpy(pc.buf(), entries, sizeof entries);
    ASSERT_EQ(pc.vbe(0x4F09, 0x00, 3, 16).ax(), 0x004F);
    EXPECT_EQ(pc->adapter().dacEntry(16), 0x030201u);
    EXPECT_EQ(pc->adapter().dacEntry(17), 0x10203Fu);
    EXPECT_EQ(pc->adapter().dacEntry(18), 0x00003Fu); // 6 bits kept of C0h, 40h, 7Fh
    pc.fill(0xEE);
    ASSERT_EQ(pc.vbe(0x4F09, 0x01, 2, 16).ax(), 0x004F);
    const uint8_t back[] = {0x01, 0x02, 0x03, 0x00, 0x3F, 0x20, 0x10, 0x00, 0xEE};
    EXPECT_EQ(std::memcmp(pc.buf(), back, sizeof back), 0);

    ASSERT_EQ(pc.vbe(0x4F08, 0x0800).bh(), 8);
    std::memcpy(pc.buf(), entries + 8, 4);
    ASSERT_EQ(pc.vbe(0x4F09, 0x80, 1, 255).ax(), 0x004F);
    EXPECT_EQ(pc->adapter().dacEntry(255), 0xC0407Fu);

    EXPECT_EQ(pc.vbe(0x4F09, 0x00, 2, 255).ax(), 0x014F); // past entry 255
    EXPECT_EQ(pc.vbe(0x4F09, 0x02, 1, 0).ax(), 0x024F);   // no secondary palette
    EXPECT_EQ(pc.vbe(0x4F09, 0x03, 1, 0).ax(), 0x024F);

    ModelPc old("vbe12");
    ASSERT_TRUE(old);
    EXPECT_NE(old.vbe(0x4F09, 0x00, 1, 0).al(), 0x4F); // a VBE 2.0 function
}

TEST(StateTest, SavedStateBringsBackModeRegistersDacAndWindows) {
    ModelPc pc("vbe20");
    ASSERT_TRUE(pc);
    CpuRegs r = pc.vbe(0x4F04, 0, 0x000F, 0x00);
    EXPECT_EQ(r.ax(), 0x004F);
    uint16_t blocks = r.bx();
    ASSERT_GE(blocks * 64u, 16u + 768);
    ASSERT_LE(blocks * 64u, ModelPc::kBufferSize);
    EXPECT_LT(pc.vbe(0x4F04, 0, 0x0004, 0x00).bx(), blocks);

    // Text mode with a message, then an SVGA mode with a scroll offset, a
    // window position, a colour and an 8-bit DAC.
    pc->memory().write8(0xB8000, 'Z');
    pc->memory().write8(0xB8001, 0x1E);
    Image text = pc->adapter().scanout();
    ASSERT_EQ(pc.vbe(0x4F04, 0, 0x000F, 0x01).ax(), 0x004F);
    ASSERT_TRUE(pc.setMode(0x8101));
    std::vector<uint8_t> textState(pc.buf(), pc.buf() + blocks * 64);

    pc.vbe(0x4F08, 0x0800);
    SetDac(*pc.pc, 7, 0x80, 0x90, 0xA0);
    pc.vbe(0x4F05, 0, 0, 3);
    pc.vbe(0x4F07, 0, 8, 30);
    Image svga = pc->adapter().scanout();
    ASSERT_EQ(pc.vbe(0x4F04, 0, 0x000F, 0x01).ax(), 0x004F);
    std::vector<uint8_t> svgaState(pc.buf(), pc.buf() + blocks * 64);

    std::memcpy(pc.buf(), textState.data(), textState.size());
    ASSERT_EQ(pc.vbe(0x4F04, 0, 0x000F, 0x02).ax(), 0x004F);
    EXPECT_EQ(pc.vbe(0x4F03).bx(), 0x0003);
    EXPECT_EQ(pc->memory().read8(0x449), 0x03);
    EXPECT_EQ(pc->adapter().displayMode().kind, DisplayMode::Kind::Text);
    EXPECT_EQ(pc->adapter().scanout().pixels, text.pixels);

    std::memcpy(pc.buf(), svgaState.data(), svgaState.size());
    ASSERT_EQ(pc.vbe(0x4F04, 0, 0x000F, 0x02).ax(), 0x004F);
    EXPECT_EQ(pc.vbe(0x4F03).bx(), 0x8101);
    EXPECT_EQ(pc->adapter().dacBits(), 8);
    EXPECT_EQ(pc->adapter().dacEntry(7), 0x8090A0u);
    EXPECT_EQ(pc->adapter().writeBank(), 3);
    EXPECT_EQ(pc.vbe(0x4F07, 0x01).dx(), 30);
    EXPECT_EQ(pc->adapter().scanout().pixels, svga.pixels);

    // Parts that were not saved, or unknown parts, are refused.
    ASSERT_EQ(pc.vbe(0x4F04, 0, 0x0004, 0x01).ax(), 0x004F);
    EXPECT_EQ(pc.vbe(0x4F04, 0, 0x0005, 0x02).ax(), 0x014F);
    EXPECT_EQ(pc.vbe(0x4F04, 0, 0x0004, 0x02).ax(), 0x004F);
    EXPECT_EQ(pc.vbe(0x4F04, 0, 0x0010, 0x00).ax(), 0x014F);
    EXPECT_EQ(pc.vbe(0x4F04, 0, 0x0001, 0x03).ax(), 0x014F);
}

} // namespace

namespace {

class EveryPersonalityTest : public ::testing::TestWithParam<PersonalityCase> {};

// Every VBE function once, with the status each personality promises.
TEST_P(EveryPersonalityTest, EachFunctionAnswersAsThePersonalitySays) {
    const PersonalityCase& p = GetParam();
    ModelPc pc(p.bios);
    ASSERT_TRUE(pc);
    ASSERT_EQ(pc.vbe(0x4F00).ax(), 0x004F);
    ASSERT_TRUE(pc.modeInfo(0x101));
    ASSERT_TRUE(pc.setMode(0x101));
    EXPECT_EQ(pc.vbe(0x4F03).bx(), 0x0101);
    CpuRegs r = pc.vbe(0x4F04, 0, 0x000F, 0x00);
    EXPECT_EQ(r.ax(), 0x004F);
    EXPECT_EQ(r.bx(), 15);
    uint16_t oneBank = 64 / p.granularity;
    EXPECT_EQ(pc.vbe(0x4F05, 0x0000, 0, oneBank).ax(), 0x004F);
    EXPECT_EQ(pc.vbe(0x4F05, 0x0100).dx(), oneBank);
    EXPECT_EQ(pc->adapter().readBank() * p.granularity, 64u);
    EXPECT_EQ(pc.vbe(0x4F05, 0x0001, 0, oneBank).ax(), p.dual ? 0x004F : 0x014F);
    EXPECT_EQ(pc.vbe(0x4F06, 0x01).bx(), 640);
    EXPECT_EQ(pc.vbe(0x4F07, 0x00, 0, 1).ax(), 0x004F);
    EXPECT_EQ(pc.vbe(0x4F08, 0x0001).bh(), 6);
    EXPECT_EQ(pc.vbe(0x4F08, 0x0800).ax(), p.wideDac ? 0x004F : 0x014F);
    r = pc.vbe(0x4F09, 0x00, 1, 0);
    EXPECT_EQ(r.ax() == 0x004F, p.version >= 0x0200);
    EXPECT_EQ(r.al() == 0x4F, p.version >= 0x0200);
    r = pc.vbe(0x4F0A);
    EXPECT_EQ(r.ax() == 0x004F, p.pmTable);
    EXPECT_EQ(pc.setMode(0x4101), p.linear);
    EXPECT_EQ(pc.vbe(0x4F0B).ax(), 0x4F0B); // past the last function
}

INSTANTIATE_TEST_SUITE_P(Personalities, EveryPersonalityTest,
                         ::testing::ValuesIn(kVbePersonalities), PersonalityName);

} // namespace
