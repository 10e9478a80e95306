#include "mapedit/core/colourtable.h"

#include <algorithm>
#include <cmath>

namespace mapedit {

int RoundHalfEven(double value) {
    double lower = std::floor(value);
    double fraction = value - lower;
    long long whole = static_cast<long long>(lower);
    if (fraction > 0.5 || (fraction == 0.5 && (whole & 1) != 0)) ++whole;
    return static_cast<int>(std::clamp<long long>(whole, -2147483647LL, 2147483647LL));
}

void TColourTable::SetColours(const uint8_t (&rgb)[768]) {
    for (int i = 0; i < 256; ++i)
        SourceColours_[i] = RgbQuad{rgb[3 * i + 2], rgb[3 * i + 1], rgb[3 * i], 0};
    ApplyColours();
}

void TColourTable::SetBackgroundColour(uint8_t red, uint8_t green, uint8_t blue) {
    BackgroundColour_ = RgbQuad{blue, green, red, 0};
    ApplyColours();
}

void TColourTable::SetBrightness(double factor) {
    TileBrightness_ = factor;
    ApplyColours();
}

static uint8_t Scale(uint8_t value, double factor) {
    return static_cast<uint8_t>(std::clamp(RoundHalfEven(factor * value), 0, 255));
}

void TColourTable::ApplyColours() {
    for (int i = 0; i < 256; ++i) {
        const RgbQuad& s = SourceColours_[i];
        DisplayColours_[i] =
            RgbQuad{Scale(s.blue, TileBrightness_), Scale(s.green, TileBrightness_),
                    Scale(s.red, TileBrightness_), 0};
    }
    DisplayColours_[0] = BackgroundColour_;
    for (int i = 0; i < 256; ++i) {
        const RgbQuad& d = DisplayColours_[i];
        Rgb32_[i] = 0xFF000000u | uint32_t(d.red) << 16 | uint32_t(d.green) << 8 | d.blue;
    }
    ++Version_;
}

} // namespace mapedit
