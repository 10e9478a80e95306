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

// The editor uses only the first 1023 entries, so a file that ends after them
// (2058 bytes) is accepted and its slot 1023 reads as 0; bytes after the 1024th
// entry are ignored.
inline constexpr size_t kMinTilePaletteFileSize = 2058;

// Raises ENotPaletteFile "Not a Tile Palette File" for a wrong header, EInOutError
// for a file that cannot be opened or is shorter than its entries.
TilePaletteIds ReadTilePalette(Stream& stream);
TilePaletteIds ReadTilePalette(const std::filesystem::path& fileName);

// Replaces the file only when complete. Raises EInOutError.
void WriteTilePalette(const std::filesystem::path& fileName, const TilePaletteIds& ids);

} // namespace formats
