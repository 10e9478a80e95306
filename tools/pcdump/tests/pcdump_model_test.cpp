// pcdump on every personality of the model BIOS: `info` describes what the
// personality promises, `int10` runs calls and writes the scanout.
#include "pcdump.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

struct Case {
    const char* bios;
    int version; // 0: no VBE
    bool vendorName;
    int granularity;
    bool linear;
    bool pmTable;
    int totalMemory; // 64 KB units
};

const Case kCases[] = {
    {"vbe20", 0x0200, true, 64, true, true, 64},
    {"vbe12", 0x0102, false, 64, false, false, 16},
    {"vbe20-novendor", 0x0200, false, 64, true, true, 64},
    {"gran4k", 0x0200, true, 4, true, true, 64},
    {"dualwin", 0x0200, true, 64, true, true, 64},
    {"pmio", 0x0200, true, 64, true, true, 64},
    {"fbadfbad", 0x0200, true, 64, true, true, 64},
    {"novbe", 0, false, 0, false, false, 0},
    {"dualwin-nopm", 0x0200, true, 64, true, false, 64},
};

class PcdumpModelTest : public ::testing::TestWithParam<Case> {
protected:
    int run(std::vector<std::string> args) {
        std::ostringstream o, e;
        int code = pcdump::Run(args, o, e);
        out = o.str();
        err = e.str();
        return code;
    }
    std::string out, err;
};

TEST_P(PcdumpModelTest, InfoDescribesThePersonality) {
    const Case& c = GetParam();
    ASSERT_EQ(run({"info", "--bios", c.bios}), 0) << err;
    auto j = nlohmann::json::parse(out);
    EXPECT_EQ(j["bios"], c.bios);
    if (c.version == 0) {
        EXPECT_TRUE(j["vbe"].is_null());
        EXPECT_TRUE(j["pmTable"].is_null());
        return;
    }
    const auto& vbe = j["vbe"];
    EXPECT_EQ(vbe["VbeVersion"], c.version);
    EXPECT_EQ(vbe["TotalMemory"], c.totalMemory);
    EXPECT_NE(vbe["OemString"].get<std::string>().find(c.bios), std::string::npos);
    EXPECT_EQ(vbe["OemVendorName"].is_null(), !c.vendorName);
    ASSERT_EQ(j["modeInfo"].size(), vbe["modes"].size());
    int supported = 0;
    for (const auto& [mode, info] : j["modeInfo"].items()) {
        ASSERT_TRUE(info.contains("ModeAttributes")) << mode;
        supported += info["ModeAttributes"].get<int>() & 1;
        EXPECT_EQ(info["PhysBasePtr"] != 0, c.linear && (info["ModeAttributes"].get<int>() & 0x80))
            << mode;
    }
    EXPECT_GE(supported, 20);
    const auto& m101 = j["modeInfo"]["0x101"];
    EXPECT_EQ(m101["WinGranularity"], c.granularity);
    EXPECT_EQ(m101["XResolution"], 640);
    EXPECT_EQ(j["pmTable"].is_null(), !c.pmTable);
}

TEST_P(PcdumpModelTest, Int10SetsAModeAndWritesItsPicture) {
    const Case& c = GetParam();
    auto png = std::filesystem::temp_directory_path() /
               ("pcdump_model_" + std::to_string(getpid()) + ".png");
    std::vector<std::string> args = {"int10", "--bios", c.bios};
    if (c.version)
        args.insert(args.end(), {"AX=4F02,BX=0101", "AX=4F05,BX=0,DX=1", "AX=4F03"});
    else
        args.insert(args.end(), {"AX=0012", "AX=0F00"});
    args.insert(args.end(), {"--png", png.string()});
    ASSERT_EQ(run(args), 0) << err;
    if (c.version) {
        EXPECT_NE(out.find("AX=4F02,BX=0101: AX=004F"), std::string::npos) << out;
        EXPECT_NE(out.find("AX=4F03: AX=004F BX=0101"), std::string::npos) << out;
    } else {
        EXPECT_NE(out.find("AX=0F00: AX=5012"), std::string::npos) << out;
    }
    std::ifstream file(png, std::ios::binary);
    ASSERT_TRUE(file);
    unsigned char header[24];
    file.read(reinterpret_cast<char*>(header), sizeof header);
    auto be32 = [&](int at) {
        return (header[at] << 24) | (header[at + 1] << 16) | (header[at + 2] << 8) | header[at + 3];
    };
    EXPECT_EQ(be32(16), 640); // IHDR width and height
    EXPECT_EQ(be32(20), 480);
    std::filesystem::remove(png);
}

INSTANTIATE_TEST_SUITE_P(Personalities, PcdumpModelTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                             std::string name = info.param.bios;
                             for (char& ch : name)
                                 if (ch == '-') ch = '_';
                             return name;
                         });

} // namespace
