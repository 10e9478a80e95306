// The test window's device labels and its Fullscreen button, with a stand-in
// for the fullscreen support and with the real one on the event library's
// scripted window system.
#include "maprun/fullscreen/tests/fullscreen_support.h"

#include "maprun/fullscreen/vantorsupport.h"
#include "maprun/ui/form1.h"

#include "vantor32/fakeplatform.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <optional>

using namespace maprun;

namespace {

class StubFullscreen : public FullscreenSupport {
public:
    const VbeDeviceSummary* DeviceInfo() const override { return info ? &*info : nullptr; }
    bool CanRunFullscreen() const override { return info.has_value(); }
    void RunFullscreen(TZorvGame& game) override {
        ++runs;
        if (run) run(game);
    }
    std::optional<VbeDeviceSummary> info;
    std::function<void(TZorvGame&)> run;
    int runs = 0;
};

class FullscreenButton : public ::testing::Test {
protected:
    void Open(FullscreenSupport& support) {
        form = std::make_unique<TForm1>(
            maprun_test::DemoMap().string(), support,
            [this](const QString& m) { errors.push_back(m); }, maprun_test::DemoDir());
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    template <class W> W* Child(const char* name) { return form->findChild<W*>(name); }
    void Click(const char* name) {
        QTest::mouseClick(form->findChild<QAbstractButton*>(name), Qt::LeftButton);
    }

    std::vector<QString> errors;
    std::unique_ptr<TForm1> form;
};

TEST_F(FullscreenButton, LabelsShowTheDeviceRecordAndTheButtonIsEnabled) {
    StubFullscreen stub;
    stub.info = VbeDeviceSummary{0x0102, "Some Adapter", 1024};
    Open(stub);
    EXPECT_EQ(Child<QLabel>("VBEVersion")->text(), "VBE Version 1.2");
    EXPECT_EQ(Child<QLabel>("OEM")->text(), "Some Adapter");
    EXPECT_EQ(Child<QLabel>("VideoMemory")->text(), "Video memory 1024k");
    EXPECT_TRUE(Child<QPushButton>("Button1")->isEnabled());
}

TEST_F(FullscreenButton, RunsWithTheTimerStoppedAndResumesWindowedRunningAfterwards) {
    StubFullscreen stub;
    stub.info = VbeDeviceSummary{0x0200, "A", 4096};
    Open(stub);
    Click("RunningCheckBox");
    ASSERT_TRUE(form->Running());
    stub.run = [&](TZorvGame& game) {
        EXPECT_FALSE(form->Running());
        EXPECT_FALSE(form->MMTimer1().Enabled());
        EXPECT_FALSE(game.Windowed());
    };
    Click("Button1");
    EXPECT_EQ(stub.runs, 1);
    EXPECT_TRUE(form->Game()->Windowed());
    EXPECT_TRUE(form->Running());
    EXPECT_TRUE(errors.empty());

    // A refused run is reported; the window goes on as after any run.
    stub.run = [](TZorvGame&) {
        throw EVantorError("The display has no 640 x 400 mode with 256 colours");
    };
    Click("Button1");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "The display has no 640 x 400 mode with 256 colours");
    EXPECT_TRUE(form->Game()->Windowed());
    EXPECT_TRUE(form->Running());
    Click("RunningCheckBox");
}

TEST_F(FullscreenButton, TheRealSupportRunsTheGameFullscreenUntilEsc) {
    TVantorFullscreen support;
    if (!support.CanRunFullscreen()) GTEST_SKIP() << "no VBE hardware on this emulated PC";
    Open(support);
    vantor32::FakePlatform fake;
    fake.pumpLimit = 100000;
    int pumps = 0;
    fake.onPump = [&](vantor32::FakePlatform& f) {
        f.AdvanceTime(14);
        if (++pumps != 10) return;
        for (auto kind : {vantor32::MessageKind::KeyDown, vantor32::MessageKind::KeyUp}) {
            vantor32::Message esc;
            esc.window = f.FocusWindow();
            esc.kind = kind;
            esc.scanCode = 1;
            f.Post(esc);
        }
    };
    vantor32::InstallPlatform(&fake.Ops());
    const int32_t ticks = form->Game()->TickCount();
    Click("Button1");
    vantor32::InstallPlatform(nullptr);

    EXPECT_TRUE(errors.empty());
    EXPECT_GT(form->Game()->TickCount(), ticks);
    EXPECT_TRUE(form->Game()->Windowed());
    EXPECT_EQ(VT_inFullScreen(), 0);
    EXPECT_EQ(pcemu::TheMachine().adapter().displayMode().kind, pcemu::DisplayMode::Kind::Vga256);
    EXPECT_TRUE(form->isVisible());
}

} // namespace
