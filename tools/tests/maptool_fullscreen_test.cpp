// maptool fullscreen as a separate process: the frames it writes against
// what maptool render draws for the same tick, run.json, the BIOS choice and
// the error line.
#include "maprun/core/render.h"

#include "formats/tests/run_command.h"
#include "pcemu/image.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <png.h>

#include <sys/wait.h>

#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using Json = nlohmann::json;

namespace {

const fs::path& WorkDir() {
    static const fs::path dir = [] {
        fs::path d = testing_support::ScratchDir("zorv_maptool_fullscreen_");
        const std::string command = std::string(DEMOGEN_PATH) + " '" + d.string() + "' > /dev/null";
        if (std::system(command.c_str()) != 0) ADD_FAILURE() << "demogen failed";
        return d;
    }();
    return dir;
}

using Result = testing_support::CommandResult;
using testing_support::FileText;

// maptool with `args` after the program, `environment` before it.
Result MapTool(const std::string& args, const std::string& environment = "") {
    return testing_support::RunCommand("cd '" + WorkDir().string() + "' && " + environment + " '" +
                                           MAPTOOL_EXE + "' " + args,
                                       WorkDir());
}

void ExpectOneErrorLine(const Result& r, const std::string& message) {
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("maptool: " + message, 0), 0u) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
}

Json RunJson(const std::string& dir) {
    return Json::parse(FileText(WorkDir() / dir / "run.json"));
}

pcemu::Image ReadRgbPng(const fs::path& file) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    pcemu::Image out;
    if (!png_image_begin_read_from_file(&image, file.c_str())) return out;
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return out;
    out.resize(static_cast<int>(image.width), static_cast<int>(image.height));
    for (size_t i = 0; i < out.pixels.size(); ++i)
        out.pixels[i] = uint32_t{rgb[3 * i]} << 16 | uint32_t{rgb[3 * i + 1]} << 8 | rgb[3 * i + 2];
    return out;
}

// Whether a written frame shows what render draws after `ticks`: colours as
// a DAC of `dacBits` holds them, colour 0 black behind the raster marker.
::testing::AssertionResult FrameShowsTick(const std::string& dir, int frame, int ticks,
                                          bool hiRes) {
    const pcemu::Image shown =
        ReadRgbPng(WorkDir() / dir / ("frame-" + std::to_string(frame) + ".png"));
    maprun::RenderOptions options;
    options.Ticks = ticks;
    options.HiRes = hiRes;
    const maprun::RenderedFrame drawn =
        maprun::RenderFrame(WorkDir() / "demo.map", WorkDir(), options);
    if (shown.width != drawn.Width || shown.height != drawn.Height)
        return ::testing::AssertionFailure()
               << "frame " << frame << " is " << shown.width << " x " << shown.height;
    const int dacBits = hiRes ? 8 : 6;
    for (size_t i = 0; i < drawn.Pixels.size(); ++i) {
        const uint8_t index = drawn.Pixels[i];
        uint32_t want = 0;
        if (index != 0 || !hiRes)
            for (int c = 0; c < 3; ++c) {
                const uint8_t v = drawn.Colors[3 * index + c];
                want = want << 8 | (dacBits == 8 ? v : pcemu::WidenField(v >> 2, 6));
            }
        if (shown.pixels[i] != want)
            return ::testing::AssertionFailure()
                   << "frame " << frame << ", pixel " << i << ": " << std::hex << shown.pixels[i]
                   << " instead of " << want;
    }
    return ::testing::AssertionSuccess();
}

std::vector<int> Ints(const Json& array) {
    return array.get<std::vector<int>>();
}

} // namespace

TEST(MaptoolFullscreen, HiResWritesEachFrameAndWhatTheRunDid) {
    const Result r = MapTool("fullscreen demo.map hires --hires --frames 4 --assets .");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "hires: 4 frames of 640 x 400, ended by esc\n");
    const Json run = RunJson("hires");
    EXPECT_EQ(run["bios"], "vbe20");
    EXPECT_EQ(run["mode"], 0x100);
    EXPECT_EQ(run["ended"], "esc");
    ASSERT_EQ(run["frames"].size(), 4u);
    for (int k = 0; k < 4; ++k) {
        const Json& frame = run["frames"][k];
        EXPECT_EQ(frame["file"], "frame-" + std::to_string(k + 1) + ".png");
        EXPECT_EQ(Ints(frame["banks"]),
                  k % 2 ? (std::vector<int>{4, 5, 6, 7}) : (std::vector<int>{0, 1, 2, 3}));
        EXPECT_EQ(frame["visiblePage"], k % 2);
        EXPECT_EQ(frame["activePage"], 1 - k % 2);
        EXPECT_EQ(frame["ticks"], k == 0 ? 0 : 1);
    }
    ASSERT_EQ(run["events"].size(), 3u);
    EXPECT_EQ(run["events"][0]["kind"], 1);
    EXPECT_EQ(run["events"][0]["scanCode"], 1);
    EXPECT_EQ(run["events"][1]["kind"], 4);
    EXPECT_EQ(run["events"][2]["kind"], 0x81);
    for (int k = 2; k <= 4; ++k)
        EXPECT_TRUE(FrameShowsTick("hires", k, k - 1, true));
}

