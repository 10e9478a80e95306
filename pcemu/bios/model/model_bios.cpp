#include "bios/model/model_bios.h"

#include "bios/model/mode_table.h"
#include "bios/model/personality.h"
#include "bios/model/rom_image.h"
#include "bios/model/video_bios.h"
#include "pcemu/config.h"
#include "pcemu/layout.h"
#include "pcemu/machine.h"

#include <memory>

namespace pcemu {
namespace {

class ModelBios final : public Bios {
public:
    explicit ModelBios(const model::Personality& p) : personality_(p), name_(p.name) {}

    const std::string& name() const override { return name_; }
    std::string install(Machine& machine) override;

private:
    const model::Personality& personality_;
    std::string name_;
    std::unique_ptr<model::VideoBios> video_;
};

// Like a PC's POST with this option ROM: the image at C0000h (write
// protected afterwards), interrupt 10h through a trap stub, text mode 3.
std::string ModelBios::install(Machine& machine) {
    model::RomImage rom = model::BuildRomImage(personality_, machine.space().vramSize());
    if (rom.bytes.size() > kPieceSize) return "the model BIOS image does not fit at C0000h";
    machine.memory().writeBlock(kVideoBios, rom.bytes.data(), rom.bytes.size());
    machine.space().protectRom(kVideoBios + static_cast<uint32_t>(rom.bytes.size()));

    video_ = std::make_unique<model::VideoBios>(machine, personality_, rom.layout);
    uint32_t vector = machine.cpu().addTrap(
        Cpu::TrapReturn::Interrupt, [video = video_.get()](CpuRegs& r) { video->handle(r); });
    if (vector == 0) return "no trap stub left for interrupt 10h";
    machine.memory().write32(0x10 * 4, vector);
    if (!video_->setMode(*model::FindMode(0x03), false, false))
        return "the model BIOS could not set text mode 3";
    return {};
}

} // namespace

BiosOrError MakeModelBios(const MachineConfig& config) {
    const model::Personality* p = model::FindPersonality(config.bios);
    if (!p) return {nullptr, "unknown model BIOS '" + config.bios + "'"};
    return {std::make_unique<ModelBios>(*p), {}};
}

} // namespace pcemu
