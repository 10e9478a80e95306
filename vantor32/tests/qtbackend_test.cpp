// The Qt window system: the real fullscreen window, its key and mouse input,
// its picture, and a real message box.
#include "vantor16/vantor16.h"
#include "vantor32/vantor32.h"
#include "vantor32qt/qtbackend.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

std::vector<int32_t> suspendFlags;
int32_t RefuseSwitch(int32_t flag) {
    suspendFlags.push_back(flag);
    return 0;
}

class VantorQtBackend : public ::testing::Test {
protected:
    void SetUp() override {
        backend = std::make_unique<vantor32qt::QtBackend>();
        suspendFlags.clear();
    }
    void TearDown() override {
        if (VT_inFullScreen()) VT_restoreGDI();
        VT_setSuspendAppCallback(nullptr);
        VT_flushEvent(VT_EV_ALL);
        backend.reset();
    }
    QWidget* Start() {
        window = static_cast<QWidget*>(VT_startFullScreen(nullptr, 320, 200));
        return window;
    }
    void SendKey(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, quint32 native,
                 const QString& text, bool autoRepeat = false) {
        QKeyEvent event(type, key, modifiers, native, 0, 0, text, autoRepeat);
        QApplication::sendEvent(window, &event);
    }
    VTEventRecord Next() {
        VTEventRecord event{};
        EXPECT_TRUE(VT_getEvent(&event, VT_EV_ALL));
        return event;
    }

    std::unique_ptr<vantor32qt::QtBackend> backend;
    QWidget* window = nullptr;
};

TEST_F(VantorQtBackend, TheFullscreenWindowCoversTheScreenWithoutFrameOrCursor) {
    ASSERT_NE(Start(), nullptr);
    QPointer<QWidget> guard(window);
    EXPECT_EQ(window->windowTitle(), "Vantor Fullscreen Application");
    EXPECT_EQ(window->objectName(), "Vantor32Window");
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->geometry(), QGuiApplication::primaryScreen()->geometry());
    EXPECT_EQ(window->cursor().shape(), Qt::BlankCursor);
    EXPECT_EQ(Vantor16_DesktopOutputOn(), 0);
    VT_restoreGDI();
    EXPECT_TRUE(guard.isNull());
    EXPECT_EQ(Vantor16_DesktopOutputOn(), 1);
}

TEST_F(VantorQtBackend, KeyEventsBecomeRecordsWithSetOneScanCodes) {
    ASSERT_NE(Start(), nullptr);
    VT_flushEvent(VT_EV_ALL);
    SendKey(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 38, "a");
    SendKey(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, 38, "a", true); // X11 repeat pair
    SendKey(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 38, "a", true);
    SendKey(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, 38, "a");
    SendKey(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier, 111, "");
    SendKey(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, 0, "\x1b");
    SendKey(QEvent::KeyPress, Qt::Key_1, Qt::ShiftModifier, 0, "!");

    VTEventRecord event = Next();
    EXPECT_EQ(event.Kind, VT_EV_KEYDOWN);
    EXPECT_EQ(event.Code, 0x1E61u);
    event = Next();
    EXPECT_EQ(event.Kind, VT_EV_KEYREPEAT);
    EXPECT_EQ(event.Code, 0x00011E61u);
    event = Next();
    EXPECT_EQ(event.Kind, VT_EV_KEYUP);
    EXPECT_EQ(event.Code, 0x1E00u);
    EXPECT_EQ(Next().Code, 0x4800u);
    EXPECT_EQ(Next().Code, 0x011Bu);
    event = Next();
    EXPECT_EQ(event.Code, 0x0221u);
    EXPECT_EQ(event.Modifiers, VT_MOD_SHIFT);
    EXPECT_FALSE(VT_getEvent(&event, VT_EV_ALL));
}

TEST_F(VantorQtBackend, AltTabThroughTheWindowAsksTheSuspendCallback) {
    ASSERT_NE(Start(), nullptr);
    VT_flushEvent(VT_EV_ALL);
    VT_setSuspendAppCallback(RefuseSwitch);
    SendKey(QEvent::KeyPress, Qt::Key_Tab, Qt::AltModifier, 23, "\t");
    VTEventRecord event;
    EXPECT_FALSE(VT_getEvent(&event, VT_EV_KEYDOWN));
    EXPECT_EQ(suspendFlags, std::vector<int32_t>{VT_SUSPEND_ASK});
    EXPECT_EQ(VT_inFullScreen(), 1);
}

TEST_F(VantorQtBackend, MouseClicksAreRescaledToTheMode) {
    ASSERT_NE(Start(), nullptr);
    VT_flushEvent(VT_EV_ALL);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint centre(screen.width() / 2, screen.height() / 2);
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, centre);
    VTEventRecord event;
    ASSERT_TRUE(VT_getEvent(&event, VT_EV_MOUSEDOWN));
    EXPECT_EQ(event.Code, VT_BUTTON_LEFT);
    EXPECT_EQ(event.X, 160);
    EXPECT_EQ(event.Y, 100);
    ASSERT_TRUE(VT_getEvent(&event, VT_EV_MOUSEUP));
    EXPECT_EQ(event.X, 160);
}

TEST_F(VantorQtBackend, TheWindowShowsTheSourceScaledWithItsAspectKept) {
    static constexpr std::uint32_t red = 0x00FF0000;
    int scans = 0;
    backend->SetScreenSource({[&scans](vantor32qt::ScreenImage& image) {
                                  image.width = 320;
                                  image.height = 200;
                                  image.pixels.assign(320 * 200, red);
                                  ++scans;
                                  return true;
                              },
                              70.0});
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return scans > 0; }, 5000));
    const QImage shot = window->grab().toImage();
    const QPoint centre(shot.width() / 2, shot.height() / 2);
    EXPECT_EQ(shot.pixel(centre) & 0xFFFFFF, red);
    // 16:10 on a squarer screen: black bars above and below.
    const int bar = (shot.height() - shot.width() * 200 / 320) / 2;
    ASSERT_GT(bar, 2);
    EXPECT_EQ(shot.pixel(centre.x(), bar / 2) & 0xFFFFFF, 0u);
    EXPECT_EQ(shot.pixel(centre.x(), bar + 2) & 0xFFFFFF, red);
}

TEST_F(VantorQtBackend, MessageBoxIsARealBoxWithTheFlagsButtons) {
    QStringList buttons;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        for (QAbstractButton* button : box->buttons())
            buttons << button->text().remove('&');
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(VT_messageBox("Save the map?", "Vantor", MB_YESNOCANCEL | MB_ICONQUESTION), IDNO);
    buttons.sort();
    EXPECT_EQ(buttons, (QStringList{"Cancel", "No", "Yes"}));
}

TEST_F(VantorQtBackend, TheTimerTicksAsEvents) {
    ASSERT_NE(Start(), nullptr);
    VT_flushEvent(VT_EV_ALL);
    VT_setTimerTick(1);
    VTEventRecord event{};
    EXPECT_TRUE(QTest::qWaitFor([&] { return VT_getEvent(&event, VT_EV_TIMERTICK) == 1; }, 5000));
    VT_setTimerTick(0);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
