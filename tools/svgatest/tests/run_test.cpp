// svgatest run: the same scripts give the same pictures on the model BIOS
// and on the two real ROMs; the report holds the record, the window's real
// moves and the rgb values; lines that cannot run are refused by number.
#include "run_tool.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <png.h>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace svgatest_test {
namespace {

using nlohmann::json;
namespace fs = std::filesystem;

struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    uint32_t at(int x, int y) const {
        const uint8_t* p = &rgb[3 * (static_cast<size_t>(y) * width + x)];
        return uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
    }
};

Picture ReadPng(const fs::path& file) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    Picture picture;
    if (!png_image_begin_read_from_file(&image, file.c_str())) return picture;
    image.format = PNG_FORMAT_RGB;
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr)) return {};
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    return picture;
}

// A folder of its own for each test's scripts and pictures.
class SvgatestRun : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("svgatest_run_" + std::to_string(getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    struct Run {
        ToolResult tool;
        json report;
        Picture picture;
    };

    Run run(const std::string& script, const std::string& bios) {
        const fs::path scriptFile = dir_ / "script.txt", png = dir_ / "out.png";
        std::ofstream(scriptFile) << script;
        fs::remove(png);
        Run r;
        r.tool = RunTool("run '" + scriptFile.string() + "' '" + png.string() + "' --bios " + bios);
        if (r.tool.code == 0) {
            r.report = json::parse(r.tool.out);
            r.picture = ReadPng(png);
        }
        pngWritten_ = fs::exists(png);
        return r;
    }

    fs::path dir_;
    bool pngWritten_ = false;
};

// Pixels, lines, text (glyphs above 127, drawn over lines) and palettes in
// the modes all three BIOSes offer with the same number. Palette entry 250
// of the default palette repeats entry 10, unlike the ROMs' own defaults:
// it shows that the mode set's palette reached the DAC.
const char* const kScripts[] = {
    R"(# 256 colours, banked
mode 0x101
clear 1
palette 240 3 100 255,0,0 0,255,0 0,0,255
line 0 0 639 479 240
line 639 0 0 479 241
line 320 479 320 0 242
pixel 0 103 250
text 8 8 "Zorv \x01\xDB\xE9\x80" 14
text 8 40 "over the line" 250
line 0 44 200 50 13
)",
    R"(# 16 colours
mode 0x102
clear 0x11
line 0 0 799 599 14
line 799 0 0 599 12
line 5 300 18 300 9
pixel 13 2 5
text 100 100 "16 colours \xB0\xB1\xB2" 15
)",
    R"(# 64 K colours, linear
mode 0x4111
clear 0x001F
line 0 0 639 479 0xF800
line 0 479 639 0 0x07E0
text 300 200 "5-6-5" 0xFFFF
active 1
clear 0xFFFF
)",
    R"(# 16 M colours, pixels straddling banks
mode 0x115
clear 0x203040
line 240 27 250 27 0xFF8000
line 490 0 490 599 0x00FF80
line 0 0 799 599 0xFFFFFF
pixel 245 27 0x123456
text 40 500 "24 bit" 0x8080FF
)",
};

TEST_F(SvgatestRun, SameScriptGivesTheSamePictureOnEveryBios) {
    for (const char* script : kScripts) {
        SCOPED_TRACE(script);
        Run model = run(script, "vbe20");
        ASSERT_EQ(model.tool.code, 0) << model.tool.err;
        ASSERT_GT(model.picture.width, 0);
        for (const char* rom : {"rom:bochs", "rom:seabios"}) {
            SCOPED_TRACE(rom);
            Run other = run(script, rom);
            ASSERT_EQ(other.tool.code, 0) << other.tool.err;
            ASSERT_EQ(other.picture.width, model.picture.width);
            ASSERT_EQ(other.picture.height, model.picture.height);
            int differ = 0;
            for (int y = 0; y < model.picture.height; ++y)
                for (int x = 0; x < model.picture.width; ++x)
                    differ += model.picture.at(x, y) != other.picture.at(x, y);
            EXPECT_EQ(differ, 0);
        }
    }
    // A few pixels whose colour is known: the default palette's entry 250
    // (light green) and the programmed entry 240.
    Run eight = run(kScripts[0], "rom:seabios");
    EXPECT_EQ(eight.picture.at(0, 103), 0x55FF55u);
    EXPECT_EQ(eight.picture.at(0, 0), 0xFF0000u);
    EXPECT_EQ(eight.picture.at(320, 200), 0x0000FFu);
}

