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
#include <vector>

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

// A block the BIOS fills at ES:DI (function 4F00h or 4F01h), exactly as it
// reports it: no fix-ups, its own far pointers.
template <typename Block> Block RawBlock(uint16_t function, uint16_t cx) {
    Block block{};
    const auto segment = Pc().allocReal(sizeof block);
    EXPECT_TRUE(segment);
    uint8_t* at = Pc().hostPointer(uint32_t{*segment} * 16);
    std::memcpy(at, "VBE2", 4);
    pcemu::CpuRegs r;
    r.eax = function;
    r.ecx = cx;
    r.es = *segment;
    EXPECT_TRUE(Pc().int86(0x10, r).ok());
    std::memcpy(&block, at, sizeof block);
    Pc().freeReal(*segment);
    return block;
}
inline vidlib32::ModeInfoBlock RawModeInfo(uint16_t mode) {
    return RawBlock<vidlib32::ModeInfoBlock>(0x4F01, mode);
}
inline vidlib32::VbeInfoBlock RawInfoBlock() {
    return RawBlock<vidlib32::VbeInfoBlock>(0x4F00, 0);
}

// The flat address of a real-mode far pointer (offset low, segment high).
inline uint32_t RealLinear(uint32_t farPointer) {
    return (farPointer >> 16) * 16 + (farPointer & 0xFFFF);
}

// A zero-terminated string at a far pointer or at a flat guest address.
inline std::string RealString(uint32_t farPointer) {
    return reinterpret_cast<const char*>(Pc().hostPointer(RealLinear(farPointer)));
}
inline std::string FlatString(uint32_t guest) {
    return reinterpret_cast<const char*>(Pc().hostPointer(guest));
}

// Mode numbers up to the 0xFFFF terminator; the list may start at an odd
// address, so each number is copied out.
inline std::vector<uint16_t> Modes(const uint16_t* at) {
    std::vector<uint16_t> modes;
    for (uint16_t mode; std::memcpy(&mode, at, 2), mode != 0xFFFF && modes.size() < 200; ++at)
        modes.push_back(mode);
    return modes;
}

// Counts real moves of the adapter's window from construction on.
class WindowMoves {
public:
    uint64_t operator()() const { return Pc().adapter().windowMoves() - start_; }

private:
    uint64_t start_ = Pc().adapter().windowMoves();
};

} // namespace vidlib32_test
