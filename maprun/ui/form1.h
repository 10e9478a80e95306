#pragma once
// The runtime's test window: device facts, frame-rate readouts and controls
// above the game's frame, which a 14 ms timer advances while "Running" is
// ticked.
#include "maprun/core/game.h"
#include "maprun/ui/timerhost.h"
#include "maprun/window/displayhardware.h"
#include "maprun/window/framestats.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace maprun {

class TForm1 : public QWidget {
public:
    using ErrorHandler = std::function<void(const QString& message)>;

    // Creates the game from the map argument (the bytes of a file name); a game
    // that cannot be created is reported through `showError`, with the file at
    // fault on a line of its own, and the window opens without one.
    TForm1(const std::string& mapArgument, FullscreenSupport& fullscreen, ErrorHandler showError,
           const std::filesystem::path& assetsDir = {});
    ~TForm1() override;

    TZorvGame* Game() const { return Game_.get(); }
    TMMTimer& MMTimer1() { return timerHost_->Timer(); }
    bool Running() const { return Running_; }
    const FrameStats& Stats() const { return stats_; }

    void SetRunning(bool value);
    void SetRunningOrReport(bool value);
    // One frame of `ticks` timer periods: statistics, advance, draw, show.
    void MMTimer1Timer(int ticks);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void CreateControls();
    void AdjustSize();
    void ShowFrame();
    QSize PictureSize() const;

    void Button1Click();
    void CheckBox1Click();
    void Button3Click() { ChangeBrightness(0.25f); }
    void Button4Click() { ChangeBrightness(-0.25f); }
    void ChangeBrightness(float step);

    FullscreenSupport& fullscreen_;
    ErrorHandler showError_;
    std::unique_ptr<TZorvGame> Game_;
    std::unique_ptr<TimerHost> timerHost_;
    FrameStats stats_;
    bool Running_ = false;

    QLabel* VBEVersion = nullptr;
    QLabel* VideoMemory = nullptr;
    QLabel* OEM = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* FrameRate = nullptr;
    QLabel* BestRate = nullptr;
    QLabel* WorstRate = nullptr;
    QPushButton* Button1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* RunningCheckBox = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
};

} // namespace maprun
