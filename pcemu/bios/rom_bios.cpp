#include "bios/rom_bios.h"

#include "pcemu/config.h"
#include "pcemu/layout.h"
#include "pcemu/machine.h"

#include <array>
#include <fstream>
#include <iterator>
#include <vector>

namespace pcemu {
namespace {

struct RomFile {
    const char* name;
    const char* path;
    const char* package;
    bool pci; // started with its PCI address; the ISA ROM gets FFFFh
};

constexpr std::array<RomFile, 4> kRoms = {{
    {"rom:bochs", "/usr/share/vgabios/vgabios.bin", "vgabios", true},
    {"rom:seabios", "/usr/share/seabios/vgabios-stdvga.bin", "seabios", true},
    {"rom:isavga", "/usr/share/seabios/vgabios-isavga.bin", "seabios", false},
    {"rom:cirrus", "/usr/share/seabios/vgabios-cirrus.bin", "seabios", true},
}};

constexpr size_t kMaxRomSize = kPieceSize; // C0000h-CFFFFh

class RomBios final : public Bios {
public:
    RomBios(const RomFile& rom, std::string path)
        : rom_(rom), name_(rom.name), path_(std::move(path)) {}

    const std::string& name() const override { return name_; }
    std::string install(Machine& machine) override;

private:
    std::string load(std::vector<uint8_t>& image) const;

    RomFile rom_;
    std::string name_;
    std::string path_;
};

std::string RomBios::load(std::vector<uint8_t>& image) const {
    std::ifstream in(path_, std::ios::binary);
    if (!in)
        return "cannot read the VGA BIOS ROM " + path_ + " (install the Debian package " +
               rom_.package + ")";
    image.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (image.size() < 512 || image[0] != 0x55 || image[1] != 0xAA)
        return path_ + " is not an option ROM (no 55h AAh signature)";
    size_t declared = size_t{image[2]} * 512;
    if (declared == 0 || declared > image.size() || declared > kMaxRomSize)
        return path_ + " declares a ROM size of " + std::to_string(declared) +
               " bytes, which does not fit";
    image.resize(declared);
    return {};
}

std::string RomBios::install(Machine& machine) {
    std::vector<uint8_t> image;
    if (std::string error = load(image); !error.empty()) return error;

    // The PCI data structure, when there is one, names the device the ROM
    // drives; the adapter presents those IDs.
    size_t pcir = image[0x18] | (image[0x19] << 8);
    if (pcir && pcir + 8 <= image.size() && image[pcir] == 'P' && image[pcir + 1] == 'C' &&
        image[pcir + 2] == 'I' && image[pcir + 3] == 'R') {
        uint16_t vendor = static_cast<uint16_t>(image[pcir + 4] | (image[pcir + 5] << 8));
        uint16_t device = static_cast<uint16_t>(image[pcir + 6] | (image[pcir + 7] << 8));
        if (vendor == 0x1013)
            return name_ + " drives Cirrus Logic registers, which this adapter does not model";
        machine.adapter().setPciIds(vendor, device);
    }

    MemoryBus& memory = machine.memory();
    memory.writeBlock(kVideoBios, image.data(), image.size());
    CpuRegs regs;
    regs.eax = rom_.pci ? Adapter::kPciAddress : 0xFFFF;
    RunResult r = machine.farCall(kVideoBios >> 4, 0x0003, regs);
    if (!r.ok()) return "the init code of " + name_ + " failed: " + r.message;
    if (memory.read32(0x10 * 4) == Cpu::defaultVector())
        return name_ + " did not hook interrupt 10h";
    // Write-protected after init, as the shadow RAM of a PC is.
    machine.space().protectRom(kVideoBios + static_cast<uint32_t>(image.size()));
    return {};
}

} // namespace

BiosOrError MakeRomBios(const MachineConfig& config) {
    for (const RomFile& rom : kRoms) {
        if (config.bios != rom.name) continue;
        return {std::make_unique<RomBios>(rom, config.romFile.empty() ? rom.path : config.romFile),
                {}};
    }
    return {nullptr, "unknown ROM BIOS '" + config.bios + "'"};
}

} // namespace pcemu
