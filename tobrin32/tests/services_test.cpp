// Real-mode interrupts and calls, real-mode memory, physical mappings,
// banks and display start: the services the companion runs.
#include "tobrin_test_support.h"

#include <cstring>

namespace {

using namespace tobrin_test;

TEST(RealMode, InterruptsReturnAxAndTheCarryFlag) {
    RealRegs r = {};
    r.h.ah = 0x0F; // video BIOS: current mode
    RealRegs out = {};
    EXPECT_EQ(TB_int86(0x10, &r, &out), out.x.ax);
    EXPECT_EQ(out.h.al, 3);
    EXPECT_EQ(out.h.ah, 80) << "columns";
    EXPECT_EQ(out.x.cflag, 0);

    r = {};
    r.h.ah = 0x99; // unknown DOS function
    EXPECT_EQ(TB_int86(0x21, &r, &r), 1);
    EXPECT_EQ(r.x.cflag, 1) << "carry after the call";
    EXPECT_EQ(r.x.flags & 1, 1);
}

TEST(RealMode, VectorsGoThroughDosServices) {
    uint32_t saved = 0;
    const uint32_t original = _TB_getRMvect(0x60, &saved);
    EXPECT_EQ(saved, original);
    EXPECT_EQ(original, Pc().memory().read32(0x60 * 4));

    _TB_setRMvect(0x60, 0x12345678);
    EXPECT_EQ(Pc().memory().read16(0x180), 0x5678) << "offset";
    EXPECT_EQ(Pc().memory().read16(0x182), 0x1234) << "segment";
    uint32_t vector = 0;
    EXPECT_EQ(_TB_getRMvect(0x60, &vector), 0x12345678u);
    EXPECT_EQ(vector, 0x12345678u);
    _TB_setRMvect(0x60, original);
    EXPECT_EQ(Pc().memory().read32(0x180), original);
}

TEST(RealMode, FarCallsCarryRegistersAndSegmentsBothWays) {
    // mov ax, es; mov bx, 1234h; mov es, cx; mov dx, ds; retf
    const RealRoutine routine({0x8C, 0xC0, 0xBB, 0x34, 0x12, 0x8E, 0xC1, 0x8C, 0xDA, 0xCB});
    ASSERT_NE(routine.segment, 0u);
    RealRegs regs = {};
    regs.x.cx = 0x5555;
    RealSegs segs = {};
    segs.es = 0x4321;
    segs.ds = 0x2468;
    TB_callRealMode(routine.segment, routine.realOffset, &regs, &segs);
    EXPECT_EQ(regs.x.ax, 0x4321) << "ES went in";
    EXPECT_EQ(regs.x.bx, 0x1234);
    EXPECT_EQ(regs.x.dx, 0x2468) << "DS went in";
    EXPECT_EQ(segs.es, 0x5555) << "ES came back";
    EXPECT_EQ(segs.ds, 0x2468);
}

TEST(RealModeMemory, BlocksAreDescribedFourWaysAndFreedBySelector) {
    uint32_t physical = 0, total = 0;
    TB_availableMemory(&physical, &total);
    EXPECT_EQ(physical, Pc().realMemoryFree());
    EXPECT_EQ(total, pcemu::kGuestHeapEnd);

    uint32_t selector = 0, offset = 7, segment = 0, realOffset = 7;
    void* block = TB_allocRealSeg(1000, &selector, &offset, &segment, &realOffset);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(offset, 0u);
    EXPECT_EQ(realOffset, 0u);
    EXPECT_GT(segment, 0u);
    EXPECT_LT(segment * 16 + 1000, pcemu::kConventionalEnd);
    EXPECT_EQ(block, Host(segment * 16));
    EXPECT_EQ(Pc().selectors().base(static_cast<uint16_t>(selector)).value_or(0), segment * 16);
    static_cast<uint8_t*>(block)[999] = 0x42;
    EXPECT_EQ(TB_getByte(selector, 999), 0x42);

    uint32_t physicalAfter = 0;
    TB_availableMemory(&physicalAfter, &total);
    EXPECT_EQ(physicalAfter, physical - 1008) << "paragraph-rounded";
    TB_freeRealSeg(selector, offset);
    TB_availableMemory(&physicalAfter, &total);
    EXPECT_EQ(physicalAfter, physical);
    EXPECT_FALSE(Pc().selectors().isValid(static_cast<uint16_t>(selector)));
}

TEST(RealModeMemory, AFailedAllocationGivesNilAndZeroOutputs) {
    for (uint32_t size : {0u, 0x100000u}) {
        uint32_t out[4] = {9, 9, 9, 9};
        EXPECT_EQ(TB_allocRealSeg(size, &out[0], &out[1], &out[2], &out[3]), nullptr) << size;
        for (uint32_t v : out)
            EXPECT_EQ(v, 0u) << size;
    }
}

TEST(PhysicalMappings, OnlyAddressesAboveOneMegabyteAskTheCompanion) {
    struct Case {
        uint32_t base, limit;
        bool mapped;    // a pointer comes back
        bool asksToMap; // service 8 runs
    };
    const uint32_t vram = Pc().space().vramSize();
    const Case cases[] = {
        {0xA0000, 0xFFFF, true, false},     {0x100000, 0xFFFF, true, false},
        {0x100001, 0xFF, true, true},       // RAM above 1 MB
        {0xE0000000, vram - 1, true, true}, // the linear frame buffer
        {0xE0000000, vram, false, true},    // one byte too many
        {0x80000000, 0xFFFF, false, true},  // nothing there
        {0xFFFFFF00, 0x1000, false, true},  // wraps around
    };
    for (const Case& c : cases) {
        CallCount maps(tobrin16::kMapPhysical);
        CallCount bases(tobrin16::kSelectorBase);
        void* p = TB_mapPhysicalAddr(c.base, c.limit);
        EXPECT_EQ(p, c.mapped ? Host(c.base) : nullptr) << std::hex << c.base;
        EXPECT_EQ(maps(), c.asksToMap ? 1u : 0u) << std::hex << c.base;
        EXPECT_EQ(bases(), 1u) << "the data segment's base, every time";
    }
    auto* linear = static_cast<uint8_t*>(TB_mapPhysicalAddr(0xE0000000, vram - 1));
    linear[vram - 1] = 0x3C;
    EXPECT_EQ(Pc().space().vram()[vram - 1], 0x3C) << "the view is video memory";
}

TEST(Banking, WindowsAndDisplayStartMoveThroughTheBios) {
    TextModeAfterwards restore;
    ASSERT_TRUE(SetMode(0x101)) << "640 x 480 x 8";
    pcemu::Adapter& adapter = Pc().adapter();
    TB_setBankA(3);
    EXPECT_EQ(adapter.writeBank(), 3);
    EXPECT_EQ(Pc().space().windowOffset(), 3u * 0x10000);
    TB_setBankAB(5);
    EXPECT_EQ(adapter.writeBank(), 5);
    EXPECT_EQ(adapter.readBank(), 5);
    TB_setCRTStart(8, 100);
    EXPECT_EQ(adapter.bochsRegister(pcemu::kBochsXOffset), 8);
    EXPECT_EQ(adapter.bochsRegister(pcemu::kBochsYOffset), 100);
    EXPECT_EQ(Pc().adapter().displayMode().start, 100u * 640 + 8);
}

} // namespace
