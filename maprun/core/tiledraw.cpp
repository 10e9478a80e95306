// Drawing expanded tiles: every row is one 32-byte vector select between the
// tile's pixels (copied or shading) and the frame's, whatever the tile's shape.
// A tile cut by the left or right edge is drawn through a 32-byte window that
// lies inside the frame, its columns shifted and those outside the tile
// masked off, so no byte outside a frame row is read or written.

// 32-byte vectors are passed only to always-inlined helpers, never across a
// call, so the calling convention for them does not matter here.
#pragma GCC diagnostic ignored "-Wpsabi"

#include "maprun/core/expandedtile.h"
#include "maprun/core/framebuffer.h"
#include "maprun/core/pixelvectors.h"
#include "maprun/core/shadetable.h"

#include <algorithm>
#include <cstdlib>

namespace maprun {

namespace {

using namespace pixels;

constexpr int kSide = TExpandedTile::kSide;
constexpr int kRowBytes = TExpandedTile::kRowBytes;

// The columns of a window shifted by `shift` that show tile columns: byte
// 32 + shift + i is 0xFF exactly when 0 <= i + shift < 32.
struct WindowMasks {
    uint8_t bytes[3 * kSide];
    constexpr WindowMasks() : bytes{} {
        for (int i = kSide; i < 2 * kSide; ++i)
            bytes[i] = 0xFF;
    }
};
constexpr WindowMasks kWindowMasks;

// Where tiles are drawn: the frame's addressing and its clip rectangle, at
// least kSide pixels wide.
struct Target {
    uint8_t* origin;
    ptrdiff_t rowStep;
    TClipRect clip;
};

ZORV_ALWAYS_INLINE void DrawPlaced(const Target& target, const TTilePlacement& placed) {
    const TExpandedTile& tile = *placed.tile;
    const TClipRect& clip = target.clip;
    const int64_t left = placed.x, top = placed.y;
    const int64_t from = std::max<int64_t>(tile.firstRow, clip.Top - top);
    const int64_t to = std::min<int64_t>(tile.endRow, clip.Bottom - top);
    if (from >= to || left >= clip.Right || left + kSide <= clip.Left) return;

    // The window's first column shows tile column `shift`.
    const int64_t windowLeft = std::clamp<int64_t>(left, clip.Left, clip.Right - kSide);
    const int shift = static_cast<int>(windowLeft - left);
    const ptrdiff_t rowStep = target.rowStep;
    const uint8_t* src = tile.Row(static_cast<int>(from)) + shift;
    const uint8_t* const end = src + (to - from) * kRowBytes;
    uint8_t* dest = target.origin + windowLeft + (top + from) * rowStep;
    const V32 window = Load<V32>(kWindowMasks.bytes + kSide + shift);
    if (tile.shaded) {
        for (; src != end; src += kRowBytes, dest += rowStep) {
            const V32 d = Load<V32>(dest);
            Store(dest, Select(Load<V32>(src + kSide) & window, Shade(d, Load<V32>(src)), d));
        }
    } else if (tile.opaque && shift == 0) {
        for (; src != end; src += kRowBytes, dest += rowStep)
            Store(dest, Load<V32>(src));
    } else if (shift == 0) {
        for (; src != end; src += kRowBytes, dest += rowStep)
            Store(dest, Select(Load<V32>(src + kSide), Load<V32>(src), Load<V32>(dest)));
    } else {
        for (; src != end; src += kRowBytes, dest += rowStep)
            Store(dest, Select(Load<V32>(src + kSide) & window, Load<V32>(src), Load<V32>(dest)));
    }
}

ZORV_ALWAYS_INLINE void DrawAll(const Target& target, const TTilePlacement* tiles, size_t count) {
    for (size_t i = 0; i < count; ++i)
        DrawPlaced(target, tiles[i]);
}

using DrawAllFunction = void (*)(const Target&, const TTilePlacement*, size_t);

void DrawAllPortable(const Target& target, const TTilePlacement* tiles, size_t count) {
    DrawAll(target, tiles, count);
}

#if defined(__x86_64__) || defined(__i386__)
// The same code for processors with 32-byte vectors.
__attribute__((target("avx2"))) void DrawAllAvx2(const Target& target, const TTilePlacement* tiles,
                                                 size_t count) {
    DrawAll(target, tiles, count);
}

DrawAllFunction PickDrawAll() {
    // ZORV_DRAW_PORTABLE=1 keeps to the portable code, so that it can be
    // tested and compared on any processor.
    const char* portable = std::getenv("ZORV_DRAW_PORTABLE");
    if (portable && *portable && *portable != '0') return DrawAllPortable;
    return __builtin_cpu_supports("avx2") ? DrawAllAvx2 : DrawAllPortable;
}
#else
DrawAllFunction PickDrawAll() {
    return DrawAllPortable;
}
#endif

// For a clip rectangle narrower than a tile, where no window fits.
void DrawPixelByPixel(uint8_t* origin, ptrdiff_t rowStep, const TClipRect& clip,
                      const TTilePlacement& placed) {
    const TExpandedTile& tile = *placed.tile;
    const int64_t left = placed.x, top = placed.y;
    const int64_t from = std::max<int64_t>(tile.firstRow, clip.Top - top);
    const int64_t to = std::min<int64_t>(tile.endRow, clip.Bottom - top);
    if (from >= to || left >= clip.Right || left + kSide <= clip.Left) return;
    const int64_t firstColumn = std::max<int64_t>(0, clip.Left - left);
    const int64_t endColumn = std::min<int64_t>(kSide, clip.Right - left);
    for (int64_t row = from; row < to; ++row) {
        const uint8_t* src = tile.Row(static_cast<int>(row));
        uint8_t* dest = origin + left + (top + row) * rowStep;
        for (int64_t c = firstColumn; c < endColumn; ++c) {
            if (!src[kSide + c]) continue;
            dest[c] = tile.shaded && src[c] <= 15 ? ShadeTable[src[c]][dest[c]] : src[c];
        }
    }
}

} // namespace

void TFrameBuffer::DrawTiles(const TTilePlacement* tiles, size_t count) {
    if (FClipRect.Right - FClipRect.Left < kSide) {
        for (size_t i = 0; i < count; ++i)
            DrawPixelByPixel(FOrigin, FRowStep, FClipRect, tiles[i]);
        return;
    }
    static const DrawAllFunction drawAll = PickDrawAll();
    drawAll(Target{FOrigin, FRowStep, FClipRect}, tiles, count);
}

void TFrameBuffer::DrawTile(const TExpandedTile& tile, int x, int y) {
    const TTilePlacement placed{&tile, x, y};
    DrawTiles(&placed, 1);
}

} // namespace maprun
