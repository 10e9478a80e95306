#pragma once
// Running a driver's entries in the emulated processor (32-bit protected
// mode, flat segments) and handing them data that lives in host memory.
#include "pcemu/cpu_regs.h"
#include "vidlib32/vbeaf.h"

#include <cstddef>
#include <cstdint>

namespace vidlib32::vbeaf {

// The result of a wrapper whose entry could not run.
constexpr int32_t kEntryFailed = -1;

using EntryField = uint32_t AF_DriverHeader::*;

// A signed argument as the register bits it becomes.
constexpr uint32_t Reg(int32_t value) {
    return static_cast<uint32_t>(value);
}

// Calls the entry whose guest address the header holds in `field`, with
// EBX = the header's guest address and the other registers from `regs`
// (written back). EAX after it; kEntryFailed when the handle does not lie in
// guest memory, the entry is absent or its run failed (a line on stderr says
// why).
int32_t CallEntry(AF_DriverHeader* driver, EntryField field, pcemu::CpuRegs& regs);
inline int32_t CallEntry(AF_DriverHeader* driver, EntryField field, pcemu::CpuRegs&& regs) {
    return CallEntry(driver, field, regs);
}
// The same for the entry at guest address `entry` of the driver whose header
// is at guest address `header`.
int32_t CallEntryAt(uint32_t header, uint32_t entry, pcemu::CpuRegs& regs);

// The guest address of a caller's data for one entry call: its own address
// when it already lies in guest memory, else a copy in the guest heap that is
// copied back (when `writtenBack`) and freed at the end of the scope. Null
// data of no bytes gives address 0; null data of some bytes, or a copy that
// does not fit the heap, gives !ok().
class GuestView {
public:
    GuestView(const void* data, size_t bytes, bool writtenBack = false);
    ~GuestView();
    GuestView(const GuestView&) = delete;
    GuestView& operator=(const GuestView&) = delete;

    bool ok() const { return ok_; }
    uint32_t address() const { return address_; }

private:
    void* data_;
    size_t bytes_;
    bool writtenBack_;
    uint8_t* copy_ = nullptr;
    uint32_t address_ = 0;
    bool ok_ = false;
};

// Writes 32-bit values into the wrappers' block area in guest memory (one
// area, reused by every call: entries do not call back into the library)
// and gives its address; 0 when the guest heap is full.
uint32_t PutBlock(const int32_t* values, size_t count);
template <size_t N> uint32_t PutBlock(const int32_t (&values)[N]) {
    return PutBlock(values, N);
}

} // namespace vidlib32::vbeaf
