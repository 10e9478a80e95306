// maptool info FILE: the type of a data file and what it holds, as JSON.
#include "formats/mapfile.h"
#include "formats/pbm.h"
#include "formats/tilepalette.h"
#include "formats/tileset.h"
#include "maptool/arguments.h"
#include "maptool/commands.h"
#include "maptool/detect.h"
#include "maptool/failure.h"

#include <nlohmann/json.hpp>

#include <ostream>

namespace maptool {

namespace {

using Json = nlohmann::ordered_json;

Json MapInfo(const std::string& file) {
    formats::FileStream stream(file);
    formats::MapData map = formats::ReadMapData(stream, formats::MapReader::Editor);
    Json chunks = Json::array();
    for (const formats::ChunkInfo& chunk : map.chunks) {
        chunks.push_back({{"id", formats::IdText(chunk.id)},
                          {"offset", chunk.headerOffset},
                          {"length", chunk.length}});
    }
    return {{"type", "map"},          {"width", map.width},
            {"height", map.height},   {"cellWords", map.cellWords},
            {"tileset", map.tileSet}, {"chunks", chunks}};
}

Json PictureInfo(const std::string& file) {
    formats::TPBMImage image(file);
    return {{"type", "pbm"},
            {"width", image.Width()},
            {"height", image.Height()},
            {"compression", image.Bmhd.compression},
            {"colors", image.PaletteColours}};
}

Json TileSetInfo(const std::string& file) {
    formats::TileSetListing listing = formats::ListTileSet(file);
    Json tiles = Json::array();
    for (const formats::TileSetEntry& tile : listing.tiles) {
        tiles.push_back({{"id", tile.id}, {"file", tile.file}, {"x", tile.x}, {"y", tile.y}});
    }
    return {{"type", "tileset"}, {"tiles", tiles}, {"faulty", listing.faulty}};
}

Json PaletteInfo(const std::string& file) {
    formats::TilePaletteIds ids = formats::ReadTilePalette(file);
    return {{"type", "palette"}, {"ids", ids}};
}

Json Describe(const std::string& file) {
    switch (DetectFileKind(file)) {
    case FileKind::Map:
        return MapInfo(file);
    case FileKind::Picture:
        return PictureInfo(file);
    case FileKind::TileSet:
        return TileSetInfo(file);
    case FileKind::TilePalette:
        return PaletteInfo(file);
    case FileKind::Unknown:
        break;
    }
    throw Failure(file + ": not a map, PBM picture, tile set or tile palette");
}

} // namespace

void Info(const Arguments& args, std::ostream& out) {
    ParsedArguments parsed = ParseArguments(args, 1, {}, {"--pretty"});
    const std::string& file = parsed.positional[0];
    Json info = ForFile(file, [&] { return Describe(file); });
    // Names in files are 8-bit text of no fixed encoding: replace what is not UTF-8.
    out << info.dump(parsed.Has("--pretty") ? 2 : -1, ' ', false, Json::error_handler_t::replace)
        << '\n';
}

} // namespace maptool
