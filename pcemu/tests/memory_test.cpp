// The address space, the memory bus, descriptors and selectors, real-mode
// blocks, the port bus.
#include "machine_rig.h"

#include <cstring>

using namespace pcemu;
using namespace pcemu_test;

namespace {

class MemoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        pc = NewMachine("none");
        ASSERT_TRUE(pc);
    }
    std::unique_ptr<Machine> pc;
};

TEST_F(MemoryTest, GuestAddressesMirrorAtOneHostBase) {
    EXPECT_EQ(reinterpret_cast<uintptr_t>(pc->space().base()) % (uint64_t{1} << 32), 0u);
    uint8_t* p = pc->hostPointer(0x12345);
    EXPECT_EQ(pc->linearOf(p), 0x12345u);
    EXPECT_FALSE(pc->linearOf(&p));
    pc->memory().write32(0x12345, 0xA1B2C3D4); // unaligned, through the bus
    EXPECT_EQ(p[0], 0xD4);
    EXPECT_EQ(p[3], 0xA1);
    // Nothing lives at 20000000h.
    EXPECT_EQ(pc->memory().read32(0x20000000), 0xFFFFFFFFu);
    pc->memory().write8(0x20000000, 1); // nothing there: dropped
    EXPECT_EQ(pc->memory().read8(0x20000000), 0xFF);
}

TEST_F(MemoryTest, GuestHeapHandsOutZeroedAlignedMemoryEmulatedCodeSees) {
    void* a = pc->space().guestAlloc(100, 64);
    void* b = pc->space().guestAlloc(100);
    ASSERT_TRUE(a && b);
    auto la = pc->linearOf(a);
    ASSERT_TRUE(la);
    EXPECT_GE(*la, kGuestHeapStart);
    EXPECT_LT(*la + 100, kGuestHeapEnd);
    EXPECT_EQ(*la % 64, 0u);
    EXPECT_NE(a, b);
    std::memset(a, 0x5A, 100);
    EXPECT_EQ(pc->memory().read8(*la + 99), 0x5A);
    EXPECT_TRUE(pc->space().guestFree(a));
    EXPECT_FALSE(pc->space().guestFree(a));
    void* c = pc->space().guestAlloc(100, 64);
    EXPECT_EQ(static_cast<uint8_t*>(c)[99], 0);
    EXPECT_EQ(pc->space().guestAlloc(kGuestHeapEnd), nullptr);
}

TEST_F(MemoryTest, VideoPiecesMapAndUnmapInTheMappableRange) {
    AddressSpace& space = pc->space();
    constexpr uint32_t kBase = kVirtualBufferBase;
    ASSERT_TRUE(space.reserveNoAccess(kBase, 4 * kPieceSize));
    EXPECT_EQ(pc->memory().read8(kBase + kPieceSize), 0xFF);
    ASSERT_TRUE(space.mapVideoPiece(kBase + kPieceSize, 3 * kPieceSize));
    space.vram()[3 * kPieceSize + 5] = 0x42;
    EXPECT_EQ(pc->hostPointer(kBase + kPieceSize)[5], 0x42);
    EXPECT_EQ(pc->memory().read8(kBase + kPieceSize + 5), 0x42);
    pc->memory().write8(kBase + kPieceSize + 6, 0x43);
    EXPECT_EQ(space.vram()[3 * kPieceSize + 6], 0x43);
    ASSERT_TRUE(space.unmapPiece(kBase + kPieceSize));
    EXPECT_EQ(pc->memory().read8(kBase + kPieceSize + 5), 0xFF);

    EXPECT_FALSE(space.mapVideoPiece(kVgaWindow, 0));           // not mappable
    EXPECT_FALSE(space.mapVideoPiece(kLinearBufferBase, 0));    // not mappable
    EXPECT_FALSE(space.mapVideoPiece(kBase + 1, 0));            // not aligned
    EXPECT_FALSE(space.mapVideoPiece(kBase, space.vramSize())); // past video memory
    EXPECT_FALSE(space.reserveNoAccess(0x100000, kPieceSize));
}

TEST_F(MemoryTest, RealModeBlocksComeFromConventionalMemory) {
    auto a = pc->allocReal(100);
    auto b = pc->allocReal(0x8000);
    ASSERT_TRUE(a && b);
    EXPECT_GE(*a, 0x1000);
    EXPECT_LT(uint32_t{*b} * 16 + 0x8000, 0x9FC00u);
    EXPECT_TRUE(uint32_t{*a} * 16 + 112 <= uint32_t{*b} * 16 ||
                uint32_t{*b} * 16 + 0x8000 <= uint32_t{*a} * 16);
    EXPECT_TRUE(pc->freeReal(*a));
    EXPECT_FALSE(pc->freeReal(*a));
    EXPECT_FALSE(pc->allocReal(0xA0000));
    EXPECT_FALSE(pc->allocReal(0));
}

