// The real VGA BIOS ROMs on the emulated adapter: what they report through
// VBE (the expectations are what each ROM returns, as pcdump info shows),
// bank switching, the protected-mode table, and broken or missing ROM files.
#include "machine_rig.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace pcemu;
using namespace pcemu_test;

namespace {

struct RomCase {
    const char* bios;
    uint16_t version;
    const char* oem;
    size_t modes;
    int pages101, pages111, pages112;
    bool pmTable;
};

const RomCase kRoms[] = {
    {"rom:bochs", 0x0200, "Bochs VBE (C) 2002-2021 http://savannah.nongnu.org/projects/vgabios/",
     67, 53, 26, 17, true},
    {"rom:seabios", 0x0300, "SeaBIOS VBE(C) 2011", 92, 50, 24, 16, false},
    {"rom:isavga", 0x0300, "SeaBIOS VBE(C) 2011", 92, 50, 24, 16, false},
};

class RomTest : public ::testing::TestWithParam<RomCase> {
protected:
    void SetUp() override {
        pc = NewMachine(GetParam().bios);
        ASSERT_TRUE(pc);
        auto seg = pc->allocReal(512);
        ASSERT_TRUE(seg);
        buffer = *seg;
    }
    uint8_t* buf() { return pc->hostPointer(uint32_t{buffer} << 4); }
    uint16_t u16(size_t at) { return static_cast<uint16_t>(buf()[at] | (buf()[at + 1] << 8)); }
    uint32_t u32(size_t at) { return u16(at) | (uint32_t{u16(at + 2)} << 16); }
    uint32_t linear(uint32_t farPointer) {
        return ((farPointer >> 16) << 4) + (farPointer & 0xFFFF);
    }
    CpuRegs callWithBuffer(uint16_t ax, uint16_t cx = 0) {
        CpuRegs r;
        r.eax = ax;
        r.ecx = cx;
        r.es = buffer;
        RunResult run = pc->int86(0x10, r);
        EXPECT_TRUE(run.ok()) << run.message;
        return r;
    }
    std::unique_ptr<Machine> pc;
    uint16_t buffer = 0;
};

TEST_P(RomTest, ControllerInfoIsWhatTheRomReports) {
    std::memcpy(buf(), "VBE2", 4);
    CpuRegs r = callWithBuffer(0x4F00);
    EXPECT_EQ(r.ax(), 0x004F);
    EXPECT_EQ(std::memcmp(buf(), "VESA", 4), 0);
    EXPECT_EQ(u16(4), GetParam().version);
    EXPECT_STREQ(reinterpret_cast<const char*>(pc->hostPointer(linear(u32(6)))), GetParam().oem);
    EXPECT_EQ(u16(0x12), 256); // 16 MB in 64 KB units
    uint32_t list = linear(u32(0x0E));
    size_t count = 0;
    while (count < 1000 && pc->memory().read16(list + 2 * static_cast<uint32_t>(count)) != 0xFFFF)
        ++count;
    EXPECT_EQ(count, GetParam().modes);
}

TEST_P(RomTest, ModeInfoDescribesWindowsLinearBufferAndPages) {
    CpuRegs r = callWithBuffer(0x4F01, 0x101);
    ASSERT_EQ(r.ax(), 0x004F);
    EXPECT_EQ(buf()[0x02], 0x07); // window A: exists, readable, writable
    EXPECT_EQ(u16(0x04), 64);     // granularity
    EXPECT_EQ(u16(0x06), 64);     // size
    EXPECT_EQ(u16(0x08), 0xA000);
    EXPECT_EQ(u16(0x10), 640);
    EXPECT_EQ(u16(0x12), 640);
    EXPECT_EQ(u16(0x14), 480);
    EXPECT_EQ(buf()[0x19], 8);
    EXPECT_EQ(buf()[0x1D], GetParam().pages101);
    EXPECT_EQ(u32(0x28), 0xE0000000u);

    r = callWithBuffer(0x4F01, 0x111);
    ASSERT_EQ(r.ax(), 0x004F);
    EXPECT_EQ(buf()[0x19], 16);
    EXPECT_EQ(buf()[0x1D], GetParam().pages111);
    const uint8_t masks565[] = {5, 11, 6, 5, 5, 0};
    EXPECT_EQ(std::memcmp(buf() + 0x1F, masks565, 6), 0);
    r = callWithBuffer(0x4F01, 0x112);
    EXPECT_EQ(buf()[0x19], 24);
    EXPECT_EQ(buf()[0x1D], GetParam().pages112);
}

TEST_P(RomTest, SetModeProgramsTheAdapterAndWindowMovesFollowBankCalls) {
    CpuRegs r = Int10(*pc, 0x4F02, 0x0101);
    ASSERT_EQ(r.ax(), 0x004F);
    Adapter& a = pc->adapter();
    EXPECT_EQ(a.bochsRegister(kBochsXRes), 640);
    EXPECT_EQ(a.bochsRegister(kBochsYRes), 480);
    EXPECT_EQ(a.bochsRegister(kBochsBpp), 8);
    EXPECT_TRUE(a.bochsRegister(kBochsEnable) & kBochsEnabled);
    EXPECT_EQ(Int10(*pc, 0x4F03).bx() & 0x1FF, 0x101);

    uint64_t moves = a.windowMoves();
    CpuRegs set;
    set.eax = 0x4F05;
    set.edx = 3;
    ASSERT_TRUE(pc->int86(0x10, set).ok());
    EXPECT_EQ(set.ax(), 0x004F);
    EXPECT_EQ(a.writeBank(), 3);
    EXPECT_EQ(a.windowMoves(), moves + 1);
    pc->hostPointer(kVgaWindow)[0x100] = 0xA5;
    EXPECT_EQ(pc->space().vram()[3 * 0x10000 + 0x100], 0xA5);
    r = Int10(*pc, 0x4F05, 0x0100);
    EXPECT_EQ(r.ax(), 0x004F);
    EXPECT_EQ(r.dx(), 3);
}

TEST_P(RomTest, ProtectedModeTableAnswersAsTheRomDoes) {
    CpuRegs r = Int10(*pc, 0x4F0A, 0x0000);
    if (!GetParam().pmTable) {
        EXPECT_EQ(r.ax(), 0x0100);
        return;
    }
    ASSERT_EQ(r.ax(), 0x004F);
    EXPECT_EQ(r.cx(), 253);
    // The library copies the table and calls its SetWindow routine in place.
    uint8_t* copy = static_cast<uint8_t*>(pc->space().guestAlloc(r.cx()));
    ASSERT_TRUE(copy);
    std::memcpy(copy, pc->hostPointer((uint32_t{r.es} << 4) + r.di()), r.cx());
    uint16_t setWindow = static_cast<uint16_t>(copy[0] | (copy[1] << 8));
    ASSERT_EQ(Int10(*pc, 0x4F02, 0x0101).ax(), 0x004F);
    uint64_t moves = pc->adapter().windowMoves();
    CpuRegs pm;
    pm.ebx = 0; // window A
    pm.edx = 5;
    RunResult run = pc->call32(*pc->linearOf(copy) + setWindow, pm);
    ASSERT_TRUE(run.ok()) << run.message;
    EXPECT_EQ(pc->adapter().writeBank(), 5);
    EXPECT_EQ(pc->adapter().windowMoves(), moves + 1);
    EXPECT_LT(run.instructions, 100u);
    // Real mode still works afterwards and agrees.
    EXPECT_EQ(Int10(*pc, 0x4F05, 0x0100).dx(), 5);
}

TEST_P(RomTest, InitHooksInt10AndTheRomIsWriteProtected) {
    EXPECT_NE(pc->memory().read32(0x10 * 4), Cpu::defaultVector());
    EXPECT_EQ(pc->memory().read8(kVideoBios), 0x55);
    pc->memory().write8(kVideoBios, 0x00);
    EXPECT_EQ(pc->memory().read8(kVideoBios), 0x55);
    if (std::string(GetParam().bios) != "rom:isavga") {
        EXPECT_EQ(pc->adapter().pciVendor(), 0x1234);
        EXPECT_EQ(pc->adapter().pciDevice(), 0x1111);
    }
}

INSTANTIATE_TEST_SUITE_P(Roms, RomTest, ::testing::ValuesIn(kRoms),
                         [](const auto& info) { return std::string(info.param.bios + 4); });

std::string CreateError(const std::string& bios, const std::string& file) {
    MachineConfig config;
    config.bios = bios;
    config.romFile = file;
    MachineOrError made = Machine::Create(config);
    EXPECT_FALSE(made);
    return made.error;
}

TEST(RomFileTest, MissingOrBrokenRomsGiveClearErrors) {
    std::string e = CreateError("rom:bochs", "/nonexistent/vgabios.bin");
    EXPECT_NE(e.find("/nonexistent/vgabios.bin"), std::string::npos) << e;
    EXPECT_NE(e.find("package vgabios"), std::string::npos) << e;
    e = CreateError("rom:seabios", "/nonexistent/vgabios-stdvga.bin");
    EXPECT_NE(e.find("package seabios"), std::string::npos) << e;

    auto path = std::filesystem::temp_directory_path() / ("pcemu_rom_" + std::to_string(getpid()));
    {
        std::ofstream out(path, std::ios::binary);
        std::string junk(4096, '\x90');
        out << junk;
    }
    e = CreateError("rom:bochs", path.string());
    EXPECT_NE(e.find("not an option ROM"), std::string::npos) << e;
    {
        // A valid header whose init code runs away.
        std::ofstream out(path, std::ios::binary);
        std::string rom(4096, '\0');
        rom[0] = '\x55';
        rom[1] = '\xAA';
        rom[2] = 8;
        rom[3] = '\xEB'; // jmp $
        rom[4] = '\xFE';
        out << rom;
    }
    e = CreateError("rom:bochs", path.string());
    EXPECT_NE(e.find("init code"), std::string::npos) << e;
    EXPECT_NE(e.find("runaway"), std::string::npos) << e;
    std::filesystem::remove(path);

    e = CreateError("rom:cirrus", "");
    EXPECT_NE(e.find("Cirrus"), std::string::npos) << e;
}

} // namespace
