// The library on the reference driver: SV_init(1), mode sets, the engine's
// clear and lines beside bracketed software drawing (with and without
// DrawLine and direct access; the adapter counts any touch of video memory
// while the engine is busy), pages placed by the driver, the palette, the
// virtual linear buffer switched by SetBank32, and the way back to text.
#include "driver_files.h"
#include "pcemu/accel.h"
#include "pcemu/machine.h"
#include "state.h"
#include "tobrin32/tobrin32.h"
#include "vbe/guest_memory.h"

#include <set>

namespace vbeaf_test {
namespace {

pcemu::Machine& Pc() {
    return pcemu::TheMachine();
}
const pcemu::Accelerator& Engine() {
    return Pc().adapter().accelerator();
}
uint32_t EngineRegister(uint32_t offset) {
    return Pc().memory().read32(pcemu::kAccelRegisterBase + offset);
}

class AfAccel : public ::testing::Test {
protected:
    // Loads the reference driver with `options` and makes SV_init(1) use it.
    const SV_DeviceInfo& Start(const mkvbeaf::ImageOptions& options = {}) {
        driver = LoadImage(ReferenceImage(options));
        SV_setACCELDriver(driver);
        device = SV_init(1);
        void* const inUse = device->accelDriver; // the record is packed
        EXPECT_EQ(inUse, driver);
        return *device;
    }
    void TearDown() override {
        if (device) SV_restoreMode();
        SV_setACCELDriver(nullptr);
        AF_unloadDriver(driver);
        SV_init(0);
        driver = nullptr;
        device = nullptr;
    }

    // Bytes of video memory, read inside the library's bracket.
    std::vector<uint8_t> Vram(uint32_t offset, uint32_t count) {
        SV_beginDirectAccess();
        const uint8_t* at = Pc().space().vram() + offset;
        std::vector<uint8_t> bytes(at, at + count);
        SV_endDirectAccess();
        return bytes;
    }
    uint8_t VramAt(uint32_t offset) { return Vram(offset, 1)[0]; }

    AF_DriverHeader* driver = nullptr;
    SV_DeviceInfo* device = nullptr;
};

TEST_F(AfAccel, InitDescribesTheDriverAndKeepsIt) {
    const SV_DeviceInfo& d = Start();
    EXPECT_EQ(d.version, 0x0200);
    EXPECT_STREQ(d.oemName, "Zorv reference accelerator");
    EXPECT_EQ(d.memoryKB, 4096);
    EXPECT_EQ(d.linearBase, 0xE0000000u);
    EXPECT_EQ(d.hasMultiBuffer, AF_HAVE_MULTIBUFFER);
    EXPECT_EQ(d.hasVirtualScroll, AF_HAVE_VIRTUALSCROLL);
    EXPECT_EQ(d.hasWideDac, AF_HAVE_8BITDAC);
    EXPECT_EQ(d.hasAccel2D, AF_HAVE_ACCEL2D);
    EXPECT_EQ(d.hasHwCursor, AF_HAVE_HWCURSOR);
    EXPECT_EQ(d.canVirtualize, 1);
    std::vector<uint16_t> modes;
    for (const uint16_t* m = d.modes; *m != 0xFFFF; ++m)
        modes.push_back(*m);
    EXPECT_EQ(modes.size(), 21u);
    EXPECT_EQ(modes.front(), 0x100);
    EXPECT_EQ(modes.back(), 0x126);

    SV_ModeInfo info = {};
    ASSERT_EQ(SV_getModeInfo(0x4101, &info), 1);
    EXPECT_EQ(info.mode, 0x101);
    EXPECT_EQ(info.xRes, 640);
    EXPECT_EQ(info.lineBytes, 640);
    EXPECT_EQ(info.pixelBits, 8);
    EXPECT_EQ(info.pages, 4096 * 1024 / (640 * 480));
    EXPECT_TRUE(info.attributes & SV_ATTR_ACCELERATED);
    EXPECT_FALSE(info.attributes & SV_ATTR_VBE);
    EXPECT_EQ(SV_getModeInfo(0x102, &info), 0); // not the driver's

    // Later calls use the same driver without looking for files; SV_init(0)
    // goes back to the BIOS.
    EXPECT_EQ(static_cast<void*>(SV_init(1)->accelDriver), driver);
    EXPECT_EQ(static_cast<void*>(SV_init(0)->accelDriver), nullptr);
    EXPECT_EQ(device->hasAccel2D, AF_HAVE_ACCEL2D) << "not touched by the BIOS path";
    device = nullptr;
}

TEST_F(AfAccel, ModeSetsFillTheRecordAndRefuseWhatCannotBeDrawn) {
    const SV_DeviceInfo& d = Start({.setBank32 = false});
    EXPECT_EQ(d.canVirtualize, 0);
    AF_setMix(driver, AF_XOR_MIX, AF_OR_MIX);
    ASSERT_EQ(SV_setMode(0x111, 0, 1, 1), 1); // 640 x 480, 5-6-5
    EXPECT_EQ(EngineRegister(pcemu::kAccelForeMix), uint32_t{AF_REPLACE_MIX});
    EXPECT_EQ(EngineRegister(pcemu::kAccelBackMix), uint32_t{AF_REPLACE_MIX});
    EXPECT_EQ(d.lastX, 639);
    EXPECT_EQ(d.lastY, 479);
    EXPECT_EQ(d.lineBytes, 1280);
    EXPECT_EQ(d.pixelBits, 16);
    EXPECT_EQ(d.lastPage, 4096 * 1024 / (1280 * 480) - 1);
    EXPECT_EQ(d.colorMax, 0xFFFF);
    EXPECT_EQ(d.greenMask, 0x3F);
    EXPECT_EQ(d.greenPosition, 5);
    EXPECT_EQ(d.virtualActive, 0) << "no SetBank32, no virtual buffer";
    EXPECT_EQ(d.frameMemory, Pc().hostPointer(0xA0000));
    EXPECT_EQ(d.currentBank, 0);

    EXPECT_EQ(SV_setMode(0x13, 0, 0, 1), 0);
    EXPECT_EQ(SV_setMode(0x102, 0, 0, 1), 0);
    EXPECT_EQ(d.pixelBits, 16) << "record kept";

    ASSERT_EQ(SV_setVirtualMode(0x4101, 1024, 768, 0, 0, 1), 1);
    EXPECT_EQ(d.lineBytes, 1024);
    EXPECT_EQ(d.lastX, 639) << "the screen's size";
    EXPECT_EQ(d.frameMemory, Pc().hostPointer(0xE0000000));
    EXPECT_EQ(d.redMask, 7) << "3-3-2";
    EXPECT_EQ(d.colorMax, 255);

    SV_restoreMode(); // through RestoreTextMode and the Int86 bridge
    RealRegs r = {};
    r.h.ah = 0x0F;
    TB_int86(0x10, &r, &r);
    EXPECT_EQ(r.h.al & 0x7F, 3);
    EXPECT_EQ(Pc().adapter().scanout().width, 720);
    device = nullptr;
}

// Pixels of one colour in the first `rows` rows of a 640-pixel page.
std::set<std::pair<int, int>> PixelsOf(const std::vector<uint8_t>& rows, uint8_t colour) {
    std::set<std::pair<int, int>> out;
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i] == colour) out.insert({static_cast<int>(i % 640), static_cast<int>(i / 640)});
    return out;
}

