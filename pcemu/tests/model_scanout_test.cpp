// What the monitor shows after the model BIOS set a mode, against pictures
// the tests compute: text modes with the BIOS's fonts (25 and 50 lines),
// 13h, 12h and SVGA modes; and the same drawing on the model BIOS and on
// real ROMs giving the same picture.
#include "model_rig.h"

#include "pcemu/font8x16.h"

#include <functional>

using namespace pcemu;
using namespace pcemu_test;

namespace {

// The sixteen colours of text and 16-colour modes, 6-bit red, green, blue.
const uint8_t kSixteen[16][3] = {
    {0, 0, 0},    {0, 0, 42},   {0, 42, 0},   {0, 42, 42},  {42, 0, 0},   {42, 0, 42},
    {42, 21, 0},  {42, 42, 42}, {21, 21, 21}, {21, 21, 63}, {21, 63, 21}, {21, 63, 63},
    {63, 21, 21}, {63, 21, 63}, {63, 63, 21}, {63, 63, 63},
};

uint32_t Sixteen(unsigned c) {
    return Widen6(kSixteen[c][0], kSixteen[c][1], kSixteen[c][2]);
}

// The 256-colour default table as far as these tests draw: the sixteen
// colours, sixteen greys, and the first block of 24 hues.
uint32_t Default256(unsigned i) {
    static const uint8_t greys[16] = {0, 5, 8, 11, 14, 17, 20, 24, 28, 32, 36, 40, 45, 50, 56, 63};
    static const uint8_t hues[24][3] = {
        {0, 0, 63},  {16, 0, 63}, {31, 0, 63}, {47, 0, 63}, {63, 0, 63}, {63, 0, 47},
        {63, 0, 31}, {63, 0, 16}, {63, 0, 0},  {63, 16, 0}, {63, 31, 0}, {63, 47, 0},
        {63, 63, 0}, {47, 63, 0}, {31, 63, 0}, {16, 63, 0}, {0, 63, 0},  {0, 63, 16},
        {0, 63, 31}, {0, 63, 47}, {0, 63, 63}, {0, 47, 63}, {0, 31, 63}, {0, 16, 63},
    };
    if (i < 16) return Sixteen(i);
    if (i < 32) return Widen6(greys[i - 16], greys[i - 16], greys[i - 16]);
    return Widen6(hues[i - 32][0], hues[i - 32][1], hues[i - 32][2]);
}

// A text screen drawn by the test: cell (col, row) from B8000h, glyphs of
// `height` rows from `font`, 9 pixels wide (line graphics C0h-DFh extend
// into the ninth column).
Image ExpectedText(Machine& pc, const uint8_t* font, unsigned height, unsigned rows) {
    Image image;
    image.resize(720, static_cast<int>(rows * height));
    for (unsigned row = 0; row < rows; ++row) {
        for (unsigned col = 0; col < 80; ++col) {
            uint32_t cell = 0xB8000 + (row * 80 + col) * 2;
            uint8_t ch = pc.memory().read8(cell), attribute = pc.memory().read8(cell + 1);
            uint32_t fg = Sixteen(attribute & 0x0F), bg = Sixteen((attribute >> 4) & 0x07);
            for (unsigned line = 0; line < height; ++line) {
                uint8_t bits = font[ch * height + line];
                for (unsigned x = 0; x < 9; ++x) {
                    bool ink = x < 8 ? (bits & (0x80 >> x)) != 0
                                     : (ch >= 0xC0 && ch <= 0xDF && (bits & 1));
                    image.pixels[(row * height + line) * 720 + col * 9 + x] = ink ? fg : bg;
                }
            }
        }
    }
    return image;
}

void FillText(Machine& pc, unsigned rows) {
    for (unsigned i = 0; i < rows * 80; ++i) {
        pc.memory().write8(0xB8000 + 2 * i, static_cast<uint8_t>(i * 7));
        pc.memory().write8(0xB8001 + 2 * i, static_cast<uint8_t>(((i / 80) % 8) << 4 | (i % 16)));
    }
}

TEST(ModelScanoutTest, TextModeShowsTheEightBySixteenFont) {
    ModelPc pc("vbe20");
    ASSERT_TRUE(pc);
    pc.vbe(0x0003);
    FillText(*pc.pc, 25);
    Image shown = pc->adapter().scanout();
    Image expected = ExpectedText(*pc.pc, kFont8x16, 16, 25);
    ASSERT_EQ(shown.width, 720);
    ASSERT_EQ(shown.height, 400);
    EXPECT_EQ(shown.pixels, expected.pixels);
    CpuRegs r = pc.vbe(0x1130, 0x0600); // the 8 x 16 font the BIOS carries
    EXPECT_EQ(r.cx(), 16);
    EXPECT_EQ(r.dl(), 24);
    EXPECT_EQ(
        std::memcmp(pc->hostPointer((uint32_t{r.es} << 4) + (r.ebp & 0xFFFF)), kFont8x16, 4096), 0);
}

TEST(ModelScanoutTest, LoadingTheEightByEightFontGivesFiftyLines) {
    ModelPc pc("vbe20");
    ASSERT_TRUE(pc);
    pc.vbe(0x0003);
    pc.vbe(0x1112, 0x0000);
    FillText(*pc.pc, 50);
    CpuRegs r = pc.vbe(0x1130, 0x0300);
    EXPECT_EQ(r.cx(), 8);
    EXPECT_EQ(r.dl(), 49);
    EXPECT_EQ(pc->memory().read8(0x484), 49);
    EXPECT_EQ(pc->memory().read16(0x485), 8);
    const uint8_t* font8 = pc->hostPointer((uint32_t{r.es} << 4) + (r.ebp & 0xFFFF));
    // A blank space, a full block, and ink in a letter.
    for (int row = 0; row < 8; ++row) {
        EXPECT_EQ(font8[' ' * 8 + row], 0x00);
        EXPECT_EQ(font8[0xDB * 8 + row], 0xFF);
    }
    int ink = 0;
    for (int row = 0; row < 8; ++row)
        ink += font8['H' * 8 + row] != 0;
    EXPECT_GE(ink, 5);

    Image shown = pc->adapter().scanout();
    ASSERT_EQ(shown.height, 400);
    EXPECT_EQ(shown.pixels, ExpectedText(*pc.pc, font8, 8, 50).pixels);
    // The 8 x 8 font's upper half is what interrupt 1Fh points at.
    uint32_t upper = pc->memory().read32(0x1F * 4);
    EXPECT_EQ(FarToLinear(upper), (uint32_t{r.es} << 4) + (r.ebp & 0xFFFF) + 128 * 8);

    pc.vbe(0x1114, 0x0000); // and back to 25 lines of 8 x 16
    EXPECT_EQ(pc.vbe(0x1130, 0x0000).dl(), 24);
    EXPECT_EQ(pc->adapter().scanout().pixels, ExpectedText(*pc.pc, kFont8x16, 16, 25).pixels);
}

TEST(ModelScanoutTest, Mode13hShowsTheDefaultColours) {
    ModelPc pc("vbe20");
    ASSERT_TRUE(pc);
    pc.vbe(0x0013);
    for (uint32_t y = 0; y < 200; ++y)
        for (uint32_t x = 0; x < 320; ++x)
            pc->memory().write8(kVgaWindow + y * 320 + x, static_cast<uint8_t>((x / 4 + y) % 56));
    Image shown = pc->adapter().scanout();
    ASSERT_EQ(shown.width, 320);
    ASSERT_EQ(shown.height, 200);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x)
            ASSERT_EQ(shown.at(x, y), Default256((x / 4 + y) % 56)) << x << "," << y;
}

