// The VGA memory model at A0000h-BFFFFh: write modes, latches, read modes,
// chain-4 and odd/even, on a bare adapter programmed through its ports.
#include "machine_rig.h"

#include <cstring>

using namespace pcemu;
using namespace pcemu_test;

namespace {

class VgaMemoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        pc = NewMachine("none");
        ASSERT_TRUE(pc);
        // Planar graphics as mode 12h has it: A0000h 64 KB, all planes.
        Seq(*pc, 2, 0x0F);
        Seq(*pc, 4, 0x06);
        Gc(*pc, 5, 0x00);
        Gc(*pc, 6, 0x05);
        Gc(*pc, 8, 0xFF);
    }
    // Plane p of planar address a.
    uint8_t& plane(uint32_t a, int p) { return pc->space().vram()[a * 4 + p]; }
    void setPlanes(uint32_t a, uint8_t p0, uint8_t p1, uint8_t p2, uint8_t p3) {
        plane(a, 0) = p0;
        plane(a, 1) = p1;
        plane(a, 2) = p2;
        plane(a, 3) = p3;
    }
    void expectPlanes(uint32_t a, uint8_t p0, uint8_t p1, uint8_t p2, uint8_t p3) {
        EXPECT_EQ(plane(a, 0), p0) << "plane 0";
        EXPECT_EQ(plane(a, 1), p1) << "plane 1";
        EXPECT_EQ(plane(a, 2), p2) << "plane 2";
        EXPECT_EQ(plane(a, 3), p3) << "plane 3";
    }
    std::unique_ptr<Machine> pc;
};

TEST_F(VgaMemoryTest, WriteMode0AppliesSetResetRotateLogicAndBitMask) {
    setPlanes(10, 0x0F, 0x0F, 0x0F, 0x0F);
    pc->memory().read8(kVgaWindow + 10); // latches
    Gc(*pc, 1, 0x05);                    // set/reset drives planes 0 and 2
    Gc(*pc, 0, 0x01);                    // plane 0 ones, plane 2 zeros
    Gc(*pc, 8, 0xF0);                    // only the high nibble changes
    pc->memory().write8(kVgaWindow + 10, 0xAA);
    expectPlanes(10, 0xFF, 0xAF, 0x0F, 0xAF);

    // Rotate right by 4, then XOR with the latches.
    setPlanes(11, 0xFF, 0x00, 0xFF, 0x00);
    pc->memory().read8(kVgaWindow + 11);
    Gc(*pc, 1, 0x00);
    Gc(*pc, 8, 0xFF);
    Gc(*pc, 3, 0x18 | 4);
    pc->memory().write8(kVgaWindow + 11, 0x3C); // rotated: 0xC3
    expectPlanes(11, 0x3C, 0xC3, 0x3C, 0xC3);
}

TEST_F(VgaMemoryTest, MapMaskLimitsThePlanesWritten) {
    setPlanes(3, 1, 2, 3, 4);
    Seq(*pc, 2, 0x06);
    pc->memory().write8(kVgaWindow + 3, 0x77);
    expectPlanes(3, 1, 0x77, 0x77, 4);
}

TEST_F(VgaMemoryTest, WriteMode1CopiesTheLatches) {
    setPlanes(100, 0x12, 0x34, 0x56, 0x78);
    Gc(*pc, 5, 0x01);
    Gc(*pc, 8, 0x00); // the bit mask does not apply in write mode 1
    pc->memory().read8(kVgaWindow + 100);
    pc->memory().write8(kVgaWindow + 200, 0xFF);
    expectPlanes(200, 0x12, 0x34, 0x56, 0x78);
}

TEST_F(VgaMemoryTest, WriteMode2SpreadsTheColourAcrossPlanes) {
    setPlanes(5, 0x00, 0xFF, 0x00, 0xFF);
    pc->memory().read8(kVgaWindow + 5);
    Gc(*pc, 5, 0x02);
    Gc(*pc, 8, 0x81);
    pc->memory().write8(kVgaWindow + 5, 0x09); // colour 1001b
    expectPlanes(5, 0x81, 0x7E, 0x00, 0xFF);
}

