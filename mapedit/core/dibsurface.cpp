#include "mapedit/core/dibsurface.h"

#include "mapedit/core/errors.h"
#include "mapedit/core/pixelsimd.h"

#include <algorithm>
#include <cstring>

namespace mapedit {

namespace {

// The clipping of both block copies: first against the destination, then the source.
struct Block {
    int32_t dx, dy, w, h, sx, sy;
};

bool ClipBlock(Block& b, int32_t destWidth, int32_t destHeight, int32_t srcWidth,
               int32_t srcHeight) {
    // 64-bit intermediates: callers may pass any 32-bit values.
    int64_t dx = b.dx, dy = b.dy, w = b.w, h = b.h, sx = b.sx, sy = b.sy;
    if (dx < 0) {
        w += dx;
        sx -= dx;
        dx = 0;
    }
    if (dx + w > destWidth) w = destWidth - dx;
    if (dy < 0) {
        h += dy;
        sy -= dy;
        dy = 0;
    }
    if (dy + h > destHeight) h = destHeight - dy;
    if (sx < 0) {
        w += sx;
        dx -= sx;
        sx = 0;
    }
    if (sx + w > srcWidth) w = srcWidth - sx;
    if (sy < 0) {
        h += sy;
        dy -= sy;
        sy = 0;
    }
    if (sy + h > srcHeight) h = srcHeight - sy;
    if (w <= 0 || h <= 0) return false;
    b = Block{int32_t(dx), int32_t(dy), int32_t(w), int32_t(h), int32_t(sx), int32_t(sy)};
    return true;
}

// Whole rows of two surfaces of one width lie in one run of bytes each.
bool IsWholeRows(const Block& b, int32_t destWidth, int32_t srcWidth) {
    return b.dx == 0 && b.sx == 0 && b.w == destWidth && b.w == srcWidth;
}

} // namespace

void TransparentRun(uint8_t* d, const uint8_t* s, int32_t n) {
    int32_t i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= n; i += 16) {
        const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), TransparentPixels(sv, dv));
    }
#endif
    for (; i < n; ++i)
        d[i] = s[i] != 0 ? s[i] : d[i];
}

void ShadedRun(uint8_t* d, const uint8_t* s, int32_t n) {
    int32_t i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= n; i += 16) {
        const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), ShadedPixels(sv, dv));
    }
#endif
    for (; i < n; ++i)
        d[i] = ShadePixel(s[i], d[i]);
}

TDIB::TDIB(int32_t width, int32_t height) {
    Allocate(width, height);
}

void TDIB::Allocate(int32_t width, int32_t height) {
    if (width < 0 || height < 0 || int64_t(width) * height > kMaxSurfacePixels)
        throw EWinG("Couldn't allocate BitMap");
    Bits_.assign(static_cast<size_t>(width) * height, 0);
    Width_ = width;
    Height_ = height;
}

void TDIB::SetWidth(int32_t value) {
    if (value != Width_) Allocate(value, Height_);
}

void TDIB::SetHeight(int32_t value) {
    if (value != Height_) Allocate(Width_, value);
}

void TDIB::Clear() {
    std::fill(Bits_.begin(), Bits_.end(), uint8_t(0));
}

void TDIB::CopyRect(int32_t dx, int32_t dy, int32_t w, int32_t h, int32_t sx, int32_t sy,
                    const TDIB& source) {
    Block b{dx, dy, w, h, sx, sy};
    if (!ClipBlock(b, Width_, Height_, source.Width_, source.Height_)) return;
    if (IsWholeRows(b, Width_, source.Width_)) {
        std::memmove(Row(b.dy), source.Row(b.sy), size_t(b.w) * size_t(b.h));
        return;
    }
    for (int32_t y = 0; y < b.h; ++y)
        std::memmove(Row(b.dy + y) + b.dx, source.Row(b.sy + y) + b.sx, size_t(b.w));
}

void TDIB::TransparentCopy(int32_t dx, int32_t dy, int32_t w, int32_t h, int32_t sx, int32_t sy,
                           const TDIB& source) {
    Block b{dx, dy, w, h, sx, sy};
    if (!ClipBlock(b, Width_, Height_, source.Width_, source.Height_)) return;
    auto copyRow = ShadeMode ? ShadedRun : TransparentRun;
    if (this != &source && IsWholeRows(b, Width_, source.Width_)) {
        copyRow(Row(b.dy), source.Row(b.sy), b.w * b.h);
        return;
    }
    // Within one surface each source row is taken whole before it is drawn.
    std::vector<uint8_t> rowCopy(this == &source ? size_t(b.w) : 0);
    for (int32_t y = 0; y < b.h; ++y) {
        const uint8_t* s = source.Row(b.sy + y) + b.sx;
        if (!rowCopy.empty())
            s = static_cast<const uint8_t*>(std::memcpy(rowCopy.data(), s, rowCopy.size()));
        copyRow(Row(b.dy + y) + b.dx, s, b.w);
    }
}

