#pragma once
// Test support: suites named after the BIOS they are meant for, the
// emulated PC, and the BIOS's own answers read without the library.
#include "tobrin32/tobrin32.h"
#include "vbe/records.h"
#include "vidlib32/vidlib32.h"

#include "pcemu/machine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>

namespace vidlib32_test {

inline pcemu::Machine& Pc() {
    return pcemu::TheMachine();
}

inline uint8_t* Vram() {
    return Pc().space().vram();
}

// A suite whose name begins with `Tag` runs on `bios` (CMake passes the
// BIOS to each run); under any other BIOS its tests skip.
class BiosSuite : public ::testing::Test {
protected:
    virtual std::string_view bios() const = 0;
    void SetUp() override {
        if (Pc().config().bios != bios())
            GTEST_SKIP() << "meant for " << bios() << ", not " << Pc().config().bios;
    }
    void TearDown() override { SV_restoreMode(); }
};

#define VIDLIB32_SUITE(Suite, biosName)                                                            \
    class Suite : public vidlib32_test::BiosSuite {                                                \
    protected:                                                                                     \
        std::string_view bios() const override { return biosName; }                                \
    }

// The BIOS's mode information exactly as it reports it (no fix-ups).
inline vidlib32::ModeInfoBlock RawModeInfo(uint16_t mode) {
    vidlib32::ModeInfoBlock info{};
    const auto segment = Pc().allocReal(sizeof info);
    EXPECT_TRUE(segment);
    pcemu::CpuRegs r;
    r.eax = 0x4F01;
    r.ecx = mode;
    r.es = *segment;
    r.edi = 0;
    EXPECT_TRUE(Pc().int86(0x10, r).ok());
    std::memcpy(&info, Pc().hostPointer(uint32_t{*segment} * 16), sizeof info);
    Pc().freeReal(*segment);
    return info;
}

// A zero-terminated string at a real-mode far pointer (offset low, segment
// high) or at a flat guest address.
inline std::string RealString(uint32_t farPointer) {
    return reinterpret_cast<const char*>(
        Pc().hostPointer((farPointer >> 16) * 16 + (farPointer & 0xFFFF)));
}
inline std::string FlatString(uint32_t guest) {
    return reinterpret_cast<const char*>(Pc().hostPointer(guest));
}

// The BIOS's controller information, with its own far pointers.
inline vidlib32::VbeInfoBlock RawInfoBlock() {
    vidlib32::VbeInfoBlock info{};
    const auto segment = Pc().allocReal(sizeof info);
    EXPECT_TRUE(segment);
    std::memcpy(Pc().hostPointer(uint32_t{*segment} * 16), "VBE2", 4);
    pcemu::CpuRegs r;
    r.eax = 0x4F00;
    r.es = *segment;
    EXPECT_TRUE(Pc().int86(0x10, r).ok());
    std::memcpy(&info, Pc().hostPointer(uint32_t{*segment} * 16), sizeof info);
    Pc().freeReal(*segment);
    return info;
}

// Counts real moves of the adapter's window from construction on.
class WindowMoves {
public:
    uint64_t operator()() const { return Pc().adapter().windowMoves() - start_; }

private:
    uint64_t start_ = Pc().adapter().windowMoves();
};

} // namespace vidlib32_test
