// Collision markers for layer 3: bright outlines over transparent ground, so
// the tiles under them stay visible in the editor.
#include "demogen/palette.h"
#include "demogen/tiles.h"

namespace demo {

namespace {

void Border(Canvas& tile, uint8_t colour) {
    tile.FillRect(0, 0, kTileSize, 2, colour);
    tile.FillRect(0, kTileSize - 2, kTileSize, 2, colour);
    tile.FillRect(0, 0, 2, kTileSize, colour);
    tile.FillRect(kTileSize - 2, 0, 2, kTileSize, colour);
}

void UpArrow(Canvas& tile, int x, int y, uint8_t colour) {
    for (int i = 0; i < 5; ++i)
        tile.FillRect(x - i, y + i, 2 * i + 1, 1, colour);
    tile.FillRect(x - 1, y + 5, 3, 8, colour);
}

} // namespace

void DrawSolidMarker(Canvas& tile) {
    Border(tile, Colour(BrickRed, 12));
    for (int d = 0; d < 2 * kTileSize; d += 8) {
        for (int x = 0; x < kTileSize; ++x)
            tile.Set(x, d - x, Colour(BrickRed, 10));
    }
}

void DrawOneWayMarker(Canvas& tile) {
    tile.FillRect(0, 0, kTileSize, 3, Colour(Yellow, 13));
    UpArrow(tile, 8, 8, Colour(Yellow, 11));
    UpArrow(tile, 23, 8, Colour(Yellow, 11));
}

void DrawClimbMarker(Canvas& tile) {
    tile.FillRect(7, 0, 2, kTileSize, Colour(GrassGreen, 13));
    tile.FillRect(23, 0, 2, kTileSize, Colour(GrassGreen, 13));
    for (int y = 3; y < kTileSize; y += 8)
        tile.FillRect(9, y, 14, 2, Colour(GrassGreen, 11));
}

void DrawSwimMarker(Canvas& tile) {
    for (int row : {6, 16, 26}) {
        for (int x = 0; x < kTileSize; ++x) {
            int wave = (x % 8) < 4 ? (x % 4) / 2 : 1 - (x % 4) / 2;
            tile.FillRect(x, row + wave, 1, 2, Colour(Cyan, 12));
        }
    }
}

void DrawHurtMarker(Canvas& tile) {
    for (int spike = 0; spike < 4; ++spike) {
        int left = spike * 8;
        for (int i = 0; i < 4; ++i) {
            tile.FillRect(left + 3 - i, kTileSize - 8 + 2 * i, 2 + 2 * i, 2, Colour(Pink, 12));
        }
    }
    tile.FillRect(15, 3, 3, 11, Colour(Pink, 13)); // exclamation mark
    tile.FillRect(15, 16, 3, 3, Colour(Pink, 13));
}

} // namespace demo
