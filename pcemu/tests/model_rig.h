#pragma once
// Test support for the model BIOS: a real-mode buffer for VBE records,
// little-endian field reads at the standard's byte offsets, far pointers.
#include "machine_rig.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace pcemu_test {

// What each model BIOS personality with VBE promises.
struct PersonalityCase {
    const char* bios;
    uint16_t version;
    bool vendorName;
    uint16_t granularity; // KB
    bool dual;
    bool linear;
    bool pmTable;
    bool wideDac;
    uint32_t vramKB;
};

inline const PersonalityCase kVbePersonalities[] = {
    {"vbe20", 0x0200, true, 64, false, true, true, true, 4096},
    {"vbe12", 0x0102, false, 64, false, false, false, false, 1024},
    {"vbe20-novendor", 0x0200, false, 64, false, true, true, true, 4096},
    {"gran4k", 0x0200, true, 4, false, true, true, true, 4096},
    {"dualwin", 0x0200, true, 64, true, true, true, true, 4096},
    {"pmio", 0x0200, true, 64, false, true, true, true, 4096},
    {"fbadfbad", 0x0200, true, 64, false, true, true, true, 4096},
    {"dualwin-nopm", 0x0200, true, 64, true, true, false, true, 4096},
};

inline std::string PersonalityName(const ::testing::TestParamInfo<PersonalityCase>& info) {
    std::string name = info.param.bios;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

inline uint32_t FarToLinear(uint32_t farPointer) {
    return ((farPointer >> 16) << 4) + (farPointer & 0xFFFF);
}

// A model BIOS machine with a 1 KB real-mode buffer for VBE records.
class ModelPc {
public:
    explicit ModelPc(const std::string& bios, uint32_t vramKB = 0,
                     std::shared_ptr<pcemu::Clock> clock = nullptr)
        : pc(NewMachine(bios, std::move(clock), vramKB)) {
        if (!pc) return;
        auto seg = pc->allocReal(kBufferSize);
        EXPECT_TRUE(seg);
        buffer = seg.value_or(0);
    }
    explicit operator bool() const { return pc != nullptr; }
    pcemu::Machine* operator->() { return pc.get(); }

    uint8_t* buf() { return pc->hostPointer(uint32_t{buffer} << 4); }
    uint8_t u8(size_t at) { return buf()[at]; }
    uint16_t u16(size_t at) { return static_cast<uint16_t>(buf()[at] | (buf()[at + 1] << 8)); }
    uint32_t u32(size_t at) { return u16(at) | (uint32_t{u16(at + 2)} << 16); }
    void fill(uint8_t v) { std::memset(buf(), v, kBufferSize); }

    // INT 10h with ES:DI at the buffer.
    pcemu::CpuRegs vbe(uint16_t ax, uint16_t bx = 0, uint16_t cx = 0, uint16_t dx = 0) {
        pcemu::CpuRegs r;
        r.eax = ax;
        r.ebx = bx;
        r.ecx = cx;
        r.edx = dx;
        r.es = buffer;
        pcemu::RunResult run = pc->int86(0x10, r);
        EXPECT_TRUE(run.ok()) << run.message;
        return r;
    }
    // 4F01h into the buffer; false when the BIOS refuses the mode.
    bool modeInfo(uint16_t mode) {
        fill(0xEE);
        return vbe(0x4F01, 0, mode).ax() == 0x004F;
    }
    bool setMode(uint16_t bx) { return vbe(0x4F02, bx).ax() == 0x004F; }

    // A zero-terminated string behind a real-mode far pointer.
    std::string farString(uint32_t farPointer) {
        std::string s;
        for (uint32_t at = FarToLinear(farPointer); s.size() < 256; ++at) {
            uint8_t c = pc->memory().read8(at);
            if (c == 0) break;
            s.push_back(static_cast<char>(c));
        }
        return s;
    }
    // The mode list behind VideoModePtr of the info block in the buffer.
    std::vector<uint16_t> modeList() {
        std::vector<uint16_t> modes;
        for (uint32_t at = FarToLinear(u32(0x0E)); modes.size() < 200; at += 2) {
            uint16_t m = pc->memory().read16(at);
            if (m == 0xFFFF) break;
            modes.push_back(m);
        }
        return modes;
    }

    static constexpr uint32_t kBufferSize = 1024;
    std::unique_ptr<pcemu::Machine> pc;
    uint16_t buffer = 0;
};

} // namespace pcemu_test
