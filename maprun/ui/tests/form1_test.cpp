#include "maprun/ui/arguments.h"
#include "maprun/ui/form1.h"

#include "formats/tests/scratch_dir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <unistd.h>

using namespace maprun;
namespace fs = std::filesystem;

namespace {

fs::path DemoDir() {
    static fs::path dir = [] {
        fs::path d = testing_support::ScratchDir("zorv_maprun_ui_");
        std::string cmd = std::string(DEMOGEN_PATH) + " '" + d.string() + "' > /dev/null";
        if (std::system(cmd.c_str()) != 0) ADD_FAILURE() << "demogen failed";
        return d;
    }();
    return dir;
}

struct FormFixture : ::testing::Test {
    NoVbeHardware hardware;
    std::vector<QString> errors;
    std::unique_ptr<TForm1> form;

    void Open(const std::string& map, const fs::path& assets = DemoDir()) {
        form = std::make_unique<TForm1>(
            map, hardware, [this](const QString& m) { errors.push_back(m); }, assets);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    void OpenDemo() { Open((DemoDir() / "demo.map").string()); }
    // The lines of the one error shown.
    QStringList ErrorLines() const {
        return errors.size() == 1 ? errors[0].split('\n') : QStringList{};
    }
    template <class W> W* Child(const char* name) { return form->findChild<W*>(name); }
    QString Text(const char* label) { return Child<QLabel>(label)->text(); }
    void Click(const char* name) {
        QTest::mouseClick(form->findChild<QAbstractButton*>(name), Qt::LeftButton);
    }
};

} // namespace

TEST(MaprunArguments, MissingMapIsReportedAndTheArgumentKeepsItsBytes) {
    QString caption, text;
    auto box = [&](const QString& c, const QString& t) { caption = c, text = t; };
    char program[] = "maprun", empty[] = "", name[] = "a\xFF\xFE.map";
    char* bare[] = {program, nullptr};
    EXPECT_FALSE(MapArgument(1, bare, box));
    EXPECT_EQ(caption, "Error");
    EXPECT_EQ(text, "Needs a .map file as a parameter ");
    char* blank[] = {program, empty, nullptr};
    EXPECT_FALSE(MapArgument(2, blank, box));
    text.clear();
    char* named[] = {program, name, nullptr};
    EXPECT_EQ(MapArgument(2, named, box), std::optional<std::string>(name));
    EXPECT_TRUE(text.isEmpty());
}

TEST_F(FormFixture, OpensWithTheDemoMapAndNoVbeHardware) {
    OpenDemo();
    ASSERT_TRUE(errors.empty()) << errors.front().toStdString();
    ASSERT_NE(form->Game(), nullptr);
    EXPECT_EQ(form->windowTitle(), "Form1");
    EXPECT_EQ(form->size(), QSize(320, 322));
    EXPECT_FALSE(Child<QPushButton>("Button1")->isEnabled());
    EXPECT_EQ(Text("VBEVersion"), "No VBE hardware found");
    EXPECT_EQ(Child<QPushButton>("Button1")->text(), "Fullscreen ");
    // The picture is the frame buffer: a drawn frame is not all one colour.
    Click("Button2");
    QImage shot = form->grab().toImage();
    QColor first = shot.pixelColor(5, 130);
    bool varied = false;
    for (int x = 0; x < 320 && !varied; x += 7)
        for (int y = 122; y < 322 && !varied; y += 7)
            varied = shot.pixelColor(x, y) != first;
    EXPECT_TRUE(varied);
}

TEST_F(FormFixture, StatisticsAfter73SingleSteps) {
    OpenDemo();
    TPoint start = form->Game()->ViewPos();
    Click("Button2");
    TPoint after = form->Game()->ViewPos();
    EXPECT_EQ(std::abs(after.X - start.X), 1);
    EXPECT_EQ(std::abs(after.Y - start.Y), 1);
    for (int i = 1; i < 72; ++i)
        Click("Button2");
    EXPECT_EQ(Text("FrameRate"), "Avg:");
    EXPECT_EQ(Text("WorstRate"), "Worst:");
    form->MMTimer1Timer(3); // the 73rd frame took three ticks
    EXPECT_EQ(Text("FrameRate"), "Avg: 70fps");
    EXPECT_EQ(Text("BestRate"), "Best: 72fps");
    EXPECT_EQ(Text("WorstRate"), "Worst: 24fps");
    for (int i = 0; i < 73; ++i)
        Click("Button2");
    EXPECT_EQ(Text("FrameRate"), "Avg: 72fps");
    EXPECT_EQ(Text("WorstRate"), "Worst: 72fps");
}

TEST_F(FormFixture, HiResResizesAroundTheCentre) {
    OpenDemo();
    form->move(300, 300);
    QPoint centre = form->frameGeometry().center();
    Click("CheckBox1");
    EXPECT_EQ(form->size(), QSize(640, 522));
    EXPECT_EQ(form->Game()->FrameBuffer().Width(), 640);
    EXPECT_LE((form->frameGeometry().center() - centre).manhattanLength(), 2);
    Click("CheckBox1");
    EXPECT_EQ(form->size(), QSize(320, 322));
    EXPECT_LE((form->frameGeometry().center() - centre).manhattanLength(), 2);
}

TEST_F(FormFixture, BrightnessButtonsAndRunning) {
    OpenDemo();
    for (int i = 0; i < 4; ++i)
        Click("Button3");
    EXPECT_FLOAT_EQ(form->Game()->FrameBuffer().Brightness(), 2.0f);
    Click("Button4");
    EXPECT_FLOAT_EQ(form->Game()->FrameBuffer().Brightness(), 1.75f);

    Click("RunningCheckBox");
    EXPECT_TRUE(form->Running());
    EXPECT_TRUE(form->MMTimer1().Running());
    EXPECT_EQ(form->MMTimer1().InterVal(), 14);
    int32_t before = form->Game()->TickCount();
    QTest::qWait(200);
    EXPECT_GT(form->Game()->TickCount(), before + 3);
    Click("RunningCheckBox");
    EXPECT_FALSE(form->MMTimer1().Running());
}

TEST_F(FormFixture, FailingGameStillOpensTheWindow) {
    Open("/no/such/file.map");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(form->Game(), nullptr);
    EXPECT_EQ(form->size(), QSize(320, 322));
    // No handler may touch the missing game.
    Click("Button2");
    Click("Button3");
    Click("CheckBox1");
    EXPECT_EQ(form->size(), QSize(320, 322));
    form->MMTimer1Timer(2);
    form->grab();
    EXPECT_EQ(errors.size(), 1u);
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

TEST_F(FormFixture, ErrorsNameTheFileTheyConcern) {
    const fs::path dir = testing_support::ScratchDir("zorv_maprun_ui_") / "named";
    fs::create_directories(dir);
    const std::vector<uint8_t> map = testing_support::FileBytes(DemoDir() / "demo.map");
    auto write = [](const fs::path& file, const std::string& bytes) {
        std::ofstream(file, std::ios::binary) << bytes;
    };
    auto expectNamed = [&](const fs::path& file) {
        const QStringList lines = ErrorLines();
        ASSERT_EQ(lines.size(), 2) << errors.size();
        EXPECT_FALSE(lines[0].isEmpty());
        EXPECT_EQ(lines[1], QFile::decodeName(file.string().c_str()));
        errors.clear();
    };

    // The map itself, cut short.
    write(dir / "cut.map", std::string(map.begin(), map.begin() + 200));
    Open((dir / "cut.map").string());
    expectNamed(dir / "cut.map");

    // Its tile set, with tiles of the wrong size.
    write(dir / "whole.map", std::string(map.begin(), map.end()));
    write(dir / "DEMO.TIL", "BLOKTEXT\r\nWIDTH=16\r\n");
    Open((dir / "whole.map").string());
    ASSERT_EQ(ErrorLines().value(0), "The Tileset has the wrong size tiles");
    expectNamed(dir / "DEMO.TIL");

    // The test picture the runtime reads from its folder.
    write(dir / "testpbm.lbm", "FORM");
    Open((DemoDir() / "demo.map").string(), dir);
    expectNamed(dir / "testpbm.lbm");
}

TEST_F(FormFixture, OpensAMapWhoseNameIsNotUtf8) {
    const fs::path odd = DemoDir() / "odd\xFF.map";
    fs::copy_file(DemoDir() / "demo.map", odd, fs::copy_options::overwrite_existing);
    char program[] = "maprun";
    std::string name = odd.string();
    char* argv[] = {program, name.data(), nullptr};
    const std::optional<std::string> argument = MapArgument(2, argv, [](auto&&...) {});
    ASSERT_TRUE(argument);
    Open(*argument);
    ASSERT_TRUE(errors.empty()) << errors.front().toStdString();
    ASSERT_NE(form->Game(), nullptr);
    EXPECT_EQ(form->Game()->Map().Width(), 80);
}