// Each combination of DrawLine and direct access: the engine clears and
// (with DrawLine) draws lines; software pixels and lines run in brackets
// that keep them off the busy engine; a touch outside a bracket is caught.
TEST_F(AfAccel, DrawingGoesToTheEngineOrIntoBrackets) {
    for (bool drawLine : {true, false}) {
        for (bool direct : {true, false}) {
            SCOPED_TRACE(std::string(drawLine ? "DrawLine" : "no DrawLine") +
                         (direct ? ", direct access" : ", no direct access"));
            const SV_DeviceInfo& d = Start({.drawLine = drawLine, .directAccess = direct});
            ASSERT_EQ(SV_setMode(0x101, 0, 0, 1), 1);
            const uint64_t violations = Engine().violations();

            uint64_t commands = Engine().commands();
            SV_clear(5);
            EXPECT_EQ(Engine().commands(), commands + 1);
            EXPECT_TRUE(Engine().busy());
            SV_line(40, 20, 3, 4, 9); // right after the clear: the engine is busy
            EXPECT_EQ(Engine().commands(), commands + (drawLine ? 2 : 1));
            SV_beginLine();
            SV_lineFast(3, 30, 3, 35, 8);
            SV_endLine();
            SV_putPixel(600, 470, 11);
            SV_beginPixel();
            EXPECT_EQ(Engine().directAccess(), direct);
            SV_putPixelFast(601, 470, 11);
            SV_endPixel();
            EXPECT_FALSE(Engine().directAccess());
            EXPECT_EQ(Engine().commands(), commands + (drawLine ? 3 : 1));

            const std::vector<uint8_t> top = Vram(0, 640 * 40);
            const std::set<std::pair<int, int>> line = PixelsOf(top, 9);
            EXPECT_EQ(line.size(), 38u); // 37 steps along x, both ends
            EXPECT_TRUE(line.count({3, 4}) && line.count({40, 20}));
            EXPECT_EQ(PixelsOf(top, 8).size(), 6u);
            EXPECT_EQ(PixelsOf(top, 5).size(), 640u * 40 - 38 - 6);
            EXPECT_EQ(VramAt(470 * 640 + 600), 11);
            EXPECT_EQ(VramAt(470 * 640 + 601), 11);
            EXPECT_EQ(Engine().violations(), violations) << "every touch was bracketed";

            SV_clear(2);
            d.frameMemory[0] = 1; // no bracket
            EXPECT_EQ(Engine().violations(), violations + 1);
            TearDown();
        }
    }
}

