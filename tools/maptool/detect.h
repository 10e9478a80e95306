#pragma once
// Tells the four file types apart by their first bytes.
#include <filesystem>

namespace maptool {

enum class FileKind {
    Map,         // FORM ... ZMAP
    Picture,     // FORM ... "PBM "
    TilePalette, // "TILE PAL"
    TileSet,     // first line begins with "BLOKTEXT"
    Unknown,
};

// Raises formats::EFOpenError when the file cannot be opened.
FileKind DetectFileKind(const std::filesystem::path& file);

} // namespace maptool
