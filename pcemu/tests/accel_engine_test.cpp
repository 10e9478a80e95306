// The 2D engine through its register block: the busy time, direct access
// while busy counted for host and emulated touches (and not when bracketed),
// the fault handler's place among others, and the hardware cursor in the
// scanout. (What the commands draw: accel_draw_test and the driver's tests.)
#include "machine_rig.h"

#include "pcemu/accel.h"

#include <csignal>
#include <sys/mman.h>

using namespace pcemu;
using namespace pcemu_test;

namespace {

class AccelEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        pc = NewMachine("none");
        ASSERT_TRUE(pc);
        // 640 x 480 x 8 through the Bochs interface.
        Bochs(*pc, kBochsXRes, 640);
        Bochs(*pc, kBochsYRes, 480);
        Bochs(*pc, kBochsBpp, 8);
        Bochs(*pc, kBochsEnable, kBochsEnabled | kBochsLinear | kBochs8BitDac);
        set(kAccelPitch, 640);
        set(kAccelBpp, 8);
        clip(0, 0, 639, 479);
    }
    void set(uint32_t reg, uint32_t value) {
        pc->memory().write32(kAccelRegisterBase + reg, value);
    }
    uint32_t get(uint32_t reg) { return pc->memory().read32(kAccelRegisterBase + reg); }
    void clip(int32_t l, int32_t t, int32_t r, int32_t b) {
        set(kAccelClipLeft, l);
        set(kAccelClipTop, t);
        set(kAccelClipRight, r);
        set(kAccelClipBottom, b);
    }
    void fill(int32_t l, int32_t t, int32_t w, int32_t h, uint32_t colour) {
        set(kAccelForeColour, colour);
        set(kAccelParam0, l);
        set(kAccelParam0 + 4, t);
        set(kAccelParam0 + 8, w);
        set(kAccelParam0 + 12, h);
        set(kAccelCommand, kAccelFillRect);
    }
    // Reads STATUS until the busy bit clears; the number of busy reads.
    int waitIdle() {
        int reads = 0;
        while (get(kAccelStatus) & kAccelBusy)
            ++reads;
        return reads;
    }
    // What the engine drew, seen without touching the guarded views.
    uint32_t shown(int x, int y) { return pc->adapter().scanout().at(x, y); }
    Accelerator& engine() { return pc->adapter().accelerator(); }
    volatile uint8_t* linear() { return pc->space().vram(); }
    volatile uint8_t* window() { return pc->hostPointer(kVgaWindow); }

    std::unique_ptr<Machine> pc;
};

TEST_F(AccelEngineTest, BusyForReadsThatGrowWithThePixels) {
    fill(0, 0, 1, 1, 1);
    EXPECT_TRUE(engine().busy());
    EXPECT_EQ(waitIdle(), 2);
    EXPECT_FALSE(engine().busy());
    fill(0, 0, 640, 480, 1); // 307 200 pixels: 2 + 300 reads
    EXPECT_EQ(waitIdle(), 302);
    fill(0, 0, 1, 1, 1);
    fill(0, 0, 1, 1, 1); // queued work adds up
    pc->memory().read16(kAccelRegisterBase + kAccelStatus); // a narrow read counts once
    EXPECT_EQ(waitIdle(), 3);
    EXPECT_EQ(engine().violations(), 0u);
}

TEST_F(AccelEngineTest, HostTouchWhileBusyIsCountedAndGoesThrough) {
    fill(0, 0, 8, 1, 7);
    linear()[5] = 3; // no wait: a violation, and the write lands
    EXPECT_EQ(engine().violations(), 1u);
    EXPECT_FALSE(engine().busy());
    EXPECT_EQ(get(kAccelStatus) & kAccelBusy, 0u);
    EXPECT_EQ(linear()[5], 3);
    EXPECT_EQ(linear()[4], 7);

    fill(0, 0, 8, 1, 7);
    EXPECT_EQ(window()[1], 7); // a read through the bank window counts too
    EXPECT_EQ(engine().violations(), 2u);
    EXPECT_EQ(get(kAccelViolations), 2u);
}

TEST_F(AccelEngineTest, BracketedTouchesAreNotCounted) {
    fill(0, 0, 8, 1, 7);
    waitIdle();
    linear()[1] = 1;
    window()[2] = 2;

    set(kAccelDirectAccess, 1);
    EXPECT_TRUE(engine().directAccess());
    fill(0, 0, 8, 1, 7); // open memory: no busy time at all
    EXPECT_FALSE(engine().busy());
    linear()[1] = 1;
    set(kAccelDirectAccess, 0);
    EXPECT_EQ(engine().violations(), 0u);

    fill(0, 0, 8, 1, 7);
    set(kAccelDirectAccess, 1); // enabling direct access waits for the engine
    EXPECT_FALSE(engine().busy());
    linear()[1] = 1;
    set(kAccelDirectAccess, 0);
    EXPECT_EQ(engine().violations(), 0u);
    EXPECT_EQ(engine().commands(), 3u);
}

