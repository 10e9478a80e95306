// The demo map: a grassy level with brick and plank platforms joined by
// ladders, a water pool, a pipe run with a steam vent and a stone house.
#include "demogen/generate.h"
#include "demogen/tile_ids.h"

#include "formats/mapfile.h"

namespace demo {

namespace {

constexpr int kWidth = 80;
constexpr int kHeight = 50;
constexpr int kGround = 40; // first row of earth

// Attribute codes the demo uses (the editor's attribute catalogue).
enum Attribute : uint8_t {
    Floor = 1,
    DoorSwitchable = 2,
    Switch = 4,
    LadderDown = 9,
    LadderUp = 10,
    Console = 12,
    VerticalPipe = 16,
    PipeOnRoof = 17,
    Teleport = 19,
    Wall = 20,
    Damage = 22,
    WaterZone = 24,
    PlaySound = 25,
};

using Layer = uint16_t formats::MapCell::*;
constexpr Layer kBack = &formats::MapCell::back;
constexpr Layer kMiddle = &formats::MapCell::middle;
constexpr Layer kFore = &formats::MapCell::fore;
constexpr Layer kCollision = &formats::MapCell::collision;

class LevelBuilder {
public:
    LevelBuilder() {
        map_.width = kWidth;
        map_.height = kHeight;
        map_.cellWords = 6;
        map_.tileSet = kTileSetFile; // lies beside the map
        map_.cells.assign(size_t(kWidth) * kHeight, formats::MapCell{});
    }

    void Put(Layer layer, int x, int y, uint16_t tile) { Cell(x, y).*layer = tile; }

    // Fills the rectangle from (x0, y0) to (x1, y1), both corners included.
    void Fill(Layer layer, int x0, int y0, int x1, int y1, uint16_t tile) {
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x)
                Put(layer, x, y, tile);
        }
    }

    // Attribute A lives in the low bytes of the attribute and argument words,
    // attribute B in the high bytes.
    void AttributeA(int x, int y, Attribute code, uint8_t argument = 0) {
        formats::MapCell& cell = Cell(x, y);
        cell.attributes = uint16_t((cell.attributes & 0xFF00) | code);
        cell.arguments = uint16_t((cell.arguments & 0xFF00) | argument);
    }
    void AttributeB(int x, int y, Attribute code, uint8_t argument = 0) {
        formats::MapCell& cell = Cell(x, y);
        cell.attributes = uint16_t((cell.attributes & 0x00FF) | code << 8);
        cell.arguments = uint16_t((cell.arguments & 0x00FF) | argument << 8);
    }

    formats::MapCell& Cell(int x, int y) { return map_.cells.at(size_t(y) * kWidth + size_t(x)); }
    const formats::MapData& Map() const { return map_; }

private:
    formats::MapData map_;
};

void Sky(LevelBuilder& level) {
    level.Fill(kBack, 0, 0, kWidth - 1, 21, tile::Sky);
    level.Fill(kBack, 0, 22, kWidth - 1, 22, tile::SkyFade);
    level.Fill(kBack, 0, 23, kWidth - 1, kHeight - 1, tile::SkyHaze);
    const int clouds[][2] = {{5, 4}, {20, 7}, {38, 3}, {50, 9}, {64, 5}, {72, 13}};
    for (const auto& c : clouds) {
        level.Put(kMiddle, c[0], c[1], tile::CloudLeft);
        level.Put(kMiddle, c[0] + 1, c[1], tile::CloudRight);
    }
}

void Ground(LevelBuilder& level) {
    level.Fill(kBack, 0, kGround + 1, kWidth - 1, kHeight - 1, tile::StoneDark);
    level.Fill(kMiddle, 1, kGround, kWidth - 2, kGround, tile::GrassTop);
    level.Fill(kMiddle, 1, kGround + 1, kWidth - 2, kHeight - 1, tile::Dirt);
    level.Fill(kCollision, 0, kGround, kWidth - 1, kHeight - 1, tile::Solid);
    // walls at both ends of the map
    for (int x : {0, kWidth - 1}) {
        level.Fill(kMiddle, x, 0, x, kHeight - 1, tile::StoneBlock);
        level.Fill(kCollision, x, 0, x, kHeight - 1, tile::Solid);
        for (int y = 0; y < kGround; ++y)
            level.AttributeA(x, y, Wall);
    }
    // teleports between the two ends
    level.AttributeA(2, kGround - 1, Teleport);
    level.AttributeA(kWidth - 3, kGround - 1, Teleport);
}

