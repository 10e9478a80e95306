#include "banking/retrace.h"

#include "pcemu/machine.h"
#include "pcemu/vga_ports.h"

#include <cstdint>

namespace vidlib32 {
namespace {

using pcemu::vga::kDisplayDisabled;
using pcemu::vga::kInputStatus;
using pcemu::vga::kVerticalRetrace;
// A frame lasts about 14 ms; an adapter whose status never changes must not
// hold the caller for ever.
constexpr uint32_t kMaxPolls = 50'000'000;

template <typename Done> void Poll(Done done) {
    pcemu::PortBus& ports = pcemu::TheMachine().ports();
    for (uint32_t i = 0; i < kMaxPolls && !done(ports.in8(kInputStatus)); ++i) {
    }
}

} // namespace

void WaitForDisplayEnable() {
    Poll([](uint8_t status) { return (status & kDisplayDisabled) == 0; });
}

void WaitForVerticalRetrace() {
    Poll([](uint8_t status) { return (status & kVerticalRetrace) != 0; });
}

} // namespace vidlib32
