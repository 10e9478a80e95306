// pcdump against the real ROMs: the JSON of `info` and the calls of `int10`.
#include "pcdump.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace {

struct Output {
    int code;
    std::string out, err;
};

Output RunPcdump(std::vector<std::string> args) {
    std::ostringstream out, err;
    int code = pcdump::Run(args, out, err);
    return {code, out.str(), err.str()};
}

TEST(PcdumpTest, InfoReportsWhatTheBochsRomReturns) {
    Output o = RunPcdump({"info", "--bios", "rom:bochs"});
    ASSERT_EQ(o.code, 0) << o.err;
    auto j = nlohmann::json::parse(o.out);
    EXPECT_EQ(j["bios"], "rom:bochs");
    EXPECT_EQ(j["vbe"]["VbeVersion"], 0x0200);
    EXPECT_EQ(j["vbe"]["OemString"],
              "Bochs VBE (C) 2002-2021 http://savannah.nongnu.org/projects/vgabios/");
    EXPECT_EQ(j["vbe"]["TotalMemory"], 256);
    EXPECT_EQ(j["vbe"]["modes"].size(), 67u);
    const auto& m101 = j["modeInfo"]["0x101"];
    EXPECT_EQ(m101["WinAAttributes"], 7);
    EXPECT_EQ(m101["WinSize"], 64);
    EXPECT_EQ(m101["WinASegment"], 0xA000);
    EXPECT_EQ(m101["PhysBasePtr"], 0xE0000000u);
    EXPECT_EQ(m101["NumberOfImagePages"], 53);
    EXPECT_EQ(j["modeInfo"]["0x111"]["NumberOfImagePages"], 26);
    EXPECT_EQ(j["modeInfo"]["0x112"]["NumberOfImagePages"], 17);
    EXPECT_EQ(j["pmTable"]["length"], 253);
}

TEST(PcdumpTest, InfoOnSeaBiosHasNoProtectedModeTable) {
    Output o = RunPcdump({"info", "--bios", "rom:seabios", "--vram", "16384"});
    ASSERT_EQ(o.code, 0) << o.err;
    auto j = nlohmann::json::parse(o.out);
    EXPECT_EQ(j["vbe"]["VbeVersion"], 0x0300);
    EXPECT_EQ(j["vbe"]["modes"].size(), 92u);
    EXPECT_EQ(j["modeInfo"]["0x101"]["NumberOfImagePages"], 50);
    EXPECT_TRUE(j["pmTable"].is_null());
}

TEST(PcdumpTest, Int10RunsCallsAndWritesTheScanout) {
    auto png =
        std::filesystem::temp_directory_path() / ("pcdump_" + std::to_string(getpid()) + ".png");
    Output o = RunPcdump({"int10", "--bios", "rom:bochs", "AX=4F02,BX=0101", "AX=4F05,BX=0,DX=3",
                          "AX=4F05,BX=0100", "--png", png.string()});
    ASSERT_EQ(o.code, 0) << o.err;
    std::istringstream lines(o.out);
    std::string line;
    std::vector<std::string> all;
    while (std::getline(lines, line))
        all.push_back(line);
    ASSERT_EQ(all.size(), 3u) << o.out;
    EXPECT_NE(all[0].find("AX=004F"), std::string::npos);
    EXPECT_NE(all[2].find("DX=0003"), std::string::npos) << all[2];
    ASSERT_TRUE(std::filesystem::exists(png));
    EXPECT_GT(std::filesystem::file_size(png), 100u);
    std::filesystem::remove(png);
}

TEST(PcdumpTest, ErrorsAreOneLineAndExitCodeOne) {
    for (const auto& args :
         std::vector<std::vector<std::string>>{{},
                                               {"frobnicate"},
                                               {"info", "--bios", "rom:none"},
                                               {"int10", "--bios", "rom:bochs"},
                                               {"int10", "--bios", "rom:bochs", "AX=12345"},
                                               {"int10", "--bios", "rom:bochs", "QX=1"},
                                               {"info", "--vram", "12k"}}) {
        Output o = RunPcdump(args);
        EXPECT_EQ(o.code, 1);
        EXPECT_EQ(o.err.rfind("pcdump: ", 0), 0u) << o.err;
        EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << o.err;
        EXPECT_TRUE(o.out.empty());
    }
}

} // namespace
