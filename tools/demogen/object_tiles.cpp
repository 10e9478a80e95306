// Ladders, pipes, water and scenery: tiles with transparent (colour 0) parts.
#include "demogen/palette.h"
#include "demogen/tiles.h"

#include <cmath>

namespace demo {

namespace {

// Shades across a pipe 16 pixels wide, lit from the front. The profile is
// symmetric so that straight pieces and bends meet without a seam.
constexpr int kPipeProfile[16] = {3, 5, 7, 9, 10, 11, 12, 13, 13, 12, 11, 10, 9, 7, 5, 3};
constexpr int kPipeFrom = 8; // first pixel of the pipe across a tile

// A gentle wave, two pixels either way over one tile width.
constexpr int kWave[32] = {0, 0, 1,  1,  1,  2,  2,  2,  2,  2,  2,  2,  1,  1,  1,  0,
                           0, 0, -1, -1, -1, -2, -2, -2, -2, -2, -2, -2, -1, -1, -1, 0};

void PipeStraight(Canvas& tile, bool across, int from, int to) {
    for (int along = from; along < to; ++along) {
        for (int i = 0; i < 16; ++i) {
            uint8_t colour = Colour(PipeMetal, kPipeProfile[i]);
            if (across)
                tile.Set(along, kPipeFrom + i, colour);
            else
                tile.Set(kPipeFrom + i, along, colour);
        }
    }
}

// A quarter bend around the tile corner (cornerX, cornerY), each 0 or 32.
void PipeBend(Canvas& tile, int cornerX, int cornerY) {
    for (int y = 0; y < kTileSize; ++y) {
        for (int x = 0; x < kTileSize; ++x) {
            double dx = x + 0.5 - cornerX, dy = y + 0.5 - cornerY;
            double d = std::sqrt(dx * dx + dy * dy);
            int i = int(d) - kPipeFrom;
            if (i >= 0 && i < 16) tile.Set(x, y, Colour(PipeMetal, kPipeProfile[i]));
        }
    }
}

// A flange ring where a pipe meets the tile edge: a darker collar two pixels wide.
void PipeCollar(Canvas& tile, bool across, int at) {
    for (int along = at; along < at + 2; ++along) {
        for (int i = -2; i < 18; ++i) {
            int shade = (i < 0 || i > 15) ? 4 : kPipeProfile[i] - 2;
            if (across)
                tile.Set(along, kPipeFrom + i, Colour(PipeMetal, shade));
            else
                tile.Set(kPipeFrom + i, along, Colour(PipeMetal, shade));
        }
    }
}

void LadderRails(Canvas& tile, int top) {
    for (int y = top; y < kTileSize; ++y) {
        const int shades[3] = {11, 8, 5};
        for (int i = 0; i < 3; ++i) {
            tile.Set(6 + i, y, Colour(WoodBrown, shades[i]));
            tile.Set(23 + i, y, Colour(WoodBrown, shades[i]));
        }
    }
    for (int y = 3; y < kTileSize; y += 8) {
        if (y < top) continue;
        tile.FillRect(9, y, 14, 1, Colour(WoodBrown, 10));
        tile.FillRect(9, y + 1, 14, 1, Colour(WoodBrown, 6));
    }
}

void Blade(Canvas& tile, int x, int height, int lean, int shade) {
    tile.Line(x, kTileSize - 1, x + lean, kTileSize - height, Colour(GrassGreen, shade));
}

void Blossom(Canvas& tile, int x, int y, Ramp petals) {
    tile.Line(x, kTileSize - 1, x, y, Colour(GrassGreen, 6));
    tile.Set(x + 1, y + 6, Colour(GrassGreen, 9));
    tile.Set(x + 2, y + 5, Colour(GrassGreen, 9));
    const int around[][2] = {{-2, 0}, {2, 0}, {0, -2}, {0, 2}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    for (const auto& p : around)
        tile.Set(x + p[0], y + p[1], Colour(petals, 11));
    tile.Set(x, y, Colour(Yellow, 13));
}

} // namespace

void DrawGrassTuft(Canvas& tile) {
    Blade(tile, 5, 9, -2, 9);
    Blade(tile, 7, 13, 1, 11);
    Blade(tile, 9, 8, 3, 8);
    Blade(tile, 18, 11, -1, 10);
    Blade(tile, 20, 15, 2, 11);
    Blade(tile, 22, 9, 4, 8);
    Blade(tile, 27, 7, 1, 9);
}

void DrawBush(Canvas& tile) {
    Canvas shape(kTileSize, kTileSize);
    shape.FillDisc(9, 25, 8, 1);
    shape.FillDisc(22, 24, 9, 1);
    shape.FillDisc(15, 17, 9, 1);
    for (int y = 0; y < kTileSize; ++y) {
        for (int x = 0; x < kTileSize; ++x) {
            if (!shape.Get(x, y)) continue;
            int shade = 10 - y / 6 + int(Noise(x / 2, y / 2, 53) % 3) - 1;
            if (!shape.Get(x - 1, y - 1)) shade = 12; // lit from the top left
            if (!shape.Get(x + 1, y + 1)) shade = 3;
            tile.Set(x, y, Colour(Leaf, shade));
        }
    }
}

void DrawLadder(Canvas& tile) {
    LadderRails(tile, 0);
}

void DrawLadderTop(Canvas& tile) {
    LadderRails(tile, 8);
    tile.FillRect(5, 6, 5, 2, Colour(WoodBrown, 12)); // rounded rail tops
    tile.FillRect(22, 6, 5, 2, Colour(WoodBrown, 12));
}

void DrawPipeAcross(Canvas& tile) {
    PipeStraight(tile, true, 0, kTileSize);
    PipeCollar(tile, true, 0);
}

void DrawPipeUpright(Canvas& tile) {
    PipeStraight(tile, false, 0, kTileSize);
    PipeCollar(tile, false, 0);
}

void DrawPipeLeftDown(Canvas& tile) {
    PipeBend(tile, 0, kTileSize);
}
void DrawPipeUpRight(Canvas& tile) {
    PipeBend(tile, kTileSize, 0);
}
void DrawPipeRightDown(Canvas& tile) {
    PipeBend(tile, kTileSize, kTileSize);
}

void DrawPipeOutlet(Canvas& tile) {
    PipeStraight(tile, true, 0, 20);
    PipeCollar(tile, true, 20);
    tile.FillRect(22, 6, 3, 20, Colour(PipeMetal, 10)); // mouth rim
    tile.FillRect(22, 6, 3, 1, Colour(PipeMetal, 13));
    tile.FillRect(23, 9, 2, 14, Colour(PipeMetal, 1)); // dark opening
}

void DrawWaterTop(Canvas& tile) {
    for (int x = 0; x < kTileSize; ++x) {
        int surface = 8 + kWave[x];
        for (int y = surface; y < kTileSize; ++y) {
            int depth = y - surface;
            int shade = depth == 0 ? 13 : depth == 1 ? 11 : DitherShade(9 * 16 - depth * 6, x, y);
            tile.Set(x, y, Colour(WaterBlue, shade));
        }
    }
    const int glints[][2] = {{4, 14}, {13, 19}, {24, 15}, {19, 25}};
    for (const auto& g : glints)
        tile.FillRect(g[0], g[1], 3, 1, Colour(WaterBlue, 12));
}

void DrawWaterDeep(Canvas& tile) {
    for (int y = 0; y < kTileSize; ++y) {
        for (int x = 0; x < kTileSize; ++x) {
            int shade = DitherShade(5 * 16 + 8, x, y);
            // light ripples seen through the water
            if ((x + kWave[(2 * y) % 32] + 32) % 16 == 0) shade = 8;
            tile.Set(x, y, Colour(WaterBlue, shade));
        }
    }
}

void DrawFence(Canvas& tile) {
    for (int post : {3, 19}) {
        for (int y = 8; y < kTileSize; ++y) {
            const int shades[4] = {11, 9, 7, 4};
            for (int i = 0; i < 4; ++i)
                tile.Set(post + i, y, Colour(WoodBrown, shades[i]));
        }
        tile.FillRect(post + 1, 6, 2, 2, Colour(WoodBrown, 11)); // pointed top
    }
    for (int rail : {12, 22}) {
        tile.FillRect(0, rail, kTileSize, 3, Colour(WoodBrown, 8));
        tile.FillRect(0, rail, kTileSize, 1, Colour(WoodBrown, 11));
        tile.FillRect(0, rail + 2, kTileSize, 1, Colour(WoodBrown, 4));
    }
}

void DrawFlowers(Canvas& tile) {
    Blossom(tile, 6, 18, Pink);
    Blossom(tile, 15, 13, Yellow);
    Blossom(tile, 25, 20, Purple);
    Blade(tile, 10, 6, 1, 9);
    Blade(tile, 20, 7, -1, 9);
}

void DrawLampPost(Canvas& tile) {
    const int shades[4] = {10, 12, 8, 5};
    for (int y = 0; y < kTileSize; ++y) {
        for (int i = 0; i < 4; ++i)
            tile.Set(14 + i, y, Colour(PipeMetal, shades[i]));
    }
    tile.FillRect(11, 26, 10, 6, Colour(PipeMetal, 6)); // foot
    tile.FillRect(11, 26, 10, 1, Colour(PipeMetal, 11));
}

void DrawLampHead(Canvas& tile) {
    tile.FillRect(9, 5, 14, 2, Colour(PipeMetal, 11)); // cap
    tile.FillRect(11, 3, 10, 2, Colour(PipeMetal, 8));
    tile.FillRect(10, 7, 12, 17, Colour(PipeMetal, 5)); // frame
    for (int y = 8; y < 23; ++y) {
        for (int x = 11; x < 21; ++x) {
            int dx = x - 15, dy = y - 15;
            int shade = 15 - (dx * dx + dy * dy) / 12;
            tile.Set(x, y, Colour(Yellow, shade < 11 ? 11 : shade));
        }
    }
    tile.FillRect(15, 8, 2, 15, Colour(PipeMetal, 7)); // bar across the glass
    tile.FillRect(12, 24, 8, 2, Colour(PipeMetal, 9));
    const int shades[4] = {10, 12, 8, 5};
    for (int y = 26; y < kTileSize; ++y) {
        for (int i = 0; i < 4; ++i)
            tile.Set(14 + i, y, Colour(PipeMetal, shades[i]));
    }
}

void DrawSign(Canvas& tile) {
    tile.FillRect(14, 18, 4, 14, Colour(WoodBrown, 6)); // post
    tile.FillRect(14, 18, 1, 14, Colour(WoodBrown, 9));
    tile.FillRect(3, 4, 26, 16, Colour(WoodBrown, 4)); // board
    tile.FillRect(4, 5, 24, 14, Colour(WoodBrown, 9));
    tile.FillRect(4, 5, 24, 1, Colour(WoodBrown, 12));
    // an arrow pointing right
    tile.FillRect(8, 11, 12, 2, Colour(WoodBrown, 2));
    for (int i = 0; i < 5; ++i)
        tile.FillRect(19 + i, 7 + i, 1, 10 - 2 * i, Colour(WoodBrown, 2));
}

void DrawVent(Canvas& tile) {
    tile.FillRect(2, 22, 28, 10, Colour(PipeMetal, 6)); // grate
    tile.FillRect(2, 22, 28, 1, Colour(PipeMetal, 11));
    for (int x = 5; x < 28; x += 4)
        tile.FillRect(x, 24, 2, 7, Colour(PipeMetal, 1));
    // steam puffs rising from it
    const int puffs[][3] = {{10, 17, 3}, {18, 12, 4}, {13, 5, 3}, {22, 3, 2}};
    for (const auto& p : puffs)
        tile.FillDisc(p[0], p[1], p[2], Colour(SkyBlue, 14));
    for (const auto& p : puffs)
        tile.Set(p[0] - 1, p[1] - 1, Colour(SkyBlue, 15));
}

} // namespace demo