TEST(MaptoolFullscreen, LowResKeysAndTheBiosOption) {
    // PCEMU_BIOS of the caller does not count: --bios (or its default) does.
    Result r = MapTool("fullscreen demo.map low --keys a,1 --bios novbe", "PCEMU_BIOS=vbe12");
    ASSERT_EQ(r.code, 0) << r.err;
    Json run = RunJson("low");
    EXPECT_EQ(run["bios"], "novbe");
    EXPECT_EQ(run["mode"], 0x13);
    EXPECT_EQ(run["ended"], "1");
    ASSERT_EQ(run["frames"].size(), 3u);
    EXPECT_TRUE(run["frames"][1]["banks"].empty());
    std::vector<int> scans;
    for (const Json& e : run["events"])
        scans.push_back(e["scanCode"]);
    EXPECT_EQ(scans, (std::vector<int>{30, 30, 2, 2}));
    EXPECT_TRUE(FrameShowsTick("low", 3, 2, false));

    // Without VBE there is no 640 x 400 mode; nothing is written.
    r = MapTool("fullscreen demo.map none --hires --bios novbe");
    ExpectOneErrorLine(r, "The display has no 640 x 400 mode with 256 colours");
    EXPECT_FALSE(fs::exists(WorkDir() / "none" / "run.json"));
    // A real VBE 2.0 ROM runs the same frames.
    r = MapTool("fullscreen demo.map bochs --hires --frames 2 --bios rom:bochs");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(FrameShowsTick("bochs", 2, 1, true));
    EXPECT_EQ(Ints(RunJson("bochs")["frames"][1]["banks"]), (std::vector<int>{4, 5, 6, 7}));
}

#ifdef MKVBEAF_EXE
TEST(MaptoolFullscreen, ThroughAnAcceleratorDriverFramesGoWhereItsBuffersAre) {
    const fs::path driver = WorkDir() / "driver";
    fs::create_directories(driver);
    ASSERT_EQ(std::system(("'" + std::string(MKVBEAF_EXE) + "' '" +
                           (driver / "VBEAF.DRV").string() + "' > /dev/null")
                              .c_str()),
              0);
    // The mode set clears the screen with the engine; a copy that did not
    // wait for it would be reported by the emulated adapter.
    const Result r = MapTool("fullscreen demo.map accel --hires --frames 2",
                             "VBEAF_PATH='" + driver.string() + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(FrameShowsTick("accel", 2, 1, true));
    // The driver's second buffer follows the first at 256 000 bytes, inside bank 3.
    const Json second = RunJson("accel")["frames"][1];
    EXPECT_EQ(Ints(second["banks"]), (std::vector<int>{3, 4, 5, 6, 7}));
    EXPECT_EQ(second["visiblePage"], 1);
}
#endif

TEST(MaptoolFullscreen, ErrorsAreOneLine) {
    ExpectOneErrorLine(MapTool("fullscreen demo.map small --hires", "PCEMU_VRAM_KB=256"),
                       "The display's video memory cannot hold two pages of 640 x 400");
    ExpectOneErrorLine(MapTool("fullscreen demo.map out --frames 0"), "--frames takes 1 to 1000");
    ExpectOneErrorLine(MapTool("fullscreen demo.map out --keys esc,f1"), "unknown key \"f1\"");
    ExpectOneErrorLine(MapTool("fullscreen demo.map"), "missing arguments");
    ExpectOneErrorLine(MapTool("fullscreen missing.map out"), "");
    const Result bios = MapTool("fullscreen demo.map out --bios nonesuch");
    EXPECT_EQ(bios.code, 1);
    EXPECT_EQ(std::count(bios.err.begin(), bios.err.end(), '\n'), 1) << bios.err;
}
