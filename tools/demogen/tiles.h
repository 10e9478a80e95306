#pragma once
// The demo tile set: which pictures hold which tiles, and the art of each tile.
#include "demogen/canvas.h"

#include <cstdint>
#include <string>
#include <vector>

namespace demo {

inline constexpr int kTileSize = 32;

// Draws one 32 x 32 tile into a blank (all colour 0) canvas of that size.
using TileArt = void (*)(Canvas& tile);

// A picture cut into columns x rows tiles; tile (c, r) has ID firstId + c + r * columns.
struct TileSheet {
    std::string file;
    uint16_t firstId;
    int columns, rows;
    std::vector<TileArt> art; // row by row
};

struct SingleTile {
    std::string file;
    uint16_t id;
    TileArt art;
};

const std::vector<TileSheet>& DemoSheets();
const std::vector<SingleTile>& DemoSingleTiles();

// A tile drawn on its own, whatever picture holds it.
Canvas DrawTile(TileArt art);
// A whole sheet picture.
Canvas DrawSheet(const TileSheet& sheet);

// Tile art by group (terrain_tiles.cpp, object_tiles.cpp, shade_tiles.cpp,
// marker_tiles.cpp).
void DrawSky(Canvas&);
void DrawSkyFade(Canvas&);
void DrawSkyHaze(Canvas&);
void DrawCloudLeft(Canvas&);
void DrawCloudRight(Canvas&);
void DrawStoneWall(Canvas&);
void DrawStoneWindow(Canvas&);
void DrawDirt(Canvas&);
void DrawBrick(Canvas&);
void DrawBrickTop(Canvas&);
void DrawGrassTop(Canvas&);
void DrawStoneBlock(Canvas&);
void DrawPlank(Canvas&);
void DrawCrate(Canvas&);
void DrawRoof(Canvas&);
void DrawStoneDark(Canvas&);

void DrawGrassTuft(Canvas&);
void DrawBush(Canvas&);
void DrawLadder(Canvas&);
void DrawLadderTop(Canvas&);
void DrawPipeAcross(Canvas&);
void DrawPipeUpright(Canvas&);
void DrawPipeLeftDown(Canvas&);
void DrawPipeUpRight(Canvas&);
void DrawPipeRightDown(Canvas&);
void DrawPipeOutlet(Canvas&);
void DrawWaterTop(Canvas&);
void DrawWaterDeep(Canvas&);
void DrawFence(Canvas&);
void DrawFlowers(Canvas&);
void DrawLampPost(Canvas&);
void DrawLampHead(Canvas&);
void DrawSign(Canvas&);
void DrawVent(Canvas&);

void DrawShadowTop(Canvas&);
void DrawShadowFull(Canvas&);
void DrawShadowLeft(Canvas&);
void DrawShadowCorner(Canvas&);
void DrawLightBeam(Canvas&);
void DrawLightBeamFade(Canvas&);
void DrawLightPool(Canvas&);
void DrawGlow(Canvas&);

void DrawSolidMarker(Canvas&);
void DrawOneWayMarker(Canvas&);
void DrawClimbMarker(Canvas&);
void DrawSwimMarker(Canvas&);
void DrawHurtMarker(Canvas&);

} // namespace demo
