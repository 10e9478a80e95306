// Selectors, physical mappings, the virtual linear buffer, banks, display
// start and memory sizes, through the companion's services 3-18.
#include "far_memory.h"
#include "service_call.h"
#include "tobrin16/protocol.h"
#include "tobrin32/tobrin32.h"

using namespace tobrin32;
using Arg = ServiceArg;

namespace {

// The first megabyte is addressable as it is; above it, only what the
// companion maps.
constexpr uint32_t kDirectlyAddressableEnd = 0x100000;

uint32_t DataSegmentBase() {
    return CallService(tobrin16::kSelectorBase, {Arg::Value(CurrentDataSelector())});
}

// A data segment that does not start at 0 must reach the whole space for a
// near pointer to reach the mapping.
bool ExtendDataSegment(uint32_t dataBase) {
    return dataBase == 0 ||
           CallService(tobrin16::kSetSelectorLimit,
                       {Arg::Value(CurrentDataSelector()), Arg::Value(0xFFFFFFFFu)}) != 0;
}

} // namespace

extern "C" {

uint32_t TB_createSelector(uint32_t base, uint32_t limit) {
    return CallService(tobrin16::kCreateSelector, {Arg::Value(base), Arg::Value(limit)});
}

void TB_freeSelector(uint32_t selector) {
    CallService(tobrin16::kFreeSelector, {Arg::Value(selector)});
}

void* TB_mapPhysicalAddr(uint32_t physicalBase, uint32_t limit) {
    const uint32_t dataBase = DataSegmentBase();
    uint32_t linear = physicalBase;
    if (physicalBase > kDirectlyAddressableEnd) {
        linear = CallService(tobrin16::kMapPhysical, {Arg::Value(physicalBase), Arg::Value(limit)});
        if (linear == 0) return nullptr;
    }
    if (!ExtendDataSegment(dataBase)) return nullptr;
    return NearPointer(linear, dataBase);
}

int VF_available(void) {
    return static_cast<int>(CallService(tobrin16::kVirtualBufferAvailable, {}));
}

void* VF_init(uint32_t bankWindowBase, uint32_t bankSize, uint32_t codeLength, const void* code) {
    if (FlatThunkMode() && codeLength > tobrin16::block::kCodeCapacity) return nullptr;
    if (!code || codeLength > tobrin16::kMaxFragmentBytes) return nullptr;
    const uint32_t linear = CallService(tobrin16::kVirtualBufferStart,
                                        {Arg::Value(bankWindowBase), Arg::Value(bankSize),
                                         Arg::Value(codeLength), Arg::In(code, codeLength)});
    if (linear == 0) return nullptr;
    const uint32_t dataBase = DataSegmentBase();
    if (!ExtendDataSegment(dataBase)) return nullptr;
    return NearPointer(linear, dataBase);
}

void VF_exit(void) {
    CallService(tobrin16::kVirtualBufferStop, {});
}

void TB_setBankA(int bank) {
    CallService(tobrin16::kSetBankA, {Arg::Value(static_cast<uint32_t>(bank))});
}

void TB_setBankAB(int bank) {
    CallService(tobrin16::kSetBankAB, {Arg::Value(static_cast<uint32_t>(bank))});
}

void TB_setCRTStart(int x, int y) {
    CallService(tobrin16::kSetDisplayStart,
                {Arg::Value(static_cast<uint32_t>(x)), Arg::Value(static_cast<uint32_t>(y))});
}

void TB_availableMemory(uint32_t* physical, uint32_t* total) {
    if (physical) *physical = 0;
    if (total) *total = 0;
    CallService(tobrin16::kAvailableMemory, {Arg::InOut(physical, 4), Arg::InOut(total, 4)});
}
}
