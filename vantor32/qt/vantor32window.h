#pragma once
// The fullscreen window: frameless, on top, covering the screen. Its input
// becomes message records; it shows the screen source's picture, scaled with
// its aspect kept, while the companion has the desktop's output switched off.
#include "vantor32/platform.h"
#include "vantor32qt/qtbackend.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

namespace vantor32qt {

class QtPlatform;

class Vantor32Window : public QWidget {
    Q_OBJECT
public:
    Vantor32Window(QtPlatform& platform, const QString& title, const QRect& geometry);

    void ApplyCursor(bool visible, vantor32::CursorShape shape);
    // Re-reads the refresh rate of the platform's screen source.
    void SourceChanged();
    // Takes a new picture from the source (black while the desktop has the
    // screen or there is no source) and schedules a repaint.
    void Refresh();
    const QImage& Frame() const { return frame_; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool ScanOut();

    QtPlatform& platform_;
    QTimer refresh_;
    ScreenImage scan_;
    QImage frame_; // the source's picture converted once per refresh
};

} // namespace vantor32qt
