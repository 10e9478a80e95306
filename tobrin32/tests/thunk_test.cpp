// The two bindings: SharedBlock contents in flat-thunk mode, translation
// lists in universal-thunk mode, and the counted attach notifications.
#include "tobrin_test_support.h"

#include <cstring>
#include <vector>

namespace {

using namespace tobrin_test;

// Bytes of SharedBlock as the last service left them, at the offsets of its
// layout: result 0, arguments 4, 8, 12, 16, 20, registers in 24 and out 40,
// segments 56, code 64.
class SharedBlock : public testing::Test {
protected:
    void SetUp() override {
        if (!FlatThunk()) GTEST_SKIP() << "SharedBlock belongs to the flat thunk";
        at_ = Tobrin16_SharedBlockSegment() * 16u;
        ASSERT_NE(at_, 0u);
    }
    uint32_t Long(uint32_t offset) const { return Pc().memory().read32(at_ + offset); }
    uint16_t Word(uint32_t offset) const { return Pc().memory().read16(at_ + offset); }
    std::vector<uint8_t> Bytes(uint32_t offset, uint32_t n) const {
        return std::vector<uint8_t>(Host(at_ + offset), Host(at_ + offset + n));
    }
    uint32_t at_ = 0;
};

std::vector<uint8_t> BytesOf(const void* p, size_t n) {
    const auto* b = static_cast<const uint8_t*>(p);
    return std::vector<uint8_t>(b, b + n);
}

TEST_F(SharedBlock, ValuesAndResultsLieAtTheirOffsets) {
    const uint32_t selector = TB_createSelector(0x12345, 0xFFF);
    EXPECT_EQ(Long(0), selector);
    EXPECT_EQ(Long(4), 0x12345u);
    EXPECT_EQ(Long(8), 0xFFFu);
    TB_freeSelector(selector);
    EXPECT_EQ(Long(4), selector);

    TB_setCRTStart(8, 100);
    EXPECT_EQ(Long(4), 8u);
    EXPECT_EQ(Long(8), 100u);
    TB_setBankA(2);
    EXPECT_EQ(Long(4), 2u);

    ASSERT_NE(TB_mapPhysicalAddr(0x200000, 0xFF), nullptr);
    EXPECT_EQ(Long(0), 0x200000u) << "service 8 ran last";
    EXPECT_EQ(Long(8), 0xFFu);
    TB_mapPhysicalAddr(0xA0000, 0xFFFF);
    EXPECT_EQ(Long(4), pcemu::DescriptorTable::kFlatData) << "service 10 only";
    EXPECT_EQ(Long(0), 0u) << "its base";
}

TEST_F(SharedBlock, RegisterRecordsLieAtTheirOffsets) {
    RealRegs in = {}, out = {};
    in.h.ah = 0x0F;
    in.x.si = 0xABCD;
    TB_int86(0x10, &in, &out);
    EXPECT_EQ(Long(4), 0x10u);
    EXPECT_EQ(Bytes(24, 16), BytesOf(&in, 16));
    EXPECT_EQ(Bytes(40, 16), BytesOf(&out, 16));
    EXPECT_EQ(Word(40), 0x5003) << "AX: 80 columns, mode 3";
    EXPECT_EQ(Long(0), 0x5003u);

    in = {};
    in.x.ax = 0x3510;
    RealSegs segs = {};
    TB_int86x(0x21, &in, &out, &segs);
    EXPECT_EQ(Bytes(56, 8), BytesOf(&segs, 8));
    EXPECT_EQ(segs.es, Pc().memory().read16(0x42)) << "segment of interrupt 10h";

    const RealRoutine routine({0x41, 0xCB}); // inc cx; retf
    RealRegs regs = {};
    regs.x.cx = 0x77;
    segs = {};
    segs.es = 0x1234;
    TB_callRealMode(routine.segment, 3, &regs, &segs);
    EXPECT_EQ(Long(4), routine.segment);
    EXPECT_EQ(Long(8), 3u);
    EXPECT_EQ(Bytes(24, 16), BytesOf(&regs, 16));
    EXPECT_EQ(Bytes(56, 8), BytesOf(&segs, 8));
}

TEST_F(SharedBlock, OutputsAndCodeLieAtTheirOffsets) {
    uint32_t selector, offset, segment, realOffset;
    void* memory = TB_allocRealSeg(100, &selector, &offset, &segment, &realOffset);
    ASSERT_NE(memory, nullptr);
    EXPECT_EQ(Long(4), 100u);
    EXPECT_EQ(Long(8), selector);
    EXPECT_EQ(Long(12), offset);
    EXPECT_EQ(Long(16), segment);
    EXPECT_EQ(Long(20), realOffset);
    EXPECT_EQ(Long(0), segment * 16);
    TB_freeRealSeg(selector, offset);
    EXPECT_EQ(Long(4), selector);
    EXPECT_EQ(Long(8), 0u);

    uint32_t physical, total;
    TB_availableMemory(&physical, &total);
    EXPECT_EQ(Long(4), physical);
    EXPECT_EQ(Long(8), total);

    // A bank size the window cannot have: the service fails after reading
    // everything, and nothing runs after it.
    const uint8_t code[] = {0x90, 0x90, 0x90, 0xCC, 0x01};
    EXPECT_EQ(VF_init(0xA0000, 32, sizeof code, code), nullptr);
    EXPECT_EQ(Long(4), 0xA0000u);
    EXPECT_EQ(Long(8), 32u);
    EXPECT_EQ(Long(12), sizeof code);
    EXPECT_EQ(Bytes(64, sizeof code), BytesOf(code, sizeof code));
    EXPECT_EQ(Long(0), 0u);
}

TEST(UniversalThunk, PointerArgumentsTravelInTheTranslationList) {
    if (FlatThunk()) GTEST_SKIP() << "translation lists belong to the universal thunk";
    RealRegs r = {};
    RealSegs s = {};
    TB_int86(0x10, &r, &r);
    EXPECT_EQ(Tobrin16_LastTranslationCount(), 2u) << "registers in and out";
    TB_int86x(0x10, &r, &r, &s);
    EXPECT_EQ(Tobrin16_LastTranslationCount(), 3u) << "and segments";
    const RealRoutine routine({0xCB}); // retf
    TB_callRealMode(routine.segment, routine.realOffset, &r, &s);
    EXPECT_EQ(Tobrin16_LastTranslationCount(), 2u);
    uint32_t physical = 0, total = 0;
    TB_availableMemory(&physical, &total);
    EXPECT_EQ(Tobrin16_LastTranslationCount(), 2u) << "both outputs";
    EXPECT_EQ(physical, Pc().realMemoryFree());
    EXPECT_EQ(total, pcemu::kGuestHeapEnd);
    const uint8_t code[] = {0x90};
    VF_init(0xA0000, 32, sizeof code, code);
    EXPECT_EQ(Tobrin16_LastTranslationCount(), 1u) << "the code";
    TB_freeSelector(TB_createSelector(0, 1));
    EXPECT_EQ(Tobrin16_LastTranslationCount(), 0u) << "values only";
}

TEST(UniversalThunk, AllocationPassesAllFourOutputs) {
    if (FlatThunk()) GTEST_SKIP();
    uint32_t selector, offset, segment, realOffset;
    void* memory = TB_allocRealSeg(16, &selector, &offset, &segment, &realOffset);
    ASSERT_NE(memory, nullptr);
    EXPECT_EQ(Tobrin16_LastTranslationCount(), 4u);
    EXPECT_EQ(memory, Host(segment * 16));
    EXPECT_NE(selector, 0u);
    TB_freeRealSeg(selector, offset);
}

// The companion's own side: a record that is not listed is not touched, and
// a list that names anything but a record entry refuses the call.
TEST(UniversalThunk, TheCompanionUsesOnlyListedRecords) {
    const uint32_t scratch = *Pc().space().guestAllocLinear(8);
    uint32_t args[2] = {scratch, scratch + 4};
    Pc().memory().write32(scratch, 0xAAAAAAAA);
    Pc().memory().write32(scratch + 4, 0xBBBBBBBB);
    uint32_t* onlySecond[] = {&args[1], nullptr};
    UTProc(args, tobrin16::kAvailableMemory, onlySecond);
    EXPECT_EQ(Pc().memory().read32(scratch), 0xAAAAAAAAu);
    EXPECT_EQ(Pc().memory().read32(scratch + 4), pcemu::kGuestHeapEnd);

    uint32_t outside = scratch;
    uint32_t* strayEntry[] = {&outside, nullptr};
    uint32_t* twice[] = {&args[0], &args[0], nullptr};
    uint32_t selectorArgs[2] = {0x1000, 0xFF};
    uint32_t* valueEntry[] = {&selectorArgs[0], nullptr};
    CallCount creations(tobrin16::kCreateSelector);
    EXPECT_EQ(UTProc(args, tobrin16::kAvailableMemory, strayEntry), 0u);
    EXPECT_EQ(UTProc(args, tobrin16::kAvailableMemory, twice), 0u);
    EXPECT_EQ(UTProc(selectorArgs, tobrin16::kCreateSelector, valueEntry), 0u);
    EXPECT_EQ(UTProc(nullptr, tobrin16::kCreateSelector, nullptr), 0u);
    EXPECT_EQ(Pc().memory().read32(scratch), 0xAAAAAAAAu);
    EXPECT_EQ(creations(), 2u) << "counted, but none made";
    EXPECT_EQ(Pc().selectors().base(0x1000 >> 3 << 3).has_value(), false);
    Pc().space().guestFree(Host(scratch));
}

// This process attached once when it loaded the library.
TEST(Attach, OnlyTheFirstAttachBindsAndOnlyTheLastDetachReleases) {
    CallCount starts(tobrin16::kStartSharedBlock), releases(tobrin16::kReleaseSharedBlock);
    EXPECT_EQ(DllEntryPoint(nullptr, TB_DLL_PROCESS_ATTACH, nullptr), 1);
    EXPECT_EQ(starts(), 0u) << "a second attach only counts";
    EXPECT_EQ(DllEntryPoint(nullptr, TB_DLL_PROCESS_DETACH, nullptr), 0);
    EXPECT_EQ(releases(), 0u);
    const uint32_t selector = TB_createSelector(0x1000, 0xF);
    EXPECT_NE(selector, 0u) << "still bound";
    TB_freeSelector(selector);

    EXPECT_EQ(DllEntryPoint(nullptr, TB_DLL_PROCESS_DETACH, nullptr), 0);
    EXPECT_EQ(releases(), FlatThunk() ? 1u : 0u) << "the last detach releases the block";
    EXPECT_EQ(Tobrin16_SharedBlockSegment(), 0u);
    CallCount creations(tobrin16::kCreateSelector);
    EXPECT_EQ(TB_createSelector(0x1000, 0xF), 0u) << "unbound";
    EXPECT_EQ(creations(), 0u);
    DllEntryPoint(nullptr, TB_DLL_PROCESS_DETACH, nullptr);
    EXPECT_EQ(releases(), FlatThunk() ? 1u : 0u) << "nothing left to release";

    EXPECT_EQ(DllEntryPoint(nullptr, TB_DLL_PROCESS_ATTACH, nullptr), 1);
    EXPECT_EQ(starts(), FlatThunk() ? 1u : 0u) << "bound again";
    EXPECT_EQ(DllEntryPoint(nullptr, 2, nullptr), 0) << "other notifications do nothing";
    RealRegs r = {};
    r.h.ah = 0x0F;
    EXPECT_EQ(TB_int86(0x10, &r, &r) & 0xFF, 3);
}

} // namespace
