#pragma once
// Where a saved map records its tile set, and where a read map's tile set is looked for.
#include <filesystem>
#include <optional>
#include <string>

namespace mapedit {

// The tile set name a map file records: relative to the map file's own
// directory, with '\' separators, when the tile set lies in or below it;
// otherwise the tile set's full path. Empty when no tile set is loaded.
std::string RecordedTileSetName(const std::filesystem::path& tileSetFile,
                                const std::filesystem::path& mapFile);

// Finds the tile set a map records: against the map file's directory, then the
// current directory, then the program's directory. Nothing when none has it.
std::optional<std::filesystem::path> ResolveTileSetName(const std::string& recorded,
                                                        const std::filesystem::path& mapFile);

} // namespace mapedit
