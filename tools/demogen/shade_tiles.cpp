// Shading tiles. Their opaque pixels hold only the values 2 to 15, which the
// programs do not draw as colours: a value v moves the colour under it v - 7
// shades along its ramp (below 7 darkens, above brightens). Where the change
// would be nothing the pixel is left transparent (0).
#include "demogen/canvas.h"
#include "demogen/tiles.h"

#include <cmath>

namespace demo {

namespace {

constexpr int kNeutral = 7;

// Stores a shading level given in sixteenths, dithered to whole levels and
// limited to 2..15; the neutral level becomes transparent.
void ShadeAt(Canvas& tile, int x, int y, int sixteenths) {
    int level = DitherShade(sixteenths, x, y);
    if (level < 2) level = 2;
    if (level > 15) level = 15;
    tile.Set(x, y, level == kNeutral ? 0 : uint8_t(level));
}

double Distance(double x, double y, double cx, double cy) {
    return std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy));
}

// A slanted shaft of light whose centre runs from `startX` at the top to four
// pixels to the right per 16 rows.
void Beam(Canvas& tile, int startX, int centre, int edge) {
    for (int y = 0; y < kTileSize; ++y) {
        int middle = startX + y / 4, half = 5 + y / 8;
        for (int x = middle - half; x <= middle + half; ++x) {
            int off = x - middle < 0 ? middle - x : x - middle;
            ShadeAt(tile, x, y, (centre * 16) - (centre - edge) * 16 * off / half);
        }
    }
}

} // namespace

void DrawShadowTop(Canvas& tile) {
    for (int y = 0; y < kTileSize; ++y) {
        for (int x = 0; x < kTileSize; ++x)
            ShadeAt(tile, x, y, 3 * 16 + y * 64 / kTileSize);
    }
}

void DrawShadowFull(Canvas& tile) {
    for (int y = 0; y < kTileSize; ++y) {
        for (int x = 0; x < kTileSize; ++x)
            ShadeAt(tile, x, y, 5 * 16);
    }
}

void DrawShadowLeft(Canvas& tile) {
    for (int y = 0; y < kTileSize; ++y) {
        for (int x = 0; x < kTileSize; ++x)
            ShadeAt(tile, x, y, 3 * 16 + x * 64 / kTileSize);
    }
}

void DrawShadowCorner(Canvas& tile) {
    for (int y = 0; y < kTileSize; ++y) {
        for (int x = 0; x < kTileSize; ++x) {
            double d = Distance(x + 0.5, y + 0.5, 0, 0);
            int level = 3 * 16 + int(d * 64 / kTileSize);
            ShadeAt(tile, x, y, level > kNeutral * 16 ? kNeutral * 16 : level);
        }
    }
}

void DrawLightBeam(Canvas& tile) {
    Beam(tile, 10, 10, 8);
}
void DrawLightBeamFade(Canvas& tile) {
    Beam(tile, 18, 9, 8);
}

// Light falling on the ground: lies over the top of a ground tile.
void DrawLightPool(Canvas& tile) {
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < kTileSize; ++x) {
            double dx = (x + 0.5 - 16) / 15, dy = (y + 0.5 - 5) / 7;
            double r = std::sqrt(dx * dx + dy * dy);
            if (r <= 1) ShadeAt(tile, x, y, 10 * 16 - int(r * 32));
        }
    }
}

void DrawGlow(Canvas& tile) {
    for (int y = 0; y < kTileSize; ++y) {
        for (int x = 0; x < kTileSize; ++x) {
            double d = Distance(x + 0.5, y + 0.5, 16, 16);
            if (d <= 15) ShadeAt(tile, x, y, 11 * 16 - int(d * 48 / 15));
        }
    }
}

} // namespace demo
