// The event queue and the translation of window messages into events.
#include "fakefixture.h"

#include <utility>
#include <vector>

using namespace vantor32;
using namespace vantor32::testing;

namespace {

std::vector<std::pair<int, int>> callbackPositions;
void RecordMouse(int32_t x, int32_t y) {
    callbackPositions.emplace_back(x, y);
}

class VantorEvents : public FakeFixture {
protected:
    void SetUp() override {
        FakeFixture::SetUp();
        callbackPositions.clear();
        window = VT_startFullScreen(nullptr, 320, 200);
        ASSERT_NE(window, nullptr);
    }
};

TEST_F(VantorEvents, MousePositionsAreRescaledToTheModeWithButtonsAndModifiers) {
    fake.Post(Mouse(MessageKind::LeftButtonDown, 320, 240, MK_LBUTTON | MK_SHIFT));
    fake.Post(Mouse(MessageKind::RightButtonDoubleClick, 639, 479, MK_RBUTTON | MK_CONTROL));
    fake.Post(Mouse(MessageKind::LeftButtonUp, 1, 1));
    const auto events = Drain();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].Kind, VT_EV_MOUSEDOWN);
    EXPECT_EQ(events[0].X, 160);
    EXPECT_EQ(events[0].Y, 100);
    EXPECT_EQ(events[0].Code, VT_BUTTON_LEFT);
    EXPECT_EQ(events[0].Modifiers, VT_MOD_LEFTBUTTON | VT_MOD_SHIFT);
    // Truncated, not rounded: 639 * 320 / 640 = 319.5.
    EXPECT_EQ(events[1].X, 319);
    EXPECT_EQ(events[1].Y, 199);
    EXPECT_EQ(events[1].Code, VT_BUTTON_RIGHT);
    EXPECT_EQ(events[1].Modifiers, VT_MOD_RIGHTBUTTON | VT_MOD_CTRL | VT_MOD_DOUBLECLICK);
    EXPECT_EQ(events[2].Kind, VT_EV_MOUSEUP);
    EXPECT_EQ(events[2].X, 0);
}

TEST_F(VantorEvents, ConsecutiveMovesMergeAndTheCallbackFollowsEachNewPosition) {
    VT_setMouseCallback(RecordMouse);
    fake.Post(Mouse(MessageKind::MouseMove, 100, 100));
    fake.Post(Mouse(MessageKind::MouseMove, 200, 240));
    fake.Post(Key(MessageKind::KeyDown, 30, 'a'));

    VTEventRecord event;
    ASSERT_TRUE(VT_peekEvent(&event, VT_EV_ALL));
    EXPECT_EQ(event.Kind, VT_EV_MOUSEMOVE);
    EXPECT_EQ(event.X, 100);
    EXPECT_EQ(event.Y, 100);
    // The merge ended this collection: the key waits in the window queue.
    EXPECT_EQ(fake.PendingMessages(), 1u);
    EXPECT_EQ(callbackPositions, (std::vector<std::pair<int, int>>{{50, 41}, {100, 100}}));

    fake.Post(Mouse(MessageKind::MouseMove, 201, 241)); // same mode pixel: no callback
    const auto events = Drain();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[1].Kind, VT_EV_KEYDOWN);
    EXPECT_EQ(events[2].Kind, VT_EV_MOUSEMOVE);
    EXPECT_EQ(callbackPositions.size(), 2u);
    int32_t x = 0, y = 0;
    VT_getMousePos(&x, &y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(100, 100));
}

TEST_F(VantorEvents, AMoveAfterAKeyOrAfterTheMoveWasTakenIsANewEvent) {
    fake.Post(Mouse(MessageKind::MouseMove, 10, 10));
    fake.Post(Key(MessageKind::KeyDown, 30, 'a'));
    fake.Post(Mouse(MessageKind::MouseMove, 20, 20));
    auto events = Drain();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[2].Kind, VT_EV_MOUSEMOVE);
    EXPECT_EQ(events[2].X, 10);

    // Taking the queued move ends its merging.
    fake.Post(Mouse(MessageKind::MouseMove, 40, 40));
    VTEventRecord event;
    ASSERT_TRUE(VT_getEvent(&event, VT_EV_MOUSEMOVE));
    fake.Post(Mouse(MessageKind::MouseMove, 80, 80));
    ASSERT_TRUE(VT_getEvent(&event, VT_EV_MOUSEMOVE));
    EXPECT_EQ(event.X, 40);
}

