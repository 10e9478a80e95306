// Colour packing in the pixel format of each kind of mode, the default
// palette's rule, and the processor query on the host processor.
#include "draw/tests/screen_check.h"

#include <cpuid.h>

namespace vidlib32_test {
namespace {

VIDLIB32_SUITE(Vbe20Colours, "vbe20");

void SetMode(int width, int height, int bits) {
    int32_t mode = FindMode(width, height, bits);
    ASSERT_NE(mode, 0);
    ASSERT_EQ(SV_setMode(mode, 0, 0, 1), 1);
}

TEST_F(Vbe20Colours, PackIntoTheFormatOfEachMode) {
    ASSERT_NO_FATAL_FAILURE(SetMode(640, 480, 8)); // 3-3-2
    EXPECT_EQ(SV_rgbColor(200, 100, 50), 0xCCu);
    EXPECT_EQ(SV_rgbColor(255, 255, 255), 0xFFu);
    EXPECT_EQ(SV_rgbColor(255, 0, 0), 0xE0u);
    EXPECT_EQ(SV_rgbColor(0, 0, 0xC0), 0x03u);
    EXPECT_EQ(SV_rgbColor(0x1FF, 0x100, 0x100), 0xE0u); // only the low 8 bits count

    ASSERT_NO_FATAL_FAILURE(SetMode(640, 480, 16)); // 5-6-5
    EXPECT_EQ(SV_rgbColor(255, 255, 255), 0xFFFFu);
    EXPECT_EQ(SV_rgbColor(255, 0, 0), 0xF800u);
    EXPECT_EQ(SV_rgbColor(0, 255, 0), 0x07E0u);
    EXPECT_EQ(SV_rgbColor(0, 0, 255), 0x001Fu);
    EXPECT_EQ(SV_rgbColor(8, 4, 8), 0x0821u);

    ASSERT_NO_FATAL_FAILURE(SetMode(640, 480, 15)); // 5-5-5
    EXPECT_EQ(SV_rgbColor(255, 255, 255), 0x7FFFu);
    EXPECT_EQ(SV_rgbColor(255, 0, 0), 0x7C00u);
    EXPECT_EQ(SV_rgbColor(0, 255, 0), 0x03E0u);

    for (int bits : {24, 32}) {
        ASSERT_NO_FATAL_FAILURE(SetMode(640, 480, bits)); // 8-8-8
        EXPECT_EQ(SV_rgbColor(0x12, 0x34, 0x56), 0x123456u) << bits;
    }
}

// The 6-bit VGA defaults times 4, as blue, green, red, 0.
TEST(Vbe20DefaultPalette, FollowsTheRule) {
    const uint8_t* p = static_cast<const uint8_t*>(SV_getDefPalette());
    auto rgb = [p](int i) {
        EXPECT_EQ(p[4 * i + 3], 0) << "entry " << i;
        return uint32_t{p[4 * i + 2]} << 16 | uint32_t{p[4 * i + 1]} << 8 | p[4 * i];
    };
    EXPECT_EQ(rgb(6), 0xA85400u); // brown
    EXPECT_EQ(rgb(15), 0xFCFCFCu);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(rgb(248 + i), rgb(8 + i)) << "entry " << 248 + i;
    EXPECT_EQ(rgb(23), 0x606060u);  // greys
    EXPECT_EQ(rgb(37), 0xFC00BCu);  // first hue block: (H, L, c)
    EXPECT_EQ(rgb(117), 0x547000u); // block 104: (c, H, L)
    EXPECT_EQ(rgb(247), 0x2C3040u); // last block's last entry: (L, a, H)
}

// A 64-bit process runs in protected mode on a processor with the
// alignment-check and identification flags; its CPUID family decides.
TEST(Vbe20Processor, QueryTellsTheClassOfThisProcessor) {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    ASSERT_TRUE(__get_cpuid(1, &eax, &ebx, &ecx, &edx));
    int32_t expected = ((eax >> 8) & 0x0F) >= 5 ? 9 : 7;
    EXPECT_EQ(SV_queryCpu(), expected);
    EXPECT_EQ(SV_queryCpu(), expected);
}

} // namespace
} // namespace vidlib32_test
