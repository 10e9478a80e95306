// Taking the screen, giving it back, the application switch and message boxes.
#include "fakefixture.h"

#include <vector>

using namespace vantor32;
using namespace vantor32::testing;

namespace {

std::vector<int32_t> suspendFlags;
int32_t suspendAnswer = 1;
int32_t RecordSuspend(int32_t flag) {
    suspendFlags.push_back(flag);
    return flag == VT_SUSPEND_ASK ? suspendAnswer : 0;
}

class VantorTakeover : public FakeFixture {
protected:
    void SetUp() override {
        FakeFixture::SetUp();
        suspendFlags.clear();
        suspendAnswer = 1;
        mainWindow = fake.AddProgramWindow("Form1");
    }
    void Start() {
        window = VT_startFullScreen(mainWindow, 320, 200);
        ASSERT_NE(window, nullptr);
    }
    // The screen is taken: window on top and focused, desktop output and cursor off.
    void ExpectFullscreen() {
        const auto* state = fake.State(window);
        ASSERT_NE(state, nullptr);
        EXPECT_FALSE(state->destroyed);
        EXPECT_FALSE(state->minimized);
        EXPECT_TRUE(state->visible && state->topmost && state->enabled);
        EXPECT_EQ(fake.FocusWindow(), window);
        EXPECT_FALSE(DesktopOutputOn());
        EXPECT_FALSE(fake.CursorVisible());
        EXPECT_EQ(VT_inFullScreen(), 1);
    }
    // The screen is the desktop's while the fullscreen window waits minimized.
    void ExpectSuspended() {
        const auto* state = fake.State(window);
        ASSERT_NE(state, nullptr);
        EXPECT_FALSE(state->destroyed);
        EXPECT_TRUE(state->minimized);
        EXPECT_TRUE(DesktopOutputOn());
        EXPECT_TRUE(fake.CursorVisible());
        EXPECT_EQ(VT_inFullScreen(), 0);
        // The program's window stays hidden: the switch is not the end of the run.
        EXPECT_FALSE(fake.State(mainWindow)->visible);
    }
    // The user comes back a few pumps after leaving.
    void ReturnAfterSwitch() {
        fake.onPump = [this, pumps = 0](FakePlatform& f) mutable {
            const auto* state = f.State(window);
            if (!state->minimized) return;
            if (pumps++ == 0) ExpectSuspended();
            if (pumps == 3) f.UserActivates(window);
        };
    }

    VTWindow mainWindow = nullptr;
};

TEST_F(VantorTakeover, StartTakesTheScreenAndRestoreGivesItBack) {
    Start();
    const auto* state = fake.State(window);
    EXPECT_EQ(state->className, "Vantor32Window");
    EXPECT_EQ(state->title, "Vantor Fullscreen Application");
    EXPECT_EQ(state->width, 640);
    EXPECT_EQ(state->height, 480);
    ExpectFullscreen();
    EXPECT_FALSE(fake.State(mainWindow)->visible);
    EXPECT_FALSE(fake.State(mainWindow)->enabled);

    const int repaints = fake.DesktopRepaints();
    VT_restoreGDI();
    EXPECT_TRUE(state->destroyed);
    EXPECT_TRUE(fake.State(mainWindow)->visible);
    EXPECT_TRUE(fake.State(mainWindow)->enabled);
    EXPECT_TRUE(DesktopOutputOn());
    EXPECT_TRUE(fake.CursorVisible());
    EXPECT_EQ(fake.Cursor(), CursorShape::Arrow);
    EXPECT_GT(fake.DesktopRepaints(), repaints);
    EXPECT_EQ(VT_inFullScreen(), 0);
}

TEST_F(VantorTakeover, WithoutAMainWindowTheProgramsWindowsAreLeftAlone) {
    window = VT_startFullScreen(nullptr, 320, 200);
    EXPECT_TRUE(fake.State(mainWindow)->visible);
    EXPECT_TRUE(fake.State(mainWindow)->enabled);
    VT_restoreGDI();
    EXPECT_TRUE(fake.State(mainWindow)->visible);
}

TEST_F(VantorTakeover, TakingOrGivingBackTwiceKeepsTheCursorCountBalanced) {
    Start();
    VTWindow first = window;
    Start();
    EXPECT_TRUE(fake.State(first)->destroyed);
    EXPECT_EQ(fake.CursorCount(), -1);
    VT_restoreGDI();
    VT_restoreGDI();
    EXPECT_EQ(fake.CursorCount(), 0);
    Start();
    EXPECT_FALSE(fake.CursorVisible());
}

TEST_F(VantorTakeover, AltTabOrEscRefusedByTheCallbackReactivatesTheWindow) {
    Start();
    VT_setSuspendAppCallback(RecordSuspend);
    suspendAnswer = 0;
    for (auto [scan, character] : {std::pair{15, 9}, std::pair{1, 0x1B}}) {
        fake.SetActiveWindow(mainWindow);
        fake.Post(Key(MessageKind::SysKeyDown, scan, character));
        VTEventRecord event;
        EXPECT_FALSE(VT_getEvent(&event, VT_EV_ALL)) << "the switch key is not queued";
        EXPECT_EQ(fake.ActiveWindow(), window);
        ExpectFullscreen();
    }
    EXPECT_EQ(suspendFlags, (std::vector<int32_t>{1, 1}));
}

TEST_F(VantorTakeover, AltTabSwitchesAwayAndBackKeepingTheQueue) {
    Start();
    VT_setSuspendAppCallback(RecordSuspend);
    ASSERT_EQ(VT_postEvent(0x81, 0, 0), 1);
    const Message altTab = Key(MessageKind::SysKeyDown, 15, 9);
    fake.Post(altTab);
    ReturnAfterSwitch();

    VTEventRecord event;
    ASSERT_TRUE(VT_getEvent(&event, VT_EV_ALL));
    EXPECT_EQ(event.Kind, 0x81u);
    EXPECT_FALSE(VT_getEvent(&event, VT_EV_ALL));
    EXPECT_EQ(suspendFlags, (std::vector<int32_t>{1, 2}));
    ExpectFullscreen();
    // The key that asked for the switch went on to the system.
    ASSERT_FALSE(fake.DefaultHandled().empty());
    EXPECT_EQ(fake.DefaultHandled().front().kind, MessageKind::SysKeyDown);
    EXPECT_EQ(fake.DefaultHandled().front().scanCode, 15);

    // Giving the screen back after a switch ends the run as usual.
    VT_restoreGDI();
    EXPECT_TRUE(fake.State(window)->destroyed);
    EXPECT_TRUE(fake.State(mainWindow)->visible);
    EXPECT_TRUE(fake.State(mainWindow)->enabled);
    EXPECT_EQ(fake.CursorCount(), 0);
}

TEST_F(VantorTakeover, LosingActivationSwitchesAwayThroughTheUserMessage) {
    Start();
    VT_setSuspendAppCallback(RecordSuspend);
    fake.Post(Activation(false));
    fake.Post(Key(MessageKind::KeyDown, 30, 'a'));
    ReturnAfterSwitch();
    VTEventRecord event;
    ASSERT_TRUE(VT_getEvent(&event, VT_EV_ALL));
    EXPECT_EQ(suspendFlags, (std::vector<int32_t>{1, 2}));
    ExpectFullscreen();
    EXPECT_EQ(VT_postEvent(0x81, 0, 0), 1);
}

TEST_F(VantorTakeover, WithoutACallbackAltTabIsAKeyAndDeactivationIsIgnored) {
    Start();
    fake.Post(Activation(false));
    fake.Post(Key(MessageKind::SysKeyDown, 15, 9));
    const auto events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].Kind, VT_EV_KEYDOWN);
    EXPECT_EQ(events[0].Code, 0x0F09u);
    EXPECT_EQ(events[0].Modifiers, VT_MOD_ALT);
    EXPECT_EQ(fake.PendingMessages(), 0u);
    ExpectFullscreen();
}

