#include "vga/display_timing.h"

#include "pcemu/clock.h"

namespace pcemu {

uint8_t DisplayTiming::status() const {
    int64_t t = clock_.now().count() % kFrameNs;
    if (t < 0) t += kFrameNs;
    int line = static_cast<int>(t / kLineNs);
    int64_t inLine = t % kLineNs;
    bool horizontalBlank = inLine * 5 >= kLineNs * 4; // last fifth of every line
    uint8_t v = 0;
    if (line >= kVisibleLines || horizontalBlank) v |= 0x01;
    if (line >= kRetraceFirst && line < kRetraceEnd) v |= 0x08;
    return v;
}

} // namespace pcemu
