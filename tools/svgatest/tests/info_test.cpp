// svgatest info: the device record and the modes as JSON, on the BIOS the
// options choose; errors as one line and exit code 1.
#include "run_tool.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>

namespace svgatest_test {
namespace {

using nlohmann::json;

json Info(const std::string& options) {
    const ToolResult r = RunTool("info " + options);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    return json::parse(r.out);
}

const json& ModeEntry(const json& info, int mode) {
    const auto& modes = info["modeInfo"];
    return *std::find_if(modes.begin(), modes.end(),
                         [mode](const json& m) { return m["mode"] == mode; });
}

void ExpectOneErrorLine(const ToolResult& r) {
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
}

TEST(SvgatestInfo, DescribesTheDeviceAndEveryListedMode) {
    const json info = Info("--bios vbe20");
    EXPECT_EQ(info["version"], 0x200);
    EXPECT_EQ(info["memoryKB"], 4096);
    EXPECT_EQ(info["oemName"], "Zorv pcemu model VBE BIOS (vbe20)");
    EXPECT_EQ(info["linearBase"], 0xE0000000u);
    for (const char* flag : {"canVirtualize", "hasMultiBuffer", "hasVirtualScroll", "hasWideDac"})
        EXPECT_EQ(info[flag], 1) << flag;
    EXPECT_EQ(info["hasAccel2D"], 0);
    ASSERT_EQ(info["modeInfo"].size(), info["modes"].size());
    for (size_t i = 0; i < info["modes"].size(); ++i)
        EXPECT_EQ(info["modeInfo"][i]["mode"], info["modes"][i]);

    const json& m101 = ModeEntry(info, 0x101);
    EXPECT_EQ((std::vector<int>{m101["xRes"], m101["yRes"], m101["lineBytes"], m101["pixelBits"],
                                m101["pages"], m101["attributes"]}),
              (std::vector<int>{640, 480, 640, 8, 12, 0x800F}));
    EXPECT_EQ(m101["name"], " 640 x  480 8 bit (12 page, Banked+Linear)");
    EXPECT_EQ(m101["nameBanked"], " 640 x  480 8 bit (12 page, Banked Only)");
    const json& m111 = ModeEntry(info, 0x111);
    EXPECT_EQ(
        (std::vector<int>{m111["redSize"], m111["redPos"], m111["greenSize"], m111["greenPos"],
                          m111["blueSize"], m111["bluePos"], m111["rsvdSize"], m111["rsvdPos"]}),
        (std::vector<int>{5, 11, 6, 5, 5, 0, 0, 0}));
    const json& linearOnly = ModeEntry(info, 0x126);
    EXPECT_EQ(linearOnly["name"], "1024 x  768 32 bit ( 1 page, Linear Only, NonVGA)");
    EXPECT_TRUE(linearOnly["nameBanked"].is_null());
}

TEST(SvgatestInfo, OptionsChooseTheEmulatedPc) {
    const json old = Info("--bios vbe12");
    EXPECT_EQ(old["version"], 0x102);
    EXPECT_EQ(old["memoryKB"], 1024);
    EXPECT_EQ(old["linearBase"], 0);
    EXPECT_EQ(Info("--vram 2048 --bios vbe20")["memoryKB"], 2048);
    EXPECT_EQ(Info("--bios rom:bochs")["modes"].size(), 67u);
    const ToolResult none = RunTool("info --bios novbe");
    EXPECT_EQ(none.code, 0);
    EXPECT_EQ(json::parse(none.out), json::parse(R"({"device": null})"));
}

TEST(SvgatestInfo, ErrorsAreOneLine) {
    ExpectOneErrorLine(RunTool(""));
    ExpectOneErrorLine(RunTool("nonsense"));
    ExpectOneErrorLine(RunTool("info --vram lots"));
    ExpectOneErrorLine(RunTool("info --colour red"));
    ExpectOneErrorLine(RunTool("info --bios nosuchbios"));
}

} // namespace
} // namespace svgatest_test
