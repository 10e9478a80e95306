// SV_setPalette by every route a BIOS leads it to, checked in the adapter's
// DAC and on the scanout: the protected-mode entry (model BIOS, also with a
// register selector), the DAC ports below VBE 2.0, and the real ROMs whose
// palette functions refuse (the DAC ports take over). On SeaVGABIOS the
// BIOS calls themselves are watched to see the chunks and their wait flags.
#include "bios_filter.h"
#include "draw/tests/screen_check.h"

#include <random>
#include <vector>

namespace vidlib32_test {
namespace {

using Block = std::vector<uint8_t>;

// 256 entries of blue, green, red, spare, none of them 6-bit values.
Block RandomBlock(uint32_t seed) {
    std::mt19937 random(seed);
    Block block(256 * 4);
    for (uint8_t& b : block)
        b = static_cast<uint8_t>(random() | 0x03);
    return block;
}

// The DAC entry (0x00RRGGBB of raw values) that entry i of a block becomes
// in a DAC of `bits` bits.
uint32_t DacValue(const uint8_t* block, int i, int bits) {
    int shift = 8 - bits;
    const uint8_t* e = block + 4 * i;
    return uint32_t(e[2] >> shift) << 16 | uint32_t(e[1] >> shift) << 8 | (e[0] >> shift);
}

uint32_t Dac(int i) {
    return Pc().adapter().dacEntry(static_cast<uint8_t>(i));
}

const uint8_t* DefaultPalette() {
    return static_cast<const uint8_t*>(SV_getDefPalette());
}

void SetMode640x480x8(int32_t wideDac = 0) {
    int32_t mode = FindMode(640, 480, 8, SV_ATTR_BANKED);
    ASSERT_NE(mode, 0);
    ASSERT_EQ(SV_setMode(mode, wideDac, 0, 1), 1);
}

// The same expectations on every BIOS: whichever route it offers, the
// colours end up in the DAC.
class Palettes : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        SKIP_UNLESS_ON_INSTANTIATION_BIOS();
        ASSERT_NO_FATAL_FAILURE(SetMode640x480x8());
        ASSERT_EQ(Pc().adapter().dacBits(), 6);
    }
    void TearDown() override { SV_restoreMode(); }
};

TEST_P(Palettes, ModeSetLoadsTheDefaultPalette) {
    EXPECT_EQ(Dac(6), 0x2A1500u); // brown: A8 54 00 divided by 4
    EXPECT_EQ(Dac(255), Dac(15));
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(Dac(i), DacValue(DefaultPalette(), i, 6)) << "entry " << i;
}

TEST_P(Palettes, TwoEntriesFrom16AreDividedBy4) {
    Block p = RandomBlock(16);
    SV_setPalette(16, 2, p.data(), -1);
    EXPECT_EQ(Dac(16), DacValue(p.data(), 16, 6));
    EXPECT_EQ(Dac(17), DacValue(p.data(), 17, 6));
    EXPECT_EQ(Dac(15), DacValue(DefaultPalette(), 15, 6));
    EXPECT_EQ(Dac(18), DacValue(DefaultPalette(), 18, 6));
}

TEST_P(Palettes, ChunksOf100ProgramAll256AndTheScanoutShowsThem) {
    Block p = RandomBlock(100);
    SV_setPalette(0, 256, p.data(), 100);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(Dac(i), DacValue(p.data(), i, 6)) << "entry " << i;

    for (int i = 0; i < 256; ++i)
        SV_putPixel(i, 1, static_cast<uint32_t>(i));
    pcemu::Image screen = Pc().adapter().scanout();
    for (int i = 0; i < 256; ++i) {
        uint32_t raw = DacValue(p.data(), i, 6);
        uint32_t rgb = uint32_t{pcemu::WidenField(raw >> 16, 6)} << 16 |
                       uint32_t{pcemu::WidenField(raw >> 8, 6)} << 8 | pcemu::WidenField(raw, 6);
        EXPECT_EQ(screen.at(i, 1), rgb) << "pixel of colour " << i;
    }
}

