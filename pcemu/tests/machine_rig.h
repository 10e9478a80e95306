#pragma once
// Test support: machines of a given BIOS, register helpers, code placement.
#include "pcemu/machine.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

namespace pcemu_test {

inline std::unique_ptr<pcemu::Machine> NewMachine(const std::string& bios,
                                                  std::shared_ptr<pcemu::Clock> clock = nullptr,
                                                  uint32_t vramKB = 0) {
    pcemu::MachineConfig config;
    config.bios = bios;
    config.clock = std::move(clock);
    config.vramKB = vramKB;
    pcemu::MachineOrError made = pcemu::Machine::Create(config);
    EXPECT_TRUE(made) << made.error;
    return std::move(made.machine);
}

// Writes bytes at a guest address through the memory bus.
inline void Poke(pcemu::Machine& pc, uint32_t linear, std::initializer_list<uint8_t> bytes) {
    for (uint8_t b : bytes)
        pc.memory().write8(linear++, b);
}

inline void Seq(pcemu::Machine& pc, uint8_t index, uint8_t value) {
    pc.ports().out8(0x3C4, index);
    pc.ports().out8(0x3C5, value);
}

inline void Gc(pcemu::Machine& pc, uint8_t index, uint8_t value) {
    pc.ports().out8(0x3CE, index);
    pc.ports().out8(0x3CF, value);
}

inline void Crtc(pcemu::Machine& pc, uint8_t index, uint8_t value) {
    pc.ports().out8(0x3D4, index);
    pc.ports().out8(0x3D5, value);
}

inline void Bochs(pcemu::Machine& pc, uint16_t index, uint16_t value) {
    pc.ports().out16(0x1CE, index);
    pc.ports().out16(0x1CF, value);
}

// A 6-bit DAC entry.
inline void SetDac(pcemu::Machine& pc, uint8_t index, uint8_t r, uint8_t g, uint8_t b) {
    pc.ports().out8(0x3C8, index);
    pc.ports().out8(0x3C9, r);
    pc.ports().out8(0x3C9, g);
    pc.ports().out8(0x3C9, b);
}

inline uint32_t Widen6(uint8_t r, uint8_t g, uint8_t b) {
    auto w = [](uint32_t v) { return (v << 2) | (v >> 4); };
    return (w(r) << 16) | (w(g) << 8) | w(b);
}

// INT 10h with AX (and BX) set; the registers after the call.
inline pcemu::CpuRegs Int10(pcemu::Machine& pc, uint16_t ax, uint16_t bx = 0) {
    pcemu::CpuRegs r;
    r.eax = ax;
    r.ebx = bx;
    pcemu::RunResult run = pc.int86(0x10, r);
    EXPECT_TRUE(run.ok()) << run.message;
    return r;
}

} // namespace pcemu_test
