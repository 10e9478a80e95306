#pragma once
// Test support: a reference driver image loaded into an emulated PC the way a
// loader does it (DriverHost), and its entries called with the registers of
// their conventions.
#include "driver_host.h"
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

    // Loads an image as a loader does (see DriverHost).
    void load(const mkvbeaf::ImageOptions& options = {}) {
        if (!pc) boot();
        image = mkvbeaf::BuildImage(options);
        host = std::make_unique<mkvbeaf::DriverHost>(*pc);
        ASSERT_TRUE(host->load(image));
        base = host->base();
    }

    // InitDriver's result.
    uint32_t init() {
        uint32_t result = host->init();
        EXPECT_TRUE(host->lastRun().ok()) << host->lastRun().message;
        return result;
    }

    void loadAndInit(const mkvbeaf::ImageOptions& options = {}) {
        load(options);
        ASSERT_EQ(init(), 0u);
    }

    // Calls the entry whose address the header holds at `field`; EAX after it.
    uint32_t call(uint32_t AF_DriverHeader::*field, CpuRegs& r) {
        EXPECT_NE(header().*field, 0u) << "entry absent";
        uint32_t result = host->call(field, r);
        EXPECT_TRUE(host->lastRun().ok()) << host->lastRun().message;
        EXPECT_EQ(r.ebx, base) << "EBX not kept";
        return result;
    }
    uint32_t call(uint32_t AF_DriverHeader::*field, CpuRegs&& r) { return call(field, r); }
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

    AF_DriverHeader& header() { return host->header(); }
    // A byte of video memory, read as a bracketed caller would: after
    // WaitTillIdle.
    uint8_t vram(uint32_t offset) {
        call(&AF_DriverHeader::WaitTillIdle);
        return pc->space().vram()[offset];
    }
    uint16_t bochs(pcemu::BochsRegister r) { return pc->adapter().bochsRegister(r); }

    std::unique_ptr<pcemu::Machine> pc;
    std::unique_ptr<mkvbeaf::DriverHost> host;
    std::vector<uint8_t> image;
    uint32_t base = 0;
    uint32_t scratch = 0;
};

} // namespace mkvbeaf_test
