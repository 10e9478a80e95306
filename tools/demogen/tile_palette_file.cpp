// The demo tile palette: the tiles grouped in rows of ten, as the editor's
// palette grid shows them. Slot 0 is the grid's no-tile cell and stays empty.
#include "demogen/generate.h"
#include "demogen/tile_ids.h"

#include "formats/tilepalette.h"

#include <initializer_list>

namespace demo {

std::string WriteTilePaletteFile(const std::filesystem::path& outDir) {
    using namespace tile;
    const std::initializer_list<uint16_t> rows[] = {
        {0, Sky, SkyFade, SkyHaze, CloudLeft, CloudRight, StoneWall, StoneWindow, StoneDark},
        {GrassTop, Dirt, Brick, BrickTop, StoneBlock, Plank, Crate, Roof},
        {Ladder, LadderTop, PipeAcross, PipeUpright, PipeRightDown, PipeLeftDown, PipeUpRight,
         PipeOutlet, Vent},
        {WaterTop, WaterDeep, GrassTuft, Bush, Flowers, Fence, LampHead, LampPost, Sign},
        {ShadowTop, ShadowFull, ShadowLeft, ShadowCorner, LightBeam, LightBeamFade, LightPool,
         Glow},
        {Solid, OneWay, Climb, Swim, Hurt},
    };
    formats::TilePaletteIds ids{};
    size_t row = 0;
    for (const auto& ids_in_row : rows) {
        size_t slot = row * 10;
        for (uint16_t id : ids_in_row)
            ids[slot++] = id;
        ++row;
    }
    formats::WriteTilePalette(outDir / kTilePaletteFile, ids);
    return kTilePaletteFile;
}

} // namespace demo
