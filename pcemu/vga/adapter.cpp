#include "pcemu/adapter.h"

#include "pcemu/address_space.h"
#include "pcemu/layout.h"
#include "pcemu/memory_bus.h"
#include "pcemu/ports.h"
#include "vga/bochs_interface.h"
#include "vga/bochs_register_block.h"
#include "vga/dac.h"
#include "vga/display_timing.h"
#include "vga/pci_function.h"
#include "vga/scanout.h"
#include "vga/vga_memory.h"
#include "vga/vga_ports.h"
#include "vga/vga_state.h"

namespace pcemu {

struct Adapter::Parts {
    Parts(AddressSpace& space, std::shared_ptr<Clock> c, std::function<void()> windowChanged)
        : clock(std::move(c)), timing(*clock), bochs(space, dac, std::move(windowChanged)),
          registerBlock(bochs), memory(vga, bochs, space), ports(vga, dac, timing),
          pci(kLinearBufferBase, space.vramSize()) {}

    std::shared_ptr<Clock> clock;
    VgaState vga;
    Dac dac;
    DisplayTiming timing;
    BochsInterface bochs;
    BochsRegisterBlock registerBlock;
    VgaMemory memory;
    VgaPorts ports;
    PciFunction pci;
};

Adapter::Adapter(AddressSpace& space, MemoryBus& memory, PortBus& ports,
                 std::shared_ptr<Clock> clock)
    : space_(space),
      parts_(std::make_unique<Parts>(space, std::move(clock), [this] { syncWindow(); })) {
    memory.attachVga(&parts_->memory);
    ports.attach(VgaPorts::kFirst, VgaPorts::kLast, &parts_->ports);
    ports.attach(0x1CE, 0x1CF, &parts_->bochs);
    ports.attach(PciFunction::kFirst, PciFunction::kLast, &parts_->pci);
    memory.mapDevice(kRegisterBlock, kRegisterBlockSize, &parts_->registerBlock);
}

Adapter::~Adapter() = default;

// The window view follows the write bank while the Bochs interface is on,
// and shows the start of video memory otherwise.
void Adapter::syncWindow() {
    const BochsState& b = parts_->bochs.state();
    uint32_t offset = b.enabled() ? b.writeBank * b.bankBytes() : 0;
    uint32_t before = space_.windowOffset();
    if (space_.mapWindow(offset) && space_.windowOffset() != before) ++windowMoves_;
}

Image Adapter::scanout() const {
    Image image;
    scanout(image);
    return image;
}

void Adapter::scanout(Image& out) const {
    ScanoutSource source{parts_->vga, parts_->dac, parts_->bochs.state(), space_.vram(),
                         space_.vramSize()};
    RenderDisplay(source, out);
}

DisplayMode Adapter::displayMode() const {
    ScanoutSource source{parts_->vga, parts_->dac, parts_->bochs.state(), space_.vram(),
                         space_.vramSize()};
    return DescribeDisplay(source);
}

uint16_t Adapter::readBank() const {
    return parts_->bochs.state().readBank;
}
uint16_t Adapter::writeBank() const {
    return parts_->bochs.state().writeBank;
}
uint16_t Adapter::bochsRegister(BochsRegister index) const {
    return parts_->bochs.read(index);
}

void Adapter::setPciIds(uint16_t vendor, uint16_t device) {
    parts_->pci.setIds(vendor, device);
}
uint16_t Adapter::pciVendor() const {
    return parts_->pci.vendor();
}
uint16_t Adapter::pciDevice() const {
    return parts_->pci.device();
}

int Adapter::dacBits() const {
    return parts_->dac.wide() ? 8 : 6;
}
uint32_t Adapter::dacEntry(uint8_t index) const {
    return parts_->dac.raw(index);
}

} // namespace pcemu
