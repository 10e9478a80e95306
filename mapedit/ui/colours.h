#pragma once
// The editor keeps user-interface colours as 0x00BBGGRR; Qt wants RGB.
#include <QColor>
#include <cstdint>

namespace mapedit::ui {

inline QColor ToQColor(uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

inline uint32_t FromQColor(const QColor& c) {
    return uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16;
}

// A 0x00BBGGRR colour as the 0xFFRRGGBB pixel of a 32-bit image.
inline uint32_t ToPixel(uint32_t bgr) {
    return 0xFF000000u | (bgr & 0xFF) << 16 | (bgr & 0xFF00) | (bgr >> 16 & 0xFF);
}

} // namespace mapedit::ui
