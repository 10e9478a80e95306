#include "vantor32window.h"

#include "qtinput.h"
#include "qtplatform.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vantor32qt {

namespace {
constexpr int kLargestSide = 16384;
constexpr std::uint32_t kOpaque = 0xFF000000u;
} // namespace

Vantor32Window::Vantor32Window(QtPlatform& platform, const QString& title, const QRect& geometry)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      platform_(platform) {
    setObjectName("Vantor32Window");
    setWindowTitle(title);
    setGeometry(geometry);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    refresh_.setTimerType(Qt::PreciseTimer);
    connect(&refresh_, &QTimer::timeout, this, &Vantor32Window::Refresh);
    SourceChanged();
}

void Vantor32Window::ApplyCursor(bool visible, vantor32::CursorShape shape) {
    if (!visible)
        setCursor(Qt::BlankCursor);
    else
        setCursor(shape == vantor32::CursorShape::Wait ? Qt::WaitCursor : Qt::ArrowCursor);
}

void Vantor32Window::SourceChanged() {
    const double hz = platform_.Source().refreshHz;
    const int interval = hz > 0 ? static_cast<int>(std::lround(1000.0 / hz)) : 1000;
    refresh_.setInterval(std::max(1, interval));
}

bool Vantor32Window::ScanOut() {
    const ScreenSource& source = platform_.Source();
    if (vantor32::CompanionDesktopOutputOn() || !source.scanout || !source.scanout(scan_))
        return false;
    const int w = scan_.width, h = scan_.height;
    if (w <= 0 || h <= 0 || w > kLargestSide || h > kLargestSide ||
        scan_.pixels.size() < static_cast<std::size_t>(w) * h)
        return false;
    if (frame_.size() != QSize(w, h)) frame_ = QImage(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* from = scan_.pixels.data() + static_cast<std::size_t>(y) * w;
        auto* to = reinterpret_cast<std::uint32_t*>(frame_.scanLine(y));
        for (int x = 0; x < w; ++x)
            to[x] = from[x] | kOpaque;
    }
    return true;
}

void Vantor32Window::Refresh() {
    if (!ScanOut()) {
        if (frame_.isNull()) return;
        frame_ = QImage();
    }
    update();
}

bool Vantor32Window::event(QEvent* event) {
    std::optional<vantor32::Message> message;
    switch (event->type()) {
    // Taken here, before QWidget uses Tab to move the focus.
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        message = KeyMessage(*static_cast<QKeyEvent*>(event), event->type() == QEvent::KeyPress);
        break;
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        message = MouseMessage(*static_cast<QMouseEvent*>(event));
        break;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate: {
        vantor32::Message activation;
        activation.window = this;
        activation.kind = event->type() == QEvent::WindowActivate
                              ? vantor32::MessageKind::Activate
                              : vantor32::MessageKind::Deactivate;
        platform_.PostInput(activation);
        return QWidget::event(event);
    }
    default:
        return QWidget::event(event);
    }
    if (message) {
        message->window = this;
        platform_.PostInput(*message);
    }
    event->accept();
    return true;
}

void Vantor32Window::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (frame_.isNull()) return;
    const QSize fitted = frame_.size().scaled(size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2),
                       fitted);
    painter.drawImage(target, frame_);
}

void Vantor32Window::showEvent(QShowEvent* event) {
    refresh_.start();
    QWidget::showEvent(event);
}

void Vantor32Window::hideEvent(QHideEvent* event) {
    refresh_.stop();
    QWidget::hideEvent(event);
}

// Only the library ends the fullscreen window.
void Vantor32Window::closeEvent(QCloseEvent* event) {
    event->ignore();
}

} // namespace vantor32qt
