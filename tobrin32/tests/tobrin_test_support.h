#pragma once
// Test support: the binding mode under test, the emulated PC that tobrin32
// runs on, companion call counts, and VBE mode switches.
#include "companion/binding.h"
#include "tobrin16/protocol.h"
#include "tobrin16/tobrin16.h"
#include "tobrin32/tobrin32.h"

#include "pcemu/machine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

namespace tobrin_test {

// ctest runs the services twice; PCEMU_WINVER=3 selects the universal thunk.
inline bool FlatThunk() {
    return companion_binding::FlatThunkWindows();
}

inline pcemu::Machine& Pc() {
    return pcemu::TheMachine();
}

// Host pointer of guest address L.
inline uint8_t* Host(uint32_t linear) {
    return Pc().hostPointer(linear);
}

// Counts the companion's calls of one service from construction on.
class CallCount {
public:
    explicit CallCount(uint32_t service)
        : service_(service), start_(Tobrin16_ServiceCalls(service)) {}
    uint64_t operator()() const { return Tobrin16_ServiceCalls(service_) - start_; }

private:
    uint32_t service_;
    uint64_t start_;
};

// Sets a VBE mode (or a VGA mode below 100h) through tobrin32; true on success.
inline bool SetMode(uint16_t mode) {
    RealRegs r = {};
    if (mode >= 0x100) {
        r.x.ax = 0x4F02;
        r.x.bx = mode;
        TB_int86(0x10, &r, &r);
        return r.x.ax == 0x004F;
    }
    r.x.ax = mode;
    TB_int86(0x10, &r, &r);
    return true;
}

// Text mode 3 again at the end of a test that changed the mode.
struct TextModeAfterwards {
    ~TextModeAfterwards() { SetMode(0x03); }
};

// Real-mode code in a block of conventional memory, freed afterwards.
class RealRoutine {
public:
    explicit RealRoutine(std::initializer_list<uint8_t> code) {
        auto* at = static_cast<uint8_t*>(TB_allocRealSeg(
            static_cast<uint32_t>(code.size()), &selector, &offset, &segment, &realOffset));
        if (at) std::memcpy(at, code.begin(), code.size());
    }
    ~RealRoutine() { TB_freeRealSeg(selector, offset); }
    RealRoutine(const RealRoutine&) = delete;
    RealRoutine& operator=(const RealRoutine&) = delete;

    uint32_t selector = 0, offset = 0, segment = 0, realOffset = 0;
};

} // namespace tobrin_test
