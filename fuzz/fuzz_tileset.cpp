// Tile set line splitting and grammar over arbitrary text. The streaming split
// and the all-lines split must agree line for line.
#include "formats/tileset.h"

#include <cstdlib>
#include <string>
#include <vector>

using namespace formats;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        IsBlockTextHeader(text);
        const std::vector<std::string> all = SplitTileSetLines(text);
        size_t count = 0;
        ForEachTileSetLine(text, [&](int number, std::string_view raw) {
            if (number != static_cast<int>(count) + 1 || count >= all.size() || all[count] != raw) {
                std::abort();
            }
            ++count;
            if (raw.size() > 255 || raw.find_first_of("\r\n") != std::string::npos) std::abort();
            const TileSetLine line = ParseTileSetLine(std::string(raw));
            const bool tile =
                line.kind == TileSetLine::Kind::Tile || line.kind == TileSetLine::Kind::Tiles;
            if (tile && !line.faulty && (line.id.empty() || line.file.empty())) std::abort();
            if (line.key.size() > 255 || line.value.size() > 255) std::abort();
            return true;
        });
        if (count != all.size()) std::abort();
    } catch (const FormatError&) {
    }
    return 0;
}
