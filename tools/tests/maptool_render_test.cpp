// maptool render and dump --as runtime: the runtime's view of the demo map.
#include "demogen/generate.h"
#include "maprun/core/render.h"
#include "maptool/commands.h"
#include "maptool/png_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct RenderFixture : testing::Test {
    static fs::path dir;
    static void SetUpTestSuite() {
        dir = fs::temp_directory_path() / ("zorv_render_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        demo::GenerateDemo(dir);
    }
    static void TearDownTestSuite() { fs::remove_all(dir); }

    int Run(const maptool::Arguments& args) {
        std::ostringstream o, e;
        int code = maptool::RunMapTool(args, o, e);
        out = o.str();
        err = e.str();
        return code;
    }
    std::string Path(const char* name) { return (dir / name).string(); }
    std::string out, err;
};
fs::path RenderFixture::dir;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

TEST_F(RenderFixture, RendersFramesWithTheirColours) {
    ASSERT_EQ(Run({"render", Path("demo.map"), Path("corner.png"), "--pos", "0,0", "--assets",
                   dir.string()}),
              0)
        << err;
    maptool::IndexedPicture corner = maptool::ReadIndexedPng(Path("corner.png"));
    EXPECT_EQ(corner.width, 320);
    EXPECT_EQ(corner.height, 200);
    EXPECT_EQ(corner.Colours(), 256);

    // The PNG holds exactly the frame the runtime drew.
    maprun::RenderOptions options;
    options.Centre = maprun::TPoint{0, 0};
    maprun::RenderedFrame frame = maprun::RenderFrame(Path("demo.map"), dir, options);
    EXPECT_EQ(corner.pixels, frame.Pixels);
    EXPECT_TRUE(std::equal(frame.Colors.begin(), frame.Colors.end(), corner.rgb.begin()));

    ASSERT_EQ(Run({"render", Path("demo.map"), Path("far.png"), "--pos=99999,99999", "--ticks",
                   "30", "--hires", "--assets", dir.string()}),
              0)
        << err;
    maptool::IndexedPicture far = maptool::ReadIndexedPng(Path("far.png"));
    EXPECT_EQ(far.width, 640);
    EXPECT_EQ(far.height, 400);
    std::vector<uint8_t> topLeft(far.pixels.begin(), far.pixels.begin() + 320);
    EXPECT_NE(topLeft, std::vector<uint8_t>(corner.pixels.begin(), corner.pixels.begin() + 320));
}

TEST_F(RenderFixture, RefusesBadOptionsAndMissingAssets) {
    EXPECT_EQ(Run({"render", Path("demo.map"), Path("x.png"), "--pos", "12"}), 1);
    EXPECT_NE(err.find("--pos"), std::string::npos);
    EXPECT_EQ(Run({"render", Path("demo.map"), Path("x.png"), "--ticks", "-3"}), 1);
    fs::path empty = dir / "empty";
    fs::create_directories(empty);
    EXPECT_EQ(Run({"render", Path("demo.map"), Path("x.png"), "--assets", empty.string()}), 1);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_FALSE(fs::exists(Path("x.png")));
}

TEST_F(RenderFixture, RuntimeDumpClearsHiddenLayersOnly) {
    ASSERT_EQ(Run({"dump", Path("demo.map"), "--as", "editor"}), 0) << err;
    std::vector<std::string> editor = Lines(out);
    ASSERT_EQ(Run({"dump", Path("demo.map"), "--as", "runtime"}), 0) << err;
    std::vector<std::string> runtime = Lines(out);
    ASSERT_EQ(runtime.size(), 80u * 50u);
    ASSERT_EQ(editor.size(), runtime.size());
    for (size_t i = 0; i < editor.size(); ++i) {
        unsigned ex, ey, e[6], rx, ry, r[6];
        ASSERT_EQ(std::sscanf(editor[i].c_str(), "%u %u %u %u %u %u %u %u", &ex, &ey, &e[0], &e[1],
                              &e[2], &e[3], &e[4], &e[5]),
                  8);
        ASSERT_EQ(std::sscanf(runtime[i].c_str(), "%u %u %u %u %u %u %u %u", &rx, &ry, &r[0], &r[1],
                              &r[2], &r[3], &r[4], &r[5]),
                  8);
        EXPECT_EQ(ex, rx);
        EXPECT_EQ(ey, ry);
        // Foreground, collision and the attribute words never change; the
        // runtime keeps attributes before arguments.
        EXPECT_EQ(r[2], e[2]);
        EXPECT_EQ(r[3], e[3]);
        EXPECT_EQ(r[4], e[5]);
        EXPECT_EQ(r[5], e[4]);
        // Background and middle ground either stay or are emptied.
        EXPECT_TRUE(r[0] == e[0] || r[0] == 0);
        EXPECT_TRUE(r[1] == e[1] || r[1] == 0);
    }
}

TEST_F(RenderFixture, OverviewPutsEveryCellWhereFramesShowIt) {
    ASSERT_EQ(
        Run({"render", Path("demo.map"), Path("all.png"), "--overview", "--assets", dir.string()}),
        0)
        << err;
    EXPECT_NE(out.find("2560 x 1600, the whole map"), std::string::npos) << out;
    const maptool::IndexedPicture all = maptool::ReadIndexedPng(Path("all.png"));
    ASSERT_EQ(all.width, 2560);
    ASSERT_EQ(all.height, 1600);
    // The part of the overview a frame shows, against that frame (the sprite
    // lies above the frame without ticks).
    auto expectFrameInOverview = [&](const maptool::IndexedPicture& frame, maprun::TPoint origin) {
        for (int y = 0; y < frame.height; ++y)
            for (int x = 0; x < frame.width; ++x)
                ASSERT_EQ(frame.pixels[size_t(y) * frame.width + x],
                          all.pixels[size_t(origin.Y + y) * all.width + origin.X + x])
                    << "frame pixel " << x << ", " << y;
    };
    ASSERT_EQ(Run({"render", Path("demo.map"), Path("far.png"), "--pos", "99999,99999", "--assets",
                   dir.string()}),
              0);
    expectFrameInOverview(maptool::ReadIndexedPng(Path("far.png")), {2560 - 320, 1600 - 200});

    // --pos auto draws the view that shows the most different tiles.
    ASSERT_EQ(Run({"render", Path("demo.map"), Path("auto.png"), "--pos", "auto", "--hires",
                   "--assets", dir.string()}),
              0)
        << err;
    maprun::TMap map;
    map.LoadFromFile(Path("demo.map"));
    const maprun::TPoint origin = map.ViewOrigin(maprun::MostVariedView(map, 640, 400), 640, 400);
    EXPECT_NE(origin, (maprun::TPoint{0, 0}));
    expectFrameInOverview(maptool::ReadIndexedPng(Path("auto.png")), origin);

    // Scaled down by a whole factor: every third pixel of every third row.
    const maprun::RenderedOverview small = maprun::RenderOverview(Path("demo.map"), dir, 1000);
    ASSERT_EQ(small.Scale, 3);
    ASSERT_EQ(small.Frame.Width, 854);
    ASSERT_EQ(small.Frame.Height, 534);
    for (int y = 0; y < small.Frame.Height; ++y)
        for (int x = 0; x < small.Frame.Width; ++x)
            ASSERT_EQ(small.Frame.Pixels[size_t(y) * 854 + x],
                      all.pixels[size_t(3 * y) * all.width + 3 * x]);

    EXPECT_EQ(Run({"render", Path("demo.map"), Path("x.png"), "--overview", "--hires"}), 1);
    EXPECT_NE(err.find("--overview"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(Path("x.png")));
}