TEST_F(VgaMemoryTest, WriteMode3MasksTheSetResetColourWithTheRotatedValue) {
    setPlanes(7, 0x00, 0x00, 0xFF, 0xFF);
    pc->memory().read8(kVgaWindow + 7);
    Gc(*pc, 5, 0x03);
    Gc(*pc, 0, 0x03); // colour 0011b
    Gc(*pc, 8, 0x0F);
    Gc(*pc, 3, 1);                             // rotate right by 1
    pc->memory().write8(kVgaWindow + 7, 0xE1); // rotated 0xF0: nothing under the bit mask
    expectPlanes(7, 0x00, 0x00, 0xFF, 0xFF);
    pc->memory().write8(kVgaWindow + 7, 0x1E); // rotated 0x0F, masked 0x0F
    expectPlanes(7, 0x0F, 0x0F, 0xF0, 0xF0);
}

TEST_F(VgaMemoryTest, ReadModesSelectAPlaneOrCompareColours) {
    setPlanes(20, 0xF0, 0xCC, 0xAA, 0x01);
    Gc(*pc, 4, 2);
    EXPECT_EQ(pc->memory().read8(kVgaWindow + 20), 0xAA);
    Gc(*pc, 4, 1);
    EXPECT_EQ(pc->memory().read8(kVgaWindow + 20), 0xCC);

    // Read mode 1: a bit is set where the pixel's colour matches 0011b in the
    // planes that count.
    Gc(*pc, 5, 0x08);
    Gc(*pc, 2, 0x03);
    Gc(*pc, 7, 0x03); // only planes 0 and 1 count
    EXPECT_EQ(pc->memory().read8(kVgaWindow + 20), 0xC0);
    Gc(*pc, 7, 0x0F); // plane 2 must be 0, plane 3 must be 0
    EXPECT_EQ(pc->memory().read8(kVgaWindow + 20), 0x40);
    Gc(*pc, 7, 0x00); // nothing counts: every bit matches
    EXPECT_EQ(pc->memory().read8(kVgaWindow + 20), 0xFF);
}

TEST_F(VgaMemoryTest, Chain4PutsPixelXYAtOffsetYTimes320PlusX) {
    Seq(*pc, 4, 0x0E);
    Gc(*pc, 5, 0x40);
    for (uint32_t y : {0u, 1u, 199u})
        for (uint32_t x : {0u, 1u, 2u, 3u, 319u})
            pc->memory().write8(kVgaWindow + y * 320 + x, static_cast<uint8_t>(x + 7 * y));
    for (uint32_t y : {0u, 1u, 199u})
        for (uint32_t x : {0u, 1u, 2u, 3u, 319u}) {
            EXPECT_EQ(pc->space().vram()[y * 320 + x], static_cast<uint8_t>(x + 7 * y));
            EXPECT_EQ(pc->memory().read8(kVgaWindow + y * 320 + x),
                      static_cast<uint8_t>(x + 7 * y));
        }
    // The map mask still selects planes: x & 3 is the plane.
    Seq(*pc, 2, 0x0E);
    pc->memory().write8(kVgaWindow + 4, 0x55);
    pc->memory().write8(kVgaWindow + 5, 0x66);
    EXPECT_EQ(pc->space().vram()[4], 0);
    EXPECT_EQ(pc->space().vram()[5], 0x66);
}

TEST_F(VgaMemoryTest, OddEvenSendsCharactersAndAttributesToPlanes0And1) {
    Seq(*pc, 2, 0x03);
    Seq(*pc, 4, 0x02);
    Gc(*pc, 5, 0x10);
    Gc(*pc, 6, 0x0E); // B8000h, 32 KB
    pc->memory().write16(0xB8000, 0x1F41);
    pc->memory().write16(0xB8002, 0x2E42);
    expectPlanes(0, 'A', 0x1F, 0, 0);
    expectPlanes(2, 'B', 0x2E, 0, 0);
    EXPECT_EQ(pc->memory().read16(0xB8002), 0x2E42);
    // Outside the mapped window nothing answers.
    EXPECT_EQ(pc->memory().read8(kVgaWindow), 0xFF);
    pc->memory().write8(kVgaWindow, 0x99);
    EXPECT_EQ(plane(0, 0), 'A');
}

} // namespace