TEST_F(VantorEvents, KeyCodesCarryCharacterScanCodeRepeatCountAndModifiers) {
    fake.SetTime(5000);
    fake.Post(Key(MessageKind::KeyDown, 30, 'a'));
    Message repeat = Key(MessageKind::KeyDown, 30, 'a');
    repeat.previousDown = true;
    repeat.repeatCount = 3;
    repeat.keys = MK_SHIFT | MK_CONTROL;
    fake.Post(repeat);
    fake.Post(Key(MessageKind::KeyUp, 30));
    Message altX = Key(MessageKind::SysKeyDown, 45, 'x');
    fake.Post(altX);
    fake.Post(Key(MessageKind::KeyDown, 0x48)); // a key that types nothing

    const auto events = Drain();
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0].Kind, VT_EV_KEYDOWN);
    EXPECT_EQ(events[0].Code, 0x1E61u);
    EXPECT_EQ(events[0].Time, 5000u);
    EXPECT_EQ(events[1].Kind, VT_EV_KEYREPEAT);
    EXPECT_EQ(events[1].Code, 0x00031E61u);
    EXPECT_EQ(events[1].Modifiers, VT_MOD_SHIFT | VT_MOD_CTRL);
    EXPECT_EQ(events[2].Kind, VT_EV_KEYUP);
    EXPECT_EQ(events[2].Code, 0x1E00u);
    EXPECT_EQ(events[3].Code, 0x2D78u);
    EXPECT_EQ(events[3].Modifiers, VT_MOD_ALT);
    EXPECT_EQ(events[4].Code, 0x4800u);
    // Every character message was taken by its key.
    EXPECT_EQ(fake.PendingMessages(), 0u);
    EXPECT_TRUE(fake.DefaultHandled().empty());
}

TEST_F(VantorEvents, MasksPickTheOldestMatchingEventAndLeaveTheRestInOrder) {
    fake.Post(Mouse(MessageKind::MouseMove, 10, 10));
    fake.Post(Key(MessageKind::KeyDown, 30, 'a'));
    fake.Post(Mouse(MessageKind::LeftButtonDown, 10, 10));
    fake.Post(Key(MessageKind::KeyDown, 48, 'b'));

    VTEventRecord event;
    ASSERT_TRUE(VT_peekEvent(&event, VT_EV_KEYDOWN));
    EXPECT_EQ(event.Code & 0xFF, 'a');
    ASSERT_TRUE(VT_getEvent(&event, VT_EV_KEYDOWN));
    EXPECT_EQ(event.Code & 0xFF, 'a');
    EXPECT_FALSE(VT_getEvent(&event, VT_EV_TIMERTICK));
    EXPECT_EQ(event.Kind, 0u);

    // An application kind matches every mask it shares a bit with.
    ASSERT_EQ(VT_postEvent(0x81, 7, 9), 1);
    const auto events = Drain();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].Kind, VT_EV_MOUSEMOVE);
    EXPECT_EQ(events[1].Kind, VT_EV_MOUSEDOWN);
    EXPECT_EQ(events[2].Code & 0xFF, 'b');
    EXPECT_EQ(events[3].Kind, 0x81u);

    ASSERT_EQ(VT_postEvent(0x81, 7, 9), 1);
    ASSERT_TRUE(VT_getEvent(&event, VT_EV_KEYDOWN));
    EXPECT_EQ(event.Code, 7u);
    EXPECT_EQ(event.Modifiers, 9u);
    EXPECT_EQ(event.X, 0);
}

TEST_F(VantorEvents, AFullQueueDropsTranslatedEventsAndRefusesPostedOnes) {
    for (uint32_t i = 0; i < 100; ++i)
        ASSERT_EQ(VT_postEvent(0x100, i, 0), 1) << i;
    EXPECT_EQ(VT_postEvent(0x100, 100, 0), 0);
    fake.Post(Key(MessageKind::KeyDown, 30, 'a'));
    fake.Post(Mouse(MessageKind::MouseMove, 10, 10));
    auto events = Drain();
    ASSERT_EQ(events.size(), 100u);
    for (uint32_t i = 0; i < 100; ++i)
        EXPECT_EQ(events[i].Code, i);

    // Slots freed in any order are reused without losing or repeating events.
    for (uint32_t i = 0; i < 100; ++i)
        VT_postEvent(i % 2 ? 0x200 : 0x400, i, 0);
    VT_flushEvent(0x200);
    for (uint32_t i = 0; i < 50; ++i)
        ASSERT_EQ(VT_postEvent(0x800, i, 0), 1);
    EXPECT_EQ(VT_postEvent(0x800, 50, 0), 0);
    events = Drain();
    ASSERT_EQ(events.size(), 100u);
    for (uint32_t i = 0; i < 50; ++i) {
        EXPECT_EQ(events[i].Code, 2 * i);
        EXPECT_EQ(events[50 + i].Code, i);
    }
}

