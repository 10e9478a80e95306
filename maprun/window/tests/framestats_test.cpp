#include "maprun/window/displayhardware.h"
#include "maprun/window/framestats.h"
#include "maprun/window/windowgeometry.h"

#include <gtest/gtest.h>

using namespace maprun;

TEST(FrameStats, ReadoutsAppearAfter73Frames) {
    FrameStats stats;
    for (int i = 0; i < 72; ++i)
        stats.AddFrame(1);
    EXPECT_FALSE(stats.AverageText());
    EXPECT_FALSE(stats.WorstText());
    stats.AddFrame(1);
    EXPECT_EQ(stats.AverageText(), "Avg: 72fps");
    EXPECT_EQ(stats.BestText(), "Best: 72fps");
    EXPECT_EQ(stats.WorstText(), "Worst: 72fps");
}

TEST(FrameStats, OneSlowFrameInTheRing) {
    FrameStats stats;
    for (int i = 0; i < 72; ++i)
        stats.AddFrame(1);
    stats.AddFrame(3);
    EXPECT_EQ(stats.AverageText(), "Avg: 70fps");
    EXPECT_EQ(stats.BestText(), "Best: 72fps");
    EXPECT_EQ(stats.WorstText(), "Worst: 24fps");
    // 73 more frames of 2 ticks push the slow frame out of the ring.
    for (int i = 0; i < 73; ++i)
        stats.AddFrame(2);
    EXPECT_EQ(stats.AverageText(), "Avg: 36fps");
    EXPECT_EQ(stats.WorstText(), "Worst: 36fps");
    stats.AddFrame(0);
    EXPECT_EQ(stats.BestText(), "Best: 0fps");
}

TEST(WindowGeometry, KeepsTheCentreWhenTheFrameChanges) {
    // 320 x 200 frame with an 8 x 30 border around the client area.
    WindowRect small{100, 100, 328, 352};
    WindowRect big = CentredWindow(small, 640, 400, 8, 30);
    EXPECT_EQ(big.width, 648);
    EXPECT_EQ(big.height, 552);
    EXPECT_EQ(big.left + big.width / 2, 100 + 328 / 2);
    EXPECT_EQ(big.top + big.height / 2, 100 + 352 / 2);
    WindowRect back = CentredWindow(big, 320, 200, 8, 30);
    EXPECT_EQ(back.width, 328);
    EXPECT_EQ(back.height, 352);
}

TEST(DeviceLabels, VersionMemoryAndMissingHardware) {
    VbeDeviceSummary info{0x200, "Emulated SVGA", 1024};
    DeviceLabelTexts t = DeviceLabels(&info);
    EXPECT_EQ(t.vbeVersion, "VBE Version 2.0");
    EXPECT_EQ(t.oem, "Emulated SVGA");
    EXPECT_EQ(t.videoMemory, "Video memory 1024k");
    info.version = 0x102;
    EXPECT_EQ(DeviceLabels(&info).vbeVersion, "VBE Version 1.2");
    EXPECT_EQ(DeviceLabels(nullptr).vbeVersion, "No VBE hardware found");
}
