// Scanout: the picture of modes set by a real ROM, compared with pictures
// computed here from what was drawn and the standard VGA colours.
#include "machine_rig.h"

#include <array>

using namespace pcemu;
using namespace pcemu_test;

namespace {

// The 16 colours a VGA BIOS loads for text and 16-colour modes.
constexpr std::array<uint32_t, 16> kStandardColours = {
    0x000000, 0x0000AA, 0x00AA00, 0x00AAAA, 0xAA0000, 0xAA00AA, 0xAA5500, 0xAAAAAA,
    0x555555, 0x5555FF, 0x55FF55, 0x55FFFF, 0xFF5555, 0xFF55FF, 0xFFFF55, 0xFFFFFF};

// Counts the pixels that differ, and reports the first one.
::testing::AssertionResult SamePicture(const Image& got, int width, int height,
                                       const std::function<uint32_t(int, int)>& expected) {
    if (got.width != width || got.height != height)
        return ::testing::AssertionFailure() << "size " << got.width << "x" << got.height
                                             << ", expected " << width << "x" << height;
    int wrong = 0;
    std::string first;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (got.at(x, y) != expected(x, y) && wrong++ == 0)
                first = "(" + std::to_string(x) + "," + std::to_string(y) + ") is " +
                        std::to_string(got.at(x, y)) + ", expected " +
                        std::to_string(expected(x, y));
    if (wrong) return ::testing::AssertionFailure() << wrong << " pixels differ; first " << first;
    return ::testing::AssertionSuccess();
}

class ScanoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        pc = NewMachine("rom:bochs");
        ASSERT_TRUE(pc);
    }
    void rampDac() {
        for (int i = 0; i < 256; ++i)
            SetDac(*pc, static_cast<uint8_t>(i), i & 63, (i >> 2) & 63, (255 - i) & 63);
    }
    static uint32_t ramp(int i) { return Widen6(i & 63, (i >> 2) & 63, (255 - i) & 63); }
    std::unique_ptr<Machine> pc;
};

TEST_F(ScanoutTest, TextModeShowsGlyphsFromPlane2InTheirAttributes) {
    Int10(*pc, 0x0003);
    for (uint32_t i = 0; i < 80 * 25; ++i)
        pc->memory().write16(0xB8000 + 2 * i, 0x0720);
    pc->memory().write16(0xB8000, 0x1E41);          // 'A', yellow on blue
    pc->memory().write16(0xB8002, 0x4FDB);          // full block, white on red
    pc->memory().write16(0xB8000 + 2 * 81, 0x07C4); // row 1: line graphics
    auto cell = [](int col, int row) -> uint16_t {
        if (row == 0 && col == 0) return 0x1E41;
        if (row == 0 && col == 1) return 0x4FDB;
        if (row == 1 && col == 1) return 0x07C4;
        return 0x0720;
    };
    const uint8_t* vram = pc->space().vram();
    auto expected = [&](int x, int y) {
        uint16_t c = cell(x / 9, y / 16);
        uint8_t ch = c & 0xFF, attr = c >> 8;
        uint8_t glyph = vram[(ch * 32u + y % 16) * 4 + 2]; // the font in plane 2
        int bit = x % 9;
        bool on = bit < 8 ? (glyph & (0x80 >> bit)) : (ch >= 0xC0 && ch <= 0xDF && (glyph & 1));
        return kStandardColours[on ? attr & 15 : (attr >> 4) & 7];
    };
    Image img = pc->adapter().scanout();
    EXPECT_TRUE(SamePicture(img, 720, 400, expected));
    // The full block fills its whole cell, ninth column included.
    for (int y = 0; y < 16; ++y)
        for (int x = 9; x < 18; ++x)
            ASSERT_EQ(img.at(x, y), 0xFFFFFFu);
    EXPECT_EQ(pc->adapter().displayMode().kind, DisplayMode::Kind::Text);
}

TEST_F(ScanoutTest, Mode13hShowsChain4PixelsThroughTheDac) {
    Int10(*pc, 0x0013);
    rampDac();
    for (uint32_t y = 0; y < 200; ++y)
        for (uint32_t x = 0; x < 320; ++x)
            pc->memory().write8(kVgaWindow + y * 320 + x, static_cast<uint8_t>(x * 3 + y * 5));
    EXPECT_TRUE(SamePicture(pc->adapter().scanout(), 320, 200,
                            [](int x, int y) { return ramp((x * 3 + y * 5) & 0xFF); }));
}

TEST_F(ScanoutTest, Mode12hShowsPlanarPixelsThroughTheAttributePalette) {
    Int10(*pc, 0x0012);
    auto colour = [](int x, int y) { return (x / 8 + y) & 15; };
    Gc(*pc, 5, 0x02); // write mode 2: the byte written is the colour
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 640; ++x) {
            Gc(*pc, 8, static_cast<uint8_t>(0x80 >> (x & 7)));
            uint32_t at = kVgaWindow + y * 80 + x / 8;
            pc->memory().read8(at); // latches
            pc->memory().write8(at, static_cast<uint8_t>(colour(x, y)));
        }
    EXPECT_TRUE(SamePicture(pc->adapter().scanout(), 640, 480, [&](int x, int y) {
        return y < 48 ? kStandardColours[colour(x, y)] : 0u;
    }));
}