TEST_F(SvgatestRun, ReportsTheRecordTheWindowsMovesAndRgbValues) {
    Run set = run("mode 0x101\n", "vbe20");
    ASSERT_EQ(set.tool.code, 0) << set.tool.err;
    EXPECT_EQ(set.report["lastX"], 639);
    EXPECT_EQ(set.report["pixelBits"], 8);
    EXPECT_EQ(set.report["frameMemory"], 0xA0000);
    EXPECT_EQ(set.report["rgb"], json::array());
    const int setMoves = set.report["bankSwitches"];

    // From the clear's last bank to bank 0, then to bank 1 once.
    Run pixels = run("mode 0x101\nbank 0\npixel 5 0 1\npixel 0 103 2\npixel 1 103 3\n", "vbe20");
    ASSERT_EQ(pixels.tool.code, 0) << pixels.tool.err;
    EXPECT_EQ(pixels.report["bankSwitches"], setMoves + 2);
    EXPECT_EQ(pixels.report["currentBank"], 1);

    Run colours =
        run("mode 0x111\nrgb 255 0 0\nrgb 200 100 50\nmode 0x101\nrgb 200 100 50\n", "vbe20");
    ASSERT_EQ(colours.tool.code, 0) << colours.tool.err;
    EXPECT_EQ(colours.report["rgb"], json::array({0xF800, 0xCB26, 0xCC}));

    Run linear = run("mode 0x4101\nactive 1\n", "vbe20");
    ASSERT_EQ(linear.tool.code, 0) << linear.tool.err;
    EXPECT_EQ(linear.report["frameMemory"], 0xE0000000u);
    EXPECT_EQ(linear.report["pageOrigin"], 0xE0000000u + 327680u);
}

TEST_F(SvgatestRun, RefusesALineItCannotRunByItsNumber) {
    const struct {
        const char* script;
        const char* says;
    } kBad[] = {
        {"pixel 1 1 1\n", "line 1: no graphics mode is set"},
        {"mode 0x101\n\n# comment\npixel 640 0 1\n", "line 4: (640, 0) lies outside"},
        {"mode 0x101\ntext 630 0 \"AB\" 1\n", "line 2: the text's end"},
        {"mode 0x101\ntext 0 0 \"A\\x00\" 1\n", "line 2: text holds a zero byte"},
        {"mode 0x101\ntext 0 0 \"open 1\n", "line 2: text without its closing quote"},
        {"mode 0x101\nline 0 0 10\n", "line 2: expected line X1 Y1 X2 Y2 C"},
        {"mode 0x1FF\npixel 0 0 1\n", "line 1: mode 0x1FF cannot be set"},
        {"mode 0x101\npalette 0 2 -1 1,2,3\n", "line 2: expected palette"},
        {"mode 0x101\npalette 250 7 -1 default\n", "line 2: palette entries past entry 255"},
        {"mode 0x101\nbank 64\n", "line 2: bank 64 lies past"},
        {"mode 0x101\nvisual -1 0\n", "line 2: page -1 lies past"},
        {"mode 0x101\npixel 0x10 0xZZ 1\n", "line 2: not a number: 0xZZ"},
        {"mode 0x101\nrestore\nclear 1\n", "line 3: no graphics mode is set"},
    };
    for (const auto& bad : kBad) {
        SCOPED_TRACE(bad.script);
        Run r = run(bad.script, "vbe20");
        EXPECT_EQ(r.tool.code, 1);
        EXPECT_EQ(r.tool.out, "");
        EXPECT_NE(r.tool.err.find(bad.says), std::string::npos) << r.tool.err;
        EXPECT_EQ(std::count(r.tool.err.begin(), r.tool.err.end(), '\n'), 1) << r.tool.err;
        EXPECT_FALSE(pngWritten_);
    }
}

} // namespace
} // namespace svgatest_test