TEST_F(VantorEvents, TimerTicksSetThePeriodAndArriveAsEvents) {
    EXPECT_EQ(VT_setTimerTick(1), 0);
    EXPECT_EQ(fake.TimerPeriod(window, 1), 54u);
    EXPECT_EQ(VT_setTimerTick(18), 1);
    EXPECT_EQ(fake.TimerPeriod(window, 1), 988u);
    fake.AdvanceTime(988 * 3); // one pending tick, not three
    VTEventRecord event;
    ASSERT_TRUE(VT_getEvent(&event, VT_EV_ALL));
    EXPECT_EQ(event.Kind, VT_EV_TIMERTICK);
    EXPECT_EQ(event.Time, fake.Now());
    EXPECT_FALSE(VT_getEvent(&event, VT_EV_ALL));
    EXPECT_EQ(VT_setTimerTick(0), 18);
    EXPECT_FALSE(fake.TimerPeriod(window, 1));
    EXPECT_EQ(VT_setTimerTick(-5), 0);
    EXPECT_FALSE(fake.TimerPeriod(window, 1));
    VT_setTimerTick(0);
}

TEST_F(VantorEvents, SetMousePosMovesTheDesktopCursorAndCallsTheCallback) {
    VT_setMouseCallback(RecordMouse);
    VT_setMousePos(160, 50);
    EXPECT_EQ(fake.CursorPos(), std::make_pair(320, 120));
    EXPECT_EQ(callbackPositions, (std::vector<std::pair<int, int>>{{160, 50}}));
}

TEST_F(VantorEvents, HaltEventDiscardsOtherKindsUntilAMatchingOne) {
    fake.Post(Mouse(MessageKind::MouseMove, 10, 10));
    fake.Post(Key(MessageKind::KeyDown, 30, 'a'));
    fake.Post(Key(MessageKind::KeyUp, 30));
    fake.Post(Key(MessageKind::KeyDown, 48, 'b'));
    VTEventRecord event;
    VT_haltEvent(&event, VT_EV_KEYUP);
    EXPECT_EQ(event.Code, 0x1E00u);
    const auto events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].Code & 0xFF, 'b');
}

TEST_F(VantorEvents, AFreshStartEmptiesTheQueue) {
    VT_postEvent(0x81, 0, 0);
    fake.Post(Mouse(MessageKind::MouseMove, 10, 10));
    VTEventRecord event;
    ASSERT_TRUE(VT_peekEvent(&event, VT_EV_ALL));
    VT_restoreGDI();
    window = VT_startFullScreen(nullptr, 320, 200);
    EXPECT_FALSE(VT_peekEvent(&event, VT_EV_ALL));
    // The old move is gone, so a new one is not merged into its slot.
    fake.Post(Mouse(MessageKind::MouseMove, 20, 20));
    ASSERT_TRUE(VT_getEvent(&event, VT_EV_ALL));
    EXPECT_EQ(event.X, 10);
}

// A desktop or mode size of 0 (nothing known yet) leaves positions unscaled.
class VantorEventsWithoutScale : public FakeFixture {};

TEST_F(VantorEventsWithoutScale, PositionsPassUnscaledAndNothingDividesByZero) {
    fake.SetDesktopSize(0, 0);
    window = VT_startFullScreen(nullptr, 320, 200);
    fake.Post(Mouse(MessageKind::LeftButtonDown, 300, 200));
    VTEventRecord event;
    ASSERT_TRUE(VT_getEvent(&event, VT_EV_ALL));
    EXPECT_EQ(event.X, 300);
    EXPECT_EQ(event.Y, 200);
    VT_setMousePos(7, 8);
    EXPECT_EQ(fake.CursorPos(), std::make_pair(7, 8));
    VT_restoreGDI();

    fake.SetDesktopSize(640, 480);
    window = VT_startFullScreen(nullptr, 0, 0);
    fake.Post(Mouse(MessageKind::LeftButtonDown, 300, 200));
    ASSERT_TRUE(VT_getEvent(&event, VT_EV_ALL));
    EXPECT_EQ(event.X, 300);
    VT_setMousePos(7, 8);
    EXPECT_EQ(fake.CursorPos(), std::make_pair(7, 8));
}

} // namespace
