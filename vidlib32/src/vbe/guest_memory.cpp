#include "vbe/guest_memory.h"

#include "pcemu/machine.h"

namespace vidlib32 {

uint8_t* GuestAlloc(size_t size) {
    return static_cast<uint8_t*>(pcemu::TheMachine().space().guestAlloc(size));
}

void GuestFree(void* host) {
    if (host) pcemu::TheMachine().space().guestFree(host);
}

uint8_t* HostOf(uint32_t guest) {
    return pcemu::TheMachine().hostPointer(guest);
}

std::optional<uint32_t> GuestOf(const void* host) {
    return pcemu::TheMachine().linearOf(host);
}

} // namespace vidlib32
