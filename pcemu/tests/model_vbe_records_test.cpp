// The model BIOS's VBE records on every personality, read at the standard's
// byte offsets: VbeInfoBlock (4F00h), ModeInfoBlock (4F01h) and the
// protected-mode table (4F0Ah).
#include "model_rig.h"

#include <algorithm>

using namespace pcemu;
using namespace pcemu_test;

namespace {

// What the test knows of a mode: the standard's geometry, independent of
// the BIOS's own table.
struct Geometry {
    uint16_t mode, width, height, bpp;
};
const Geometry kStandardModes[] = {
    {0x100, 640, 400, 8},    {0x101, 640, 480, 8},    {0x102, 800, 600, 4},
    {0x103, 800, 600, 8},    {0x104, 1024, 768, 4},   {0x105, 1024, 768, 8},
    {0x106, 1280, 1024, 4},  {0x107, 1280, 1024, 8},  {0x10D, 320, 200, 15},
    {0x10E, 320, 200, 16},   {0x10F, 320, 200, 24},   {0x110, 640, 480, 15},
    {0x111, 640, 480, 16},   {0x112, 640, 480, 24},   {0x113, 800, 600, 15},
    {0x114, 800, 600, 16},   {0x115, 800, 600, 24},   {0x116, 1024, 768, 15},
    {0x117, 1024, 768, 16},  {0x118, 1024, 768, 24},  {0x119, 1280, 1024, 15},
    {0x11A, 1280, 1024, 16}, {0x11B, 1280, 1024, 24},
};

uint32_t ScreenBytes(uint32_t width, uint32_t height, uint32_t bpp) {
    return bpp == 4 ? width * height / 2 : width * height * ((bpp + 7) / 8);
}

// The bytes a caller needs to gather the strings and the mode list of the
// 512-byte info block in the buffer (a library keeps them in 256 bytes).
size_t GatheredBytes(ModelPc& pc) {
    size_t bytes = 0;
    for (size_t at : {0x06, 0x16, 0x1A, 0x1E})
        if ((at == 0x06 || pc.u16(0x04) >= 0x0200) && pc.u32(at))
            bytes += pc.farString(pc.u32(at)).size() + 1;
    return bytes + 2 * (pc.modeList().size() + 1);
}

class VbeRecordsTest : public ::testing::TestWithParam<PersonalityCase> {
protected:
    void SetUp() override { ASSERT_TRUE(pc); }
    ModelPc pc{GetParam().bios};
};

TEST_P(VbeRecordsTest, ControllerInfoFollowsThePersonality) {
    const PersonalityCase& p = GetParam();
    pc.fill(0xEE);
    std::memcpy(pc.buf(), "VBE2", 4);
    ASSERT_EQ(pc.vbe(0x4F00).ax(), 0x004F);
    EXPECT_EQ(std::memcmp(pc.buf(), "VESA", 4), 0);
    EXPECT_EQ(pc.u16(0x04), p.version);
    EXPECT_NE(pc.farString(pc.u32(0x06)).find(p.bios), std::string::npos);
    EXPECT_EQ(pc.u32(0x0A), p.wideDac ? 1u : 0u);
    EXPECT_EQ(pc.u16(0x12), p.vramKB / 64);
    // Strings and the mode list live in BIOS memory at C000h.
    EXPECT_EQ(pc.u16(0x08), 0xC000);
    EXPECT_EQ(pc.u16(0x10), 0xC000);
    if (p.version >= 0x0200) {
        EXPECT_EQ(pc.u32(0x16) != 0, p.vendorName);
        EXPECT_EQ(pc.u16(0x1C), 0xC000);
        EXPECT_FALSE(pc.farString(pc.u32(0x1A)).empty()); // OemProductNamePtr
        EXPECT_FALSE(pc.farString(pc.u32(0x1E)).empty()); // OemProductRevPtr
        EXPECT_EQ(pc.u8(0x1FF), 0x00);                    // the 512-byte form
    } else {
        // A VBE 1.2 BIOS writes its 256 bytes and leaves the rest alone.
        EXPECT_EQ(pc.u32(0x16), 0u);
        EXPECT_EQ(pc.u8(0x100), 0xEE);
    }
    EXPECT_EQ(pc.u8(0x200), 0xEE);
    EXPECT_LE(GatheredBytes(pc), 256u);

    // Without "VBE2" every personality answers with the 256-byte form.
    pc.fill(0xEE);
    ASSERT_EQ(pc.vbe(0x4F00).ax(), 0x004F);
    EXPECT_EQ(pc.u16(0x04), p.version);
    EXPECT_EQ(pc.u32(0x16), 0u);
    EXPECT_EQ(pc.u8(0x100), 0xEE);
}

TEST_P(VbeRecordsTest, ModeListHoldsWhatFitsAndEveryEntryIsDescribed) {
    const PersonalityCase& p = GetParam();
    std::memcpy(pc.buf(), "VBE2", 4);
    ASSERT_EQ(pc.vbe(0x4F00).ax(), 0x004F);
    std::vector<uint16_t> list = pc.modeList();
    auto listed = [&](uint16_t m) { return std::count(list.begin(), list.end(), m) == 1; };
    EXPECT_TRUE(listed(0x03));
    EXPECT_TRUE(listed(0x13));
    uint32_t vram = p.vramKB * 1024;
    for (const Geometry& g : kStandardModes) {
        bool fits = ScreenBytes(g.width, g.height, g.bpp) <= vram;
        // VBE 1.2 lists every mode and marks those too large as unsupported.
        EXPECT_EQ(listed(g.mode), fits || p.version < 0x0200) << std::hex << g.mode;
        ASSERT_TRUE(pc.modeInfo(g.mode)) << std::hex << g.mode;
        EXPECT_EQ(pc.u16(0x12), g.width);
        EXPECT_EQ(pc.u16(0x14), g.height);
        EXPECT_EQ(pc.u16(0) & 1, fits ? 1 : 0) << std::hex << g.mode;
        if (!fits) {
            EXPECT_FALSE(pc.setMode(g.mode)) << std::hex << g.mode;
        }
    }
    // 32-bit modes of the BIOS's own numbering, above 11Bh and not 120h-122h.
    int own32 = 0;
    for (uint16_t m : list) {
        ASSERT_TRUE(pc.modeInfo(m)) << std::hex << m;
        if (pc.u8(0x19) == 32) {
            EXPECT_GT(m, 0x11B);
            EXPECT_TRUE(m < 0x120 || m > 0x122);
            ++own32;
        }
    }
    EXPECT_GE(own32, 2);
    EXPECT_FALSE(pc.modeInfo(0x1FF));
}

TEST_P(VbeRecordsTest, BankedEightBitModeInfoHasTheStandardLayout) {
    const PersonalityCase& p = GetParam();
    ASSERT_TRUE(pc.modeInfo(0x4101)); // flag bits in CX are ignored
    uint16_t attributes = 0x001B | (p.linear ? 0x0080 : 0);
    EXPECT_EQ(pc.u16(0x00), attributes);
    EXPECT_EQ(pc.u8(0x02), p.dual ? 0x03 : 0x07);
    EXPECT_EQ(pc.u8(0x03), p.dual ? 0x05 : 0x00);
    EXPECT_EQ(pc.u16(0x04), p.granularity);
    EXPECT_EQ(pc.u16(0x06), 64);
    EXPECT_EQ(pc.u16(0x08), 0xA000);
    EXPECT_EQ(pc.u16(0x0A), p.dual ? 0xA000 : 0);
    EXPECT_EQ(pc.u16(0x0E), 0xC000); // WinFuncPtr segment
    EXPECT_EQ(pc.u16(0x10), 640);
    EXPECT_EQ(pc.u16(0x12), 640);
    EXPECT_EQ(pc.u16(0x14), 480);
    EXPECT_EQ(pc.u8(0x16), 8);
    EXPECT_EQ(pc.u8(0x17), 16);
    EXPECT_EQ(pc.u8(0x18), 1);
    EXPECT_EQ(pc.u8(0x19), 8);
    EXPECT_EQ(pc.u8(0x1A), 1);
    EXPECT_EQ(pc.u8(0x1B), 4);
    EXPECT_EQ(pc.u8(0x1C), 0);
    // Pages start on 64 KB boundaries: 640 x 480 takes 5 banks.
    EXPECT_EQ(pc.u8(0x1D), p.version >= 0x0200 ? p.vramKB * 1024 / (5 * 65536) - 1 : 0);
    EXPECT_EQ(pc.u8(0x1E), 0);
    for (size_t at = 0x1F; at <= 0x27; ++at)
        EXPECT_EQ(pc.u8(at), 0) << at;
    EXPECT_EQ(pc.u32(0x28), p.linear ? 0xE0000000u : 0u);
    if (p.version >= 0x0200) {
        EXPECT_EQ(pc.u32(0x2C), 640u * 480);
        EXPECT_EQ(pc.u16(0x30), (p.vramKB * 1024 - 640 * 480) / 1024);
    }
    for (size_t at = 0x32; at < 0x100; ++at)
        ASSERT_EQ(pc.u8(at), 0) << at;
    EXPECT_EQ(pc.u8(0x100), 0xEE);
}

TEST_P(VbeRecordsTest, DirectColourModesDescribeTheirFields) {
    const PersonalityCase& p = GetParam();
    struct Case {
        uint16_t mode, width;
        uint8_t bpp;
        uint8_t fields[8];
    };
    const Case cases[] = {
        {0x110, 640, 15, {5, 10, 5, 5, 5, 0, 1, 15}},
        {0x111, 640, 16, {5, 11, 6, 5, 5, 0, 0, 0}},
        {0x10F, 320, 24, {8, 16, 8, 8, 8, 0, 0, 0}},
        {0x123, 320, 32, {8, 16, 8, 8, 8, 0, 8, 24}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(pc.modeInfo(c.mode)) << std::hex << c.mode;
        bool packed = p.version < 0x0200 && c.bpp != 32; // the old description
        uint8_t bpp = c.bpp == 15 && std::string(p.bios) == "vbe20-novendor" ? 16 : c.bpp;
        EXPECT_EQ(pc.u8(0x19), bpp) << std::hex << c.mode;
        EXPECT_EQ(pc.u8(0x1B), packed ? 4 : 6) << std::hex << c.mode;
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(pc.u8(0x1F + i), packed ? 0 : c.fields[i]) << std::hex << c.mode << " " << i;
        EXPECT_EQ(pc.u16(0x10), c.width * ((c.bpp + 7) / 8));
    }
}

TEST_P(VbeRecordsTest, PlanarTextAndLinearOnlyModes) {
    const PersonalityCase& p = GetParam();
    ASSERT_TRUE(pc.modeInfo(0x102));
    EXPECT_EQ(pc.u16(0x10), 100); // bytes per line in one plane
    EXPECT_EQ(pc.u8(0x18), 4);
    EXPECT_EQ(pc.u8(0x19), 4);
    EXPECT_EQ(pc.u8(0x1B), 3);
    // 60 000 bytes a plane: a 64 KB page, a quarter of video memory per plane.
    EXPECT_EQ(pc.u8(0x1D), p.version >= 0x0200 ? p.vramKB / 4 / 64 - 1 : 0);

    // Pages of the EGA-sized 16-colour modes take 8 and 32 KB of a plane.
    ASSERT_TRUE(pc.modeInfo(0x129));
    EXPECT_EQ(pc.u16(0x10), 40);
    EXPECT_EQ(pc.u8(0x1D), p.version >= 0x0200 ? std::min(p.vramKB / 4 / 8, 256u) - 1 : 0);
    ASSERT_TRUE(pc.modeInfo(0x12B));
    EXPECT_EQ(pc.u16(0x14), 350);
    EXPECT_EQ(pc.u8(0x1D), p.version >= 0x0200 ? p.vramKB / 4 / 32 - 1 : 0);

    for (uint16_t text : {0x03, 0x108}) {
        ASSERT_TRUE(pc.modeInfo(text));
        EXPECT_EQ(pc.u16(0x00) & 0x10, 0) << "text, not graphics";
        EXPECT_EQ(pc.u8(0x1B), 0);
        EXPECT_EQ(pc.u16(0x12), 80);
    }
    EXPECT_EQ(pc.u16(0x14), 60);
    EXPECT_EQ(pc.u16(0x08), 0xB800);

    // 1024 x 768 x 32 is offered through the linear buffer only.
    if (!p.linear) {
        EXPECT_FALSE(pc.modeInfo(0x126));
        return;
    }
    ASSERT_TRUE(pc.modeInfo(0x126));
    EXPECT_EQ(pc.u16(0x00), 0x00FB); // not VGA, no window, linear
    EXPECT_EQ(pc.u8(0x02), 0);
    EXPECT_EQ(pc.u16(0x08), 0);
    EXPECT_EQ(pc.u32(0x0C), 0u);
    EXPECT_FALSE(pc.setMode(0x126));
    EXPECT_TRUE(pc.setMode(0x4126));
}

TEST_P(VbeRecordsTest, ProtectedModeTableHasItsOffsetsCodeAndPortList) {
    const PersonalityCase& p = GetParam();
    CpuRegs r = pc.vbe(0x4F0A);
    if (!p.pmTable) {
        // Refused by a VBE 2.0 BIOS; no function at all for VBE 1.2.
        if (p.version >= 0x0200)
            EXPECT_EQ(r.ax(), 0x014F);
        else
            EXPECT_NE(r.al(), 0x4F);
        return;
    }
    ASSERT_EQ(r.ax(), 0x004F);
    EXPECT_EQ(r.es, 0xC000);
    uint32_t table = (uint32_t{r.es} << 4) + r.di();
    std::vector<uint8_t> t(r.cx());
    pc->memory().readBlock(table, t.data(), t.size());
    auto word = [&](size_t at) { return static_cast<uint16_t>(t[at] | (t[at + 1] << 8)); };
    auto dword = [&](size_t at) { return word(at) | (uint32_t{word(at + 2)} << 16); };
    uint16_t setWindow = word(0), setStart = word(2), setPalette = word(4), list = word(6);
    ASSERT_LT(setWindow, setStart);
    ASSERT_LT(setStart, setPalette);
    ASSERT_LT(setPalette, list);
    ASSERT_LT(list, t.size());
    // Every routine ends in its one ret.
    EXPECT_EQ(t[setStart - 1], 0xC3);
    EXPECT_EQ(t[setPalette - 1], 0xC3);
    EXPECT_EQ(t[list - 1], 0xC3);

    std::vector<uint16_t> ports;
    size_t at = list;
    while (word(at) != 0xFFFF)
        ports.push_back(word(at)), at += 2;
    at += 2;
    bool mmio = std::string(p.bios) == "pmio";
    for (uint16_t port : {0x3C8, 0x3C9, 0x3DA})
        EXPECT_EQ(std::count(ports.begin(), ports.end(), port), 1) << port;
    EXPECT_EQ(std::count(ports.begin(), ports.end(), 0x1CE), mmio ? 0 : 1);
    if (mmio) {
        EXPECT_EQ(dword(at), Adapter::kRegisterBlock);
        EXPECT_EQ(word(at + 4), Adapter::kRegisterBlockSize);
        at += 6;
    }
    EXPECT_EQ(word(at), 0xFFFF);
    EXPECT_EQ(at + 2, t.size());

    size_t firstRet = std::find(t.begin() + setWindow, t.end(), 0xC3) - t.begin();
    if (std::string(p.bios) == "fbadfbad") {
        // Offset 12 holds the window code's length + 1, and a caller that
        // scanned for C3h instead would stop early.
        EXPECT_EQ(dword(8), 0xFBADFBADu);
        EXPECT_EQ(setWindow + dword(12) - 1, setStart - 1u);
        EXPECT_LT(firstRet, setStart - 1u);
    } else {
        EXPECT_NE(dword(8), 0xFBADFBADu);
        EXPECT_EQ(firstRet, setStart - 1u);
    }
    EXPECT_NE(pc.vbe(0x4F0A, 0x0001).ax(), 0x004F);
}

INSTANTIATE_TEST_SUITE_P(Personalities, VbeRecordsTest, ::testing::ValuesIn(kVbePersonalities),
                         PersonalityName);

TEST(NoVbeTest, EveryVbeFunctionIsAbsentButVgaFunctionsWork) {
    ModelPc pc("novbe");
    ASSERT_TRUE(pc);
    pc.fill(0xEE);
    std::memcpy(pc.buf(), "VBE2", 4);
    for (uint16_t ax = 0x4F00; ax <= 0x4F0A; ++ax)
        EXPECT_EQ(pc.vbe(ax, 0x0101, 0x0101).ax(), ax) << std::hex << ax;
    EXPECT_EQ(std::memcmp(pc.buf(), "VBE2", 4), 0);
    EXPECT_EQ(pc.u8(4), 0xEE);
    pc.vbe(0x0013);
    EXPECT_EQ(pc->memory().read8(0x449), 0x13);
    EXPECT_EQ(pc->adapter().displayMode().kind, DisplayMode::Kind::Vga256);
}

TEST(VideoMemoryTest, ConfiguredSizeOverridesThePersonalityDefault) {
    ModelPc big("vbe12", 4096);
    ASSERT_TRUE(big);
    ASSERT_EQ(big.vbe(0x4F00).ax(), 0x004F);
    EXPECT_EQ(big.u16(0x12), 64);
    ASSERT_TRUE(big.modeInfo(0x107));
    EXPECT_EQ(big.u16(0) & 1, 1);

    ModelPc huge("vbe20", 262144); // every mode fits
    ASSERT_TRUE(huge);
    std::memcpy(huge.buf(), "VBE2", 4);
    ASSERT_EQ(huge.vbe(0x4F00).ax(), 0x004F);
    EXPECT_EQ(huge.u16(0x12), 4096);
    EXPECT_LE(GatheredBytes(huge), 256u);
    ASSERT_TRUE(huge.modeInfo(0x101));
    EXPECT_EQ(huge.u8(0x1D), 255); // page counts stop at what the byte holds

    ModelPc small("vbe20", 512);
    ASSERT_TRUE(small);
    std::memcpy(small.buf(), "VBE2", 4);
    ASSERT_EQ(small.vbe(0x4F00).ax(), 0x004F);
    EXPECT_EQ(small.u16(0x12), 8);
    std::vector<uint16_t> list = small.modeList();
    EXPECT_EQ(std::count(list.begin(), list.end(), 0x101), 1);
    EXPECT_EQ(std::count(list.begin(), list.end(), 0x105), 0); // 786 432 bytes
    ASSERT_TRUE(small.modeInfo(0x101));
    EXPECT_EQ(small.u8(0x1D), 0); // one page of 5 banks in 8
}

} // namespace
