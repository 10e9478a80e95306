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

// How a JSON value is written: compact, or indented by two spaces.
struct JsonStyle {
    bool pretty;
    std::string Dump(const Json& value) const {
        return value.dump(pretty ? 2 : -1, ' ', false, Json::error_handler_t::replace);
    }
};

Json ChunkJson(const formats::ChunkInfo& chunk) {
    Json json = {{"id", formats::IdText(chunk.id)},
                 {"offset", chunk.headerOffset},
                 {"length", chunk.length}};
    if (chunk.count > 1) json["count"] = chunk.count; // a run of zero bytes
    return json;
}

// A map's description, written as it is read: a map file may hold millions of
// chunks, so they go out one by one instead of being kept. The text is what
// dumping the whole object at once would give. The file is read twice: for the
// map's size and name first, which come before the chunks.
void WriteMapInfo(const std::string& file, const JsonStyle& style, std::ostream& out) {
    const formats::MapSummary map = ForFile(file, [&] {
        formats::FileStream stream(file);
        return formats::ReadMapSummary(stream, formats::MapReader::Editor);
    });
    const Json head = {{"type", "map"},
                       {"width", map.width},
                       {"height", map.height},
                       {"cellWords", map.cellWords},
                       {"tileset", map.tileSet}};
    std::string text = style.Dump(head);
    text.resize(text.size() - (style.pretty ? 2 : 1)); // the closing brace
    out << text << (style.pretty ? ",\n  \"chunks\": [" : ",\"chunks\":[");
    bool first = true;
    ForFile(file, [&] {
        formats::FileStream stream(file);
        formats::ForEachMapChunk(stream, formats::MapReader::Editor,
                                 [&](const formats::ChunkInfo& chunk) {
                                     std::string item = style.Dump(ChunkJson(chunk));
                                     if (style.pretty) {
                                         for (size_t at = item.find('\n'); at != std::string::npos;
                                              at = item.find('\n', at + 1))
                                             item.insert(at + 1, "    ");
                                         item.insert(0, "\n    ");
                                     }
                                     out << (first ? "" : ",") << item;
                                     first = false;
                                 });
    });
    out << (style.pretty && !first ? "\n  ]\n}" : style.pretty ? "]\n}" : "]}") << '\n';
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

Json Describe(const std::string& file, FileKind kind) {
    switch (kind) {
    case FileKind::Map:
        break; // written as it is read
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
    // Names in files are 8-bit text of no fixed encoding: replace what is not UTF-8.
    const JsonStyle style{parsed.Has("--pretty")};
    const FileKind kind = ForFile(file, [&] { return DetectFileKind(file); });
    if (kind == FileKind::Map) {
        WriteMapInfo(file, style, out);
        return;
    }
    Json info = ForFile(file, [&] { return Describe(file, kind); });
    out << style.Dump(info) << '\n';
}

} // namespace maptool
