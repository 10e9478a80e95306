#include "pcemu/adapter.h"

#include "pcemu/address_space.h"
#include "pcemu/layout.h"
#include "pcemu/memory_bus.h"
#include "pcemu/ports.h"
#include "vga/accel_engine.h"
#include "vga/bochs_interface.h"
#include "vga/bochs_register_block.h"
#include "vga/dac.h"
#include "vga/display_timing.h"
#include "vga/pci_function.h"
#include "vga/scanout.h"
#include "vga/vga_memory.h"
#include "vga/vga_ports.h"
#include "vga/vga_state.h"
#include "vga/vram_view.h"

namespace pcemu {

struct Adapter::Parts {
    Parts(AddressSpace& space, MemoryBus& bus, std::shared_ptr<Clock> c,
          std::function<void()> windowChanged)
        : clock(std::move(c)), timing(*clock), bochs(space, dac, std::move(windowChanged)),
          registerBlock(bochs), memory(vga, bochs, space), ports(vga, dac, timing),
          pci(kLinearBufferBase, space.vramSize()), view(space), engine(space, bus, view) {}

    std::shared_ptr<Clock> clock;
    VgaState vga;
    Dac dac;
    DisplayTiming timing;
    BochsInterface bochs;
    BochsRegisterBlock registerBlock;
    VgaMemory memory;
    VgaPorts ports;
    PciFunction pci;
    VramView view;
    AccelEngine engine;
};

Adapter::Adapter(AddressSpace& space, MemoryBus& memory, PortBus& ports,
                 std::shared_ptr<Clock> clock)
    : space_(space),
      parts_(std::make_unique<Parts>(space, memory, std::move(clock), [this] { syncWindow(); })) {
    memory.attachVga(&parts_->memory);
    ports.attach(VgaPorts::kFirst, VgaPorts::kLast, &parts_->ports);
    ports.attach(0x1CE, 0x1CF, &parts_->bochs);
    ports.attach(PciFunction::kFirst, PciFunction::kLast, &parts_->pci);
    memory.mapDevice(kRegisterBlock, kRegisterBlockSize, &parts_->registerBlock);
    memory.mapDevice(kAccelRegisterBase, kAccelRegisterSize, &parts_->engine);
}

Adapter::~Adapter() = default;

// The window view follows the write bank while the Bochs interface is on,
// and shows the start of video memory otherwise.
void Adapter::syncWindow() {
    const BochsState& b = parts_->bochs.state();
    uint32_t offset = b.enabled() ? b.writeBank * b.bankBytes() : 0;
    uint32_t before = space_.windowOffset();
    if (space_.mapWindow(offset) && space_.windowOffset() != before) {
        ++windowMoves_;
        parts_->engine.windowRemapped();
    }
}

Image Adapter::scanout() const {
    Image image;
    scanout(image);
    return image;
}

// The scanout reads video memory through the adapter's own view, which stays
// open while the engine is busy; the hardware cursor goes over the picture.
void Adapter::scanout(Image& out) const {
    ScanoutSource source{parts_->vga, parts_->dac, parts_->bochs.state(), parts_->view.data(),
                         parts_->view.size()};
    RenderDisplay(source, out);
    parts_->engine.drawCursor(out);
}

DisplayMode Adapter::displayMode() const {
    ScanoutSource source{parts_->vga, parts_->dac, parts_->bochs.state(), parts_->view.data(),
                         parts_->view.size()};
    return DescribeDisplay(source);
}

Accelerator& Adapter::accelerator() {
    return parts_->engine;
}
const Accelerator& Adapter::accelerator() const {
    return parts_->engine;
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
