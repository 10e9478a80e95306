// Selectors and far memory: cached selectors, real pointers, accesses and
// copies checked against limits, protected-mode interrupts.
#include "tobrin_test_support.h"

#include <vector>

namespace {

using namespace tobrin_test;

struct SelectorRange {
    uint32_t base, limit;
};

SelectorRange RangeOf(uint32_t selector) {
    auto& table = Pc().selectors();
    return {table.base(static_cast<uint16_t>(selector)).value_or(~0u),
            table.limit(static_cast<uint16_t>(selector)).value_or(~0u)};
}

void ExpectRange(uint32_t selector, uint32_t base, uint32_t limit, const char* what) {
    const SelectorRange r = RangeOf(selector);
    EXPECT_EQ(r.base, base) << what;
    EXPECT_EQ(r.limit, limit) << what;
}

TEST(CachedSelectors, AreCreatedOnceAndPickedByTheBiosVideoMode) {
    const uint32_t bios = TB_getBIOSSelector();
    ExpectRange(bios, 0x400, 0xFFFF, "BIOS data area");
    ASSERT_EQ(TB_getByte(bios, 0x49), 3) << "the ROM leaves text mode 3";

    CallCount creations(tobrin16::kCreateSelector);
    const uint32_t color = TB_getVGAColorTextSelector();
    const uint32_t mono = TB_getVGAMonoTextSelector();
    const uint32_t graph = TB_getVGAGraphSelector();
    ExpectRange(color, 0xB8000, 0xFFFF, "colour text");
    ExpectRange(mono, 0xB0000, 0xFFFF, "mono text");
    ExpectRange(graph, 0xA0000, 0xFFFF, "graphics");
    const uint64_t made = creations();
    EXPECT_LE(made, 3u);

    EXPECT_EQ(TB_getVGASelector(), color) << "mode 3";
    EXPECT_EQ(TB_getVGASelector(), color) << "again";
    TB_setByte(bios, 0x49, 7);
    EXPECT_EQ(TB_getVGASelector(), mono) << "mode 7";
    TB_setByte(bios, 0x49, 0x13);
    EXPECT_EQ(TB_getVGASelector(), graph) << "mode 13h";
    TB_setByte(bios, 0x49, 3);
    EXPECT_EQ(TB_getBIOSSelector(), bios);
    EXPECT_EQ(creations(), made) << "every later call returns the cached selector";
    EXPECT_EQ(TB_getModeType(), 2);
}

TEST(CachedSelectors, RealPointersUseTheFirstMegabyteSelector) {
    uint32_t selector = 0, offset = 0;
    TB_mapRealPointer(&selector, &offset, 0xC000, 0x0003);
    ExpectRange(selector, 0, 0xFFFFF, "first megabyte");
    EXPECT_EQ(offset, 0xC0003u);
    EXPECT_EQ(TB_getByte(selector, offset), Pc().memory().read8(0xC0003));

    CallCount creations(tobrin16::kCreateSelector);
    uint32_t again = 0;
    TB_mapRealPointer(&again, &offset, 0x1234, 0x5678);
    EXPECT_EQ(again, selector);
    EXPECT_EQ(offset, 0x1234u * 16 + 0x5678);
    TB_mapRealPointer(&again, &offset, 0xFFFF, 0xFFFF);
    EXPECT_EQ(offset, 0x10FFEFu) << "the sum, even past the selector's limit";
    EXPECT_EQ(creations(), 0u);
}

class SelectorBounds : public testing::Test {
protected:
    void SetUp() override {
        block_ = *Pc().space().guestAllocLinear(0x200);
        selector_ = TB_createSelector(block_, 0xFF);
        ASSERT_NE(selector_, 0u);
        for (uint32_t i = 0; i < 0x200; ++i)
            Host(block_)[i] = static_cast<uint8_t>(i * 7);
    }
    void TearDown() override {
        TB_freeSelector(selector_);
        Pc().space().guestFree(Host(block_));
    }
    uint8_t At(uint32_t i) const { return Host(block_)[i]; }

