// Configuration from the environment, its checks, and the process-wide machine.
#include "machine_rig.h"

#include <cstdlib>

using namespace pcemu;
using namespace pcemu_test;

namespace {

class EnvTest : public ::testing::Test {
protected:
    void TearDown() override {
        unsetenv("PCEMU_BIOS");
        unsetenv("PCEMU_VRAM_KB");
    }
};

TEST_F(EnvTest, EnvironmentChoosesBiosAndVideoMemory) {
    MachineConfig c = MachineConfig::FromEnvironment();
    EXPECT_EQ(c.bios, "vbe20");
    EXPECT_EQ(c.vramBytes(), 4096u * 1024);
    setenv("PCEMU_BIOS", "rom:seabios", 1);
    c = MachineConfig::FromEnvironment();
    EXPECT_EQ(c.vramBytes(), 16384u * 1024);
    setenv("PCEMU_VRAM_KB", "2048", 1);
    c = MachineConfig::FromEnvironment();
    EXPECT_EQ(c.bios, "rom:seabios");
    EXPECT_EQ(c.vramBytes(), 2048u * 1024);
    EXPECT_EQ(c.check(), "");
    c.bios = "vbe12";
    c.vramKB = 0;
    EXPECT_EQ(c.vramBytes(), 1024u * 1024);
}

TEST_F(EnvTest, BadSettingsAreRefusedWithAReason) {
    setenv("PCEMU_VRAM_KB", "lots", 1);
    MachineConfig c = MachineConfig::FromEnvironment();
    EXPECT_NE(c.check().find("PCEMU_VRAM_KB"), std::string::npos);
    c = MachineConfig{};
    c.vramKB = 100;
    EXPECT_NE(c.check().find("multiple of 64"), std::string::npos);
    c.vramKB = 0;
    c.bios = "rom:nothing";
    MachineOrError made = Machine::Create(c);
    EXPECT_FALSE(made);
    EXPECT_NE(made.error.find("unknown BIOS 'rom:nothing'"), std::string::npos) << made.error;
}

TEST_F(EnvTest, TheMachineEndsTheProcessWhenItCannotBeBuilt) {
    setenv("PCEMU_BIOS", "bogus", 1);
    EXPECT_EXIT(TheMachine(), ::testing::ExitedWithCode(1), "^pcemu: unknown BIOS 'bogus'");
}

TEST_F(EnvTest, TheMachineIsBuiltOnceFromTheEnvironment) {
    setenv("PCEMU_BIOS", "none", 1);
    setenv("PCEMU_VRAM_KB", "512", 1);
    Machine& first = TheMachine();
    EXPECT_EQ(&first, &TheMachine());
    EXPECT_EQ(first.space().vramSize(), 512u * 1024);
    EXPECT_EQ(first.bios().name(), "none");
}

} // namespace
