// Drawing sprite records into the frame buffer: an unclipped routine for the
// common case and a clipped one that draws a window of columns, each for the
// plain-copy kinds (transparent, solid) and for the shaded kind.
#include "maprun/core/framebuffer.h"
#include "maprun/core/shadetable.h"
#include "maprun/core/sprite.h"

#include <algorithm>
#include <cstring>

namespace maprun {

namespace {

struct CopyRun {
    static void Put(uint8_t* dest, const uint8_t* src, int32_t n) {
        // Whole words first (wide ones where the run allows), then 0 to 3 bytes.
        for (; n >= 16; n -= 16, dest += 16, src += 16)
            std::memcpy(dest, src, 16);
        for (; n >= 4; n -= 4, dest += 4, src += 4)
            std::memcpy(dest, src, 4);
        for (; n > 0; --n)
            *dest++ = *src++;
    }
};

struct ShadeRun {
    static void Put(uint8_t* dest, const uint8_t* src, int32_t n) {
        for (int32_t i = 0; i < n; ++i) {
            const uint8_t p = src[i];
            dest[i] = p <= 15 ? ShadeTable[p][dest[i]] : p;
        }
    }
};

inline size_t PaddedRun(int32_t count) {
    return static_cast<size_t>((count + 3) & ~3);
}

// `dest` is the frame pixel under the sprite's column 0 of the first drawn row.
template <class Run>
void DrawUnclipped(const uint8_t* row, int32_t rows, uint8_t* dest, ptrdiff_t rowStep) {
    for (; rows > 0; --rows, dest += rowStep) {
        const uint8_t* span = row + kRowHeaderSize;
        uint8_t* d = dest;
        for (;;) {
            const int32_t skip = ReadLE32(span);
            const int32_t count = ReadLE32(span + 4);
            d += skip;
            if (count == 0) break;
            Run::Put(d, span + kSpanHeaderSize, count);
            d += count;
            span += kSpanHeaderSize + PaddedRun(count);
        }
        row += ReadLE32(row);
    }
}

// Draws only sprite columns [from, to); `dest` is the frame pixel under column
// `from` of the first drawn row, so nothing left of it or at `to` and beyond is
// touched.
template <class Run>
void DrawClipped(const uint8_t* row, int32_t rows, uint8_t* dest, ptrdiff_t rowStep, int32_t from,
                 int32_t to) {
    for (; rows > 0; --rows, dest += rowStep) {
        const uint8_t* span = row + kRowHeaderSize;
        int32_t column = 0;
        for (;;) {
            const int32_t skip = ReadLE32(span);
            const int32_t count = ReadLE32(span + 4);
            column += skip;
            if (count == 0 || column >= to) break;
            const int32_t first = std::max(column, from);
            const int32_t end = std::min(column + count, to);
            if (first < end)
                Run::Put(dest + (first - from), span + kSpanHeaderSize + (first - column),
                         end - first);
            column += count;
            if (column >= to) break;
            span += kSpanHeaderSize + PaddedRun(count);
        }
        row += ReadLE32(row);
    }
}

template <class Run>
void DrawKind(const uint8_t* row, int32_t rows, uint8_t* dest, ptrdiff_t rowStep, int32_t from,
              int32_t to, int32_t width) {
    if (from == 0 && to == width)
        DrawUnclipped<Run>(row, rows, dest, rowStep);
    else
        DrawClipped<Run>(row, rows, dest, rowStep, from, to);
}

} // namespace

void TFrameBuffer::DrawSprite(const uint8_t* sprite, int X, int Y) {
    if (!sprite) return;
    const TClipRect& clip = FClipRect;
    const int64_t width = SpriteWidth(sprite);
    const int64_t x = int64_t(X) - SpriteHotspotX(sprite);
    const int64_t y = int64_t(Y) - SpriteHotspotY(sprite);

    int64_t rows = SpriteHeight(sprite);
    int64_t skipTop = 0;
    if (y + rows > clip.Bottom) rows = clip.Bottom - y;
    if (y < clip.Top) {
        skipTop = clip.Top - y;
        rows -= skipTop;
    }
    if (rows <= 0) return;

    // Visible sprite columns [from, to); both sides may be cut.
    int64_t from = 0, to = width;
    if (x + width > clip.Right) to = clip.Right - x;
    if (x < clip.Left) from = clip.Left - x;
    if (to <= from) return;

    const uint8_t* row = FirstSpriteRow(sprite);
    for (int64_t i = 0; i < skipTop; ++i)
        row += ReadLE32(row);

    uint8_t* dest = FOrigin + (x + from) + (y + skipTop) * static_cast<ptrdiff_t>(FRowStep);
    const auto drawnRows = static_cast<int32_t>(rows);
    const auto f = static_cast<int32_t>(from), t = static_cast<int32_t>(to);
    if (GetSpriteKind(sprite) == SpriteKind::Shaded)
        DrawKind<ShadeRun>(row, drawnRows, dest, FRowStep, f, t, static_cast<int32_t>(width));
    else
        DrawKind<CopyRun>(row, drawnRows, dest, FRowStep, f, t, static_cast<int32_t>(width));
}

} // namespace maprun
