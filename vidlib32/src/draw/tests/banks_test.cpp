// Where the routines put bytes and when they move the window: bank edges,
// pixels straddling the window's end, page ends, 16-colour bits and the
// Graphics Controller left at its defaults, linear pages. Checked on video
// memory itself and on the adapter's count of real window moves.
#include "draw/tests/screen_check.h"

namespace vidlib32_test {
namespace {

// Real window moves from construction on.
class WindowMoves {
public:
    uint64_t operator()() const { return Pc().adapter().windowMoves() - start_; }

private:
    uint64_t start_ = Pc().adapter().windowMoves();
};

void SetMode(int width, int height, int bits, int32_t flags = 0, int32_t virtualBuffer = 0) {
    int32_t mode =
        FindMode(width, height, bits, (flags & SV_MODE_LINEAR) ? SV_ATTR_LINEAR : SV_ATTR_BANKED);
    ASSERT_NE(mode, 0);
    ASSERT_EQ(SV_setMode(mode | flags, 0, virtualBuffer, 1), 1);
}

uint8_t GcRegister(uint8_t index) {
    Pc().ports().out8(0x3CE, index);
    return Pc().ports().in8(0x3CF);
}

void ExpectGcDefaults(const char* after) {
    SCOPED_TRACE(after);
    for (uint8_t index : {0, 1, 3, 5})
        EXPECT_EQ(GcRegister(index), 0) << "index " << int{index};
    EXPECT_EQ(GcRegister(7), 0x0F);
    EXPECT_EQ(GcRegister(8), 0xFF);
}

// Byte `plane` of planar address `address` (16-colour modes).
uint8_t& Plane(uint32_t address, int plane) {
    return Vram()[address * 4 + plane];
}

VIDLIB32_SUITE(Vbe20Drawing, "vbe20");

TEST_F(Vbe20Drawing, PixelOfRow103LiesInBank1AndSwitchesOnce) {
    ASSERT_NO_FATAL_FAILURE(SetMode(640, 480, 8));
    SV_putPixel(5, 0, 0x21);
    WindowMoves moves;
    SV_putPixel(0, 103, 0x42); // 103 x 640 = 65 920: bank 1, offset 384
    SV_putPixel(1, 103, 0x43);
    EXPECT_EQ(moves(), 1u);
    EXPECT_EQ(Device().currentBank, 1);
    EXPECT_EQ(Pc().adapter().writeBank(), 1);
    EXPECT_EQ(Vram()[5], 0x21);
    EXPECT_EQ(Vram()[65920], 0x42);
    EXPECT_EQ(Vram()[65921], 0x43);
}

TEST_F(Vbe20Drawing, VerticalLineUpwardsReturnsToTheLowerBankAtRow102) {
    ASSERT_NO_FATAL_FAILURE(SetMode(640, 480, 8));
    SV_setBank(0);
    WindowMoves moves;
    SV_line(10, 110, 10, 95, 0x77); // rows 103-110 in bank 1, 95-102 in bank 0
    EXPECT_EQ(moves(), 2u);
    EXPECT_EQ(Device().currentBank, 0);
    for (int y = 95; y <= 110; ++y)
        EXPECT_EQ(Vram()[y * 640 + 10], 0x77) << "row " << y;
    EXPECT_EQ(Vram()[94 * 640 + 10], 0);
    EXPECT_EQ(Vram()[111 * 640 + 10], 0);
}

TEST_F(Vbe20Drawing, TrueColourPixelsFitOrStraddleTheWindowEnd) {
    ASSERT_NO_FATAL_FAILURE(SetMode(800, 600, 24));
    SV_setBank(0); // the mode set's clear left the window on the page's last bank
    WindowMoves moves;
    SV_putPixel(21, 27, 0x7FABCDEF); // 64 863-64 865: inside bank 0
    EXPECT_EQ(moves(), 0u);
    EXPECT_EQ(Vram()[64862], 0);
    EXPECT_EQ(Vram()[64863], 0xEF);
    EXPECT_EQ(Vram()[64864], 0xCD);
    EXPECT_EQ(Vram()[64865], 0xAB);
    EXPECT_EQ(Vram()[64866], 0);

    SV_putPixel(245, 27, 0x112233); // starts at FFFFh: one byte in bank 0, two in bank 1
    EXPECT_EQ(moves(), 1u);
    EXPECT_EQ(Device().currentBank, 1);
    EXPECT_EQ(Vram()[65535], 0x33);
    EXPECT_EQ(Vram()[65536], 0x22);
    EXPECT_EQ(Vram()[65537], 0x11);

    SV_putPixel(490, 54, 0x445566); // bank 1 at FFFEh: two bytes there, one in bank 2
    EXPECT_EQ(moves(), 2u);
    EXPECT_EQ(Device().currentBank, 2);
    EXPECT_EQ(Pc().adapter().writeBank(), 2);
    EXPECT_EQ(Vram()[131070], 0x66);
    EXPECT_EQ(Vram()[131071], 0x55);
    EXPECT_EQ(Vram()[131072], 0x44);

    SV_setBank(0);
    WindowMoves lineMoves;
    SV_line(240, 27, 250, 27, 0x010203); // pixel 245 straddles; the rest of the row follows
    EXPECT_EQ(lineMoves(), 1u);
    EXPECT_EQ(Device().currentBank, 1);
    for (int x = 240; x <= 250; ++x) {
        uint32_t at = 27 * 2400 + 3 * x;
        EXPECT_EQ(Vram()[at] | Vram()[at + 1] << 8 | Vram()[at + 2] << 16, 0x010203u) << x;
    }
}

TEST_F(Vbe20Drawing, ClearFillsThePageAndNotTheBytesAfterIt) {
    ASSERT_NO_FATAL_FAILURE(SetMode(640, 480, 8)); // 307 200 bytes, pages 327 680 apart
    constexpr uint32_t kPage = 327680, kBytes = 307200;
    for (uint32_t at : {kBytes, kPage - 1, kPage + kBytes})
        Vram()[at] = 0x5A;
    SV_setBank(2);
    WindowMoves moves;
    SV_clear(0x33);
    EXPECT_EQ(moves(), 5u); // banks 0 to 4
    EXPECT_EQ(Device().currentBank, 4);
    EXPECT_EQ(Vram()[0], 0x33);
    EXPECT_EQ(Vram()[kBytes - 1], 0x33);
    EXPECT_EQ(Vram()[kBytes], 0x5A);
    EXPECT_EQ(Vram()[kPage - 1], 0x5A);

    SV_setActivePage(1);
    EXPECT_EQ(Device().pageBank, 5);
    SV_clear(0x44);
    EXPECT_EQ(Vram()[kPage - 1], 0x5A);
    EXPECT_EQ(Vram()[kPage], 0x44);
    EXPECT_EQ(Vram()[kPage + kBytes - 1], 0x44);
    EXPECT_EQ(Vram()[kPage + kBytes], 0x5A);
    EXPECT_EQ(Vram()[kBytes - 1], 0x33);
}

TEST_F(Vbe20Drawing, SixteenColourPixelSetsItsBitInEachPlaneOfItsColour) {
    ASSERT_NO_FATAL_FAILURE(SetMode(800, 600, 4)); // 100 bytes per line
    const uint32_t byte1OfRow2 = 2 * 100 + 1;
    SV_putPixel(13, 2, 0x5); // bit 04h of byte 1, planes 0 and 2
    EXPECT_EQ(Plane(byte1OfRow2, 0), 0x04);
    EXPECT_EQ(Plane(byte1OfRow2, 1), 0x00);
    EXPECT_EQ(Plane(byte1OfRow2, 2), 0x04);
    EXPECT_EQ(Plane(byte1OfRow2, 3), 0x00);
    ExpectGcDefaults("pixel");
    SV_putPixel(12, 2, 0xA); // its neighbour, planes 1 and 3; pixel 13 stays
    EXPECT_EQ(Plane(byte1OfRow2, 0), 0x04);
    EXPECT_EQ(Plane(byte1OfRow2, 1), 0x08);
    EXPECT_EQ(Plane(byte1OfRow2, 2), 0x04);
    EXPECT_EQ(Plane(byte1OfRow2, 3), 0x08);

    SV_line(5, 3, 18, 3, 0x9); // bytes 300-302 of row 3, planes 0 and 3
    const uint8_t bits[3] = {0x07, 0xFF, 0xE0};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Plane(300 + i, 0), bits[i]);
        EXPECT_EQ(Plane(300 + i, 1), 0);
        EXPECT_EQ(Plane(300 + i, 3), bits[i]);
    }
    ExpectGcDefaults("line");