TEST(ModelScanoutTest, Mode12hShowsSixteenColourPlanes) {
    ModelPc pc("vbe20");
    ASSERT_TRUE(pc);
    pc.vbe(0x0012);
    Gc(*pc.pc, 5, 0x02); // write mode 2: the byte is a colour for 8 pixels
    for (uint32_t y = 0; y < 480; ++y)
        for (uint32_t xb = 0; xb < 80; ++xb)
            pc->memory().write8(kVgaWindow + y * 80 + xb, static_cast<uint8_t>((xb + y) % 16));
    Gc(*pc.pc, 8, 0x40); // one pixel: the second of its byte
    pc->memory().read8(kVgaWindow + 81);
    pc->memory().write8(kVgaWindow + 81, 0x0F);
    Image shown = pc->adapter().scanout();
    ASSERT_EQ(shown.width, 640);
    ASSERT_EQ(shown.height, 480);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            unsigned colour = (x == 9 && y == 1) ? 15 : (x / 8 + y) % 16;
            ASSERT_EQ(shown.at(x, y), Sixteen(colour)) << x << "," << y;
        }
}

// 640 x 480 x 8 drawn through the window, 64 KB at a time (in steps of the
// window granularity), after a palette of 256 distinct colours went in
// through the DAC ports.
void Draw101h(ModelPc& pc) {
    ASSERT_TRUE(pc.modeInfo(0x101));
    uint16_t stepsPerBank = 64 / pc.u16(0x04);
    ASSERT_TRUE(pc.setMode(0x101));
    for (unsigned i = 0; i < 256; ++i)
        SetDac(*pc.pc, static_cast<uint8_t>(i), i % 64, 63 - i / 4, (i * 5) % 64);
    std::vector<uint8_t> frame(640 * 480);
    for (size_t i = 0; i < frame.size(); ++i)
        frame[i] = static_cast<uint8_t>((i % 640) ^ (i / 640));
    for (size_t bank = 0; bank * 65536 < frame.size(); ++bank) {
        ASSERT_EQ(pc.vbe(0x4F05, 0, 0, static_cast<uint16_t>(bank * stepsPerBank)).ax(), 0x004F);
        size_t n = std::min<size_t>(65536, frame.size() - bank * 65536);
        pc->memory().writeBlock(kVgaWindow, frame.data() + bank * 65536, n);
    }
}

