// The Bochs display interface (index port 1CEh, data port 1CFh): SVGA
// resolution and depth, banks of the 64 KB window, virtual width and
// display start, and the size of video memory.
#pragma once

#include "pcemu/adapter.h"
#include "pcemu/ports.h"

#include <cstdint>
#include <functional>

namespace pcemu {

class AddressSpace;
class Dac;

struct BochsState {
    uint16_t id = 0xB0C5;
    uint16_t xres = 640, yres = 480, bpp = 8;
    uint16_t enable = 0;
    uint16_t readBank = 0, writeBank = 0;
    uint16_t virtWidth = 640, virtHeight = 480;
    uint16_t xOffset = 0, yOffset = 0;
    uint16_t bankGranularityKB = 64;

    bool enabled() const { return (enable & kBochsEnabled) != 0; }
    unsigned bytesPerPixel() const { return (bpp + 7u) / 8u; }
    // Video memory (planar addresses at 4 bpp) from one BANK unit to the next.
    uint32_t bankBytes() const { return uint32_t{bankGranularityKB} * 1024u; }
    // Bytes from one line to the next (4 bpp: addresses of one plane).
    uint32_t pitch() const {
        return bpp == 4 ? virtWidth / 8u : uint32_t{virtWidth} * bytesPerPixel();
    }
};

class BochsInterface final : public PortDevice {
public:
    static constexpr uint16_t kMaxXRes = 2560;
    static constexpr uint16_t kMaxYRes = 1600;
    static constexpr uint16_t kMaxBpp = 32;

    // windowChanged runs after every write that may move the window.
    BochsInterface(AddressSpace& space, Dac& dac, std::function<void()> windowChanged);

    uint32_t in(uint16_t port, unsigned size) override;
    void out(uint16_t port, uint32_t value, unsigned size) override;

    const BochsState& state() const { return state_; }
    uint16_t read(uint16_t index) const;
    void write(uint16_t index, uint16_t value);

private:
    bool fits(uint16_t xres, uint16_t yres, uint16_t bpp, uint16_t virtWidth) const;
    void updateVirtualHeight();

    AddressSpace& space_;
    Dac& dac_;
    std::function<void()> windowChanged_;
    BochsState state_;
    uint16_t index_ = 0;
};

} // namespace pcemu
