// The model BIOS's protected-mode routines (4F0Ah), copied out of BIOS
// memory as a library does and run in 32-bit protected mode: window
// control, display start and palette, the relocated window fragment, and
// the memory-mapped registers the pmio routines use through ES.
#include "model_rig.h"

#include <chrono>

using namespace pcemu;
using namespace pcemu_test;

namespace {

// The table copied into guest memory away from the BIOS, with a selector for
// its memory entry when it has one.
class PmTable {
public:
    explicit PmTable(ModelPc& pc) : pc_(pc) {
        CpuRegs r = pc.vbe(0x4F0A);
        EXPECT_EQ(r.ax(), 0x004F);
        bytes_.resize(r.cx());
        pc->memory().readBlock((uint32_t{r.es} << 4) + r.di(), bytes_.data(), bytes_.size());
        base_ = pc->space().guestAllocLinear(bytes_.size()).value_or(0);
        pc->memory().writeBlock(base_, bytes_.data(), bytes_.size());
        size_t at = word(6);
        while (word(at) != 0xFFFF)
            at += 2;
        at += 2;
        if (word(at) != 0xFFFF) {
            uint32_t memory = word(at) | (uint32_t{word(at + 2)} << 16);
            selector_ = pc->selectors().create(memory, word(at + 4) - 1u).value_or(0);
            EXPECT_NE(selector_, 0);
        }
    }
    uint16_t word(size_t at) const {
        return static_cast<uint16_t>(bytes_[at] | (bytes_[at + 1] << 8));
    }
    uint32_t dword(size_t at) const { return word(at) | (uint32_t{word(at + 2)} << 16); }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

