#pragma once
// The editor's colour state: the colours of the last picture loaded, the
// background colour that replaces colour 0, the tile brightness, and the
// display table derived from them that every surface is shown with.
#include <array>
#include <cstdint>

namespace mapedit {

// One colour table entry in memory order: blue, green, red, spare.
struct RgbQuad {
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    uint8_t reserved = 0;
    bool operator==(const RgbQuad&) const = default;
};

// Rounds to the nearest integer, halves to the even neighbour, whatever the
// floating-point rounding mode is.
int RoundHalfEven(double value);

class TColourTable {
public:
    TColourTable() { ApplyColours(); }

    // 256 red, green, blue triples, as in a picture's CMAP.
    void SetColours(const uint8_t (&rgb)[768]);
    void SetBackgroundColour(uint8_t red, uint8_t green, uint8_t blue);
    void SetBrightness(double factor);
    void ApplyColours();

    const std::array<RgbQuad, 256>& SourceColours() const { return SourceColours_; }
    const RgbQuad& BackgroundColour() const { return BackgroundColour_; }
    double TileBrightness() const { return TileBrightness_; }
    const std::array<RgbQuad, 256>& DisplayColours() const { return DisplayColours_; }
    // DisplayColours as 0xFFRRGGBB values, ready for a 32-bit image.
    const std::array<uint32_t, 256>& Rgb32() const { return Rgb32_; }
    // Grows on every change, so a view can tell when its converted copies are stale.
    uint64_t Version() const { return Version_; }

private:
    std::array<RgbQuad, 256> SourceColours_{};
    RgbQuad BackgroundColour_{};
    double TileBrightness_ = 1.0;
    std::array<RgbQuad, 256> DisplayColours_{};
    std::array<uint32_t, 256> Rgb32_{};
    uint64_t Version_ = 0;
};

} // namespace mapedit
