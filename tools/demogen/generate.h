#pragma once
// Writes the demo data set: tile pictures, the tile set "DEMO.TIL", the test
// picture "testpbm.lbm", the sprite "smile.bbm", the map "demo.map" and the
// tile palette "DEMO.TPL". Every run writes the same bytes.
#include "demogen/canvas.h"

#include "formats/mapfile.h"

#include <filesystem>
#include <string>
#include <vector>

namespace demo {

// Creates `outDir` when needed and returns the names of the files written, in
// the order written. Raises formats::EInOutError when a file cannot be written.
std::vector<std::string> GenerateDemo(const std::filesystem::path& outDir);

// The parts, each writing its own files (and returning their names).
std::vector<std::string> WriteTileSet(const std::filesystem::path& outDir);
std::string WriteTilePaletteFile(const std::filesystem::path& outDir);
std::string WriteTestPicture(const std::filesystem::path& outDir);
std::string WriteSmileSprite(const std::filesystem::path& outDir);
std::string WriteDemoMap(const std::filesystem::path& outDir);

// A picture in the demo palette, ByteRun1-compressed.
void WritePicture(const std::filesystem::path& file, const Canvas& picture);

// The demo level as the map file holds it.
formats::MapData BuildDemoLevel();

// The art of the two stand-alone pictures.
Canvas DrawTestPicture();
Canvas DrawSmile();

inline constexpr const char* kTileSetFile = "DEMO.TIL";
inline constexpr const char* kTilePaletteFile = "DEMO.TPL";
inline constexpr const char* kMapFile = "demo.map";
inline constexpr const char* kTestPictureFile = "testpbm.lbm";
inline constexpr const char* kSpriteFile = "smile.bbm";

} // namespace demo
