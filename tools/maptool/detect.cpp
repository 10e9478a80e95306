#include "maptool/detect.h"

#include "formats/stream.h"

#include <cstring>

namespace maptool {

FileKind DetectFileKind(const std::filesystem::path& file) {
    formats::FileStream stream(file);
    char head[12] = {};
    size_t got = stream.Read(head, sizeof head);
    auto starts = [&](size_t at, const char* text) {
        size_t n = std::strlen(text);
        return got >= at + n && std::memcmp(head + at, text, n) == 0;
    };
    if (starts(0, "FORM") && starts(8, "ZMAP")) return FileKind::Map;
    if (starts(0, "FORM") && starts(8, "PBM ")) return FileKind::Picture;
    if (starts(0, "TILE PAL")) return FileKind::TilePalette;
    if (starts(0, "BLOKTEXT")) return FileKind::TileSet;
    return FileKind::Unknown;
}

} // namespace maptool
