// Choosing the 640 x 400 mode from a constructed mode list.
#include "maprun/fullscreen/findmode.h"

#include <gtest/gtest.h>

#include <vector>

using namespace maprun;

namespace {

// 0x100 and 0x17F are 640 x 400 x 8; 0x101 is 640 x 480; 0x102 is 640 x 400
// with 1024-byte lines; 0x103 is 640 x 400 at 16 bits; 0x180 cannot be described.
int32_t Describe(int32_t mode, SV_ModeInfo* info) {
    *info = SV_ModeInfo{};
    info->mode = static_cast<uint16_t>(mode);
    info->xRes = 640;
    info->yRes = 400;
    info->lineBytes = 640;
    info->pixelBits = 8;
    switch (mode) {
    case 0x100:
    case 0x17F:
        return 1;
    case 0x101:
        info->yRes = 480;
        return 1;
    case 0x102:
        info->lineBytes = 1024;
        return 1;
    case 0x103:
        info->pixelBits = 16;
        info->lineBytes = 1280;
        return 1;
    default:
        return 0;
    }
}

TEST(FindMode640x400, TheLastMatchingModeOfTheListWins) {
    const uint16_t modes[] = {0x17F, 0x101, 0x100, 0x102, 0x103, 0x180, 0xFFFF};
    EXPECT_EQ(FindMode640x400(modes, Describe), 0x100);
    const uint16_t reversed[] = {0x100, 0x180, 0x17F, 0x101, 0xFFFF};
    EXPECT_EQ(FindMode640x400(reversed, Describe), 0x17F);
}

TEST(FindMode640x400, NoMatchNoListAndAnUnendedListAreSafe) {
    const uint16_t none[] = {0x101, 0x102, 0x103, 0x180, 0xFFFF};
    EXPECT_EQ(FindMode640x400(none, Describe), 0);
    EXPECT_EQ(FindMode640x400(nullptr, Describe), 0);
    // A list without its end is read no further than the record's list can reach.
    std::vector<uint16_t> unended(kMaxModeListLength + 20, 0x101);
    unended[kMaxModeListLength - 1] = 0x100;
    unended[kMaxModeListLength + 5] = 0x17F;
    EXPECT_EQ(FindMode640x400(unended.data(), Describe), 0x100);
}

} // namespace