    Plane(60000, 2) = 0x5A; // just after the page (one plane holds 60 000 bytes)
    SV_clear(0xC);
    EXPECT_EQ(Plane(59999, 2), 0xFF);
    EXPECT_EQ(Plane(59999, 0), 0x00);
    EXPECT_EQ(Plane(60000, 2), 0x5A);
    ExpectGcDefaults("clear");
}

TEST_F(Vbe20Drawing, SixteenColourPagesStartInsideTheirBank) {
    ASSERT_NO_FATAL_FAILURE(SetMode(320, 200, 4)); // 40 x 200 = 8 000 bytes a plane: 8 KB pages
    SV_setActivePage(3);
    EXPECT_EQ(Device().pageBank, 0);
    EXPECT_EQ(Device().pageOrigin, 24576);
    Plane(24575, 1) = 0x5A;
    Plane(24576 + 8000, 1) = 0x5A;
    SV_clear(0xA); // planes 1 and 3
    for (uint32_t at : {24576u, 24576u + 7999}) {
        EXPECT_EQ(Plane(at, 0), 0x00) << at;
        EXPECT_EQ(Plane(at, 1), 0xFF) << at;
        EXPECT_EQ(Plane(at, 3), 0xFF) << at;
    }
    EXPECT_EQ(Plane(24575, 1), 0x5A);
    EXPECT_EQ(Plane(24576 + 8000, 1), 0x5A);

    SV_line(0, 0, 319, 0, 0x5); // row 0 of page 3: every pixel, planes 0 and 2 only
    for (uint32_t at = 24576; at < 24576 + 40; ++at) {
        EXPECT_EQ(Plane(at, 0), 0xFF) << at;
        EXPECT_EQ(Plane(at, 1), 0x00) << at;
        EXPECT_EQ(Plane(at, 2), 0xFF) << at;
        EXPECT_EQ(Plane(at, 3), 0x00) << at;
    }
    EXPECT_EQ(Plane(24576 + 40, 1), 0xFF); // row 1 keeps the clear's colour
    ExpectGcDefaults("line on page 3");
}

TEST_F(Vbe20Drawing, LinearAndVirtualPagesStartAtTheirAddress) {
    constexpr uint32_t kPage = 327680, kBytes = 307200;
    for (int virtualBuffer : {0, 1}) {
        SCOPED_TRACE(virtualBuffer ? "virtual linear buffer" : "linear buffer");
        ASSERT_NO_FATAL_FAILURE(
            SetMode(640, 480, 8, virtualBuffer ? 0 : SV_MODE_LINEAR, virtualBuffer));
        EXPECT_EQ(Device().virtualActive, virtualBuffer);
        Vram()[kPage + kBytes] = 0x5A;
        SV_setActivePage(1);
        SV_putPixel(0, 0, 0x66);
        EXPECT_EQ(Vram()[kPage], 0x66);
        SV_clear(0x11);
        EXPECT_EQ(Vram()[kPage + kBytes - 1], 0x11);
        EXPECT_EQ(Vram()[kPage + kBytes], 0x5A);
        EXPECT_EQ(Vram()[kBytes - 1], 0x00);
        SV_restoreMode();
    }
}

} // namespace
} // namespace vidlib32_test
