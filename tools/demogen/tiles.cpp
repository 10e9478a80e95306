#include "demogen/tiles.h"

#include "demogen/tile_ids.h"

namespace demo {

const std::vector<TileSheet>& DemoSheets() {
    static const std::vector<TileSheet> sheets = {
        {"SHEET1.LBM",
         tile::Sky,
         8,
         4,
         {DrawSky,          DrawSkyFade,     DrawSkyHaze,       DrawCloudLeft,  DrawCloudRight,
          DrawStoneWall,    DrawStoneWindow, DrawDirt,          DrawBrick,      DrawBrickTop,
          DrawGrassTop,     DrawStoneBlock,  DrawPlank,         DrawCrate,      DrawGrassTuft,
          DrawBush,         DrawLadder,      DrawLadderTop,     DrawPipeAcross, DrawPipeUpright,
          DrawPipeLeftDown, DrawPipeUpRight, DrawPipeRightDown, DrawPipeOutlet, DrawWaterTop,
          DrawWaterDeep,    DrawFence,       DrawFlowers,       DrawLampPost,   DrawLampHead,
          DrawRoof,         DrawStoneDark}},
        {"SHEET2.LBM",
         tile::ShadowTop,
         4,
         2,
         {DrawShadowTop, DrawShadowFull, DrawShadowLeft, DrawShadowCorner, DrawLightBeam,
          DrawLightBeamFade, DrawLightPool, DrawGlow}},
    };
    return sheets;
}

const std::vector<SingleTile>& DemoSingleTiles() {
    static const std::vector<SingleTile> singles = {
        {"SIGN.LBM", tile::Sign, DrawSign},          {"VENT.LBM", tile::Vent, DrawVent},
        {"SOLID.LBM", tile::Solid, DrawSolidMarker}, {"ONEWAY.LBM", tile::OneWay, DrawOneWayMarker},
        {"CLIMB.LBM", tile::Climb, DrawClimbMarker}, {"SWIM.LBM", tile::Swim, DrawSwimMarker},
        {"HURT.LBM", tile::Hurt, DrawHurtMarker},
    };
    return singles;
}

Canvas DrawTile(TileArt art) {
    Canvas tile(kTileSize, kTileSize);
    art(tile);
    return tile;
}

Canvas DrawSheet(const TileSheet& sheet) {
    Canvas picture(sheet.columns * kTileSize, sheet.rows * kTileSize);
    for (size_t i = 0; i < sheet.art.size(); ++i) {
        int column = int(i) % sheet.columns, row = int(i) / sheet.columns;
        picture.Paste(DrawTile(sheet.art[i]), column * kTileSize, row * kTileSize);
    }
    return picture;
}

} // namespace demo
