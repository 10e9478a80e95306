// Drawing sprite records into the frame buffer: an unclipped routine for the
// common case and a clipped one that draws a window of columns, each for the
// plain-copy kinds (transparent, solid) and for the shaded kind.
#include "maprun/core/framebuffer.h"
#include "maprun/core/pixelvectors.h"
#include "maprun/core/shadetable.h"
#include "maprun/core/sprite.h"

#include <algorithm>
#include <cstring>

namespace maprun {

namespace {

struct CopyRun {
    // Whole 16-byte blocks and then one more block that overlaps the end, or
    // two overlapping 8- or 4-byte words for shorter runs: no byte loop, and
    // never a byte written outside the run.
    static void Put(uint8_t* dest, const uint8_t* src, int32_t n) {
        if (n >= 16 && n <= 32) { // a whole tile row is the common case
            std::memcpy(dest, src, 16);
            std::memcpy(dest + n - 16, src + n - 16, 16);
        } else if (n > 32) {
            const uint8_t* lastSrc = src + (n - 16);
            uint8_t* lastDest = dest + (n - 16);
            for (; src < lastSrc; src += 16, dest += 16)
                std::memcpy(dest, src, 16);
            std::memcpy(lastDest, lastSrc, 16);
        } else if (n >= 8) {
            std::memcpy(dest, src, 8);
            std::memcpy(dest + n - 8, src + n - 8, 8);
        } else if (n >= 4) {
            std::memcpy(dest, src, 4);
            std::memcpy(dest + n - 4, src + n - 4, 4);
        } else {
            dest[0] = src[0];
            if (n > 1) dest[1] = src[1];
            if (n > 2) dest[2] = src[2];
        }
    }
};

struct ShadeRun {
    static void Put(uint8_t* dest, const uint8_t* src, int32_t n) {
        using namespace pixels;
        if (n >= 16) {
            // 16 pixels at a time; the last block overlaps the one before, so
            // it is shaded from the frame's pixels before any is written.
            const V16 last = Shade(Load<V16>(dest + n - 16), Load<V16>(src + n - 16));
            for (int32_t i = 0; i < n - 16; i += 16)
                Store(dest + i, Shade(Load<V16>(dest + i), Load<V16>(src + i)));
            Store(dest + n - 16, last);
            return;
        }
        // Taken once per run: the pixel writes could otherwise make the
        // compiler fetch the table's address again for every pixel.
        const uint8_t* const table = ShadeTable[0].data();
        for (int32_t i = 0; i < n; ++i) {
            const unsigned p = src[i];
            dest[i] = p <= 15 ? table[p * 256 + dest[i]] : static_cast<uint8_t>(p);
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
