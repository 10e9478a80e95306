// Every drawing routine of every depth, banked, linear and through the
// virtual linear buffer: a pattern of clears, pixels, lines of all octants
// and text is drawn through the exported entries, and the monitor's picture
// is compared with the picture computed here. The same cases run on the
// model BIOS and on the two real ROMs (modes found by size and depth).
#include "draw/tests/screen_check.h"

#include <string>

namespace vidlib32_test {
namespace {

enum class Access { Banked, Linear, Virtual };

struct DepthCase {
    int bits, width, height;
    Access access;
};

std::string CaseName(const ::testing::TestParamInfo<DepthCase>& info) {
    const DepthCase& c = info.param;
    static const char* const kAccess[] = {"Banked", "Linear", "Virtual"};
    return std::to_string(c.bits) + "bit" + std::to_string(c.width) + "x" +
           std::to_string(c.height) + kAccess[static_cast<int>(c.access)];
}

// Pixel values with bits above the depth's: only the low bytes are stored.
uint32_t ValueFor(int bits, int i) {
    static const uint32_t kWide[] = {0x12A5C3E1, 0x345A3C1E, 0x56F00F0F, 0x780FF0F0,
                                     0x9A33CC66, 0xBC6699CC, 0xDE1248F0, 0xF0807F01};
    if (bits == 4) return 0x30 + 1 + (i * 7) % 15; // 1..15, and bits above the four
    return kWide[i % 8];
}

// Clears, single pixels (corners, a scatter over every bank), lines of the
// eight octants both ways round, the special lines, and text with glyphs
// above 127 drawn over lines (the background shows between the strokes).
void DrawPattern(Canvas& expected, const ScreenColours& colours, int bits) {
    const int w = expected.width(), h = expected.height();
    auto value = [&](int i) { return ValueFor(bits, i); };
    auto pixel = [&](int x, int y, uint32_t v) {
        SV_putPixel(x, y, v);
        expected.pixel(x, y, colours.stored(v));
    };
    auto line = [&](int x1, int y1, int x2, int y2, uint32_t v) {
        SV_line(x1, y1, x2, y2, v);
        expected.line(x1, y1, x2, y2, colours.stored(v));
    };

    SV_clear(value(1));
    expected = Canvas(w, h, colours.stored(value(1)));

    pixel(0, 0, value(2));
    pixel(w - 1, 0, value(3));
    pixel(0, h - 1, value(4));
    pixel(w - 1, h - 1, value(5));
    for (int i = 0; i < 96; ++i)
        pixel((i * 97 + 13) % w, (i * 61 + 7) % h, value(i));

    const int cx = w / 2, cy = h / 2;
    const int ends[8][2] = {{150, 40},   {40, 150},   {-40, 150}, {-150, 40},
                            {-150, -40}, {-40, -150}, {40, -150}, {150, -40}};
    for (int i = 0; i < 8; ++i) {
        if (i % 2 == 0)
            line(cx, cy, cx + ends[i][0], cy + ends[i][1], value(i + 2));
        else
            line(cx + ends[i][0], cy + ends[i][1], cx, cy, value(i + 2));
    }
    line(10, 5, 3, 5, value(6));            // horizontal, right to left
    line(20, 20, 70, 70, value(7));         // 45 degrees down
    line(20, 170, 70, 120, value(0));       // 45 degrees up
    line(w - 5, h - 1, w - 5, 0, value(3)); // vertical, upwards through every bank
    line(0, 0, w - 1, h - 1, value(4));     // across the screen
    line(0, h - 1, w - 1, 0, value(5));     // and back up
    line(7, h - 3, 7, h - 3, value(6));     // a single point
    line(w - 1, 30, 0, 31, value(2));       // a whole row, nearly flat
    line(100, 200, 120, 210, value(3));     // ties: the error term reaches 0 exactly
    line(130, 220, 135, 230, value(4));
    line(160, 230, 140, 220, value(5));

    SV_writeText(24, h - 60, "Az\x01\xDB\xE9\xFE", value(7));
    expected.text(24, h - 60, "Az\x01\xDB\xE9\xFE", colours.stored(value(7)));
    line(20, h - 52, 90, h - 52, value(5)); // through the text, drawn after it
    SV_writeText(28, h - 58, "\x80\xC5", value(1));
    expected.text(28, h - 58, "\x80\xC5", colours.stored(value(1)));
}

class Depths : public ::testing::TestWithParam<DepthCase> {};

TEST_P(Depths, DrawsThePictureComputedHere) {
    SKIP_UNLESS_ON_INSTANTIATION_BIOS();
    const DepthCase& c = GetParam();
    uint16_t need = c.access == Access::Linear ? SV_ATTR_LINEAR : SV_ATTR_BANKED;
    int32_t mode = FindMode(c.width, c.height, c.bits, need);
    if (mode == 0) GTEST_SKIP() << "no such mode on " << Pc().config().bios;
    if (c.access == Access::Virtual && !Device().canVirtualize)
        GTEST_SKIP() << "no virtual linear buffer on " << Pc().config().bios;

    int32_t flags = c.access == Access::Linear ? SV_MODE_LINEAR : 0;
    ASSERT_EQ(SV_setMode(mode | flags, 0, c.access == Access::Virtual ? 1 : 0, 1), 1);
    EXPECT_EQ(Device().pixelBits, c.bits);
    EXPECT_EQ(Device().virtualActive, c.access == Access::Virtual ? 1 : 0);

    ScreenColours colours = ScreenColours::OfCurrentMode();
    Canvas expected(c.width, c.height, 0);
    DrawPattern(expected, colours, c.bits);
    EXPECT_TRUE(ScreenShows(expected, colours));
    SV_restoreMode();
}

const DepthCase kCases[] = {
    {4, 800, 600, Access::Banked},   {8, 640, 480, Access::Banked},
    {8, 640, 480, Access::Linear},   {8, 640, 480, Access::Virtual},
    {15, 640, 480, Access::Banked},  {15, 640, 480, Access::Linear},
    {15, 640, 480, Access::Virtual}, {16, 800, 600, Access::Banked},
    {16, 800, 600, Access::Linear},  {16, 800, 600, Access::Virtual},
    {24, 640, 480, Access::Banked},  {24, 640, 480, Access::Linear},
    {24, 640, 480, Access::Virtual}, {24, 800, 600, Access::Banked},
    {32, 640, 480, Access::Banked},  {32, 640, 480, Access::Linear},
    {32, 640, 480, Access::Virtual},
};

INSTANTIATE_TEST_SUITE_P(Vbe20, Depths, ::testing::ValuesIn(kCases), CaseName);
INSTANTIATE_TEST_SUITE_P(Bochs, Depths, ::testing::ValuesIn(kCases), CaseName);
INSTANTIATE_TEST_SUITE_P(SeaBios, Depths, ::testing::ValuesIn(kCases), CaseName);

} // namespace
} // namespace vidlib32_test