void Pool(LevelBuilder& level) {
    const int left = 30, right = 41, bottom = 46;
    level.Fill(kMiddle, left, kGround, right, bottom, tile::StoneBlock);
    level.Fill(kCollision, left, kGround, right, bottom, tile::Solid);
    // hollow it out: air in the top row, water below
    level.Fill(kMiddle, left + 1, kGround, right - 1, bottom - 1, 0);
    level.Fill(kCollision, left + 1, kGround, right - 1, kGround, 0);
    level.Fill(kBack, left + 1, kGround, right - 1, kGround + 1, tile::SkyHaze);
    level.Fill(kFore, left + 1, kGround + 1, right - 1, kGround + 1, tile::WaterTop);
    level.Fill(kMiddle, left + 1, kGround + 2, right - 1, bottom - 1, tile::WaterDeep);
    level.Fill(kCollision, left + 1, kGround + 1, right - 1, bottom - 1, tile::Swim);
    for (int y = kGround + 1; y < bottom; ++y) {
        for (int x = left + 1; x < right; ++x)
            level.AttributeA(x, y, WaterZone, 1);
    }
    // a splash sound at the surface, as the second attribute
    for (int x = left + 1; x < right; ++x)
        level.AttributeB(x, kGround + 1, PlaySound, 3);
    level.Put(kMiddle, left - 2, kGround - 1, tile::Sign);
    level.AttributeA(left - 2, kGround - 1, Console, 1);
}

void Ladder(LevelBuilder& level, int x, int top, int bottom) {
    level.Put(kMiddle, x, top, tile::LadderTop);
    level.Fill(kMiddle, x, top + 1, x, bottom, tile::Ladder);
    level.Fill(kCollision, x, top, x, bottom, tile::Climb);
    level.AttributeA(x, top, LadderDown, 0);
    level.AttributeA(x, bottom, LadderUp, 0);
}

void BrickPlatform(LevelBuilder& level, int left, int right, int top) {
    level.Fill(kMiddle, left, top, right, top, tile::BrickTop);
    level.Fill(kMiddle, left, top + 1, right, top + 1, tile::Brick);
    level.Fill(kCollision, left, top, right, top + 1, tile::Solid);
    level.Fill(kFore, left, top + 2, right, top + 2, tile::ShadowTop); // cast shadow
    for (int x = left; x <= right; ++x)
        level.AttributeA(x, top - 1, Floor);
}

void Platforms(LevelBuilder& level) {
    BrickPlatform(level, 6, 17, 34);
    Ladder(level, 18, 33, kGround - 1);
    // wooden planks that can be jumped through from below
    level.Fill(kMiddle, 17, 28, 26, 28, tile::Plank);
    level.Fill(kCollision, 17, 28, 26, 28, tile::OneWay);
    for (int x = 17; x <= 26; ++x)
        level.AttributeA(x, 27, Floor, 1);
    Ladder(level, 16, 27, 33);
    BrickPlatform(level, 27, 37, 21);
    Ladder(level, 26, 20, 27);
    // crates and a switch on the top platform
    level.Fill(kMiddle, 33, 20, 34, 20, tile::Crate);
    level.Put(kMiddle, 34, 19, tile::Crate);
    level.Fill(kCollision, 33, 20, 34, 20, tile::Solid);
    level.Put(kCollision, 34, 19, tile::Solid);
    level.AttributeA(29, 20, Switch);
}

void Pipes(LevelBuilder& level) {
    const int up = 44, down = 52, top = 31, turn = 36;
    level.Fill(kMiddle, up, top + 1, up, kGround - 1, tile::PipeUpright);
    level.Put(kMiddle, up, top, tile::PipeRightDown);
    level.Fill(kMiddle, up + 1, top, down - 1, top, tile::PipeAcross);
    level.Put(kMiddle, down, top, tile::PipeLeftDown);
    level.Fill(kMiddle, down, top + 1, down, turn - 1, tile::PipeUpright);
    level.Put(kMiddle, down, turn, tile::PipeUpRight);
    level.Put(kMiddle, down + 1, turn, tile::PipeOutlet);
    for (int y = top + 1; y < kGround; ++y)
        level.AttributeA(up, y, VerticalPipe);
    for (int y = top + 1; y < turn; ++y)
        level.AttributeA(down, y, VerticalPipe);
    level.Fill(kCollision, up + 1, top, down - 1, top, tile::OneWay);
    for (int x = up + 1; x < down; ++x)
        level.AttributeA(x, top - 1, PipeOnRoof);
    // steam from the outlet and a hot vent below it
    level.Put(kMiddle, down + 2, kGround - 1, tile::Vent);
    level.Put(kCollision, down + 2, kGround - 1, tile::Hurt);
    level.AttributeA(down + 2, kGround - 1, Damage, 3);
    level.AttributeA(down + 2, turn, Damage, 1);
}

