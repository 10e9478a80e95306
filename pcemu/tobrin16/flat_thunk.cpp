// The flat-thunk entry: arguments and results pass through SharedBlock, a
// block of conventional memory that service 1000 starts and 1001 releases.
#include "services.h"
#include "tobrin16/protocol.h"
#include "tobrin16/tobrin16.h"

#include "pcemu/machine.h"

namespace {

uint16_t sharedBlockSegment = 0;

uint32_t StartSharedBlock() {
    if (sharedBlockSegment == 0)
        sharedBlockSegment = pcemu::TheMachine().allocReal(tobrin16::block::kSize).value_or(0);
    return sharedBlockSegment;
}

void ReleaseSharedBlock() {
    if (sharedBlockSegment != 0) pcemu::TheMachine().freeReal(sharedBlockSegment);
    sharedBlockSegment = 0;
}

// Reads the arguments of `service` from their places in the block.
uint32_t RunFromBlock(uint32_t service, uint32_t block) {
    using namespace tobrin16;
    const ServiceShape* shape = ShapeOf(service);
    if (!shape) return 0;
    pcemu::MemoryBus& memory = pcemu::TheMachine().memory();
    Call call;
    for (uint8_t i = 0; i < shape->count; ++i) {
        const uint32_t at = block + shape->args[i].blockOffset;
        call.record[i] = shape->args[i].kind == ArgKind::Record;
        call.value[i] = call.record[i] ? at : memory.read32(at);
    }
    // The block holds only so many code bytes.
    if (service == kVirtualBufferStart && call.value[2] > block::kCodeCapacity) return 0;
    return RunService(service, call);
}

} // namespace

extern "C" uint32_t FLATTHUNK(uint32_t service) {
    using namespace tobrin16;
    CountCall(service);
    if (service == kStartSharedBlock) return StartSharedBlock();
    if (service == kReleaseSharedBlock) {
        ReleaseSharedBlock();
        return 0;
    }
    if (sharedBlockSegment == 0) return 0;
    const uint32_t block = uint32_t{sharedBlockSegment} << 4;
    const uint32_t result = RunFromBlock(service, block);
    pcemu::TheMachine().memory().write32(block + block::kResult, result);
    return result;
}

extern "C" uint32_t Tobrin16_SharedBlockSegment(void) {
    return sharedBlockSegment;
}
