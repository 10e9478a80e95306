// Sky, background walls and the solid building blocks of the demo tile set.
#include "demogen/palette.h"
#include "demogen/tiles.h"

namespace demo {

namespace {

// Flat sky or a vertical blend, given in sixteenths of a shade at the top and bottom.
void SkyGradient(Canvas& tile, int top, int bottom) {
    for (int y = 0; y < kTileSize; ++y) {
        int level = top + (bottom - top) * y / (kTileSize - 1);
        for (int x = 0; x < kTileSize; ++x) {
            tile.Set(x, y, Colour(SkyBlue, DitherShade(level, x, y)));
        }
    }
}

// Courses of blocks, every other course shifted by half a block. The block's
// top row is lit and its mortar joints are drawn in `mortar`.
void Masonry(Canvas& tile, Ramp ramp, int face, int blockWidth, int blockHeight, uint8_t mortar,
             uint32_t seed) {
    for (int y = 0; y < kTileSize; ++y) {
        int course = y / blockHeight, inCourse = y % blockHeight;
        int shift = (course % 2) * (blockWidth / 2);
        for (int x = 0; x < kTileSize; ++x) {
            int across = (x + shift) % blockWidth;
            int block = (x + shift) / blockWidth;
            if (inCourse == blockHeight - 1 || across == blockWidth - 1) {
                tile.Set(x, y, mortar);
                continue;
            }
            int shade = face + int(Noise(block, course, seed) % 3) - 1; // blocks differ a little
            if (inCourse == 0) shade += 2;
            if (inCourse == blockHeight - 2) shade -= 1;
            if (Noise(x, y, seed + 1) % 11 == 0) shade -= 1; // grain
            tile.Set(x, y, Colour(ramp, shade));
        }
    }
}

void DirtFill(Canvas& tile, int fromRow) {
    for (int y = fromRow; y < kTileSize; ++y) {
        for (int x = 0; x < kTileSize; ++x) {
            uint32_t n = Noise(x, y, 17);
            int shade = 5 + int(n % 3);
            tile.Set(x, y, Colour(Earth, shade));
        }
    }
    // a few pebbles
    const int pebbles[][2] = {{5, 22}, {20, 14}, {26, 27}, {12, 29}, {9, 12}};
    for (const auto& p : pebbles) {
        if (p[1] < fromRow + 1) continue;
        tile.FillRect(p[0], p[1], 3, 2, Colour(StoneBlue, 8));
        tile.Set(p[0], p[1], Colour(StoneBlue, 11));
        tile.FillRect(p[0], p[1] + 2, 3, 1, Colour(Earth, 3));
    }
}

// The cloud spans two tiles; each tile draws the whole cloud and keeps its half.
Canvas CloudPair() {
    Canvas cloud(2 * kTileSize, kTileSize);
    const int puffs[][3] = {{14, 20, 9}, {27, 14, 12}, {42, 15, 10}, {53, 21, 8}};
    for (const auto& p : puffs)
        cloud.FillDisc(p[0], p[1], p[2], 1);
    cloud.FillRect(8, 20, 50, 8, 1);
    for (int y = 0; y < cloud.Height(); ++y) {
        for (int x = 0; x < cloud.Width(); ++x) {
            if (!cloud.Get(x, y)) continue;
            int shade = y < 12 ? 15 : y < 21 ? 14 : 13;
            if (!cloud.Get(x, y + 1))
                shade = 11; // underside
            else if (!cloud.Get(x, y + 2))
                shade = 12;
            cloud.Set(x, y, Colour(SkyBlue, shade));
        }
    }
    return cloud;
}

} // namespace

void DrawSky(Canvas& tile) {
    SkyGradient(tile, 6 * 16 + 4, 6 * 16 + 4);
}
void DrawSkyFade(Canvas& tile) {
    SkyGradient(tile, 6 * 16 + 4, 9 * 16 + 8);
}
void DrawSkyHaze(Canvas& tile) {
    SkyGradient(tile, 9 * 16 + 8, 9 * 16 + 8);
}
void DrawCloudLeft(Canvas& tile) {
    tile.Paste(CloudPair().Crop(0, 0, kTileSize, kTileSize), 0, 0);
}
void DrawCloudRight(Canvas& tile) {
    tile.Paste(CloudPair().Crop(kTileSize, 0, kTileSize, kTileSize), 0, 0);
}

void DrawStoneWall(Canvas& tile) {
    Masonry(tile, StoneBlue, 5, 16, 8, Colour(StoneBlue, 3), 3);
}
void DrawStoneDark(Canvas& tile) {
    Masonry(tile, StoneBlue, 3, 16, 8, Colour(StoneBlue, 1), 5);
}

void DrawStoneWindow(Canvas& tile) {
    DrawStoneWall(tile);
    // frame, then the panes with the sky behind and a glint
    tile.FillRect(7, 5, 18, 23, Colour(StoneBlue, 9));
    tile.FillRect(8, 6, 16, 20, Colour(SkyBlue, 8));
    for (int i = 0; i < 8; ++i)
        tile.Set(10 + i, 16 - i, Colour(SkyBlue, 12));
    tile.FillRect(15, 6, 2, 20, Colour(WoodBrown, 4));
    tile.FillRect(8, 15, 16, 2, Colour(WoodBrown, 4));
    tile.FillRect(6, 26, 20, 2, Colour(StoneBlue, 11)); // sill
    tile.FillRect(6, 28, 20, 1, Colour(StoneBlue, 3));
}

void DrawDirt(Canvas& tile) {
    DirtFill(tile, 0);
}

void DrawBrick(Canvas& tile) {
    Masonry(tile, BrickRed, 7, 16, 8, Colour(StoneBlue, 7), 9);
}

void DrawBrickTop(Canvas& tile) {
    DrawBrick(tile);
    tile.FillRect(0, 0, kTileSize, 6, Colour(StoneBlue, 10)); // capstone
    tile.FillRect(0, 0, kTileSize, 1, Colour(StoneBlue, 13));
    tile.FillRect(0, 5, kTileSize, 1, Colour(StoneBlue, 5));
    for (int x = 7; x < kTileSize; x += 16)
        tile.FillRect(x, 1, 1, 4, Colour(StoneBlue, 6));
}

void DrawGrassTop(Canvas& tile) {
    DirtFill(tile, 8);
    for (int x = 0; x < kTileSize; ++x) {
        int turfDepth = 9 + int(Noise(x, 0, 23) % 3); // ragged lower edge
        for (int y = 4; y < turfDepth; ++y) {
            int shade = y == 4 ? 11 : 8 + int(Noise(x, y, 29) % 2);
            tile.Set(x, y, Colour(GrassGreen, shade));
        }
        tile.Set(x, turfDepth, Colour(GrassGreen, 5));
        // blades above the turf; the gaps between them stay transparent
        int blade = int(Noise(x, 1, 31) % 5);
        for (int y = 4 - blade; y < 4; ++y)
            tile.Set(x, y, Colour(GrassGreen, 10));
    }
}

void DrawStoneBlock(Canvas& tile) {
    for (int by = 0; by < 2; ++by) {
        for (int bx = 0; bx < 2; ++bx) {
            for (int y = 0; y < 16; ++y) {
                for (int x = 0; x < 16; ++x) {
                    int shade = 8 + int(Noise(x + 16 * bx, y + 16 * by, 41) % 3) - 1;
                    if (x == 0 || y == 0) shade = 11;
                    if (x == 15 || y == 15) shade = 4;
                    tile.Set(16 * bx + x, 16 * by + y, Colour(StoneBlue, shade));
                }
            }
        }
    }
}

void DrawPlank(Canvas& tile) {
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < kTileSize; ++x) {
            int shade = 8;
            if (Noise(x / 4, y, 47) % 4 == 0) shade = 7; // grain streaks
            if (y == 0) shade = 11;
            if (y == 8) shade = 5;
            if (y == 9) shade = 3;
            if (x == 15) shade = 3; // joint between boards
            tile.Set(x, y, Colour(WoodBrown, shade));
        }
    }
    tile.Set(4, 4, Colour(PipeMetal, 11));
    tile.Set(27, 4, Colour(PipeMetal, 11));
    // brackets under the boards
    for (int i = 0; i < 6; ++i) {
        tile.FillRect(3 + i, 10 + i, 2, 1, Colour(WoodBrown, 4));
        tile.FillRect(27 - i, 10 + i, 2, 1, Colour(WoodBrown, 4));
    }
}

