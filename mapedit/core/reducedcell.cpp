#include "mapedit/core/reducedcell.h"

#include "mapedit/core/pixelsimd.h"

#include <algorithm>
#include <cstring>

namespace mapedit {

namespace {

constexpr int32_t kCellPixels = kTileSize * kTileSize;

// The source column and row that each shown target column and row takes.
struct Samples {
    int32_t width = 0;
    int32_t height = 0;
    int32_t step = 0; // 2 or 4 when whole rows are sampled at that step
    // Only the first width and height entries are set: left unset, not cleared for every cell.
    std::array<int32_t, kTileSize> columns;
    std::array<int32_t, kTileSize> rows;
};

// The source positions of `count` target pixels from `offset` pixels into a
// destination of `destSize`: the same nearest-pixel mapping as TDIB::DrawPart,
// sourceStart + offset * sourceSize / destSize, stepped without dividing.
void MapLine(int32_t* out, int32_t count, int32_t offset, int32_t destSize, int32_t sourceStart,
             int32_t sourceSize) {
    const int64_t product = int64_t(offset) * sourceSize;
    int32_t position = sourceStart + int32_t(product / destSize);
    int32_t remainder = int32_t(product % destSize);
    for (int32_t i = 0; i < count; ++i) {
        out[i] = position;
        remainder += sourceSize;
        for (; remainder >= destSize; remainder -= destSize)
            ++position;
    }
}

#if defined(__SSE2__)
// Every `step`th pixel of whole picture rows: the zoom levels 16 and 8.
bool IsWholeRowStep(const Samples& samples, int32_t step) {
    if (samples.width * step != kTileSize) return false;
    for (int32_t c = 0; c < samples.width; ++c)
        if (samples.columns[c] != c * step) return false;
    return true;
}

// The even pixels of a 32-pixel row.
inline __m128i EverySecond(const uint8_t* row) {
    const __m128i low = _mm_set1_epi16(0x00FF);
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 16));
    return _mm_packus_epi16(_mm_and_si128(a, low), _mm_and_si128(b, low));
}

// Pixels 0, 4, ..., 28 of a 32-pixel row in the low eight bytes.
inline __m128i EveryFourth(const uint8_t* row) {
    const __m128i low = _mm_set1_epi32(0xFF);
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 16));
    const __m128i words = _mm_packs_epi32(_mm_and_si128(a, low), _mm_and_si128(b, low));
    return _mm_packus_epi16(words, words);
}
#endif

#if defined(__SSE2__)
// Sixteen sampled pixels, part j of the sampled cell: row j at step 2, rows
// 2j and 2j + 1 at step 4 (the last row twice when the rows are odd).
inline __m128i SampledPart(const uint8_t* picture, const Samples& samples, int32_t j) {
    if (samples.step == 2) return EverySecond(picture + size_t(samples.rows[j]) * kTileSize);
    const int32_t second = std::min(2 * j + 1, samples.height - 1);
    return _mm_unpacklo_epi64(EveryFourth(picture + size_t(samples.rows[2 * j]) * kTileSize),
                              EveryFourth(picture + size_t(samples.rows[second]) * kTileSize));
}

// A cell sampled at step 2 or 4, stacked sixteen pixels at a time in registers.
template <bool Shade>
void ComposeStepped(uint8_t* composed, const CellPictures& cell, const Samples& samples) {
    const int32_t n = samples.width * samples.height;
    for (int32_t j = 0, at = 0; at < n; ++j, at += 16) {
        __m128i pixels =
            cell.background ? SampledPart(cell.background, samples, j) : _mm_setzero_si128();
        for (const uint8_t* overlay : cell.overlays) {
            if (!overlay) continue;
            const __m128i over = SampledPart(overlay, samples, j);
            pixels = Shade ? ShadedPixels(over, pixels) : TransparentPixels(over, pixels);
        }
        if (n - at >= 16)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(composed + at), pixels);
        else
            _mm_storel_epi64(reinterpret_cast<__m128i*>(composed + at), pixels);
    }
}
#endif

// The sampled pixels of a picture, row after row, into `out`.
void Gather(uint8_t* out, const uint8_t* picture, const Samples& samples) {
    for (int32_t r = 0; r < samples.height; ++r) {
        const uint8_t* row = picture + size_t(samples.rows[r]) * kTileSize;
        for (int32_t c = 0; c < samples.width; ++c)
            out[c] = row[samples.columns[c]];
        out += samples.width;
    }
}

// Any other sampling: each layer gathered, then stacked.
void ComposeGathered(uint8_t* composed, const CellPictures& cell, const Samples& samples) {
    const int32_t n = samples.width * samples.height;
    if (cell.background)
        Gather(composed, cell.background, samples);
    else
        std::memset(composed, 0, size_t(n));
    uint8_t layer[kCellPixels];
    const auto drawOver = cell.shade ? ShadedRun : TransparentRun;
    for (const uint8_t* overlay : cell.overlays) {
        if (!overlay) continue;
        Gather(layer, overlay, samples);
        drawOver(composed, layer, n);
    }
}

// The sampled pixels of the cell, row after row, into `composed`.
void Compose(uint8_t* composed, const CellPictures& cell, Samples& samples) {
#if defined(__SSE2__)
    for (int32_t step : {2, 4})
        if (IsWholeRowStep(samples, step)) samples.step = step;
    if (samples.step != 0) {
        if (cell.shade)
            ComposeStepped<true>(composed, cell, samples);
        else
            ComposeStepped<false>(composed, cell, samples);
        return;
    }
#endif
    ComposeGathered(composed, cell, samples);
}

} // namespace

bool IsReduced(const PixelRect& source, const PixelRect& dest) {
    const int64_t sw = source.Width(), sh = source.Height();
    const int64_t dw = dest.Width(), dh = dest.Height();
    const bool inside = source.left >= 0 && source.top >= 0 && source.right <= kTileSize &&
                        source.bottom <= kTileSize && sw > 0 && sh > 0;
    return inside && dw > 0 && dh > 0 && dw <= sw && dh <= sh && dw * dh < sw * sh;
}

void DrawReducedCell(const CellPictures& cell, const PixelRect& source, RgbTarget& target,
                     const PixelRect& dest, const std::array<uint32_t, 256>& rgb32) {
    if (!IsReduced(source, dest) || !target.pixels) return;
    const int32_t x0 = std::max(dest.left, 0), x1 = std::min(dest.right, target.width);
    const int32_t y0 = std::max(dest.top, 0), y1 = std::min(dest.bottom, target.height);
    if (x0 >= x1 || y0 >= y1) return;

    // At most as many shown pixels as the source has: they fit the arrays.
    Samples samples;
    samples.width = x1 - x0;
    samples.height = y1 - y0;
    MapLine(samples.columns.data(), samples.width, x0 - dest.left, dest.Width(), source.left,
            source.Width());
    MapLine(samples.rows.data(), samples.height, y0 - dest.top, dest.Height(), source.top,
            source.Height());

    uint8_t composed[kCellPixels];
    Compose(composed, cell, samples);

    const uint8_t* p = composed;
    for (int32_t y = y0; y < y1; ++y, p += samples.width) {
        uint32_t* d = target.pixels + size_t(y) * size_t(target.stride) + x0;
        for (int32_t c = 0; c < samples.width; ++c)
            d[c] = rgb32[p[c]];
    }
}

} // namespace mapedit
