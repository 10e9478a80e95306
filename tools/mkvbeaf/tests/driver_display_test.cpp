// The reference driver's banks, buffers, display start and palette: SetBank,
// the SetBank32 code as the loader relocates it for the virtual linear
// buffer, SetActiveBuffer with OriginOffset, SetVisibleBuffer,
// SetDisplayStart, SetPaletteData on 8-bit and 6-bit DACs.
#include "driver_rig.h"

using namespace mkvbeaf_test;

namespace {

class DriverDisplayTest : public DriverRig {
protected:
    void SetUp() override {
        loadAndInit();
        ASSERT_EQ(setMode(0x101 | AF_SET_MULTIBUFFER, nullptr, kNone, 2), 0u);
    }
};

TEST_F(DriverDisplayTest, SetBankMovesTheWindow) {
    CpuRegs r;
    r.edx = 3;
    call(&AF_DriverHeader::SetBank, r);
    EXPECT_EQ(pc->adapter().writeBank(), 3);
    EXPECT_EQ(pc->adapter().readBank(), 3);
    EXPECT_EQ(pc->space().windowOffset(), 3u * 65536);
}

TEST_F(DriverDisplayTest, SetBank32CodeWorksWhereTheLoaderPutsIt) {
    // The loader's fragment: save EBX and ECX, bank from EAX to EDX, the code
    // without its ret, restore ECX and EBX; the buffer service adds a ret.
    const AF_DriverHeader& h = header();
    std::vector<uint8_t> fragment = {0x53, 0x51, 0x8B, 0xD0};
    for (uint32_t i = 0; i + 1 < h.SetBank32Len; ++i)
        fragment.push_back(pc->memory().read8(h.SetBank32 + i));
    fragment.insert(fragment.end(), {0x59, 0x5B, 0xC3});
    EXPECT_EQ(fragment.size(), h.SetBank32Len + 5 + 1);
    uint32_t at = put(fragment.data(), fragment.size(), 0x8000);
    for (uint32_t bank : {5u, 0u, 63u}) {
        CpuRegs r;
        r.eax = bank;
        r.ebx = 0x1234;
        r.ecx = 0x5678;
        pcemu::RunResult run = pc->call32(at, r);
        ASSERT_TRUE(run.ok()) << run.message;
        EXPECT_EQ(pc->adapter().writeBank(), bank);
        EXPECT_EQ(r.ebx, 0x1234u);
        EXPECT_EQ(r.ecx, 0x5678u);
    }
}

TEST_F(DriverDisplayTest, ActiveBufferMovesDrawingAndVisibleBufferTheDisplay) {
    CpuRegs r;
    r.eax = 1;
    call(&AF_DriverHeader::SetActiveBuffer, r);
    EXPECT_EQ(header().OriginOffset, 640u * 480);
    callBlock(&AF_DriverHeader::DrawRect, {2, 3, 1, 1}, CpuRegs{.eax = 9});
    EXPECT_EQ(vram(640 * 480 + 3 * 640 + 2), 9);
    EXPECT_EQ(vram(3 * 640 + 2), 0);

    r = {};
    r.eax = 1;
    r.edx = 0;
    call(&AF_DriverHeader::SetVisibleBuffer, r);
    EXPECT_EQ(bochs(pcemu::kBochsYOffset), 480);
    EXPECT_EQ(bochs(pcemu::kBochsXOffset), 0);
    pc->ports().out8(0x3C8, 9);
    for (int i = 0; i < 3; ++i)
        pc->ports().out8(0x3C9, 0xFF);
    EXPECT_EQ(pc->adapter().scanout().at(2, 3), 0xFFFFFFu); // buffer 1's pixel is on screen

    // The display start counts inside the visible buffer; waiting works.
    r = {};
    r.ecx = 8;
    r.edx = 10;
    r.eax = 1;
    call(&AF_DriverHeader::SetDisplayStart, r);
    EXPECT_EQ(bochs(pcemu::kBochsYOffset), 490);
    EXPECT_EQ(bochs(pcemu::kBochsXOffset), 8);

    r = {};
    call(&AF_DriverHeader::SetActiveBuffer, r);
    EXPECT_EQ(header().OriginOffset, 0u);
    r = {};
    r.edx = 1; // wait for the retrace
    call(&AF_DriverHeader::SetVisibleBuffer, r);
    EXPECT_EQ(bochs(pcemu::kBochsYOffset), 0);
}

TEST_F(DriverDisplayTest, PaletteGoesToTheDacAtItsWidth) {
    const AF_Palette entries[2] = {{0x10, 0x80, 0xFC, 0}, {0xFF, 0x00, 0x04, 0}};
    CpuRegs r;
    r.esi = put(entries, sizeof entries);
    r.ecx = 2;
    r.edx = 16;
    r.eax = 1; // wait for the retrace
    const uint32_t next = pc->adapter().dacEntry(18);
    call(&AF_DriverHeader::SetPaletteData, r);
    EXPECT_EQ(pc->adapter().dacEntry(16), 0xFC8010u);
    EXPECT_EQ(pc->adapter().dacEntry(17), 0x0400FFu);
    EXPECT_EQ(pc->adapter().dacEntry(18), next);

    // A 16-bit mode leaves the DAC at 6 bits: the values go in divided by 4.
    ASSERT_EQ(setMode(0x111), 0u);
    r.esi = put(entries, sizeof entries);
    r.ecx = 2;
    r.edx = 16;
    r.eax = 0;
    call(&AF_DriverHeader::SetPaletteData, r);
    EXPECT_EQ(pc->adapter().dacEntry(16), 0x3F2004u);
    EXPECT_EQ(pc->adapter().dacEntry(17), 0x01003Fu);
    r.ecx = 0; // nothing to do
    call(&AF_DriverHeader::SetPaletteData, r);
    EXPECT_EQ(pc->adapter().dacEntry(16), 0x3F2004u);
}

} // namespace