TEST_F(VantorTakeover, ALateSwitchRequestAfterGivingBackDoesNothing) {
    Start();
    VT_setSuspendAppCallback(RecordSuspend);
    VT_restoreGDI();
    VT_winProc(window, VT_WM_USER, 0, 0);
    VT_winProc(window, VT_WM_ACTIVATE, 0, 0);
    EXPECT_TRUE(suspendFlags.empty());
    EXPECT_TRUE(DesktopOutputOn());
    EXPECT_EQ(fake.PendingMessages(), 0u);
}

TEST_F(VantorTakeover, MessageBoxHandsTheScreenBackAroundTheBox) {
    Start();
    VT_setSuspendAppCallback(RecordSuspend);
    fake.answerMessageBox = [this](const FakePlatform::MessageBoxCall& box) {
        EXPECT_EQ(box.text, "Disk full");
        EXPECT_EQ(box.caption, "Game");
        EXPECT_EQ(box.flags, MB_YESNO | MB_ICONQUESTION);
        EXPECT_TRUE(fake.State(window)->minimized);
        EXPECT_FALSE(fake.State(window)->enabled);
        EXPECT_TRUE(DesktopOutputOn());
        EXPECT_TRUE(fake.CursorVisible());
        return IDNO;
    };
    EXPECT_EQ(VT_messageBox("Disk full", "Game", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(fake.MessageBoxes().size(), 1u);
    EXPECT_EQ(suspendFlags, (std::vector<int32_t>{1, 2}));
    ExpectFullscreen();

    suspendAnswer = 0;
    EXPECT_EQ(VT_messageBox("Refused", "Game", MB_OK), 0);
    EXPECT_EQ(fake.MessageBoxes().size(), 1u);
    ExpectFullscreen();
}

TEST_F(VantorTakeover, MessageBoxWithoutACallbackOrOutsideFullscreenStillShowsTheBox) {
    Start();
    fake.answerMessageBox = [this](const FakePlatform::MessageBoxCall&) {
        EXPECT_TRUE(DesktopOutputOn());
        return IDCANCEL;
    };
    EXPECT_EQ(VT_messageBox("No callback", "Game", MB_OKCANCEL), IDCANCEL);
    ExpectFullscreen();

    VT_restoreGDI();
    VT_setSuspendAppCallback(RecordSuspend);
    EXPECT_EQ(VT_messageBox("Desktop", "Game", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(fake.MessageBoxes().size(), 2u);
    EXPECT_TRUE(suspendFlags.empty());
    EXPECT_TRUE(DesktopOutputOn());
    EXPECT_EQ(VT_inFullScreen(), 0);
}

} // namespace