TEST_F(AfAccel, PagesFollowTheDriversOriginOffset) {
    const SV_DeviceInfo& d = Start();
    constexpr uint32_t kPage = 640 * 480;
    ASSERT_EQ(SV_setMode(0x101 | SV_MODE_MULTIBUFFER, 0, 0, 2), 1);
    SV_setActivePage(1);
    EXPECT_EQ(driver->OriginOffset, kPage);
    EXPECT_EQ(d.pageBank, 4);
    EXPECT_EQ(d.pageOrigin, 45056); // 307 200 = 4 x 65 536 + 45 056
    EXPECT_EQ(d.currentBank, 4);
    EXPECT_EQ(EngineRegister(pcemu::kAccelClipRight), 639u);
    EXPECT_EQ(EngineRegister(pcemu::kAccelClipBottom), 479u);
    SV_clear(4);
    SV_putPixel(0, 0, 9);
    SV_putPixel(639, 479, 9);
    EXPECT_EQ(VramAt(kPage), 9);
    EXPECT_EQ(VramAt(kPage + 1), 4);
    EXPECT_EQ(VramAt(2 * kPage - 1), 9);
    EXPECT_EQ(VramAt(2 * kPage), 0) << "the clear stays in its page";
    EXPECT_EQ(VramAt(kPage - 1), 0);

    SV_setVisualPage(1, 0);
    EXPECT_EQ(Pc().adapter().bochsRegister(pcemu::kBochsYOffset), 480);
    EXPECT_EQ(SV_setDisplayStart(8, 2, 0), 0);
    EXPECT_EQ(Pc().adapter().bochsRegister(pcemu::kBochsXOffset), 8);
    EXPECT_EQ(Pc().adapter().bochsRegister(pcemu::kBochsYOffset), 482);

    ASSERT_EQ(SV_setMode(0x4101 | SV_MODE_MULTIBUFFER, 0, 0, 2), 1);
    SV_setActivePage(1);
    EXPECT_EQ(d.pageOrigin, reinterpret_cast<intptr_t>(Pc().hostPointer(0xE0000000 + kPage)));
    SV_putPixel(5, 1, 6);
    EXPECT_EQ(VramAt(kPage + 645), 6);
}

TEST_F(AfAccel, ThePaletteGoesThroughTheDriverAtEightBits) {
    Start();
    ASSERT_EQ(SV_setMode(0x101, 0, 0, 1), 1);
    EXPECT_EQ(Pc().adapter().dacBits(), 8);
    EXPECT_EQ(Pc().adapter().dacEntry(6), 0xA85400u) << "default palette loaded";
    std::vector<uint8_t> palette(256 * 4);
    for (size_t i = 0; i < palette.size(); ++i)
        palette[i] = static_cast<uint8_t>(i * 7);
    SV_setPalette(16, 2, palette.data(), -1);
    EXPECT_EQ(Pc().adapter().dacEntry(16),
              (uint32_t{palette[66]} << 16) | palette[65] << 8 | palette[64]);
    EXPECT_EQ(Pc().adapter().dacEntry(17),
              (uint32_t{palette[70]} << 16) | palette[69] << 8 | palette[68]);
    EXPECT_EQ(Pc().adapter().dacEntry(18), 0x202020u) << "the default grey, untouched";
    SV_setPalette(0, 256, palette.data(), 100);
    for (int i : {0, 99, 100, 199, 200, 255})
        EXPECT_EQ(Pc().adapter().dacEntry(static_cast<uint8_t>(i)),
                  (uint32_t{palette[4 * i + 2]} << 16) | palette[4 * i + 1] << 8 | palette[4 * i])
            << i;
}

TEST_F(AfAccel, TheVirtualBufferSwitchesBanksThroughSetBank32) {
    const SV_DeviceInfo& d = Start();
    ASSERT_EQ(SV_setMode(0x101, 0, 1, 1), 1);
    ASSERT_EQ(d.virtualActive, 1);
    EXPECT_EQ(d.pageOrigin, reinterpret_cast<intptr_t>(d.frameMemory));
    SV_clear(3);
    SV_beginPixel();
    for (int y : {0, 103, 250, 479})
        SV_putPixelFast(y, y, static_cast<uint32_t>(y & 0xFF) | 1);
    SV_endPixel();
    SV_writeText(600, 460, "\xdb", 12); // a full block in the last bank
    for (int y : {0, 103, 250, 479})
        EXPECT_EQ(VramAt(static_cast<uint32_t>(y * 640 + y)), (y & 0xFF) | 1) << y;
    EXPECT_EQ(VramAt(475 * 640 + 607), 12);
    EXPECT_EQ(VramAt(1), 3);
}

} // namespace
} // namespace vbeaf_test