TEST_F(ScanoutTest, Svga4BitModeIsPlanarBehindTheBankedWindow) {
    ASSERT_EQ(Int10(*pc, 0x4F02, 0x0102).ax(), 0x004F); // 800 x 600, 16 colours
    EXPECT_EQ(pc->adapter().displayMode().kind, DisplayMode::Kind::Planar4);
    auto colour = [](int x, int y) { return (x / 16 + y / 3) & 15; };
    Gc(*pc, 5, 0x02);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 800; ++x) {
            Gc(*pc, 8, static_cast<uint8_t>(0x80 >> (x & 7)));
            uint32_t at = kVgaWindow + y * 100 + x / 8;
            pc->memory().read8(at);
            pc->memory().write8(at, static_cast<uint8_t>(colour(x, y)));
        }
    EXPECT_TRUE(SamePicture(pc->adapter().scanout(), 800, 600, [&](int x, int y) {
        return y < 30 ? kStandardColours[colour(x, y)] : 0u;
    }));
}

TEST_F(ScanoutTest, Svga8BitModeShowsTheDisplayStartThroughTheDac) {
    ASSERT_EQ(Int10(*pc, 0x4F02, 0x0101).ax(), 0x004F);
    rampDac();
    uint8_t* lfb = pc->space().vram();
    auto value = [](int x, int y) { return static_cast<uint8_t>((x ^ y) + y / 7); };
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 640; ++x)
            lfb[y * 640 + x] = value(x, y);
    EXPECT_TRUE(SamePicture(pc->adapter().scanout(), 640, 480,
                            [&](int x, int y) { return ramp(value(x, y)); }));

    CpuRegs r;
    r.eax = 0x4F07;
    r.ecx = 16;
    r.edx = 100;
    ASSERT_TRUE(pc->int86(0x10, r).ok());
    ASSERT_EQ(r.ax(), 0x004F);
    EXPECT_TRUE(SamePicture(pc->adapter().scanout(), 640, 480, [&](int x, int y) {
        int at = (y + 100) * 640 + x + 16;
        return ramp(value(at % 640, at / 640));
    }));
}

TEST_F(ScanoutTest, DirectColourModesWidenTheirFields) {
    ASSERT_EQ(Int10(*pc, 0x4F02, 0x0111).ax(), 0x004F); // 640 x 480, 5-6-5
    uint8_t* lfb = pc->space().vram();
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            uint16_t v = static_cast<uint16_t>(((x & 31) << 11) | ((y & 63) << 5) | ((x + y) & 31));
            lfb[(y * 640 + x) * 2] = static_cast<uint8_t>(v);
            lfb[(y * 640 + x) * 2 + 1] = static_cast<uint8_t>(v >> 8);
        }
    auto w5 = [](uint32_t v) { return (v << 3) | (v >> 2); };
    auto w6 = [](uint32_t v) { return (v << 2) | (v >> 4); };
    EXPECT_TRUE(SamePicture(pc->adapter().scanout(), 640, 480, [&](int x, int y) {
        return (w5(x & 31) << 16) | (w6(y & 63) << 8) | w5((x + y) & 31);
    }));

    ASSERT_EQ(Int10(*pc, 0x4F02, 0x0112).ax(), 0x004F); // 640 x 480, 8-8-8
    for (int i = 0; i < 640 * 480; ++i) {
        lfb[i * 3] = static_cast<uint8_t>(i);          // blue
        lfb[i * 3 + 1] = static_cast<uint8_t>(i >> 8); // green
        lfb[i * 3 + 2] = static_cast<uint8_t>(i >> 3); // red
    }
    EXPECT_TRUE(SamePicture(pc->adapter().scanout(), 640, 480, [](int x, int y) {
        uint32_t i = y * 640 + x;
        return ((i >> 3) & 0xFF) << 16 | ((i >> 8) & 0xFF) << 8 | (i & 0xFF);
    }));
}

TEST(BareScanoutTest, FifteenAndThirtyTwoBitPixelsWithVirtualWidthAndOffset) {
    auto pc = NewMachine("none");
    ASSERT_TRUE(pc);
    uint8_t* lfb = pc->space().vram();
    Bochs(*pc, kBochsXRes, 16);
    Bochs(*pc, kBochsYRes, 2);
    Bochs(*pc, kBochsBpp, 15);
    Bochs(*pc, kBochsEnable, kBochsEnabled);
    for (int i = 0; i < 32; ++i) {
        uint16_t v = static_cast<uint16_t>(0x8000 | (i << 10) | ((31 - i) << 5) | (i & 7));
        lfb[2 * i] = static_cast<uint8_t>(v);
        lfb[2 * i + 1] = static_cast<uint8_t>(v >> 8);
    }
    auto w5 = [](uint32_t v) { return (v << 3) | (v >> 2); };
    EXPECT_TRUE(SamePicture(pc->adapter().scanout(), 16, 2, [&](int x, int y) {
        int i = y * 16 + x;
        return (w5(i) << 16) | (w5(31 - i) << 8) | w5(i & 7);
    }));

    Bochs(*pc, kBochsEnable, 0);
    Bochs(*pc, kBochsBpp, 32);
    Bochs(*pc, kBochsEnable, kBochsEnabled | kBochsNoClear);
    Bochs(*pc, kBochsVirtWidth, 20); // pitch 80 bytes
    Bochs(*pc, kBochsXOffset, 2);
    for (int i = 0; i < 40; ++i) {
        lfb[4 * i] = static_cast<uint8_t>(i);
        lfb[4 * i + 1] = 0x80;
        lfb[4 * i + 2] = static_cast<uint8_t>(0xFF - i);
        lfb[4 * i + 3] = 0xEE; // unused byte
    }
    EXPECT_TRUE(SamePicture(pc->adapter().scanout(), 16, 2, [](int x, int y) {
        uint32_t i = y * 20 + x + 2;
        return ((0xFF - i) << 16) | 0x8000 | i;
    }));
}

} // namespace
