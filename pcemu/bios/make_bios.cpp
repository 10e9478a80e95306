#include "bios/model/model_bios.h"
#include "bios/rom_bios.h"
#include "pcemu/bios.h"
#include "pcemu/config.h"

namespace pcemu {
namespace {

// No video BIOS: interrupt 10h stays at the default iret. For tests and
// tools that program the adapter themselves.
class NoBios final : public Bios {
public:
    const std::string& name() const override { return name_; }
    std::string install(Machine&) override { return {}; }

private:
    std::string name_ = "none";
};

} // namespace

BiosOrError MakeBios(const MachineConfig& config) {
    if (config.bios == "none") return {std::make_unique<NoBios>(), {}};
    if (IsRomBiosName(config.bios)) return MakeRomBios(config);
    if (IsModelBiosName(config.bios)) return MakeModelBios(config);
    return {nullptr, "unknown BIOS '" + config.bios + "'"};
}

} // namespace pcemu
