// The fullscreen run end to end on the emulated PC (model BIOS, 4 MB) and the
// event library's scripted window system.
#include "fullscreen_support.h"

#include "maprun/fullscreen/fullscreenunit.h"
#include "maprun/fullscreen/headlessrun.h"

#include "tobrin32/tobrin32.h"

#include <stdexcept>

using namespace maprun;
using namespace maprun_test;

namespace {

using Banks = std::vector<int32_t>;

pcemu::Adapter& Adapter() {
    return pcemu::TheMachine().adapter();
}

class Fullscreen : public ::testing::Test {
protected:
    void SetUp() override {
        StartFullscreenSupport();
        const SV_DeviceInfo* info = FullscreenUnit().DeviceInfo;
        if (!info || info->memoryKB < 512) GTEST_SKIP() << "needs VBE hardware with 512 KB";
    }
    static std::vector<uint32_t> Kinds(const THeadlessRun& run) {
        std::vector<uint32_t> kinds;
        for (const VTEventRecord& e : run.Events)
            kinds.push_back(e.Kind);
        return kinds;
    }
    static std::vector<uint32_t> ScanCodes(const THeadlessRun& run) {
        std::vector<uint32_t> codes;
        for (const VTEventRecord& e : run.Events)
            codes.push_back(e.Kind == TVantorControlObject::kEndEvent ? 0 : (e.Code >> 8) & 0xFF);
        return codes;
    }
};

TEST_F(Fullscreen, HiResFramesAlternatePagesAndShowWhatRenderDraws) {
    auto game = DemoGame(true);
    game->SetWindowed(true);
    game->Draw(); // as the window last showed it: rows bottom-up
    game->FrameBuffer().SetPaletteEntry(0, 200, 100, 50);
    const THeadlessRun run = RunHeadless(*game, {});

    ASSERT_EQ(run.Frames.size(), 3u);
    EXPECT_EQ(run.Frames[0].Banks, (Banks{0, 1, 2, 3}));
    EXPECT_EQ(run.Frames[1].Banks, (Banks{4, 5, 6, 7}));
    EXPECT_EQ(run.Frames[2].Banks, (Banks{0, 1, 2, 3}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(run.Frames[i].VisiblePage, i % 2) << "frame " << i + 1;
        EXPECT_EQ(run.Frames[i].ActivePage, 1 - i % 2) << "frame " << i + 1;
        EXPECT_EQ(run.Frames[i].Ticks, i == 0 ? 0 : 1) << "frame " << i + 1;
    }
    // The next frame would go to page 1: the window shows its first bank.
    EXPECT_EQ(Adapter().writeBank(), 4);
    const pcemu::DisplayMode mode = Adapter().displayMode();
    EXPECT_EQ(mode.kind, pcemu::DisplayMode::Kind::Svga);
    EXPECT_EQ(mode.width, 640);
    EXPECT_EQ(mode.height, 400);

    // The raster marker's last write leaves colour 0 black whatever the palette says.
    EXPECT_EQ(Adapter().dacEntry(0), 0u);
    EXPECT_EQ(Adapter().dacEntry(1),
              ThroughDac(&RenderFrame(DemoMap(), DemoDir(), {}).Colors[3], 8));

    // Frame k shows the game after k - 1 ticks, drawn top-down (also the first,
    // which the window had drawn bottom-up); the marker leaves colour 0 black.
    for (int i = 0; i < 3; ++i) {
        RenderOptions options;
        options.HiRes = true;
        options.Ticks = i;
        EXPECT_TRUE(ShowsFrame(run.Frames[i].Scanout, RenderFrame(DemoMap(), DemoDir(), options),
                               Adapter().dacBits(), true))
            << "frame " << i + 1;
    }
    EXPECT_EQ(run.End, TRunEnd::Escape);
    EXPECT_EQ(Kinds(run), (std::vector<uint32_t>{VT_EV_KEYDOWN, VT_EV_KEYUP, 0x81}));
    EXPECT_EQ(game->TickCount(), 2);
    EXPECT_EQ(VT_inFullScreen(), 0);
    EXPECT_EQ(FullscreenUnit().ActiveControlObject, nullptr);
}

TEST_F(Fullscreen, LowResRunsInMode13hWithThePaletteThroughTheDacPorts) {
    auto game = DemoGame(false);
    THeadlessScript script;
    script.Frames = 2;
    const THeadlessRun run = RunHeadless(*game, script);

    ASSERT_EQ(run.Frames.size(), 2u);
    EXPECT_EQ(Adapter().displayMode().kind, pcemu::DisplayMode::Kind::Vga256);
    EXPECT_EQ(Adapter().dacBits(), 6);
    for (const TFrameRecord& frame : run.Frames) {
        EXPECT_TRUE(frame.Banks.empty());
        EXPECT_EQ(frame.VisiblePage, 0);
        EXPECT_EQ(frame.ActivePage, 0);
    }
    // The first frame is the test picture the new game holds; no marker at 320 x 200.
    auto fresh = DemoGame(false);
    EXPECT_TRUE(ShowsFrame(run.Frames[0].Scanout, CaptureFrame(fresh->FrameBuffer()), 6, false));
    RenderOptions options;
    options.Ticks = 1;
    EXPECT_TRUE(
        ShowsFrame(run.Frames[1].Scanout, RenderFrame(DemoMap(), DemoDir(), options), 6, false));
}

TEST_F(Fullscreen, EscEndsAfterTheEventsQueuedBeforeItsEndEventAndOtherInputIsIgnored) {
    auto game = DemoGame(false);
    THeadlessScript script;
    script.Keys = {"a", "esc", "click", "move", "space"};
    const THeadlessRun run = RunHeadless(*game, script);

    // Esc's end event joins the queue behind the click and the move that
    // arrived before Esc's key-up was taken; the space bar comes after it.
    EXPECT_EQ(Kinds(run),
              (std::vector<uint32_t>{VT_EV_KEYDOWN, VT_EV_KEYUP, VT_EV_KEYDOWN, VT_EV_KEYUP,
                                     VT_EV_MOUSEDOWN, VT_EV_MOUSEUP, VT_EV_MOUSEMOVE, 0x81}));
    EXPECT_EQ(ScanCodes(run), (std::vector<uint32_t>{30, 30, 1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(run.End, TRunEnd::Escape);
    // While events keep coming no frame is drawn and the game stands still.
    EXPECT_EQ(run.Frames.size(), 3u);
    EXPECT_EQ(game->TickCount(), 2);
}

TEST_F(Fullscreen, TheOneKeyEndsTheRunAtOnce) {
    auto game = DemoGame(false);
    THeadlessScript script;
    script.Keys = {"1", "esc"};
    const THeadlessRun run = RunHeadless(*game, script);

    // The loop left on Windowed, right after the key-up, with Esc still queued.
    EXPECT_EQ(run.End, TRunEnd::OneKey);
    EXPECT_FALSE(run.Stopped);
    EXPECT_EQ(ScanCodes(run), (std::vector<uint32_t>{2, 2}));
    EXPECT_EQ(run.Frames.size(), 3u);
    VT_flushEvent(VT_EV_ALL); // the Esc that was never taken
}

TEST_F(Fullscreen, SwitchingAwayAndBackRestoresModePaletteAndPicture) {
    auto game = DemoGame(true);
    THeadlessScript script;
    script.Keys = {"alt+tab", "esc"};
    const uint32_t colour5 = [&] {
        RgbQuad c = game->FrameBuffer().Colors()[5];
        return uint32_t{c.rgbRed} << 16 | uint32_t{c.rgbGreen} << 8 | c.rgbBlue;
    }();
    bool desktopDrew = false;
    script.OnPump = [&](vantor32::FakePlatform& fake, int) {
        const auto* state = fake.State(fake.FocusWindow());
        if (desktopDrew || !state || !state->minimized) return;
        // While the user is away the desktop uses the display as it likes.
        desktopDrew = true;
        EXPECT_EQ(VT_inFullScreen(), 0);
        RealRegs regs{};
        regs.x.ax = 0x0003;
        TB_int86(0x10, &regs, &regs);
        pcemu::PortBus& ports = pcemu::TheMachine().ports();
        ports.out8(0x3C8, 5);
        for (int i = 0; i < 3; ++i)
            ports.out8(0x3C9, 63);
    };
    const THeadlessRun run = RunHeadless(*game, script);

    ASSERT_TRUE(desktopDrew);
    ASSERT_EQ(run.Frames.size(), 5u);
    // Frame 4 is the picture shown again on return, on the page the object
    // was about to use; frame 5 is the loop's next frame.
    const TFrameRecord& restored = run.Frames[3];
    EXPECT_EQ(restored.Ticks, 0);
    EXPECT_EQ(restored.Banks, (Banks{4, 5, 6, 7}));
    EXPECT_EQ(restored.VisiblePage, 1);
    EXPECT_EQ(restored.Scanout.pixels, run.Frames[2].Scanout.pixels);
    EXPECT_EQ(run.Frames[4].Banks, (Banks{0, 1, 2, 3}));
    EXPECT_EQ(run.Frames[4].Ticks, 1);
    EXPECT_EQ(Adapter().displayMode().width, 640);
    EXPECT_EQ(Adapter().dacBits(), 8);
    EXPECT_EQ(Adapter().dacEntry(5), colour5);
    // The switch keys went to the system, not to the queue; Esc ended the run.
    EXPECT_EQ(ScanCodes(run), (std::vector<uint32_t>{1, 1, 0}));
    EXPECT_EQ(run.End, TRunEnd::Escape);
}

TEST_F(Fullscreen, ASecondRunWhileOneIsInProgressIsRefusedWithoutTouchingIt) {
    auto game = DemoGame(false);
    auto other = DemoGame(true);
    THeadlessScript script;
    bool tried = false;
    script.OnPump = [&](vantor32::FakePlatform&, int shown) {
        if (tried || shown != 2) return;
        tried = true;
        TFullscreenUnit& unit = FullscreenUnit();
        TVantorControlObject* active = unit.ActiveControlObject;
        TVantorControlObject second;
        try {
            second.Run(*other);
            ADD_FAILURE() << "the second run started";
        } catch (const EVantorError& e) {
            EXPECT_STREQ(e.what(), "Already another VantorControlObject running");
        }
        EXPECT_EQ(unit.ActiveControlObject, active);
        EXPECT_EQ(second.Game(), nullptr);
        EXPECT_EQ(VT_inFullScreen(), 1);
        EXPECT_EQ(Adapter().displayMode().kind, pcemu::DisplayMode::Kind::Vga256);
    };
    const THeadlessRun run = RunHeadless(*game, script);
    EXPECT_TRUE(tried);
    EXPECT_EQ(run.Frames.size(), 3u);
    EXPECT_EQ(run.End, TRunEnd::Escape);
}

// Draws normally once, then fails.
class FailingGame : public TZorvGame {
public:
    using TZorvGame::TZorvGame;
    void Draw() override {
        if (++draws == 2) throw std::runtime_error("the game broke");
        TZorvGame::Draw();
    }
    int draws = 0;
};

TEST_F(Fullscreen, AnErrorInTheLoopGivesTheDesktopBackAndPassesOn) {
    FailingGame game(true, DemoMap().string(), DemoDir());
    try {
        RunHeadless(game, {});
        ADD_FAILURE() << "the error did not pass";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "the game broke");
    }
    EXPECT_EQ(VT_inFullScreen(), 0);
    EXPECT_EQ(FullscreenUnit().ActiveControlObject, nullptr);
    EXPECT_TRUE(game.Windowed());
    // The next run starts as usual.
    game.draws = -100;
    EXPECT_EQ(RunHeadless(game, {}).End, TRunEnd::Escape);
}

// Sets the mode once; setting it again after a switch fails.
class ModeLostOnReturn : public TVantorControlObject {
public:
    void InitMode() override {
        if (++inits == 2) throw EVantorError("the mode is gone");
        TVantorControlObject::InitMode();
    }
    int inits = 0;
};

TEST_F(Fullscreen, AFailedRestoreAfterASwitchEndsTheRunOnceTheEventLibraryHasReturned) {
    auto game = DemoGame(true);
    vantor32::FakePlatform fake;
    fake.pumpLimit = 10000;
    int pumps = 0, pumpsAway = 0;
    fake.onPump = [&](vantor32::FakePlatform& f) {
        const VTWindow screen = f.FocusWindow();
        if (++pumps == 6) {
            vantor32::Message altTab;
            altTab.window = screen;
            altTab.kind = vantor32::MessageKind::SysKeyDown;
            altTab.scanCode = 15;
            altTab.character = '\t';
            altTab.alt = true;
            f.Post(altTab);
        }
        if (pumps == 40) // ends a run that went on
            for (auto kind : {vantor32::MessageKind::KeyDown, vantor32::MessageKind::KeyUp}) {
                vantor32::Message esc;
                esc.window = screen;
                esc.kind = kind;
                esc.scanCode = 1;
                f.Post(esc);
            }
        // The user comes back once the switch waits for it.
        if (const auto* state = f.State(screen); state && state->minimized && ++pumpsAway == 3)
            f.UserActivates(screen);
    };
    vantor32::InstallPlatform(&fake.Ops());
    ModeLostOnReturn control;
    game->SetWindowed(false);
    try {
        control.Run(*game);
        ADD_FAILURE() << "the run went on";
    } catch (const EVantorError& e) {
        EXPECT_STREQ(e.what(), "the mode is gone");
    }
    vantor32::InstallPlatform(nullptr);
    EXPECT_EQ(control.inits, 2);
    EXPECT_EQ(VT_inFullScreen(), 0);
    EXPECT_EQ(FullscreenUnit().ActiveControlObject, nullptr);
}

TEST_F(Fullscreen, HiResIsRefusedBeforeTheScreenIsTakenWhenTheListHasNoSuchMode) {
    TFullscreenUnit& unit = FullscreenUnit();
    const SV_DeviceInfo* real = unit.DeviceInfo;
    SV_DeviceInfo record = *real;
    uint16_t modes[] = {0x101, 0x103, 0xFFFF}; // 640 x 480 and 800 x 600 only
    record.modes = modes;
    unit.DeviceInfo = &record;
    const pcemu::DisplayMode before = Adapter().displayMode();

    auto game = DemoGame(true);
    THeadlessScript script;
    int pumps = 0;
    script.OnPump = [&](vantor32::FakePlatform&, int) { ++pumps; };
    try {
        RunHeadless(*game, script);
        ADD_FAILURE() << "the run started";
    } catch (const EVantorError& e) {
        EXPECT_STREQ(e.what(), "The display has no 640 x 400 mode with 256 colours");
    }
    EXPECT_EQ(pumps, 0) << "the screen was taken";
    EXPECT_EQ(Adapter().displayMode().kind, before.kind);
    EXPECT_EQ(unit.ActiveControlObject, nullptr);
    // 320 x 200 needs no mode of the list.
    auto low = DemoGame(false);
    EXPECT_EQ(RunHeadless(*low, {}).Frames.size(), 3u);
    unit.DeviceInfo = real;
}

} // namespace
