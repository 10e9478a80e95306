#include "mapedit/ui/glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <string>

namespace mapedit::ui {

namespace {

QPixmap Blank(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// An arrow across the square towards one corner: dx, dy are -1 or 1.
QPixmap Arrow(int dx, int dy) {
    QPixmap pixmap = Blank(kPresetGlyphSize);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(kPresetGlyphSize / 2.0, kPresetGlyphSize / 2.0);
    const double reach = kPresetGlyphSize / 2.0 - 3;
    const QPointF tip = centre + QPointF(dx * reach, dy * reach);
    const QPointF tail = centre - QPointF(dx * reach, dy * reach);
    p.setPen(QPen(QColor(20, 20, 120), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(tail, tip - QPointF(dx * 2, dy * 2));
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(tip - QPointF(dx * 8, 0));
    head.lineTo(tip - QPointF(0, dy * 8));
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 20, 120));
    p.drawPath(head);
    return pixmap;
}

QPixmap Digit(int digit) {
    QPixmap pixmap = Blank(kPresetGlyphSize);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont font;
    font.setBold(true);
    font.setPixelSize(16);
    p.setFont(font);
    p.setPen(QColor(0, 70, 0));
    p.drawText(QRect(0, 0, kPresetGlyphSize, kPresetGlyphSize), Qt::AlignCenter,
               QString::number(digit));
    return pixmap;
}

// A face: wincing (damage, level 0 to 4, redder and more pained) or smiling
// (healing, level 0 to 4, greener and broader).
QPixmap Face(bool smile, int level) {
    QPixmap pixmap = Blank(kPresetGlyphSize);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const double t = level / 4.0;
    const QColor skin = smile ? QColor(int(250 - 120 * t), 230, int(90 - 40 * t))
                              : QColor(250, int(220 - 150 * t), int(90 - 60 * t));
    const QRectF head(1.5, 1.5, kPresetGlyphSize - 3, kPresetGlyphSize - 3);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(skin);
    p.drawEllipse(head);

    p.setPen(QPen(Qt::black, 1.4, Qt::SolidLine, Qt::RoundCap));
    if (smile) {
        p.setBrush(Qt::black);
        p.drawEllipse(QPointF(7, 8), 1.1, 1.4);
        p.drawEllipse(QPointF(13, 8), 1.1, 1.4);
        p.setBrush(Qt::NoBrush);
        // The mouth opens wider with each level.
        const double depth = 2 + level * 1.2;
        QPainterPath mouth;
        mouth.moveTo(5.5, 12);
        mouth.quadTo(10, 12 + 2 * depth, 14.5, 12);
        p.drawPath(mouth);
    } else {
        // Squeezed eyes: slanted strokes that close more with each level.
        const double squeeze = 0.5 + level * 0.35;
        p.drawLine(QPointF(5.5, 7.5 - squeeze), QPointF(8.5, 8.5));
        p.drawLine(QPointF(14.5, 7.5 - squeeze), QPointF(11.5, 8.5));
        p.setBrush(Qt::NoBrush);
        const double depth = 1 + level * 1.0;
        QPainterPath mouth;
        mouth.moveTo(6, 15);
        mouth.quadTo(10, 15 - 2 * depth, 14, 15);
        p.drawPath(mouth);
    }
    return pixmap;
}

int Suffix(std::string_view name, std::string_view prefix) {
    if (name.size() != prefix.size() + 1 || name.substr(0, prefix.size()) != prefix) return -1;
    const char c = name.back();
    return c >= '0' && c <= '9' ? c - '0' : -1;
}

} // namespace

QPixmap PresetGlyph(std::string_view name) {
    if (name == "ArrowDownLeft") return Arrow(-1, 1);
    if (name == "ArrowDownRight") return Arrow(1, 1);
    if (name == "ArrowUpLeft") return Arrow(-1, -1);
    if (name == "ArrowUpRight") return Arrow(1, -1);
    if (int n = Suffix(name, "Number"); n >= 0) return Digit(n);
    if (int n = Suffix(name, "Wince"); n >= 0 && n <= 4) return Face(false, n);
    if (int n = Suffix(name, "Smile"); n >= 0 && n <= 4) return Face(true, n);
    return {};
}

QPixmap HandleGlyph(int tag, int size) {
    QPixmap pixmap = Blank(size);
    if (tag < 1 || tag > 9) return pixmap;
    QPainter p(&pixmap);
    const int margin = size / 7;
    const QRect square(margin, margin, size - 2 * margin - 1, size - 2 * margin - 1);
    p.setPen(QColor(40, 40, 40));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(square);
    const int marker = std::max(4, size / 5);
    const int column = (tag - 1) % 3, row = (tag - 1) / 3;
    const int x = square.left() + column * (square.width() - marker) / 2;
    const int y = square.top() + row * (square.height() - marker) / 2;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(180, 0, 0));
    p.drawRect(x, y, marker + 1, marker + 1);
    return pixmap;
}

QIcon ZoomGlyph(bool zoomIn) {
    QPixmap pixmap = Blank(20);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 30, 30), 2));
    p.setBrush(QColor(220, 235, 255));
    p.drawEllipse(QPointF(8, 8), 5.5, 5.5);
    p.setPen(QPen(QColor(30, 30, 30), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12.5, 12.5), QPointF(17.5, 17.5));
    p.setPen(QPen(QColor(0, 0, 0), 1.6));
    p.drawLine(QPointF(5.5, 8), QPointF(10.5, 8));
    if (zoomIn) p.drawLine(QPointF(8, 5.5), QPointF(8, 10.5));
    return QIcon(pixmap);
}

QPixmap ProgramIconPicture(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(QColor(0, 0, 40));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // A little side view: sky, hills, a platform of bricks and a ladder.
    QLinearGradient sky(0, 0, 0, size);
    sky.setColorAt(0, QColor(40, 60, 160));
    sky.setColorAt(1, QColor(150, 190, 255));
    p.fillRect(pixmap.rect(), sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 140, 50));
    p.drawEllipse(QRectF(-size * 0.3, size * 0.65, size * 1.0, size * 0.7));
    p.drawEllipse(QRectF(size * 0.4, size * 0.7, size * 0.9, size * 0.6));
    const int brick = size / 8;
    for (int i = 0; i < 5; ++i) {
        p.setBrush(i % 2 ? QColor(170, 70, 40) : QColor(150, 60, 30));
        p.drawRect(QRect(size / 6 + i * brick, size / 2, brick - 1, brick / 2));
    }
    p.setPen(QPen(QColor(120, 80, 20), 2));
    const int lx = size / 6 + 4 * brick;
    p.drawLine(lx, size / 2, lx, size * 3 / 4 + 8);
    p.drawLine(lx + brick - 2, size / 2, lx + brick - 2, size * 3 / 4 + 8);
    for (int y = size / 2 + 6; y < size * 3 / 4 + 8; y += 6)
        p.drawLine(lx, y, lx + brick - 2, y);
    p.setPen(QPen(QColor(255, 255, 255), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return pixmap;
}

} // namespace mapedit::ui
