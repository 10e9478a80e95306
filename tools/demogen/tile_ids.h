#pragma once
// The tile IDs of the demo tile set. The first sheet holds IDs 1-32 (8 x 4
// tiles), the second the shading tiles 33-40 (4 x 2); the rest are single-tile
// pictures.
#include <cstdint>

namespace demo::tile {

// SHEET1.LBM, row 0: sky and background
inline constexpr uint16_t Sky = 1;
inline constexpr uint16_t SkyFade = 2; // sky to haze, for the row between them
inline constexpr uint16_t SkyHaze = 3;
inline constexpr uint16_t CloudLeft = 4;
inline constexpr uint16_t CloudRight = 5;
inline constexpr uint16_t StoneWall = 6;
inline constexpr uint16_t StoneWindow = 7;
inline constexpr uint16_t Dirt = 8;
// row 1: building blocks and plants
inline constexpr uint16_t Brick = 9;
inline constexpr uint16_t BrickTop = 10;
inline constexpr uint16_t GrassTop = 11;
inline constexpr uint16_t StoneBlock = 12;
inline constexpr uint16_t Plank = 13;
inline constexpr uint16_t Crate = 14;
inline constexpr uint16_t GrassTuft = 15;
inline constexpr uint16_t Bush = 16;
// row 2: ladders and pipes (pipe corners are named by the sides they join)
inline constexpr uint16_t Ladder = 17;
inline constexpr uint16_t LadderTop = 18;
inline constexpr uint16_t PipeAcross = 19;
inline constexpr uint16_t PipeUpright = 20;
inline constexpr uint16_t PipeLeftDown = 21;
inline constexpr uint16_t PipeUpRight = 22;
inline constexpr uint16_t PipeRightDown = 23;
inline constexpr uint16_t PipeOutlet = 24; // comes in from the left, open end
// row 3: water and scenery
inline constexpr uint16_t WaterTop = 25;
inline constexpr uint16_t WaterDeep = 26;
inline constexpr uint16_t Fence = 27;
inline constexpr uint16_t Flowers = 28;
inline constexpr uint16_t LampPost = 29;
inline constexpr uint16_t LampHead = 30;
inline constexpr uint16_t Roof = 31;
inline constexpr uint16_t StoneDark = 32;

// SHEET2.LBM: shading tiles, pixel values 2-15 only (below 7 darkens, above brightens)
inline constexpr uint16_t ShadowTop = 33;
inline constexpr uint16_t ShadowFull = 34;
inline constexpr uint16_t ShadowLeft = 35;
inline constexpr uint16_t ShadowCorner = 36;
inline constexpr uint16_t LightBeam = 37;
inline constexpr uint16_t LightBeamFade = 38;
inline constexpr uint16_t LightPool = 39;
inline constexpr uint16_t Glow = 40;

// Single-tile pictures: scenery, then the collision markers of layer 3
inline constexpr uint16_t Sign = 41;
inline constexpr uint16_t Vent = 42;
inline constexpr uint16_t Solid = 50;
inline constexpr uint16_t OneWay = 51;
inline constexpr uint16_t Climb = 52;
inline constexpr uint16_t Swim = 53;
inline constexpr uint16_t Hurt = 54;

} // namespace demo::tile
