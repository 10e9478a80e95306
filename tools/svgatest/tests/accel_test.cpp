// svgatest with a VBE/AF driver: afload's status lines and exit codes, and
// the same scripts drawn through the reference driver (--accel) and through
// the VBE BIOS's software routines giving the same picture, for each of the
// driver's variants.
#include "image.h"
#include "run_tool.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <optional>

namespace svgatest_test {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

void WriteImage(const fs::path& file, const mkvbeaf::ImageOptions& options = {}) {
    fs::create_directories(file.parent_path());
    const std::vector<uint8_t> image = mkvbeaf::BuildImage(options);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
}

// A folder for the test's files and the driver variables it sets, both
// undone at its end.
class SvgatestAccel : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("svgatest_accel_" + std::to_string(getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
        unsetenv("VBEAF_PATH");
        unsetenv("PCEMU_DRIVE_C");
    }
    void TearDown() override {
        unsetenv("VBEAF_PATH");
        unsetenv("PCEMU_DRIVE_C");
        fs::remove_all(dir_);
    }
    fs::path dir_;
};

TEST_F(SvgatestAccel, AfloadPrintsTheStatusAndSucceedsOnlyWithADriver) {
    WriteImage(dir_ / "good" / "VBEAF.DRV");
    WriteImage(dir_ / "old" / "VBEAF.DRV", {.fault = mkvbeaf::Fault::OldVersion});
    fs::create_directories(dir_ / "empty");

    ToolResult r = RunTool("afload '" + (dir_ / "good").string() + "'");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "status 0: No error\n");
    r = RunTool("afload '" + (dir_ / "empty").string() + "'");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "status 2: Driver file not found\n");
    r = RunTool("afload");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "status 2: Driver file not found\n");

    setenv("VBEAF_PATH", (dir_ / "old").c_str(), 1);
    r = RunTool("afload '" + (dir_ / "good").string() + "'");
    EXPECT_EQ(r.code, 1) << "VBEAF_PATH comes before the folder given";
    EXPECT_EQ(r.out, "status 5: Driver file is an older version\n");
    setenv("PCEMU_DRIVE_C", (dir_ / "good").c_str(), 1);
    r = RunTool("afload");
    EXPECT_EQ(r.code, 0) << "drive C comes first";
    EXPECT_EQ(r.out, "status 0: No error\n");

    EXPECT_EQ(RunTool("afload a b").code, 1);
}

// Colours the 6-bit DAC of the software runs cannot show exactly are
// avoided: both runs ask for an 8-bit DAC (the driver always gives one).
const char* const kScripts[] = {
    R"(# 256 colours, banked, the default palette and one of the script's
mode 0x101 wide
clear 1
palette 240 2 -1 255,0,0 10,200,30
line 0 0 639 479 240
line 639 0 0 479 241
line 320 479 320 0 14
pixel 0 103 250
text 8 8 "Zorv \x01\xDB\xE9" 14
)",
    R"(# 256 colours through the virtual linear buffer, on page 1
mode 0x101 wide virtual
active 1
clear 3
line 600 10 2 470 12
text 300 300 "virtual" 15
visual 1 0
)",
    R"(# 64 K colours, linear, two pages
mode 0x4111
clear 0x001F
line 0 0 639 479 0xF800
text 300 200 "5-6-5" 0xFFFF
active 1
clear 0x07E0
pixel 1 1 0xFFFF
visual 1 0
)",
    R"(# 16 M colours, banked: pixels straddling banks
mode 0x112
clear 0x203040
line 0 27 639 27 0xFF8000
line 490 0 490 479 0x00FF80
pixel 245 136 0x123456
text 40 400 "24 bit" 0x8080FF
)",
};

struct ScriptRun {
    ToolResult tool;
    json report;
    std::string png;
};

TEST_F(SvgatestAccel, ScriptsDrawTheSamePictureThroughTheDriverAndInSoftware) {
    const fs::path script = dir_ / "script.txt", png = dir_ / "out.png";
    auto run = [&](const std::string& text, bool accel) {
        std::ofstream(script) << text;
        fs::remove(png);
        ScriptRun r;
        r.tool = RunTool("run '" + script.string() + "' '" + png.string() + "' --bios vbe20" +
                         (accel ? " --accel" : ""));
        if (r.tool.code == 0) {
            r.report = json::parse(r.tool.out);
            r.png = FileText(png);
        }
        return r;
    };
    const struct {
        const char* name;
        mkvbeaf::ImageOptions options;
    } kDrivers[] = {
        {"reference", {}},
        {"no DrawLine", {.drawLine = false}},
        {"no direct access", {.directAccess = false}},
        {"no SetBank32", {.setBank32 = false}},
    };
    for (const char* text : kScripts) {
        SCOPED_TRACE(text);
        const ScriptRun software = run(text, false);
        ASSERT_EQ(software.tool.code, 0) << software.tool.err;
        EXPECT_EQ(software.report["engineCommands"], 0);
        for (const auto& driver : kDrivers) {
            SCOPED_TRACE(driver.name);
            const fs::path folder = dir_ / driver.name;
            WriteImage(folder / "VBEAF.DRV", driver.options);
            setenv("VBEAF_PATH", folder.c_str(), 1);
            const ScriptRun accelerated = run(text, true);
            unsetenv("VBEAF_PATH");
            ASSERT_EQ(accelerated.tool.code, 0) << accelerated.tool.err;
            EXPECT_EQ(accelerated.tool.err, "") << "no touch of video memory while busy";
            EXPECT_EQ(accelerated.report["hasAccel2D"], 16);
            EXPECT_GT(accelerated.report["engineCommands"], 1);
            EXPECT_TRUE(accelerated.png == software.png) << "the pictures differ";
        }
    }
}

} // namespace
} // namespace svgatest_test