void House(LevelBuilder& level) {
    const int left = 56, right = 73, roof = 26;
    level.Fill(kBack, left, roof + 1, right, kGround - 1, tile::StoneWall);
    for (int x : {60, 65, 70}) {
        level.Put(kBack, x, roof + 3, tile::StoneWindow);
        level.Put(kFore, x, roof + 4, tile::LightBeam);
        level.Put(kFore, x, roof + 5, tile::LightBeamFade);
    }
    level.Fill(kMiddle, left - 1, roof, right + 1, roof, tile::Roof);
    level.Fill(kCollision, left - 1, roof, right + 1, roof, tile::Solid);
    for (int x : {left, right}) {
        level.Fill(kMiddle, x, roof + 1, x, kGround - 1, tile::StoneBlock);
        level.Fill(kCollision, x, roof + 1, x, kGround - 1, tile::Solid);
    }
    level.Fill(kMiddle, left, kGround, right, kGround, tile::StoneBlock);
    // a doorway in the left wall
    level.Fill(kMiddle, left, kGround - 2, left, kGround - 1, 0);
    level.Fill(kCollision, left, kGround - 2, left, kGround - 1, 0);
    level.Fill(kFore, left, kGround - 2, left, kGround - 1, tile::ShadowFull);
    for (int y = kGround - 2; y < kGround; ++y) {
        level.AttributeA(left, y, DoorSwitchable);
        level.AttributeB(left, y, PlaySound, 2);
    }
    // shade under the roof and along the left wall
    level.Put(kFore, left + 1, roof + 1, tile::ShadowCorner);
    level.Fill(kFore, left + 2, roof + 1, right - 1, roof + 1, tile::ShadowTop);
    level.Fill(kFore, left + 1, roof + 2, left + 1, kGround - 1, tile::ShadowLeft);
    // an upper floor with a console, reached by a ladder
    level.Fill(kMiddle, left + 1, 33, right - 5, 33, tile::Plank);
    level.Fill(kCollision, left + 1, 33, right - 5, 33, tile::OneWay);
    level.Fill(kFore, left + 2, 34, right - 5, 34, tile::ShadowTop);
    Ladder(level, right - 4, 32, kGround - 1);
    level.AttributeA(62, 32, Console, 2);
    level.Fill(kMiddle, right - 2, kGround - 1, right - 1, kGround - 1, tile::Crate);
    level.Put(kMiddle, right - 1, kGround - 2, tile::Crate);
    level.Fill(kCollision, right - 2, kGround - 1, right - 1, kGround - 1, tile::Solid);
    level.Put(kCollision, right - 1, kGround - 2, tile::Solid);
}

void Scenery(LevelBuilder& level) {
    const int row = kGround - 1;
    for (int x : {3, 24, 76})
        level.Put(kMiddle, x, row, tile::Bush);
    for (int x : {5, 12, 22, 75})
        level.Put(kMiddle, x, row, tile::Flowers);
    level.Fill(kMiddle, 45, row, 47, row, tile::Fence);
    for (int x : {2, 8, 21, 23, 43, 47, 78})
        level.Put(kFore, x, row, tile::GrassTuft);
    // a street lamp with its glow and the light it throws on the ground
    level.Put(kMiddle, 49, row - 1, tile::LampHead);
    level.Put(kMiddle, 49, row, tile::LampPost);
    level.Put(kFore, 49, row - 1, tile::Glow);
    level.Fill(kFore, 48, kGround, 50, kGround, tile::LightPool);
    level.AttributeA(49, row, Damage, 255); // a negative amount: it heals
}

} // namespace

formats::MapData BuildDemoLevel() {
    LevelBuilder level;
    Sky(level);
    Ground(level);
    Pool(level);
    Platforms(level);
    Pipes(level);
    House(level);
    Scenery(level);
    return level.Map();
}

std::string WriteDemoMap(const std::filesystem::path& outDir) {
    formats::WriteMapData(outDir / kMapFile, BuildDemoLevel());
    return kMapFile;
}

} // namespace demo
