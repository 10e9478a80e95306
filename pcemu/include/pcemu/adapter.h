// The emulated SVGA adapter: VGA register set and memory model, DAC, retrace,
// the Bochs display interface (ports 1CEh/1CFh), its PCI function, scanout.
#pragma once

#include "pcemu/accel.h"
#include "pcemu/image.h"

#include <cstdint>
#include <memory>

namespace pcemu {

class AddressSpace;
class MemoryBus;
class PortBus;
class Clock;

// What the adapter is showing, as the scanout reads it.
struct DisplayMode {
    enum class Kind { Text, Planar4, Vga256, Svga };
    Kind kind = Kind::Text;
    int width = 0;  // pixels (text: cells x character width)
    int height = 0; // pixels (text: rows x character height)
    int bitsPerPixel = 0;
    uint32_t start = 0; // first displayed byte (planar/text: planar address)
    uint32_t pitch = 0; // bytes (planar/text: planar addresses) from line to line
};

// Registers of the Bochs display interface (index port 1CEh, data 1CFh).
enum BochsRegister : uint16_t {
    kBochsId = 0,
    kBochsXRes = 1,
    kBochsYRes = 2,
    kBochsBpp = 3,
    kBochsEnable = 4,
    kBochsBank = 5,
    kBochsVirtWidth = 6,
    kBochsVirtHeight = 7,
    kBochsXOffset = 8,
    kBochsYOffset = 9,
    kBochsVideoMemory64K = 10,
    // pcemu's own registers: the size of one BANK unit in KB (4, 8, 16, 32 or
    // 64; 64 after reset), and the read bank, read-only.
    kBochsBankGranularity = 0x10,
    kBochsReadBank = 0x11,
};
enum BochsEnableBits : uint16_t {
    kBochsEnabled = 0x01,
    kBochsGetCaps = 0x02,
    kBochs8BitDac = 0x20,
    kBochsLinear = 0x40,
    kBochsNoClear = 0x80,
};

class Adapter {
public:
    // The virtual monitor: 449 lines at 31.5 kHz.
    static constexpr double kRefreshHz = 31500.0 / 449.0;
    static constexpr uint32_t kPciAddress = 0x0010; // bus 0, device 2, function 0
    // The Bochs registers mirrored in memory: register i as the 16-bit word
    // at kRegisterBlock + 2i.
    static constexpr uint32_t kRegisterBlock = 0xF0100000;
    static constexpr uint32_t kRegisterBlockSize = 0x100;

    Adapter(AddressSpace& space, MemoryBus& memory, PortBus& ports, std::shared_ptr<Clock> clock);
    ~Adapter();
    Adapter(const Adapter&) = delete;
    Adapter& operator=(const Adapter&) = delete;

    // The picture the monitor shows now.
    Image scanout() const;
    void scanout(Image& out) const; // reuses out's storage
    DisplayMode displayMode() const;

    // How many times the window view really moved to another bank.
    uint64_t windowMoves() const { return windowMoves_; }
    // Banks (64 KB units) the window reads from and writes to.
    uint16_t readBank() const;
    uint16_t writeBank() const;
    // A register of the Bochs display interface, as the hardware holds it.
    uint16_t bochsRegister(BochsRegister index) const;

    // The PCI function presents this vendor and device (from the ROM in use).
    void setPciIds(uint16_t vendor, uint16_t device);
    uint16_t pciVendor() const;
    uint16_t pciDevice() const;

    // 6 or 8 bits per primary; a DAC entry as stored (r, g, b).
    int dacBits() const;
    uint32_t dacEntry(uint8_t index) const; // 0x00RRGGBB of the raw values

    // The 2D engine (registers at kAccelRegisterBase).
    Accelerator& accelerator();
    const Accelerator& accelerator() const;

    struct Parts;

private:
    void syncWindow();

    AddressSpace& space_;
    std::unique_ptr<Parts> parts_;
    uint64_t windowMoves_ = 0;
};

} // namespace pcemu
