// Interrupt 10h of the model BIOS: set mode (00h), current mode (0Fh), the
// character generator (11h) and the VBE functions 4F00h-4F0Ah.
#pragma once

#include "bios/model/adapter_io.h"
#include "bios/model/mode_table.h"
#include "bios/model/personality.h"
#include "bios/model/rom_image.h"
#include "pcemu/cpu_regs.h"

#include <cstdint>

namespace pcemu {
class Machine;
}

namespace pcemu::model {

class VideoBios {
public:
    VideoBios(Machine& machine, const Personality& p, const RomLayout& rom);

    void handle(CpuRegs& r);
    // Sets a mode as 4F02h does; false when the adapter refused it.
    bool setMode(const ModeSpec& mode, bool linear, bool keepMemory);

private:
    // AH = 00h, 0Fh, 11h.
    void setVgaMode(CpuRegs& r);
    void currentVgaMode(CpuRegs& r);
    void characterGenerator(CpuRegs& r);
    void fontInformation(CpuRegs& r);
    // AX = 4F00h-4F0Ah.
    void vbe(CpuRegs& r);
    void controllerInfo(CpuRegs& r);
    void modeInfo(CpuRegs& r);
    void setVbeMode(CpuRegs& r);
    void currentVbeMode(CpuRegs& r);
    void saveRestoreState(CpuRegs& r);
    void windowControl(CpuRegs& r);
    void scanLineLength(CpuRegs& r);
    void displayStart(CpuRegs& r);
    void dacWidth(CpuRegs& r);
    void paletteData(CpuRegs& r);
    void pmInterface(CpuRegs& r);

    // Status for a function the current mode cannot do (03h needs VBE 2.0).
    uint16_t invalidInMode() const;
    const ModeSpec& mode() const { return *mode_; }
    bool svgaMode() const { return !mode_->vga; }
    static uint32_t Linear(uint16_t segment, uint16_t offset) {
        return (uint32_t{segment} << 4) + offset;
    }

    Machine& machine_;
    const Personality& p_;
    RomLayout rom_;
    AdapterIo io_;
    uint32_t vramBytes_;
    const ModeSpec* mode_;
    bool linear_ = false;
    bool keptMemory_ = false;
};

// VBE status words (AX).
inline constexpr uint16_t kVbeOk = 0x004F;
inline constexpr uint16_t kVbeFailed = 0x014F;
inline constexpr uint16_t kVbeNotSupported = 0x024F;
inline constexpr uint16_t kVbeInvalidInMode = 0x034F;

} // namespace pcemu::model