TEST_F(AccelEngineTest, EmulatedCodeTouchingVideoMemoryWhileBusyIsCounted) {
    auto code = pc->space().guestAllocLinear(16);
    ASSERT_TRUE(code);
    // mov al, [E0000010h]; mov [A0020h], al; ret
    Poke(*pc, *code, {0xA0, 0x10, 0x00, 0x00, 0xE0, 0xA2, 0x20, 0x00, 0x0A, 0x00, 0xC3});
    fill(0, 0, 32, 1, 6);
    CpuRegs r;
    RunResult run = pc->call32(*code, r);
    ASSERT_TRUE(run.ok()) << run.message;
    EXPECT_EQ(r.al(), 6);
    EXPECT_EQ(engine().violations(), 1u);

    waitIdle();
    run = pc->call32(*code, r); // after waiting: nothing to report
    ASSERT_TRUE(run.ok()) << run.message;
    EXPECT_EQ(engine().violations(), 1u);
}

TEST_F(AccelEngineTest, TheWindowStaysClosedAcrossABankSwitch) {
    fill(0, 0, 640, 480, 4);
    Bochs(*pc, kBochsBank, 2); // the window view is mapped anew
    EXPECT_EQ(window()[0], 4);
    EXPECT_EQ(engine().violations(), 1u);
}

TEST_F(AccelEngineTest, CursorIsDrawnByTheScanout) {
    SetDac(*pc, 1, 0x10, 0x20, 0x30); // 8-bit DAC: 102030h
    fill(0, 0, 640, 480, 1);
    waitIdle();
    // Row 0: columns 0-1 AND 1 XOR 0 (screen), 2-3 AND 0 XOR 1 (colour),
    // 4-5 AND 0 XOR 0 (black), 6-7 AND 1 XOR 1 (screen XOR colour); the
    // rest of the cursor is transparent.
    for (int r = 0; r < 32; ++r) {
        set(kAccelCursorAnd + 4 * r, r == 0 ? 0xC3FFFFFF : 0xFFFFFFFF);
        set(kAccelCursorXor + 4 * r, r == 0 ? 0x33000000 : 0);
    }
    set(kAccelCursorColour, 0xFF00FF);
    set(kAccelCursorHotX, 2);
    set(kAccelCursorHotY, 0);
    set(kAccelCursorX, 102);
    set(kAccelCursorY, 50);
    EXPECT_EQ(shown(101, 50), 0x102030u); // hidden until shown
    set(kAccelCursorShow, 1);
    Image image = pc->adapter().scanout();
    EXPECT_EQ(image.at(100, 50), 0x102030u);
    EXPECT_EQ(image.at(101, 50), 0x102030u);
    EXPECT_EQ(image.at(102, 50), 0xFF00FFu);
    EXPECT_EQ(image.at(103, 50), 0xFF00FFu);
    EXPECT_EQ(image.at(104, 50), 0u);
    EXPECT_EQ(image.at(106, 50), 0x102030u ^ 0xFF00FFu);
    EXPECT_EQ(image.at(108, 50), 0x102030u);
    EXPECT_EQ(image.at(102, 51), 0x102030u);

    set(kAccelCursorX, -1); // partly off screen: only what is on it
    set(kAccelCursorY, 479);
    image = pc->adapter().scanout();
    EXPECT_EQ(image.at(0, 479), 0xFF00FFu);
    EXPECT_EQ(image.at(2, 479), 0u);
    set(kAccelCursorShow, 0);
    EXPECT_EQ(shown(0, 479), 0x102030u);
}

TEST_F(AccelEngineTest, ScanoutWhileBusyIsNoViolation) {
    fill(0, 0, 640, 480, 1);
    pc->adapter().scanout();
    EXPECT_TRUE(engine().busy());
    EXPECT_EQ(engine().violations(), 0u);
}

// A fault handler installed after the adapter's, as the virtual linear
// buffer installs one: it takes faults in its own page and passes the rest on.
struct LaterHandler {
    static inline uint8_t* page = nullptr;
    static inline struct sigaction previous = {};
    static inline int taken = 0;
    static void onFault(int signal, siginfo_t* info, void* context) {
        auto* at = static_cast<uint8_t*>(info->si_addr);
        if (at >= page && at < page + 4096) {
            mprotect(page, 4096, PROT_READ | PROT_WRITE);
            ++taken;
            return;
        }
        previous.sa_sigaction(signal, info, context);
    }
};

TEST_F(AccelEngineTest, WorksUnderAFaultHandlerInstalledLater) {
    void* page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(page, MAP_FAILED);
    LaterHandler::page = static_cast<uint8_t*>(page);
    struct sigaction later = {};
    later.sa_sigaction = LaterHandler::onFault;
    later.sa_flags = SA_SIGINFO;
    sigemptyset(&later.sa_mask);
    ASSERT_EQ(sigaction(SIGSEGV, &later, &LaterHandler::previous), 0);
    ASSERT_TRUE(LaterHandler::previous.sa_flags & SA_SIGINFO);

    fill(0, 0, 8, 1, 7);
    linear()[0] = 1; // passed on to the adapter's handler
    EXPECT_EQ(engine().violations(), 1u);
    static_cast<volatile uint8_t*>(page)[0] = 1; // the later handler's own
    EXPECT_EQ(LaterHandler::taken, 1);
    EXPECT_EQ(engine().violations(), 1u);

    sigaction(SIGSEGV, &LaterHandler::previous, nullptr);
    munmap(page, 4096);
}

using AccelEngineDeathTest = AccelEngineTest;

TEST_F(AccelEngineDeathTest, OtherFaultsStillEndTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    fill(0, 0, 8, 8, 1); // the views are closed: the handler is in charge
    EXPECT_DEATH(
        {
            volatile uint8_t* nowhere = pc->hostPointer(0xB0000); // never mapped for the host
            nowhere[0] = 1;
        },
        "");
}

} // namespace
