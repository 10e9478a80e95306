// The mkvbeaf program: the file it writes for each option, its usage text,
// and one-line errors with exit code 1 that leave no file behind.
#include "arguments.h"
#include "image.h"

#include "formats/tests/run_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

using ToolRun = testing_support::CommandResult;

class MkvbeafToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("mkvbeaf_test_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    ToolRun run(const std::string& args) {
        return testing_support::RunCommand(
            "cd '" + dir.string() + "' && " + MKVBEAF_EXE + " " + args, dir);
    }
    static std::string read(const fs::path& path) { return testing_support::FileText(path); }
    static std::string bytes(const std::vector<uint8_t>& v) { return {v.begin(), v.end()}; }

    fs::path dir;
};

TEST_F(MkvbeafToolTest, WritesTheImageEachOptionAsksFor) {
    struct Case {
        std::string args;
        mkvbeaf::ImageOptions options;
    };
    std::vector<Case> cases(6);
    cases[1].args = "--no-drawline";
    cases[1].options.drawLine = false;
    cases[2].args = "--no-direct-access --no-setbank32";
    cases[2].options.directAccess = false;
    cases[2].options.setBank32 = false;
    cases[3].args = "--broken=no-terminator";
    cases[3].options.fault = mkvbeaf::Fault::NoTerminator;
    cases[4].args = "--broken=old-version";
    cases[4].options.fault = mkvbeaf::Fault::OldVersion;
    cases[5].args = "--broken=init-fails";
    cases[5].options.fault = mkvbeaf::Fault::InitFails;
    for (const Case& c : cases) {
        fs::path file = dir / "VBEAF.DRV";
        ToolRun r = run(c.args + " " + file.string());
        EXPECT_EQ(r.code, 0) << c.args << ": " << r.err;
        EXPECT_TRUE(r.err.empty()) << r.err;
        EXPECT_EQ(read(file), bytes(mkvbeaf::BuildImage(c.options))) << c.args;
        EXPECT_EQ(fs::status(file).permissions() & fs::perms::owner_read, fs::perms::owner_read);
    }
    // Only the image is left in the folder: no temporary files.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator{}), 1);
}

TEST_F(MkvbeafToolTest, HelpAndErrors) {
    ToolRun help = run("--help");
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("usage: mkvbeaf"), std::string::npos);

    const std::pair<std::string, std::string> bad[] = {
        {"", "mkvbeaf: no output file given (see --help)\n"},
        {"--fast x.drv", "mkvbeaf: unknown option: --fast\n"},
        {"--broken=late x.drv", "mkvbeaf: unknown kind of broken image: late\n"},
        {"a.drv b.drv", "mkvbeaf: more than one output file: b.drv\n"},
    };
    for (const auto& [args, message] : bad) {
        ToolRun r = run(args);
        EXPECT_EQ(r.code, 1) << args;
        EXPECT_EQ(r.err, message) << args;
        EXPECT_TRUE(r.out.empty());
    }
    ToolRun unwritable = run((dir / "missing" / "VBEAF.DRV").string());
    EXPECT_EQ(unwritable.code, 1);
    EXPECT_EQ(unwritable.err.rfind("mkvbeaf: cannot write ", 0), 0u) << unwritable.err;
    EXPECT_EQ(std::count(unwritable.err.begin(), unwritable.err.end(), '\n'), 1);
    EXPECT_FALSE(fs::exists(dir / "a.drv"));
    EXPECT_FALSE(fs::exists(dir / "x.drv"));
}

} // namespace
