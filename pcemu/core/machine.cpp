#include "pcemu/machine.h"

#include "core/firmware.h"
#include "core/range_allocator.h"

#include <cstring>

namespace pcemu {
namespace {

constexpr uint32_t kRealBlocksStart = 0x10000;
constexpr uint32_t kRealBlocksEnd = uint32_t{kEbdaSegment} << 4;

} // namespace

Machine::Machine(const MachineConfig& config) : config_(config) {}

Machine::~Machine() = default;

MachineOrError Machine::Create(const MachineConfig& config) {
    MachineOrError result;
    std::unique_ptr<Machine> machine(new Machine(config));
    result.error = machine->build();
    if (result.error.empty()) result.machine = std::move(machine);
    return result;
}

std::string Machine::build() {
    if (std::string problem = config_.check(); !problem.empty()) return problem;
    clock_ = config_.clock ? config_.clock : std::make_shared<SteadyClock>();
    std::string error;
    space_ = AddressSpace::Create(config_.vramBytes(), &error);
    if (!space_) return error;
    memory_ = std::make_unique<MemoryBus>(*space_);
    ports_ = std::make_unique<PortBus>();
    auto gdt = space_->guestAllocLinear(DescriptorTable::kEntries * 8, 8);
    if (!gdt) return "no guest memory for the descriptor table";
    selectors_ = std::make_unique<DescriptorTable>(*memory_, *gdt);
    adapter_ = std::make_unique<Adapter>(*space_, *memory_, *ports_, clock_);
    cpu_ = std::make_unique<Cpu>(*memory_, *ports_, *selectors_, config_.instructionBound);
    realMemory_ = std::make_unique<RangeAllocator>(kRealBlocksStart, kRealBlocksEnd);
    InstallFirmware(*memory_, *cpu_);

    BiosOrError made = MakeBios(config_);
    if (!made.bios) return made.error;
    bios_ = std::move(made.bios);
    return bios_->install(*this);
}

std::optional<uint16_t> Machine::allocReal(uint32_t size) {
    if (size == 0 || size > kRealBlocksEnd) return std::nullopt;
    auto at = realMemory_->allocate((size + 15) & ~15u, 16);
    if (!at) return std::nullopt;
    std::memset(space_->hostPointer(*at), 0, realMemory_->sizeOf(*at));
    return static_cast<uint16_t>(*at >> 4);
}

bool Machine::freeReal(uint16_t segment) {
    return realMemory_->release(uint32_t{segment} << 4);
}

uint32_t Machine::realMemoryFree() const {
    return realMemory_->freeBytes();
}

} // namespace pcemu
