// The virtual linear buffer: banks mapped on first touch by running the
// bank-switch code, foreign faults left to whoever handled them before.
#include "bank_fragments.h"
#include "tobrin_test_support.h"

#include <csignal>
#include <cstring>
#include <unistd.h>

namespace {

using namespace tobrin_test;

constexpr uint32_t kBank = 0x10000;
constexpr uint32_t kPage = 640 * 480;

uint8_t Pattern(uint32_t i) {
    return static_cast<uint8_t>(i * 7 + (i >> 16) * 13);
}

pcemu::PieceKind KindOfBank(uint32_t bank) {
    return Pc().space().kind(pcemu::kVirtualBufferBase + bank * kBank);
}

void (*CurrentSegvHandler())(int) {
    struct sigaction now = {};
    sigaction(SIGSEGV, nullptr, &now);
    return now.sa_handler;
}

class VirtualBuffer : public testing::Test {
protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        ASSERT_TRUE(SetMode(0x101)) << "640 x 480 x 8";
        ASSERT_EQ(VF_available(), 1);
    }
    void TearDown() override {
        VF_exit();
        SetMode(0x03);
    }
    uint8_t* Start(const std::vector<uint8_t>& code) {
        return static_cast<uint8_t*>(
            VF_init(0xA0000, 64, static_cast<uint32_t>(code.size()), code.data()));
    }
    const uint8_t* Vram() const { return Pc().space().vram(); }
};

TEST_F(VirtualBuffer, AWriteSweepLandsInVideoMemoryBankByBank) {
    const std::vector<uint8_t> fragment = RomSetWindowFragment();
    ASSERT_FALSE(fragment.empty());
    TB_setBankA(7); // the window starts elsewhere, so every bank moves it
    const uint64_t moves = Pc().adapter().windowMoves();
    const uint64_t faults = Tobrin16_BankFaults();
    void (*before)(int) = CurrentSegvHandler();

    uint8_t* buffer = Start(fragment);
    ASSERT_EQ(buffer, Host(pcemu::kVirtualBufferBase));
    EXPECT_EQ(KindOfBank(0), pcemu::PieceKind::None) << "nothing mapped before a touch";
    for (uint32_t i = 0; i < kPage; ++i)
        buffer[i] = Pattern(i);

    const uint32_t banks = (kPage + kBank - 1) / kBank;
    EXPECT_EQ(Tobrin16_BankFaults() - faults, banks);
    EXPECT_EQ(Pc().adapter().windowMoves() - moves, banks) << "the code really ran";
    EXPECT_EQ(Pc().adapter().writeBank(), banks - 1);
    uint32_t wrong = 0;
    for (uint32_t i = 0; i < kPage; ++i)
        wrong += Vram()[i] != Pattern(i);
    EXPECT_EQ(wrong, 0u) << "seen through the linear view";
    for (uint32_t b = 0; b + 1 < banks; ++b)
        EXPECT_EQ(KindOfBank(b), pcemu::PieceKind::None) << "bank " << b << " was taken away";
    EXPECT_EQ(KindOfBank(banks - 1), pcemu::PieceKind::Ram);

    EXPECT_EQ(buffer[5], Pattern(5)) << "a read maps bank 0 again";
    EXPECT_EQ(Pc().adapter().writeBank(), 0);
    EXPECT_EQ(Tobrin16_BankFaults() - faults, banks + 1);

    VF_exit();
    for (uint32_t b = 0; b < banks; ++b)
        EXPECT_EQ(KindOfBank(b), pcemu::PieceKind::None);
    EXPECT_EQ(CurrentSegvHandler(), before) << "the previous handler is back";
}

TEST_F(VirtualBuffer, ABankMapsWhereTheCodeMovedTheWindow) {
    uint8_t* buffer = Start(BankPortFragment(1)); // asked for bank b, shows b + 1
    ASSERT_NE(buffer, nullptr);
    buffer[0x10] = 0xAB;
    EXPECT_EQ(Pc().adapter().writeBank(), 1);
    EXPECT_EQ(Vram()[0x10010], 0xAB);
    buffer[0x20005] = 0xCD;
    EXPECT_EQ(Vram()[0x30005], 0xCD);
}

