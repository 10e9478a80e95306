#pragma once
// Tile palette files: "TILE PAL", a 32-bit slot count, 1024 16-bit IDs, all
// little-endian; 2060 bytes.
#include "formats/errors.h"
#include "formats/stream.h"

#include <array>
#include <cstdint>
#include <filesystem>

namespace formats {

inline constexpr int kPaletteSlots = 1024;
inline constexpr size_t kTilePaletteFileSize = 2060;
using TilePaletteIds = std::array<uint16_t, kPaletteSlots>;

// Raises ENotPaletteFile "Not a Tile Palette File" for a wrong header, EInOutError
// for a file that cannot be opened or is shorter than its entries.
TilePaletteIds ReadTilePalette(Stream& stream);
TilePaletteIds ReadTilePalette(const std::filesystem::path& fileName);

// Replaces the file only when complete. Raises EInOutError.
void WriteTilePalette(const std::filesystem::path& fileName, const TilePaletteIds& ids);

} // namespace formats
