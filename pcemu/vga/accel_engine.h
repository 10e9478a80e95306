// The 2D engine behind the register block at kAccelRegisterBase: register
// file, command dispatch, the busy time after each command with the guard
// that catches touches of video memory in that time, and the hardware cursor.
#pragma once

#include "pcemu/accel.h"
#include "pcemu/image.h"
#include "pcemu/memory_bus.h"
#include "vga/accel_draw.h"
#include "vga/direct_access_guard.h"

#include <array>
#include <cstdint>
#include <vector>

namespace pcemu {

class AddressSpace;
class VramView;

class AccelEngine final : public MmioDevice, public Accelerator {
public:
    // Status reads the engine stays busy for: a base and one more per
    // kPixelsPerRead pixels drawn.
    static constexpr uint64_t kBaseBusyReads = 2;
    static constexpr uint64_t kPixelsPerRead = 1024;
    // Most scans one scan-list command reads.
    static constexpr uint32_t kMaxScans = 65536;

    AccelEngine(AddressSpace& space, MemoryBus& memory, const VramView& view);

    uint32_t read(uint32_t offset, unsigned size) override;
    void write(uint32_t offset, uint32_t value, unsigned size) override;

    bool busy() const override;
    bool directAccess() const override { return direct_; }
    uint64_t violations() const override { return guard_.violations(); }
    uint64_t commands() const override { return commands_; }

    // The window view moved to another bank.
    void windowRemapped() { guard_.windowRemapped(); }
    // Draws the cursor, when shown, over the picture of the screen.
    void drawCursor(Image& out) const;

private:
    uint32_t readWord(uint32_t reg);
    void writeWord(uint32_t reg, uint32_t value);
    uint32_t reg(uint32_t offset) const { return regs_[offset / 4]; }
    int32_t param(unsigned i) const { return static_cast<int32_t>(regs_[kAccelParam0 / 4 + i]); }
    // Drops the busy time when a touch of video memory ended it.
    void settle();
    void setDirectAccess(bool on);
    void run(uint32_t command);
    uint64_t execute(uint32_t command);
    uint64_t scanList();
    DrawTarget target() const;
    Pen pen() const;

    MemoryBus& memory_;
    const VramView& view_;
    DirectAccessGuard guard_;
    std::array<uint32_t, kAccelRegisterSize / 4> regs_{};
    uint64_t busyReads_ = 0;
    bool closedByUs_ = false;
    bool direct_ = false;
    uint64_t commands_ = 0;
    std::vector<uint64_t> scratch_;
};

} // namespace pcemu