    uint32_t block_ = 0;
    uint32_t selector_ = 0;
};

TEST_F(SelectorBounds, AccessesWithinTheLimitReachMemory) {
    TB_setLong(selector_, 0xFC, 0x11223344);
    EXPECT_EQ(TB_getLong(selector_, 0xFC), 0x11223344u);
    EXPECT_EQ(At(0xFF), 0x11);
    TB_setWord(selector_, 0x10, 0xBEEF);
    EXPECT_EQ(TB_getWord(selector_, 0x10), 0xBEEF);
    TB_setByte(selector_, 0xFF, 0x5A);
    EXPECT_EQ(TB_getByte(selector_, 0xFF), 0x5A);
    EXPECT_EQ(At(0x100), static_cast<uint8_t>(0x100 * 7)) << "nothing past the limit changed";
}

TEST_F(SelectorBounds, AccessesPastTheLimitAreRefusedAndReported) {
    const std::vector<uint8_t> before(Host(block_), Host(block_) + 0x200);
    testing::internal::CaptureStderr();
    EXPECT_EQ(TB_getLong(selector_, 0xFD), 0u);
    EXPECT_EQ(TB_getWord(selector_, 0xFF), 0u);
    EXPECT_EQ(TB_getByte(selector_, 0x100), 0u);
    TB_setLong(selector_, 0xFD, 0xFFFFFFFF);
    TB_setWord(selector_, 0xFF, 0xFFFF);
    TB_setByte(selector_, 0xFFFFFFFF, 0xFF);
    const uint8_t source[17] = {};
    TB_memcpyfn(selector_, 0xF0, source, 17);
    uint8_t sink[17];
    std::fill(std::begin(sink), std::end(sink), 0xEE);
    TB_memcpynf(sink, selector_, 0xF0, 17);
    TB_setByte(0x12345, 0, 1); // not a selector at all
    const std::string report = testing::internal::GetCapturedStderr();

    EXPECT_EQ(std::vector<uint8_t>(Host(block_), Host(block_) + 0x200), before)
        << "no refused write happened, not even in part";
    EXPECT_EQ(sink[0], 0xEE) << "a refused copy copies nothing";
    for (const char* who : {"TB_getLong", "TB_getWord", "TB_getByte", "TB_setLong", "TB_setWord",
                            "TB_setByte", "TB_memcpyfn", "TB_memcpynf"})
        EXPECT_NE(report.find(std::string("tobrin32: ") + who + " refused"), std::string::npos)
            << who;
    EXPECT_NE(report.find("17 bytes at "), std::string::npos) << report;
}

TEST_F(SelectorBounds, FarCopiesMoveEveryByteAndNoMore) {
    for (uint32_t count = 0; count <= 9; ++count) {
        uint8_t source[9];
        for (uint32_t i = 0; i < 9; ++i)
            source[i] = static_cast<uint8_t>(0xA0 + count * 16 + i);
        const uint32_t at = 0x21 + count * 16;
        const uint8_t after = At(at + count);
        TB_memcpyfn(selector_, at, source, count);
        EXPECT_EQ(std::vector<uint8_t>(Host(block_) + at, Host(block_) + at + count),
                  std::vector<uint8_t>(source, source + count))
            << count;
        EXPECT_EQ(At(at + count), after) << count;

        uint8_t back[10];
        std::fill(std::begin(back), std::end(back), 0x77);
        TB_memcpynf(back, selector_, at, count);
        EXPECT_EQ(std::vector<uint8_t>(back, back + count),
                  std::vector<uint8_t>(source, source + count))
            << count;
        EXPECT_EQ(back[count], 0x77) << count;
    }
    uint8_t last[16];
    TB_memcpynf(last, selector_, 0xF0, 16); // ends exactly at the limit
    EXPECT_EQ(last[15], At(0xFF));
}

TEST(ProtectedModeInterrupts, ReportTheCarryFlagInTheSeventhValue) {
    ProtRegs in = {}, out = {};
    in.eax = 0x0F00; // video BIOS: current mode
    in.cflag = 1;    // cleared before the interrupt
    EXPECT_EQ(TB_int386(0x10, &in, &out), out.eax);
    EXPECT_EQ(out.eax & 0xFF, 3u);
    EXPECT_EQ(out.cflag, 0u);

    in = {};
    in.eax = 0x9900; // a DOS function the machine does not know: carry
    ProtSegs segs;
    TB_segread(&segs);
    EXPECT_EQ(TB_int386x(0x21, &in, &out, &segs) & 0xFFFF, 1u);
    EXPECT_EQ(out.cflag, 1u);

    in = {};
    in.eax = 0x3510; // DOS get vector: no carry, ES:BX
    TB_int386x(0x21, &in, &out, &segs);
    EXPECT_EQ(out.cflag, 0u);
    EXPECT_EQ(out.ebx & 0xFFFF, Pc().memory().read16(0x10 * 4));

    in = {};
    out.cflag = 0;
    TB_int386(0x66, &in, &out); // nobody handles interrupt 66h
    EXPECT_EQ(out.cflag, 1u);
}

TEST(ProtectedModeInterrupts, AnInvalidSegmentIsRefusedWithCarry) {
    ProtRegs in = {}, out = {};
    in.eax = 0x0F00;
    in.ebx = 0x1234;
    ProtSegs segs;
    TB_segread(&segs);
    EXPECT_EQ(segs.cs, pcemu::DescriptorTable::kFlatCode);
    EXPECT_EQ(segs.ds, pcemu::DescriptorTable::kFlatData);
    segs.es = 0x7FF8; // never handed out
    testing::internal::CaptureStderr();
    TB_int386x(0x10, &in, &out, &segs);
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_EQ(out.cflag, 1u);
    EXPECT_EQ(out.ebx, 0x1234u);
    EXPECT_NE(report.find("TB_int386x"), std::string::npos);
}

} // namespace