// Entries past 255 are cut (a DAC index wrapping round would reach entries
// 0-13), a start outside the DAC does nothing, and a limit of 0 per
// retrace still programs everything.
TEST_P(Palettes, BoundsAreKept) {
    Block p = RandomBlock(250);
    SV_setPalette(250, 20, p.data(), -1);
    SV_setPalette(256, 1, p.data(), -1);
    SV_setPalette(-1, 2, p.data(), -1);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(Dac(i), DacValue(i >= 250 ? p.data() : DefaultPalette(), i, 6)) << i;

    SV_setPalette(0, 256, p.data(), 0);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(Dac(i), DacValue(p.data(), i, 6)) << "entry " << i;
}

INSTANTIATE_TEST_SUITE_P(Vbe20, Palettes, ::testing::Values(0));
INSTANTIATE_TEST_SUITE_P(Pmio, Palettes, ::testing::Values(0));
INSTANTIATE_TEST_SUITE_P(Vbe12, Palettes, ::testing::Values(0));
INSTANTIATE_TEST_SUITE_P(Bochs, Palettes, ::testing::Values(0));
INSTANTIATE_TEST_SUITE_P(SeaBios, Palettes, ::testing::Values(0));

VIDLIB32_SUITE(Vbe20Palette, "vbe20");
VIDLIB32_SUITE(SeaBiosPalette, "rom:seabios");

TEST_F(Vbe20Palette, WideDacTakesTheEntriesWhole) {
    ASSERT_NO_FATAL_FAILURE(SetMode640x480x8(1));
    ASSERT_EQ(Pc().adapter().dacBits(), 8);
    EXPECT_EQ(Dac(6), 0xA85400u);
    Block p = RandomBlock(8);
    SV_setPalette(0, 256, p.data(), 64);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(Dac(i), DacValue(p.data(), i, 8)) << "entry " << i;
}

// The palette calls (4F09h) that reach the BIOS, with what it answered.
struct PaletteCall {
    uint16_t start, count;
    uint8_t waitFlag;
    uint16_t result;
};

class PaletteCalls {
public:
    const std::vector<PaletteCall>& operator()() const { return calls_; }

private:
    std::vector<PaletteCall> calls_;
    BiosFilter filter_{nullptr, [this](pcemu::CpuRegs& out, const pcemu::CpuRegs& in) {
                           if (in.ax() == 0x4F09)
                               calls_.push_back({in.dx(), in.cx(), in.bl(), out.ax()});
                       }};
};

TEST_F(SeaBiosPalette, ChunksReachTheBiosWithWaitFlagsAndTheDacTakesOver) {
    ASSERT_NO_FATAL_FAILURE(SetMode640x480x8());
    Block p = RandomBlock(256);
    std::vector<PaletteCall> calls;
    {
        PaletteCalls watched;
        SV_setPalette(0, 256, p.data(), 100);
        calls = watched();
    }
    ASSERT_EQ(calls.size(), 3u);
    const uint16_t starts[] = {0, 100, 200}, counts[] = {100, 100, 56};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(calls[i].start, starts[i]);
        EXPECT_EQ(calls[i].count, counts[i]);
        EXPECT_EQ(calls[i].waitFlag, 0x80);
        EXPECT_NE(calls[i].result, 0x004F); // the ROM has no palette function
    }
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(Dac(i), DacValue(p.data(), i, 6)) << "entry " << i;

    PaletteCalls watched;
    SV_setPalette(16, 2, p.data(), -1);
    ASSERT_EQ(watched().size(), 1u);
    EXPECT_EQ(watched()[0].start, 16);
    EXPECT_EQ(watched()[0].count, 2);
    EXPECT_EQ(watched()[0].waitFlag, 0);
}

} // namespace
} // namespace vidlib32_test
