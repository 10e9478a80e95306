#include "maprun/core/framebuffer.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <stdexcept>
#include <string>

namespace maprun {

namespace {

// Rounding to nearest with halves to even needs the default rounding mode; a
// caller may have changed it, so it is set for the computation and restored.
class NearestRounding {
public:
    NearestRounding() : saved_(std::fegetround()) {
        if (saved_ != FE_TONEAREST) std::fesetround(FE_TONEAREST);
    }
    ~NearestRounding() {
        if (saved_ != FE_TONEAREST) std::fesetround(saved_);
    }
    NearestRounding(const NearestRounding&) = delete;
    NearestRounding& operator=(const NearestRounding&) = delete;

private:
    int saved_;
};

// component x brightness in extended precision, halves to even, clamped.
uint8_t Scale(uint8_t component, float brightness) {
    const long double v = static_cast<long double>(component) * brightness;
    if (!(v > 0.0L)) return 0; // also NaN
    if (v >= 255.0L) return 255;
    return static_cast<uint8_t>(std::nearbyintl(v));
}

void CheckSize(int width, int height) {
    if (width <= 0 || width % 4 != 0 || width > TFrameBuffer::kMaxSide || height <= 0 ||
        height > TFrameBuffer::kMaxSide)
        throw std::invalid_argument("Frame buffer size " + std::to_string(width) + " x " +
                                    std::to_string(height) + " is not supported");
}

} // namespace

TFrameBuffer::TFrameBuffer(int width, int height) {
    CreatePixels(width, height);
    SetBrightness(1.0f);
}

void TFrameBuffer::CreatePixels(int width, int height) {
    CheckSize(width, height);
    std::vector<uint8_t> bits(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    FBits.swap(bits);
    FInfo.Header.biWidth = width;
    FInfo.Header.biHeight = height;
    UpdateOrigin();
    FClipRect = TClipRect{0, 0, width, height};
}

void TFrameBuffer::UpdateOrigin() {
    const int32_t w = Width();
    if (FFlipped) {
        FOrigin = FBits.data() + static_cast<size_t>(Height() - 1) * static_cast<size_t>(w);
        FRowStep = -w;
    } else {
        FOrigin = FBits.data();
        FRowStep = w;
    }
}

void TFrameBuffer::SetWidth(int value) {
    CreatePixels(value, Height());
}

void TFrameBuffer::SetHeight(int value) {
    CreatePixels(Width(), value);
}

void TFrameBuffer::SetFlipped(bool value) {
    if (value == FFlipped) return;
    FFlipped = value;
    UpdateOrigin();
}

RgbQuad TFrameBuffer::AdjustedColour(const RgbQuad& source) const {
    RgbQuad c;
    c.rgbGreen = Scale(source.rgbGreen, FBrightness);
    c.rgbBlue = Scale(source.rgbBlue, FBrightness);
    c.rgbRed = Scale(source.rgbRed, FBrightness);
    return c;
}

void TFrameBuffer::SetBrightness(float value) {
    if (value != FBrightness) {
        FBrightness = value;
        NearestRounding rounding;
        for (int i = 0; i < 256; ++i)
            FInfo.Colors[i] = AdjustedColour(FSourcePalette[i]);
    }
    FPaletteChanged = true;
}

void TFrameBuffer::SetPaletteEntry(int index, uint8_t red, uint8_t green, uint8_t blue) {
    if (index < 0 || index > 255) return;
    FSourcePalette[index] = RgbQuad{blue, green, red, 0};
    NearestRounding rounding;
    FInfo.Colors[index] = AdjustedColour(FSourcePalette[index]);
    FPaletteChanged = true;
}

void TFrameBuffer::SetPixel(int x, int y, uint8_t colour) {
    if (x < 0 || x >= Width() || y < 0 || y >= Height()) return;
    FOrigin[x + static_cast<ptrdiff_t>(y) * FRowStep] = colour;
}

uint8_t TFrameBuffer::GetPixel(int x, int y) const {
    if (x < 0 || x >= Width() || y < 0 || y >= Height()) return 0;
    return FOrigin[x + static_cast<ptrdiff_t>(y) * FRowStep];
}

void TFrameBuffer::FillRect(const TClipRect& rect, uint8_t colour) {
    const int left = std::max(rect.Left, FClipRect.Left);
    const int right = std::min(rect.Right, FClipRect.Right);
    const int top = std::max(rect.Top, FClipRect.Top);
    const int bottom = std::min(rect.Bottom, FClipRect.Bottom);
    if (left >= right || top >= bottom) return;
    for (int y = top; y < bottom; ++y)
        std::fill_n(FOrigin + left + static_cast<ptrdiff_t>(y) * FRowStep, right - left, colour);
}

} // namespace maprun
