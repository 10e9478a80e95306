#pragma once
// TDIB: the editor's 8-bit drawing surface. Rows run top to bottom, Width bytes
// apart. Block copies (opaque, transparent, shaded) clip to both surfaces;
// DrawPart shows a part of the surface on a 32-bit image through the colour table.
#include "formats/pbm.h"
#include "formats/stream.h"
#include "mapedit/core/colourtable.h"
#include "mapedit/core/geometry.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace mapedit {

// A 32-bit image to draw on (0xFFRRGGBB pixels, as a QImage of format RGB32
// holds them). `stride` counts pixels from one row to the next.
struct RgbTarget {
    uint32_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;
};

// Largest surface the editor makes or loads a picture into.
inline constexpr int64_t kMaxSurfacePixels = int64_t(1) << 26;

class TDIB : public formats::PbmSurfaceTarget {
public:
    // A new surface is cleared to colour 0. Raises EWinG for a size it cannot hold.
    TDIB(int32_t width, int32_t height);

    int32_t Width() const { return Width_; }
    int32_t Height() const { return Height_; }
    int32_t GetWidth() const { return Width_; }
    int32_t GetHeight() const { return Height_; }
    bool GetEmpty() const { return false; }
    // A size change re-creates the pixels, cleared to 0; the same size keeps them.
    void SetWidth(int32_t value);
    void SetHeight(int32_t value);

    uint8_t* Bits() { return Bits_.data(); }
    const uint8_t* Bits() const { return Bits_.data(); }
    uint8_t* Row(int32_t y) { return Bits_.data() + static_cast<size_t>(y) * Width_; }
    const uint8_t* Row(int32_t y) const { return Bits_.data() + static_cast<size_t>(y) * Width_; }
    uint8_t Pixel(int32_t x, int32_t y) const { return Row(y)[x]; }
    void SetPixel(int32_t x, int32_t y, uint8_t colour) { Row(y)[x] = colour; }

    // When set, transparent copies into this surface shade with colours 1 to 15.
    bool ShadeMode = false;

    void Clear();
    // Copies the w x h block at (sx, sy) of source to (dx, dy), clipped to both.
    void CopyRect(int32_t dx, int32_t dy, int32_t w, int32_t h, int32_t sx, int32_t sy,
                  const TDIB& source);
    // As CopyRect, but colour 0 is skipped and, with ShadeMode, colours 1 to 15
    // shift the shade level of the destination pixel instead of being drawn.
    void TransparentCopy(int32_t dx, int32_t dy, int32_t w, int32_t h, int32_t sx, int32_t sy,
                         const TDIB& source);

    // Decodes a PBM picture into the surface (which takes the picture's size) and
    // hands its CMAP to `colours`. Raises EInvalidGraphic, or EFOpenError when
    // the file cannot be opened.
    void LoadFromStream(formats::Stream& stream, TColourTable& colours,
                        const formats::ProgressCallback& progress = {});
    void LoadFromFile(const std::filesystem::path& fileName, TColourTable& colours,
                      const formats::ProgressCallback& progress = {});

    // Shows the source rectangle stretched onto the destination rectangle of the
    // target (nearest pixel), clipped to both; pixels go through `rgb32`.
    void DrawPart(RgbTarget& target, const PixelRect& source, const PixelRect& dest,
                  const std::array<uint32_t, 256>& rgb32) const;
    // Shows the whole surface in the rectangle, at the same size or stretched.
    void Draw(RgbTarget& target, const PixelRect& dest,
              const std::array<uint32_t, 256>& rgb32) const;

    // formats::PbmSurfaceTarget
    void SetPictureSize(int width, int height) override;
    void SetPictureColours(const uint8_t (&rgb)[768]) override;
    uint8_t* PictureRow(int y) override;

private:
    void Allocate(int32_t width, int32_t height);

    int32_t Width_ = 0;
    int32_t Height_ = 0;
    std::vector<uint8_t> Bits_;
    TColourTable* LoadingColours_ = nullptr;
};

// Fills a rectangle of a 32-bit image, clipped to it.
void FillRgb(RgbTarget& target, const PixelRect& rect, uint32_t colour);

// One pixel of a shaded transparent copy: source s over destination d.
inline uint8_t ShadePixel(uint8_t s, uint8_t d) {
    if (s >= 16) return s;
    if (s == 0) return d;
    int level = (d & 15) + s - 8;
    level = level < 0 ? 0 : (level > 15 ? 15 : level);
    return static_cast<uint8_t>((d & 0xF0) | level);
}

// A transparent copy of n pixels in a row, source s over destination d: colour
// 0 is skipped; the shaded form treats 1 to 15 as ShadePixel does.
void TransparentRun(uint8_t* d, const uint8_t* s, int32_t n);
void ShadedRun(uint8_t* d, const uint8_t* s, int32_t n);

} // namespace mapedit