void TDIB::LoadFromStream(formats::Stream& stream, TColourTable& colours,
                          const formats::ProgressCallback& progress) {
    LoadingColours_ = &colours;
    try {
        formats::LoadPbmIntoSurface(stream, *this, progress);
    } catch (...) {
        LoadingColours_ = nullptr;
        throw;
    }
    LoadingColours_ = nullptr;
}

void TDIB::LoadFromFile(const std::filesystem::path& fileName, TColourTable& colours,
                        const formats::ProgressCallback& progress) {
    formats::FileStream stream(fileName);
    LoadFromStream(stream, colours, progress);
}

void TDIB::SetPictureSize(int width, int height) {
    // One allocation for the new size: new width by old height may not fit.
    if (width != Width_ || height != Height_) Allocate(width, height);
}

void TDIB::SetPictureColours(const uint8_t (&rgb)[768]) {
    if (LoadingColours_) LoadingColours_->SetColours(rgb);
}

uint8_t* TDIB::PictureRow(int y) {
    if (y < 0 || y >= Height_) throw formats::EInvalidGraphic("Picture row out of range");
    return Row(y);
}

void TDIB::DrawPart(RgbTarget& target, const PixelRect& source, const PixelRect& dest,
                    const std::array<uint32_t, 256>& rgb32) const {
    const int32_t sw = source.Width(), sh = source.Height();
    const int32_t dw = dest.Width(), dh = dest.Height();
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0 || !target.pixels) return;
    const int32_t x0 = std::max(dest.left, 0), x1 = std::min(dest.right, target.width);
    const int32_t y0 = std::max(dest.top, 0), y1 = std::min(dest.bottom, target.height);
    if (x0 >= x1 || y0 >= y1) return;

    if (sw == dw && sh == dh) {
        // Same size: one lookup per pixel, the source clipped to the surface.
        int32_t cx0 = std::max(x0, dest.left - source.left);
        int32_t cx1 = std::min(x1, dest.left + (Width_ - source.left));
        int32_t cy0 = std::max(y0, dest.top - source.top);
        int32_t cy1 = std::min(y1, dest.top + (Height_ - source.top));
        if (cx0 >= cx1 || cy0 >= cy1) return;
        const int32_t n = cx1 - cx0;
        for (int32_t y = cy0; y < cy1; ++y) {
            const uint8_t* s = Row(source.top + (y - dest.top)) + source.left + (cx0 - dest.left);
            uint32_t* d = target.pixels + static_cast<size_t>(y) * target.stride + cx0;
            for (int32_t i = 0; i < n; ++i)
                d[i] = rgb32[s[i]];
        }
        return;
    }

    // Stretched: each target pixel takes the source pixel its position maps to.
    // The mapping never decreases, so the target columns whose source column
    // lies inside the surface form one range.
    constexpr int32_t kStackColumns = 1024;
    int32_t stackColumns[kStackColumns];
    std::vector<int32_t> heapColumns(x1 - x0 > kStackColumns ? size_t(x1 - x0) : 0);
    int32_t* columns = heapColumns.empty() ? stackColumns : heapColumns.data();
    int32_t first = x1, last = x0;
    for (int32_t x = x0; x < x1; ++x) {
        const int32_t sx = source.left + int32_t(int64_t(x - dest.left) * sw / dw);
        columns[x - x0] = sx;
        if (sx >= 0 && sx < Width_) first = std::min(first, x), last = x + 1;
    }
    for (int32_t y = y0; y < y1 && first < last; ++y) {
        const int32_t sy = source.top + int32_t(int64_t(y - dest.top) * sh / dh);
        if (sy < 0 || sy >= Height_) continue;
        const uint8_t* s = Row(sy);
        uint32_t* d = target.pixels + static_cast<size_t>(y) * target.stride;
        for (int32_t x = first; x < last; ++x)
            d[x] = rgb32[s[columns[x - x0]]];
    }
}

void TDIB::Draw(RgbTarget& target, const PixelRect& dest,
                const std::array<uint32_t, 256>& rgb32) const {
    DrawPart(target, PixelRect{0, 0, Width_, Height_}, dest, rgb32);
}

void FillRgb(RgbTarget& target, const PixelRect& rect, uint32_t colour) {
    if (!target.pixels) return;
    const int32_t x0 = std::max(rect.left, 0), x1 = std::min(rect.right, target.width);
    const int32_t y0 = std::max(rect.top, 0), y1 = std::min(rect.bottom, target.height);
    for (int32_t y = y0; y < y1; ++y)
        std::fill(target.pixels + size_t(y) * target.stride + x0,
                  target.pixels + size_t(y) * target.stride + std::max(x0, x1), colour);
}

} // namespace mapedit