void DrawCrate(Canvas& tile) {
    tile.FillRect(0, 0, kTileSize, kTileSize, Colour(WoodBrown, 3));
    tile.FillRect(1, 1, 30, 30, Colour(WoodBrown, 9));
    tile.FillRect(4, 4, 24, 24, Colour(WoodBrown, 7));
    for (int i = 0; i < 24; ++i) {
        tile.FillRect(4 + i, 4 + i, 2, 1, Colour(WoodBrown, 10)); // brace
        tile.Set(4 + i, 5 + i, Colour(WoodBrown, 4));
    }
    tile.FillRect(1, 1, 30, 1, Colour(WoodBrown, 12));
    const int nails[][2] = {{2, 2}, {29, 2}, {2, 29}, {29, 29}};
    for (const auto& n : nails)
        tile.Set(n[0], n[1], Colour(PipeMetal, 12));
}

void DrawRoof(Canvas& tile) {
    for (int y = 0; y < kTileSize; ++y) {
        int row = y / 8, inRow = y % 8;
        int shift = (row % 2) * 4;
        for (int x = 0; x < kTileSize; ++x) {
            int across = (x + shift) % 8;
            // rounded shingle ends: the bottom corners belong to the shingle below
            bool edge = inRow == 7 || (inRow >= 6 && (across == 0 || across == 7));
            int shade = edge ? 3 : 9 - inRow / 2;
            if (across == 0 && !edge) shade = 4;
            tile.Set(x, y, Colour(Purple, shade));
        }
    }
    tile.FillRect(0, 0, kTileSize, 1, Colour(Purple, 12));
}

} // namespace demo
