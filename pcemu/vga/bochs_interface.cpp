#include "vga/bochs_interface.h"

#include "pcemu/address_space.h"
#include "vga/dac.h"

namespace pcemu {
namespace {

constexpr uint16_t kBankWriteOnly = 0x4000; // BANK bit 14: set the write bank only
constexpr uint16_t kBankReadOnly = 0x8000;  // BANK bit 15: set the read bank only

bool ValidBpp(uint16_t bpp) {
    return bpp == 4 || bpp == 8 || bpp == 15 || bpp == 16 || bpp == 24 || bpp == 32;
}

} // namespace

BochsInterface::BochsInterface(AddressSpace& space, Dac& dac, std::function<void()> windowChanged)
    : space_(space), dac_(dac), windowChanged_(std::move(windowChanged)) {}

uint32_t BochsInterface::in(uint16_t port, unsigned) {
    return port == 0x1CE ? index_ : read(index_);
}

void BochsInterface::out(uint16_t port, uint32_t value, unsigned) {
    if (port == 0x1CE)
        index_ = static_cast<uint16_t>(value);
    else
        write(index_, static_cast<uint16_t>(value));
}

bool BochsInterface::fits(uint16_t xres, uint16_t yres, uint16_t bpp, uint16_t virtWidth) const {
    if (xres == 0 || yres == 0 || xres > kMaxXRes || yres > kMaxYRes || !ValidBpp(bpp))
        return false;
    if (virtWidth < xres) return false;
    uint64_t bytes = bpp == 4 ? uint64_t{virtWidth} / 8 * 4 * yres
                              : uint64_t{virtWidth} * ((bpp + 7) / 8) * yres;
    return bytes <= space_.vramSize();
}

void BochsInterface::updateVirtualHeight() {
    uint32_t pitch = state_.pitch();
    uint32_t planes = state_.bpp == 4 ? 4 : 1;
    uint32_t lines = pitch ? space_.vramSize() / planes / pitch : 0;
    state_.virtHeight = static_cast<uint16_t>(lines > 0xFFFF ? 0xFFFF : lines);
}

uint16_t BochsInterface::read(uint16_t index) const {
    bool caps = (state_.enable & kBochsGetCaps) != 0;
    switch (index) {
    case kBochsId:
        return state_.id;
    case kBochsXRes:
        return caps ? kMaxXRes : state_.xres;
    case kBochsYRes:
        return caps ? kMaxYRes : state_.yres;
    case kBochsBpp:
        return caps ? kMaxBpp : state_.bpp;
    case kBochsEnable:
        return state_.enable;
    case kBochsBank:
        return state_.writeBank;
    case kBochsVirtWidth:
        return state_.virtWidth;
    case kBochsVirtHeight:
        return state_.virtHeight;
    case kBochsXOffset:
        return state_.xOffset;
    case kBochsYOffset:
        return state_.yOffset;
    case kBochsVideoMemory64K:
        return static_cast<uint16_t>(space_.vramSize() >> 16);
    case kBochsBankGranularity:
        return state_.bankGranularityKB;
    case kBochsReadBank:
        return state_.readBank;
    default:
        return 0;
    }
}

void BochsInterface::write(uint16_t index, uint16_t value) {
    switch (index) {
    case kBochsId:
        if (value >= 0xB0C0 && value <= 0xB0C5) state_.id = value;
        break;
    case kBochsXRes:
    case kBochsYRes:
    case kBochsBpp:
        if (state_.enabled()) break; // the mode is fixed while it is shown
        if (index == kBochsXRes) state_.xres = value;
        if (index == kBochsYRes) state_.yres = value;
        if (index == kBochsBpp) state_.bpp = value == 0 ? 8 : value;
        break;
    case kBochsEnable: {
        bool on = (value & kBochsEnabled) != 0;
        if (on && !state_.enabled()) {
            if (!fits(state_.xres, state_.yres, state_.bpp, state_.xres)) {
                value &= ~kBochsEnabled; // a mode that does not fit stays off
                on = false;
            } else {
                state_.virtWidth = state_.xres;
                state_.xOffset = state_.yOffset = 0;
                state_.readBank = state_.writeBank = 0;
                updateVirtualHeight();
                if (!(value & kBochsNoClear)) space_.clearVram();
            }
        }
        state_.enable = value;
        dac_.setWide(on && (value & kBochs8BitDac));
        windowChanged_();
        break;
    }
    case kBochsBank: {
        uint16_t bank = value & 0x3FFF;
        if (uint64_t{bank} * state_.bankBytes() + 0x10000 > space_.vramSize()) break;
        uint16_t which = value & (kBankWriteOnly | kBankReadOnly);
        if (which != kBankWriteOnly) state_.readBank = bank;
        if (which != kBankReadOnly) state_.writeBank = bank;
        windowChanged_();
        break;
    }
    case kBochsVirtWidth:
        if (!fits(state_.xres, state_.yres, state_.bpp, value)) break;
        state_.virtWidth = value;
        updateVirtualHeight();
        break;
    case kBochsVirtHeight:
        break; // follows from the memory size and the virtual width
    case kBochsXOffset:
        state_.xOffset = value;
        break;
    case kBochsYOffset:
        state_.yOffset = value;
        break;
    case kBochsBankGranularity:
        // A power of two from 4 to 64 KB; the banks go back to 0.
        if (value < 4 || value > 64 || (value & (value - 1)) != 0) break;
        state_.bankGranularityKB = value;
        state_.readBank = state_.writeBank = 0;
        windowChanged_();
        break;
    default:
        break;
    }
}

} // namespace pcemu
