// The editor's own small windows (Map Settings, Handle, progress, About) and
// the real message and file dialogs as the window builds them.
#include "fixture.h"

#include "mapedit/ui/aboutbox.h"
#include "mapedit/ui/handlebox.h"
#include "mapedit/ui/infobox.h"
#include "mapedit/ui/layoutdialog.h"

#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

namespace mapedit::ui::testing {
namespace {

class LayoutDialogTest : public ::testing::Test {
protected:
    void Show(int width, int height) {
        dialog.SetValues(LayoutValues{width, height, true, true, true, true});
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }
    void Enter(QWidget* field) {
        dialog.OKBtn->setFocus();
        QCoreApplication::processEvents();
        field->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
    }
    TLayoutDialog dialog{nullptr};
};

TEST_F(LayoutDialogTest, EnteringASizeFieldAppliesTheLimit) {
    Show(200, 200);
    // Opening the dialog leaves the values alone: the focus starts on OK.
    EXPECT_EQ(dialog.focusWidget(), dialog.OKBtn);
    EXPECT_EQ(dialog.WidthEdit->value(), 200);
    Enter(dialog.WidthEdit);
    EXPECT_EQ(dialog.WidthEdit->value(), 163);
    EXPECT_EQ(dialog.HeightEdit->value(), 200);

    dialog.SetValues(LayoutValues{200, 200, true, true, true, true});
    Enter(dialog.HeightEdit);
    EXPECT_EQ(dialog.HeightEdit->value(), 163);
    EXPECT_EQ(dialog.WidthEdit->value(), 200);

    dialog.SetValues(LayoutValues{255, 128, true, true, true, true});
    Enter(dialog.HeightEdit);
    Enter(dialog.WidthEdit);
    EXPECT_EQ(dialog.Values().width, 255);
    EXPECT_EQ(dialog.Values().height, 128);
    dialog.SetValues(LayoutValues{256, 128, true, true, true, true});
    Enter(dialog.HeightEdit);
    EXPECT_EQ(dialog.HeightEdit->value(), 127);

    // Closing does not check: a value typed last stays.
    dialog.HeightEdit->setValue(5000);
    EXPECT_EQ(dialog.Values().height, 5000);
}

TEST_F(LayoutDialogTest, ControlsAndFlags) {
    Show(64, 64);
    EXPECT_EQ(dialog.windowTitle(), "Map Settings");
    EXPECT_TRUE(dialog.font().bold());
    EXPECT_FALSE(dialog.BackGround->isEnabled());
    EXPECT_FALSE(dialog.ForeGround->isEnabled());
    EXPECT_FALSE(dialog.Collision->isEnabled());
    EXPECT_TRUE(dialog.Attributes->isEnabled());
    EXPECT_EQ(dialog.BackGround->text(), "BackGround");
    EXPECT_EQ(dialog.Attributes->text(), "Attributes");
    EXPECT_NE(dialog.findChild<QLabel*>("Label1"), nullptr);
    EXPECT_EQ(dialog.findChild<QLabel*>("Label1")->text(), "Map Width");
    EXPECT_EQ(dialog.findChild<QLabel*>("Label2")->text(), "Map Height");
    // Sizes stay within what a map file can record.
    dialog.WidthEdit->setValue(-5);
    EXPECT_EQ(dialog.WidthEdit->value(), 0);
    dialog.WidthEdit->setValue(70000);
    EXPECT_EQ(dialog.Values().width, 65535);
    dialog.HeightEdit->setValue(65536);
    EXPECT_EQ(dialog.Values().height, 65535);

    dialog.SetValues(LayoutValues{10, 20, false, true, false, true});
    const LayoutValues v = dialog.Values();
    EXPECT_EQ(v.width, 10);
    EXPECT_EQ(v.height, 20);
    EXPECT_FALSE(v.background);
    EXPECT_TRUE(v.foreground);
    EXPECT_FALSE(v.collision);
    QTest::mouseClick(dialog.CancelBtn, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(WindowTest, HandleWindowAnchorsTheStamp) {
    THandleBox* box = window->HandleBox;
    EXPECT_EQ(box->windowTitle(), "Handle");
    EXPECT_TRUE(box->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(box->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(box->size(), QSize(116, 116));
    EXPECT_FALSE(box->isVisible());
    EXPECT_TRUE(box->SpeedButtons[4]->isChecked());

    window->Action("HandlePosition")->trigger();
    EXPECT_TRUE(window->Action("HandlePosition")->isChecked());
    EXPECT_TRUE(box->isVisible());

    Ed().Selection = CellRect{0, 0, 2, 2};
    QTest::mouseClick(box->SpeedButtons[8], Qt::LeftButton);
    EXPECT_EQ(Ed().HandleX, 2);
    EXPECT_EQ(Ed().HandleY, 2);
    EXPECT_FALSE(box->SpeedButtons[4]->isChecked());
    EXPECT_EQ(Ed().StampRect(CellPos{1, 1}), (CellRect{-1, -1, 1, 1}));
    // Only the cells inside the map change.
    Ed().Tiles.SetId(1, 3);
    Ed().Selection = CellRect{1, 0, 1, 0};
    ClickCell(0, 0);
    EXPECT_EQ(Ed().Doc.Cell(0, 0, 0), 3);

    QTest::mouseClick(box->SpeedButtons[3], Qt::LeftButton);
    EXPECT_EQ(Ed().HandleX, 0);
    EXPECT_EQ(Ed().HandleY, 1);
    window->Action("HandlePosition")->trigger();
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(Ed().HandleX, 0); // hiding keeps the handle
}

TEST(InfoBox, ShowsAtOnceWithItsFrames) {
    TInfoBox box(nullptr);
    EXPECT_TRUE(box.isVisible());
    EXPECT_TRUE(box.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(box.size(), QSize(314, 217));
    EXPECT_EQ(box.WhatDoing->title(), "Action");
    EXPECT_EQ(box.GroupBox2->title(), "Currently");
    EXPECT_EQ(box.CurrentString->text(), "CurrentString");
    EXPECT_EQ(box.Labels[1]->y() - box.Labels[0]->y(), 24);
    box.SetText(ProgressLine::Label2, "Tiles Loaded: 3");
    box.SetText(ProgressLine::CurrentString, "Loading map body");
    EXPECT_EQ(box.Labels[1]->text(), "Tiles Loaded: 3");
    EXPECT_EQ(box.CurrentString->text(), "Loading map body");
}

TEST_F(WindowTest, AboutBoxRunsModallyFromTheHelpMenu) {
    QStringList texts;
    dialogs.onExec = [&](QDialog& d) {
        auto* about = dynamic_cast<TAboutBox*>(&d);
        EXPECT_NE(about, nullptr);
        if (about) {
            texts << about->Version->text() << about->Comments->text() << about->OKButton->text();
            EXPECT_FALSE(about->ProductName->text().isEmpty());
            EXPECT_FALSE(about->ProgramIcon->pixmap().isNull());
            QTest::mouseClick(about->OKButton, Qt::LeftButton);
            EXPECT_EQ(about->result(), QDialog::Accepted);
        }
        return int(QDialog::Accepted);
    };
    window->Action("About1")->trigger();
    EXPECT_EQ(texts, (QStringList{"Version 1.0", "It needs work", "Boogy on down"}));
}

// Real message boxes answered by clicking their buttons.
class ClickingDialogs : public QtDialogs {
public:
    QMessageBox::StandardButton click = QMessageBox::NoButton;
    QString title;
    int buttonCount = 0;

protected:
    int Exec(QDialog& dialog) override {
        auto* box = dynamic_cast<QMessageBox*>(&dialog);
        if (!box) return QDialog::Rejected;
        title = box->windowTitle();
        buttonCount = int(box->buttons().size());
        box->show();
        if (click == QMessageBox::NoButton) {
            box->reject(); // closed without a button
        } else {
            QTest::mouseClick(box->button(click), Qt::LeftButton);
        }
        return box->result();
    }
};

TEST(QtDialogs, MessageBoxesReturnTheButtonChosen) {
    ClickingDialogs dialogs;
    dialogs.click = QMessageBox::No;
    EXPECT_EQ(dialogs.Message(MessageKind::Warning, "Save?", MessageButtons::YesNoCancel),
              MessageResult::No);
    EXPECT_EQ(dialogs.title, "Warning");
    EXPECT_EQ(dialogs.buttonCount, 3);
    dialogs.click = QMessageBox::Yes;
    EXPECT_EQ(dialogs.Message(MessageKind::Warning, "Sure?", MessageButtons::YesNo),
              MessageResult::Yes);
    dialogs.click = QMessageBox::Ignore;
    EXPECT_EQ(dialogs.Message(MessageKind::Error, "Error loading X", MessageButtons::Ignore),
              MessageResult::Ignore);
    EXPECT_EQ(dialogs.title, "Error");
    EXPECT_EQ(dialogs.buttonCount, 1);
    // Closed without a button: Cancel, or No where there is no Cancel.
    dialogs.click = QMessageBox::NoButton;
    EXPECT_EQ(dialogs.Message(MessageKind::Warning, "Save?", MessageButtons::YesNoCancel),
              MessageResult::Cancel);
    EXPECT_EQ(dialogs.Message(MessageKind::Warning, "Sure?", MessageButtons::YesNo),
              MessageResult::No);
}

TEST(QtDialogs, FileDialogsCarryTheirFiltersAndRules) {
    QtDialogs dialogs;
    auto open = dialogs.MakeFileDialog(FileDialogKind::OpenMap);
    EXPECT_EQ(open->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(open->fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(open->nameFilters(),
              (QStringList{"Map files (*.Map) (*.[mM][aA][pP])", "All files (*.*) (*)"}));

    auto save = dialogs.MakeFileDialog(FileDialogKind::SaveMap);
    EXPECT_EQ(save->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(save->testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_TRUE(save->defaultSuffix().isEmpty());
    EXPECT_EQ(save->nameFilters().size(), 2);

    auto tileSet = dialogs.MakeFileDialog(FileDialogKind::OpenTileSet);
    EXPECT_EQ(tileSet->defaultSuffix(), "til");
    EXPECT_EQ(tileSet->nameFilters(), QStringList{"Tile sets (*.til) (*.[tT][iI][lL])"});

    // Names from a DOS disk match whatever their case.
    const QRegularExpression pattern(
        QRegularExpression::wildcardToRegularExpression("*.[mM][aA][pP]"));
    EXPECT_TRUE(pattern.match("LEVEL1.MAP").hasMatch());
    EXPECT_TRUE(pattern.match("level1.map").hasMatch());
    EXPECT_FALSE(pattern.match("level1.til").hasMatch());

    auto colour = dialogs.MakeColourDialog(0x00FF00FF);
    EXPECT_EQ(colour->currentColor(), QColor(255, 0, 255));
}

} // namespace
} // namespace mapedit::ui::testing
