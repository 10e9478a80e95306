#pragma once
// Test support: a reference driver image loaded into an emulated PC the way a
// loader does it (guest memory, mapped areas, selectors, the two real-mode
// bridges), and its entries called with the registers of their conventions.
#include "driver_data.h"
#include "image.h"

#include <pcemu/machine.h>
#include <vidlib32/vbeaf.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <vector>

namespace mkvbeaf_test {

using pcemu::CpuRegs;

constexpr uint32_t kNone = 0xFFFFFFFF; // "-1" for SetVideoMode's bytes per line

class DriverRig : public ::testing::Test {
protected:
    // A PC with the model BIOS and a scripted clock (retrace waits end).
    void boot(uint32_t vramKB = 4096) {
        pcemu::MachineConfig config;
        config.bios = "vbe20";
        config.vramKB = vramKB;
        config.clock = std::make_shared<pcemu::ScriptedClock>();
        pcemu::MachineOrError made = pcemu::Machine::Create(config);
        ASSERT_TRUE(made) << made.error;
        pc = std::move(made.machine);
        scratch = pc->space().guestAllocLinear(64 * 1024).value_or(0);
        ASSERT_NE(scratch, 0u);
    }

    // Copies an image into guest memory and fills in what a loader fills in.
    // Guest linear addresses equal physical ones, so a mapping is the
    // physical address itself.
    void load(const mkvbeaf::ImageOptions& options = {}) {
        if (!pc) boot();
        image = mkvbeaf::BuildImage(options);
        base = pc->space().guestAllocLinear(image.size() + 16).value_or(0);
        ASSERT_NE(base, 0u);
        pc->memory().writeBlock(base, image.data(), image.size());
        AF_DriverHeader& h = header();
        for (int i = 0; i < 4; ++i)
            h.IOMemMaps[i] = h.IOMemoryBase[i];
        h.BankedMem = h.BankedBasePtr;
        h.LinearMem = h.LinearBasePtr;
        auto& gdt = pc->selectors();
        h.Sel0000h = gdt.create(0, 0xFFFFF).value_or(0);
        h.Sel0040h = gdt.create(0x400, 0xFFFF).value_or(0);
        h.SelA000h = gdt.create(0xA0000, 0xFFFF).value_or(0);
        h.SelB000h = gdt.create(0xB0000, 0xFFFF).value_or(0);
        h.SelC000h = gdt.create(0xC0000, 0xFFFF).value_or(0);
        h.Int86 = pc->cpu().addTrap32([this](CpuRegs& r) { bridge(r, true); });
        h.CallRealMode = pc->cpu().addTrap32([this](CpuRegs& r) { bridge(r, false); });
    }

    // InitDriver's result.
    uint32_t init() {
        CpuRegs r;
        r.ebx = base;
        pcemu::RunResult run = pc->call32(base + header().InitDriver, r);
        EXPECT_TRUE(run.ok()) << run.message;
        return r.eax;
    }

    void loadAndInit(const mkvbeaf::ImageOptions& options = {}) {
        load(options);
        ASSERT_EQ(init(), 0u);
    }

    // Calls the entry whose address the header holds at `field`; EAX after it.
    uint32_t call(uint32_t AF_DriverHeader::*field, CpuRegs& r) {
        uint32_t entry = header().*field;
        EXPECT_NE(entry, 0u) << "entry absent";
        r.ebx = base;
        pcemu::RunResult run = pc->call32(entry, r);
        EXPECT_TRUE(run.ok()) << run.message;
        EXPECT_EQ(r.ebx, base) << "EBX not kept";
        return r.eax;
    }
    uint32_t call(uint32_t AF_DriverHeader::*field) {
        CpuRegs r;
        return call(field, r);
    }
    // An entry taking a block of 32-bit values in ESI.
    uint32_t callBlock(uint32_t AF_DriverHeader::*field, std::vector<int32_t> block,
                       CpuRegs r = {}) {
        r.esi = put(block.data(), block.size() * 4);
        return call(field, r);
    }

    // Sets a mode; EAX (0 = set) and the bytes per line it gives.
    uint32_t setMode(uint32_t mode, uint32_t* pitch = nullptr, uint32_t bytesPerLine = kNone,
                     uint32_t buffers = 1, uint32_t width = 0, uint32_t height = 0) {
        CpuRegs r;
        r.eax = mode;
        r.ecx = bytesPerLine;
        r.edi = buffers;
        r.edx = width;
        r.esi = height;
        uint32_t result = call(&AF_DriverHeader::SetVideoMode, r);
        if (pitch) *pitch = r.ecx;
        return result;
    }

    // Copies bytes into the scratch area of guest memory; their address.
    uint32_t put(const void* data, size_t size, uint32_t at = 0) {
        EXPECT_LE(at + size, 64u * 1024);
        pc->memory().writeBlock(scratch + at, data, size);
        return scratch + at;
    }

    AF_DriverHeader& header() { return *reinterpret_cast<AF_DriverHeader*>(pc->hostPointer(base)); }
    mkvbeaf::DriverData& data() {
        return *reinterpret_cast<mkvbeaf::DriverData*>(pc->hostPointer(base) +
                                                       mkvbeaf::kDriverDataOffset);
    }
    // A byte of video memory, read as a bracketed caller would: after
    // WaitTillIdle.
    uint8_t vram(uint32_t offset) {
        call(&AF_DriverHeader::WaitTillIdle);
        return pc->space().vram()[offset];
    }
    uint16_t bochs(pcemu::BochsRegister r) { return pc->adapter().bochsRegister(r); }

    struct BridgeCall {
        bool interrupt;
        uint8_t number;
        uint16_t ax;
    };

    std::unique_ptr<pcemu::Machine> pc;
    std::vector<uint8_t> image;
    uint32_t base = 0;
    uint32_t scratch = 0;
    std::vector<BridgeCall> bridgeCalls;

private:
    // The loader's real-mode bridges: the structure at EDI, the interrupt in BL.
    void bridge(CpuRegs& r, bool interrupt) {
        AF_RMRegs rm;
        pc->memory().readBlock(r.edi, &rm, sizeof rm);
        bridgeCalls.push_back({interrupt, r.bl(), static_cast<uint16_t>(rm.eax)});
        CpuRegs real;
        real.eax = rm.eax & 0xFFFF;
        real.ebx = rm.ebx & 0xFFFF;
        real.ecx = rm.ecx & 0xFFFF;
        real.edx = rm.edx & 0xFFFF;
        real.esi = rm.esi & 0xFFFF;
        real.edi = rm.edi & 0xFFFF;
        real.es = rm.es;
        real.ds = rm.ds;
        pcemu::RunResult run =
            interrupt ? pc->int86(r.bl(), real) : pc->farCall(rm.cs, rm.ip, real);
        ASSERT_TRUE(run.ok()) << run.message;
        rm.eax = real.ax();
        rm.ebx = real.bx();
        rm.ecx = real.cx();
        rm.edx = real.dx();
        rm.esi = real.si();
        rm.edi = real.di();
        rm.es = real.es;
        rm.ds = real.ds;
        pc->memory().writeBlock(r.edi, &rm, sizeof rm);
    }
};

} // namespace mkvbeaf_test
