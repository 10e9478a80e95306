// What the fullscreen support finds on displays of different kinds. Each suite
// runs on the emulated PC its name says (CMake sets PCEMU_BIOS and
// PCEMU_VRAM_KB per suite) and skips on any other.
#include "fullscreen_support.h"

#include "maprun/fullscreen/fullscreenunit.h"
#include "maprun/fullscreen/headlessrun.h"
#include "maprun/fullscreen/vantorsupport.h"

#include <cstring>

using namespace maprun;
using namespace maprun_test;

namespace {

const pcemu::MachineConfig& Config() {
    return pcemu::TheMachine().config();
}

TEST(DeviceSummary, ReadsTheOemNameNoFurtherThanItsBuffer) {
    SV_DeviceInfo record{};
    record.version = 0x0102;
    record.memoryKB = 1024;
    char name[90];
    std::memset(name, 'N', sizeof name); // no end within the buffer
    record.oemName = name;
    const VbeDeviceSummary summary = SummarizeDevice(record);
    EXPECT_EQ(summary.oem, std::string(80, 'N'));
    EXPECT_EQ(summary.version, 0x0102);
    EXPECT_EQ(summary.memoryKB, 1024);
    record.oemName = nullptr;
    EXPECT_EQ(SummarizeDevice(record).oem, "");
}

TEST(ModelBios, TheWindowShowsTheRecordOfTheDefaultDisplay) {
    if (Config().bios != "vbe20" || Config().vramBytes() != 4096 * 1024)
        GTEST_SKIP() << "meant for vbe20 with 4 MB";
    TVantorFullscreen support;
    ASSERT_NE(support.DeviceInfo(), nullptr);
    EXPECT_TRUE(support.CanRunFullscreen());
    const DeviceLabelTexts labels = DeviceLabels(support.DeviceInfo());
    EXPECT_EQ(labels.vbeVersion, "VBE Version 2.0");
    EXPECT_EQ(labels.videoMemory, "Video memory 4096k");
    EXPECT_EQ(labels.oem, FullscreenUnit().DeviceInfo->oemName);
    EXPECT_FALSE(labels.oem.empty());
    EXPECT_NE(FullscreenUnit().VideoWindow, nullptr);
}

TEST(SmallVram, HiResIsRefusedWhenVideoMemoryHoldsOnePage) {
    if (Config().vramBytes() != 256 * 1024) GTEST_SKIP() << "meant for 256 KB of video memory";
    StartFullscreenSupport();
    ASSERT_NE(FullscreenUnit().DeviceInfo, nullptr);
    auto game = DemoGame(true);
    TVantorControlObject control;
    try {
        control.Run(*game);
        ADD_FAILURE() << "the run started";
    } catch (const EVantorError& e) {
        EXPECT_STREQ(e.what(), "The display's video memory cannot hold two pages of 640 x 400");
    }
    EXPECT_NE(control.Mode(), 0) << "the mode is listed; only its second page is missing";
    EXPECT_EQ(VT_inFullScreen(), 0);
    EXPECT_EQ(FullscreenUnit().ActiveControlObject, nullptr);
    // 320 x 200 fits.
    auto low = DemoGame(false);
    EXPECT_EQ(RunHeadless(*low, {}).End, TRunEnd::Escape);
}

TEST(NoVbe, NoRecordNoFullscreenButtonAndNoHiResRun) {
    if (Config().bios != "novbe") GTEST_SKIP() << "meant for novbe";
    TVantorFullscreen support;
    EXPECT_EQ(support.DeviceInfo(), nullptr);
    EXPECT_FALSE(support.CanRunFullscreen());
    EXPECT_EQ(DeviceLabels(nullptr).vbeVersion, "No VBE hardware found");
    auto game = DemoGame(true);
    EXPECT_THROW(RunHeadless(*game, {}), EVantorError);
    EXPECT_EQ(VT_inFullScreen(), 0);
    // Mode 13h comes from the plain video BIOS.
    auto low = DemoGame(false);
    EXPECT_EQ(RunHeadless(*low, {}).Frames.size(), 3u);
    EXPECT_EQ(pcemu::TheMachine().adapter().displayMode().kind, pcemu::DisplayMode::Kind::Vga256);
}

} // namespace
