// What kind of PC to build: BIOS, video memory, instruction bound, clock.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace pcemu {

class Clock;

struct MachineConfig {
    // "vbe20" (default), "vbe12", "vbe20-novendor", "gran4k", "dualwin", "pmio",
    // "fbadfbad", "novbe", "dualwin-nopm" (model BIOS personalities); "rom:bochs", "rom:seabios",
    // "rom:isavga", "rom:cirrus" (real ROMs); "none" (no video BIOS: a bare
    // adapter, for tests that program the hardware themselves).
    std::string bios = "vbe20";
    // Video memory in KB; 0 picks the default for the BIOS (16384 for ROMs,
    // 1024 for vbe12, 4096 otherwise). A multiple of 64 from 256 to 262144.
    uint32_t vramKB = 0;
    // Instructions one emulated run may execute before it is stopped.
    uint64_t instructionBound = 20'000'000;
    // Replaces the ROM file of a rom: BIOS (tests of a missing ROM).
    std::string romFile;
    // Time source of the retrace cycle; null means the steady clock.
    std::shared_ptr<Clock> clock;
    // Set by FromEnvironment when a variable could not be read; Machine::Create
    // refuses a config that carries an error.
    std::string error;

    // PCEMU_BIOS and PCEMU_VRAM_KB, over the defaults above.
    static MachineConfig FromEnvironment();

    // The video memory size this config asks for, in bytes (defaults applied).
    uint32_t vramBytes() const;
    // Empty when the config can build a machine, else what is wrong with it.
    std::string check() const;
};

bool IsRomBiosName(const std::string& name);
bool IsModelBiosName(const std::string& name);

} // namespace pcemu
