#include "vbeaf/entry_call.h"

#include "pcemu/machine.h"
#include "vbe/guest_memory.h"

#include <cstdio>
#include <cstring>

namespace vidlib32::vbeaf {
namespace {

// The largest block a wrapper builds: the transparent blits' 8 values.
constexpr size_t kBlockAreaValues = 8;

uint8_t* BlockArea() {
    static uint8_t* area = GuestAlloc(kBlockAreaValues * 4);
    return area;
}

} // namespace

int32_t CallEntry(AF_DriverHeader* driver, EntryField field, pcemu::CpuRegs& regs) {
    const std::optional<uint32_t> header = driver ? GuestOf(driver) : std::nullopt;
    if (!header) return kEntryFailed;
    return CallEntryAt(*header, driver->*field, regs);
}

int32_t CallEntryAt(uint32_t header, uint32_t entry, pcemu::CpuRegs& regs) {
    if (entry == 0) return kEntryFailed;
    regs.ebx = header;
    const pcemu::RunResult run = pcemu::TheMachine().call32(entry, regs);
    if (!run.ok()) {
        std::fprintf(stderr, "vidlib32: the VBE/AF driver's entry at %08X failed: %s\n", entry,
                     run.message.c_str());
        return kEntryFailed;
    }
    return static_cast<int32_t>(regs.eax);
}

GuestView::GuestView(const void* data, size_t bytes, bool writtenBack)
    : data_(const_cast<void*>(data)), bytes_(bytes), writtenBack_(writtenBack) {
    if (!data) {
        ok_ = bytes == 0;
        return;
    }
    if (const std::optional<uint32_t> guest = GuestOf(data)) {
        address_ = *guest;
        ok_ = true;
        return;
    }
    copy_ = GuestAlloc(bytes == 0 ? 1 : bytes);
    if (!copy_) return;
    std::memcpy(copy_, data, bytes);
    address_ = GuestOf(copy_).value_or(0);
    ok_ = address_ != 0;
}

GuestView::~GuestView() {
    if (!copy_) return;
    if (writtenBack_) std::memcpy(data_, copy_, bytes_);
    GuestFree(copy_);
}

uint32_t PutBlock(const int32_t* values, size_t count) {
    uint8_t* area = count <= kBlockAreaValues ? BlockArea() : nullptr;
    if (!area) return 0;
    std::memcpy(area, values, count * 4);
    return GuestOf(area).value_or(0);
}

} // namespace vidlib32::vbeaf