TEST(ModelScanoutTest, SvgaModesShowWhatWasDrawnThroughWindowAndLinearBuffer) {
    ModelPc pc("gran4k");
    ASSERT_TRUE(pc);
    // Window positions count 4 KB here: bank b is position 16 b.
    ASSERT_TRUE(pc.setMode(0x101));
    ASSERT_EQ(pc.vbe(0x4F05, 0, 0, 16).ax(), 0x004F);
    pc->memory().write8(kVgaWindow + 10, 0x99);
    EXPECT_EQ(pc->space().vram()[65536 + 10], 0x99);

    Draw101h(pc);
    Image shown = pc->adapter().scanout();
    ASSERT_EQ(shown.width, 640);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            unsigned i = static_cast<uint8_t>(x ^ y);
            ASSERT_EQ(shown.at(x, y), Widen6(i % 64, 63 - i / 4, (i * 5) % 64)) << x << "," << y;
        }

    // 640 x 350 x 4: planes behind the window, colours through the
    // attribute palette.
    ASSERT_TRUE(pc.setMode(0x12B));
    Gc(*pc.pc, 5, 0x02);
    for (uint32_t i = 0; i < 80 * 350; ++i)
        pc->memory().write8(kVgaWindow + i, static_cast<uint8_t>(i % 80 + i / 80));
    shown = pc->adapter().scanout();
    ASSERT_EQ(shown.width, 640);
    ASSERT_EQ(shown.height, 350);
    for (int y = 0; y < 350; ++y)
        for (int x = 0; x < 640; ++x)
            ASSERT_EQ(shown.at(x, y), Sixteen((x / 8 + y) % 16)) << x << "," << y;

    // 800 x 600 x 16 through the linear buffer, 5:6:5.
    ASSERT_TRUE(pc.setMode(0x4114));
    auto* lfb = reinterpret_cast<uint16_t*>(pc->hostPointer(kLinearBufferBase));
    for (uint32_t y = 0; y < 600; ++y)
        for (uint32_t x = 0; x < 800; ++x)
            lfb[y * 800 + x] = static_cast<uint16_t>(((x % 32) << 11) | ((y % 64) << 5) | 7);
    shown = pc->adapter().scanout();
    ASSERT_EQ(shown.width, 800);
    ASSERT_EQ(shown.height, 600);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            uint32_t expected = (uint32_t{WidenField(x % 32, 5)} << 16) |
                                (uint32_t{WidenField(y % 64, 6)} << 8) | WidenField(7, 5);
            ASSERT_EQ(shown.at(x, y), expected) << x << "," << y;
        }
}

// The same drawing on the model BIOS and on a real ROM: modes 13h and 12h
// with the colours each BIOS loads, and 101h with colours set through the
// DAC ports.
struct Drawing {
    const char* name;
    std::function<void(ModelPc&)> draw;
};

const Drawing kDrawings[] = {
    {"13h",
     [](ModelPc& pc) {
         pc.vbe(0x0013);
         for (uint32_t i = 0; i < 64000; ++i)
             pc->memory().write8(kVgaWindow + i, static_cast<uint8_t>(i % 248));
     }},
    {"12h",
     [](ModelPc& pc) {
         pc.vbe(0x0012);
         Gc(*pc.pc, 5, 0x02);
         for (uint32_t i = 0; i < 38400; ++i)
             pc->memory().write8(kVgaWindow + i, static_cast<uint8_t>(i / 80 + i));
         Gc(*pc.pc, 5, 0x00);
     }},
    {"101h", Draw101h},
};

class ModelAgainstRomTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ModelAgainstRomTest, SameDrawingSamePicture) {
    ModelPc model("vbe20");
    ModelPc rom(GetParam());
    ASSERT_TRUE(model);
    ASSERT_TRUE(rom);
    for (const Drawing& d : kDrawings) {
        d.draw(model);
        d.draw(rom);
        Image a = model->adapter().scanout(), b = rom->adapter().scanout();
        ASSERT_EQ(a.width, b.width) << d.name;
        ASSERT_EQ(a.height, b.height) << d.name;
        size_t differing = 0;
        for (size_t i = 0; i < a.pixels.size(); ++i)
            differing += a.pixels[i] != b.pixels[i];
        EXPECT_EQ(differing, 0u) << d.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Roms, ModelAgainstRomTest, ::testing::Values("rom:bochs", "rom:seabios"),
                         [](const auto& info) { return std::string(info.param).substr(4); });

} // namespace