TEST_F(MemoryTest, BiosDataAreaAndInterruptTableAreReadyForARom) {
    MemoryBus& m = pc->memory();
    EXPECT_EQ(m.read16(0x413), 639);
    EXPECT_EQ(m.read16(0x40E), 0x9FC0);
    EXPECT_EQ(m.read8(0x449), 3);
    EXPECT_EQ(m.read32(0x10 * 4), Cpu::defaultVector());
    EXPECT_EQ(m.read8(0xF0000), 0xCF); // the iret every unused vector leads to
}

TEST_F(MemoryTest, UnknownPortsReadAllOnesAndDebugPortsKeepTheirText) {
    EXPECT_EQ(pc->ports().in8(0x2F8), 0xFF);
    EXPECT_EQ(pc->ports().in16(0x2F8), 0xFFFF);
    EXPECT_EQ(pc->ports().in32(0x2F8), 0xFFFFFFFFu);
    for (char c : std::string("hi\n"))
        pc->ports().out8(0x402, static_cast<uint8_t>(c));
    pc->ports().out8(0x500, 'x');
    EXPECT_EQ(pc->ports().debugText(), "hi\nx");
}

TEST_F(MemoryTest, SelectorsDescribeTheirRangeInTheTable) {
    DescriptorTable& t = pc->selectors();
    auto small = t.create(0x123456, 0xFFFF);
    auto large = t.create(0xE0000000, 0x3FFFFF);
    ASSERT_TRUE(small && large);
    EXPECT_NE(*small, *large);
    EXPECT_EQ(t.base(*large), 0xE0000000u);
    EXPECT_EQ(t.limit(*large), 0x3FFFFFu);
    // The descriptors as the processor reads them: byte, then page granular.
    uint32_t high = pc->memory().read32(t.gdtBase() + (*small & ~7u) + 4);
    EXPECT_EQ(high & 0x800000, 0u);
    EXPECT_EQ(high & 0xFF, 0x12u);
    high = pc->memory().read32(t.gdtBase() + (*large & ~7u) + 4);
    EXPECT_NE(high & 0x800000, 0u);
    EXPECT_EQ(high & 0xF0000, 0u);
    EXPECT_EQ(pc->memory().read16(t.gdtBase() + (*large & ~7u)), 0x03FF); // 4 MB in pages

    EXPECT_TRUE(t.setLimit(*small, 0xFF));
    EXPECT_EQ(t.limit(*small), 0xFFu);
    EXPECT_TRUE(t.free(*small));
    EXPECT_FALSE(t.base(*small));
    EXPECT_FALSE(t.free(*small));
    EXPECT_FALSE(t.free(DescriptorTable::kFlatData));
}

TEST_F(MemoryTest, SelectorAccessesPastTheLimitAreRefusedAndNotPerformed) {
    DescriptorTable& t = pc->selectors();
    auto sel = t.create(0x200000, 0xFF);
    ASSERT_TRUE(sel);
    EXPECT_TRUE(t.write32(*sel, 0xFC, 0x11223344));
    EXPECT_EQ(t.read32(*sel, 0xFC), 0x11223344u);
    EXPECT_EQ(t.read8(*sel, 0xFF), 0x11);
    EXPECT_FALSE(t.read16(*sel, 0xFF));
    EXPECT_FALSE(t.read32(*sel, 0xFD));
    EXPECT_FALSE(t.write16(*sel, 0xFF, 0xBEEF));
    EXPECT_FALSE(t.write8(*sel, 0x100, 0xEE));
    EXPECT_EQ(pc->memory().read8(0x200100), 0);
    EXPECT_EQ(pc->memory().read8(0x2000FF), 0x11);

    uint8_t block[64];
    std::memset(block, 0xAB, sizeof block);
    EXPECT_FALSE(t.copyTo(*sel, 0xE0, block, 64)); // reaches 0x11F
    EXPECT_EQ(pc->memory().read8(0x2000E0), 0);
    EXPECT_TRUE(t.copyTo(*sel, 0xC0, block, 64));
    uint8_t back[64] = {};
    EXPECT_FALSE(t.copyFrom(back, *sel, 0xFFFFFFF0u, 64)); // wraps: refused
    EXPECT_TRUE(t.copyFrom(back, *sel, 0xC0, 64));
    EXPECT_EQ(std::memcmp(block, back, 64), 0);
    EXPECT_FALSE(t.read8(0x7000, 0)); // not a selector of the table
}

} // namespace