    // Calls routine 0 (SetWindow), 1 (SetDisplayStart) or 2 (SetPalette);
    // ES is the memory entry's selector when the table names one.
    CpuRegs call(int routine, CpuRegs r) {
        if (r.es == 0) r.es = selector_;
        RunResult run = pc_->call32(base_ + word(2 * routine), r);
        EXPECT_TRUE(run.ok()) << run.message;
        return r;
    }
    CpuRegs setWindow(uint8_t window, uint16_t position) {
        CpuRegs r;
        r.ebx = window;
        r.edx = position;
        return call(0, r);
    }
    CpuRegs setStart(uint32_t address, uint8_t bl = 0) {
        CpuRegs r;
        r.ebx = bl;
        r.ecx = address & 0xFFFF;
        r.edx = address >> 16;
        return call(1, r);
    }

private:
    ModelPc& pc_;
    std::vector<uint8_t> bytes_;
    uint32_t base_ = 0;
    uint16_t selector_ = 0;
};

struct PmCase {
    const char* bios;
    uint32_t granularity;
    bool dual;
};

class PmRoutinesTest : public ::testing::TestWithParam<PmCase> {
protected:
    void SetUp() override {
        ASSERT_TRUE(pc);
        ASSERT_TRUE(pc.setMode(0x101));
        table = std::make_unique<PmTable>(pc);
    }
    ModelPc pc{GetParam().bios};
    std::unique_ptr<PmTable> table;
};

TEST_P(PmRoutinesTest, SetWindowMovesTheWindowAndKeepsTheRegisters) {
    const PmCase& c = GetParam();
    uint8_t* vram = pc->space().vram();
    vram[6 * c.granularity] = 0x61;
    CpuRegs in;
    in.ebx = 0;
    in.edx = 6;
    in.ecx = 0x11111111;
    in.esi = 0x22222222;
    in.edi = 0x33333333;
    in.ebp = 0x44444444;
    CpuRegs out = table->call(0, in);
    EXPECT_EQ(out.ax(), 0x004F);
    EXPECT_EQ(out.edx, in.edx);
    EXPECT_EQ(out.ebx, in.ebx);
    EXPECT_EQ(out.ecx, in.ecx);
    EXPECT_EQ(out.esi, in.esi);
    EXPECT_EQ(out.edi, in.edi);
    EXPECT_EQ(out.ebp, in.ebp);
    EXPECT_EQ(pc->memory().read8(kVgaWindow), 0x61);
    EXPECT_EQ(pc.vbe(0x4F05, 0x0100).dx(), 6);
    if (c.dual) {
        EXPECT_EQ(table->setWindow(1, 9).ax(), 0x004F);
        pc->memory().write8(kVgaWindow, 0x62);
        EXPECT_EQ(vram[9 * c.granularity], 0x62);
        EXPECT_EQ(pc->memory().read8(kVgaWindow), 0x61);
    } else {
        EXPECT_EQ(table->setWindow(1, 9).ax(), 0x014F);
        EXPECT_EQ(pc->adapter().writeBank(), 6);
    }
}

TEST_P(PmRoutinesTest, SetDisplayStartTakesTheAddressInCrtcUnits) {
    // 640 x 480 x 8: a start address counts 4 bytes.
    EXPECT_EQ(table->setStart((100 * 640 + 64) / 4).ax(), 0x004F);
    EXPECT_EQ(pc->adapter().displayMode().start, 100u * 640 + 64);
    CpuRegs r = pc.vbe(0x4F07, 0x01);
    EXPECT_EQ(r.cx(), 64);
    EXPECT_EQ(r.dx(), 100);
    EXPECT_EQ(table->setStart(5 * 65536 / 4).ax(), 0x004F); // high word in DX
    EXPECT_EQ(pc.vbe(0x4F07, 0x01).dx(), 512);
    EXPECT_EQ(table->setStart(4, 0x01).ax(), 0x014F);

    ASSERT_TRUE(pc.setMode(0x111));
    table->setStart((10 * 1280 + 200) / 4);
    r = pc.vbe(0x4F07, 0x01);
    EXPECT_EQ(r.cx(), 100);
    EXPECT_EQ(r.dx(), 10);
    ASSERT_TRUE(pc.setMode(0x102)); // 16 colours: bytes of one plane
    table->setStart(50 * 100 + 5);
    r = pc.vbe(0x4F07, 0x01);
    EXPECT_EQ(r.cx(), 40);
    EXPECT_EQ(r.dx(), 50);
    EXPECT_EQ(pc->adapter().displayMode().start, 5005u);
    ASSERT_TRUE(pc.setMode(0x13)); // VGA: the CRTC start address itself
    table->setStart(800);
    EXPECT_EQ(pc->adapter().displayMode().start, 3200u);
}

TEST_P(PmRoutinesTest, SetPaletteLoadsTheDacFromEsEdi) {
    auto at = pc->space().guestAllocLinear(16);
    ASSERT_TRUE(at);
    const uint8_t entries[] = {0x05, 0x06, 0x07, 0x00, 0xF0, 0x80, 0x40, 0x00};
    pc->memory().writeBlock(*at, entries, sizeof entries);
    CpuRegs r;
    r.ecx = 2;
    r.edx = 10;
    r.edi = *at;
    r.es = DescriptorTable::kFlatData; // the block is flat; ES is no register selector here
    r.ds = 0;
    EXPECT_EQ(table->call(2, r).ax(), 0x004F);
    EXPECT_EQ(pc->adapter().dacEntry(10), 0x070605u);
    EXPECT_EQ(pc->adapter().dacEntry(11), 0x000030u); // 6 bits of 40h, 80h, F0h

    ASSERT_EQ(pc.vbe(0x4F08, 0x0800).bh(), 8);
    r.ebx = 0x80; // at the next retrace
    r.edx = 254;
    EXPECT_EQ(table->call(2, r).ax(), 0x004F);
    EXPECT_EQ(pc->adapter().dacEntry(255), 0x4080F0u);
    r.edx = 255; // one entry too many
    r.ebx = 0;
    EXPECT_EQ(table->call(2, r).ax(), 0x014F);
    EXPECT_EQ(pc->adapter().dacEntry(255), 0x4080F0u);
}

INSTANTIATE_TEST_SUITE_P(Tables, PmRoutinesTest,
                         ::testing::Values(PmCase{"vbe20", 0x10000, false},
                                           PmCase{"gran4k", 0x1000, false},
                                           PmCase{"dualwin", 0x10000, true},
                                           PmCase{"pmio", 0x10000, false},
                                           PmCase{"fbadfbad", 0x10000, false}),
                         [](const auto& info) { return std::string(info.param.bios); });

// The window code relocated into a fragment as a library builds it: save
// EBX and ECX, bank from EAX to EDX shifted to granularity units, EBX = 0,
// the code without its ret, restore; the test adds a ret to call it.
std::vector<uint8_t> Fragment(const PmTable& table, uint8_t shift) {
    const std::vector<uint8_t>& t = table.bytes();
    size_t start = table.word(0);
    size_t length = table.dword(8) == 0xFBADFBADu
                        ? table.dword(12) - 1
                        : std::find(t.begin() + start, t.end(), 0xC3) - (t.begin() + start);
    std::vector<uint8_t> f = {0x53, 0x51, 0x89, 0xC2, 0x31, 0xDB, 0xC1, 0xE2, shift};
    f.insert(f.end(), t.begin() + start, t.begin() + start + length);
    f.insert(f.end(), {0x59, 0x5B, 0xC3});
    return f;
}

TEST(PmFragmentTest, RelocatedWindowCodeSwitchesBanks) {
    struct Case {
        const char* bios;
        uint8_t shift;
    };
    for (Case c : {Case{"vbe20", 0}, Case{"gran4k", 4}, Case{"fbadfbad", 0}}) {
        ModelPc pc(c.bios);
        ASSERT_TRUE(pc);
        ASSERT_TRUE(pc.setMode(0x101));
        PmTable table(pc);
        std::vector<uint8_t> fragment = Fragment(table, c.shift);
        auto at = pc->space().guestAllocLinear(fragment.size());
        ASSERT_TRUE(at);
        pc->memory().writeBlock(*at, fragment.data(), fragment.size());
        pc->space().vram()[7 * 65536] = 0x7E;
        CpuRegs r;
        r.eax = 7;
        r.ebx = 0xABCD0123;
        r.ecx = 0x0BADF00D;
        RunResult run = pc->call32(*at, r);
        ASSERT_TRUE(run.ok()) << c.bios << ": " << run.message;
        EXPECT_EQ(pc->memory().read8(kVgaWindow), 0x7E) << c.bios;
        EXPECT_EQ(pc->adapter().writeBank(), 7u << c.shift) << c.bios;
        EXPECT_EQ(r.ebx, 0xABCD0123u);
        EXPECT_EQ(r.ecx, 0x0BADF00Du);
    }
}

TEST(PmRetraceTest, DisplayStartAndPaletteWaitWhenAsked) {
    auto clock = std::make_shared<ScriptedClock>(std::chrono::microseconds(10));
    ModelPc pc("vbe20", 0, clock);
    ASSERT_TRUE(pc);
    ASSERT_TRUE(pc.setMode(0x101));
    PmTable table(pc);
    auto inRetrace = [&] { return (pc->ports().in8(0x3DA) & 0x08) != 0; };
    clock->set(std::chrono::nanoseconds(0));
    table.setStart(160, 0x00);
    EXPECT_FALSE(inRetrace());
    clock->set(std::chrono::nanoseconds(0));
    table.setStart(320, 0x80);
    EXPECT_TRUE(inRetrace());
    EXPECT_EQ(pc->adapter().displayMode().start, 1280u);

    clock->set(std::chrono::nanoseconds(0));
    CpuRegs r;
    r.ebx = 0x80;
    r.ecx = 0;
    r.es = DescriptorTable::kFlatData;
    EXPECT_EQ(table.call(2, r).ax(), 0x004F);
    EXPECT_TRUE(inRetrace());
}

TEST(RegisterBlockTest, MirrorsTheBochsRegistersAsWords) {
    ModelPc pc("pmio");
    ASSERT_TRUE(pc);
    ASSERT_TRUE(pc.setMode(0x101));
    MemoryBus& m = pc->memory();
    uint32_t block = Adapter::kRegisterBlock;
    EXPECT_EQ(m.read16(block + 2 * kBochsXRes), 640);
    EXPECT_EQ(m.read16(block + 2 * kBochsBpp), 8);
    m.write16(block + 2 * kBochsBank, 3);
    EXPECT_EQ(pc->adapter().writeBank(), 3);
    m.write8(block + 2 * kBochsYOffset, 0x20); // the low byte alone
    m.write8(block + 2 * kBochsYOffset + 1, 0x01);
    EXPECT_EQ(pc->adapter().bochsRegister(kBochsYOffset), 0x120);
    EXPECT_EQ(m.read32(block + 2 * kBochsXOffset), 0x01200000u);
    EXPECT_EQ(m.read16(block + 2 * kBochsReadBank), 3);
}

} // namespace
