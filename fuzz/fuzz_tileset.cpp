// Tile set line splitting and grammar over arbitrary text.
#include "formats/tileset.h"

#include <cstdlib>

using namespace formats;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        IsBlockTextHeader(text);
        for (const std::string& raw : SplitTileSetLines(text)) {
            if (raw.size() > 255 || raw.find_first_of("\r\n") != std::string::npos) std::abort();
            const TileSetLine line = ParseTileSetLine(raw);
            const bool tile =
                line.kind == TileSetLine::Kind::Tile || line.kind == TileSetLine::Kind::Tiles;
            if (tile && !line.faulty && (line.id.empty() || line.file.empty())) std::abort();
            if (line.key.size() > 255 || line.value.size() > 255) std::abort();
        }
    } catch (const FormatError&) {
    }
    return 0;
}
