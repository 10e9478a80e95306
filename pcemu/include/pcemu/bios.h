// The video BIOS a machine boots: a real ROM image or the model BIOS.
#pragma once

#include <memory>
#include <string>

namespace pcemu {

class Machine;
struct MachineConfig;

class Bios {
public:
    virtual ~Bios() = default;
    // The configuration name ("rom:bochs", "vbe20", ...).
    virtual const std::string& name() const = 0;
    // Installs the BIOS into a machine whose memory, interrupt table and
    // adapter are ready (loads and starts a ROM, hooks interrupt 10h).
    // Empty on success, else the reason.
    virtual std::string install(Machine& machine) = 0;
};

struct BiosOrError {
    std::unique_ptr<Bios> bios;
    std::string error;
};

// The BIOS a configuration names.
BiosOrError MakeBios(const MachineConfig& config);

} // namespace pcemu