// Run in a child with a deadline: an instruction whose store straddles two
// banks could otherwise fault back and forth for ever.
TEST_F(VirtualBuffer, AnAccessAcrossTwoBanksCompletes) {
    EXPECT_EXIT(
        {
            alarm(10);
            uint8_t* buffer = Start(BankPortFragment());
            const uint64_t value = 0x8877665544332211u;
            std::memcpy(buffer + kBank - 4, &value, sizeof value); // one 8-byte store
            uint64_t back = 0;
            std::memcpy(&back, Vram() + kBank - 4, sizeof back);
            if (back != value) _exit(2);
            buffer[3 * kBank] = 1; // a new bank takes both away
            if (KindOfBank(0) != pcemu::PieceKind::None) _exit(3);
            if (KindOfBank(1) != pcemu::PieceKind::None) _exit(4);
            _exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(VirtualBuffer, CodeLongerThanTheFlatThunkBlockIsRefusedThere) {
    const std::vector<uint8_t> code = BankPortFragment(0, 101);
    ASSERT_EQ(code.size(), 101u);
    CallCount starts(tobrin16::kVirtualBufferStart);
    uint8_t* buffer = Start(code);
    if (FlatThunk()) {
        EXPECT_EQ(buffer, nullptr);
        EXPECT_EQ(starts(), 0u) << "refused without calling the companion";
        EXPECT_NE(Start(BankPortFragment(0, 100)), nullptr) << "100 bytes fit";
    } else {
        ASSERT_NE(buffer, nullptr);
        buffer[kBank + 1] = 0x5E;
        EXPECT_EQ(Vram()[kBank + 1], 0x5E);
    }
}

TEST_F(VirtualBuffer, WindowsAndBankSizesItCannotServeGiveNil) {
    const std::vector<uint8_t> code = BankPortFragment();
    const auto size = static_cast<uint32_t>(code.size());
    EXPECT_EQ(VF_init(0xB0000, 64, size, code.data()), nullptr) << "not the banked window";
    EXPECT_EQ(VF_init(0xA0000, 4, size, code.data()), nullptr) << "4 KB banks";
    EXPECT_EQ(VF_init(0xA0000, 64, 0, code.data()), nullptr) << "no code";
}

// The children start from the default action, as a program does (a sanitizer
// runtime would otherwise report the crash in its own way).
TEST_F(VirtualBuffer, AFaultOutsideTheRangeStillCrashes) {
    EXPECT_EXIT(
        {
            std::signal(SIGSEGV, SIG_DFL);
            uint8_t* buffer = Start(BankPortFragment());
            buffer[1] = 1;
            *reinterpret_cast<volatile uint8_t*>(Host(0xC0000000)) = 1;
        },
        testing::KilledBySignal(SIGSEGV), "");
}

void ExitWith42(int) {
    _exit(42);
}

TEST_F(VirtualBuffer, AFaultOutsideTheRangeReachesThePreviousHandler) {
    EXPECT_EXIT(
        {
            std::signal(SIGSEGV, ExitWith42);
            uint8_t* buffer = Start(BankPortFragment());
            buffer[1] = 1; // ours: handled, goes on
            if (Vram()[1] != 1) _exit(3);
            *reinterpret_cast<volatile uint8_t*>(Host(0xC0000000)) = 1;
        },
        testing::ExitedWithCode(42), "");
}

TEST_F(VirtualBuffer, TheRangeHasNoAccessAfterExit) {
    EXPECT_EXIT(
        {
            std::signal(SIGSEGV, SIG_DFL);
            uint8_t* buffer = Start(BankPortFragment());
            buffer[1] = 1;
            VF_exit();
            *reinterpret_cast<volatile uint8_t*>(buffer + 1) = 2;
        },
        testing::KilledBySignal(SIGSEGV), "");
}

TEST_F(VirtualBuffer, BankCodeThatFailsEndsTheProcessWithAReason) {
    EXPECT_EXIT(
        {
            std::signal(SIGSEGV, SIG_DFL);
            uint8_t* buffer = Start(WrapWindowCode({0x0F, 0x0B})); // ud2
            buffer[1] = 1;
        },
        testing::KilledBySignal(SIGSEGV), "the bank-switch code failed");
}

} // namespace
