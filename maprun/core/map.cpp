#include "maprun/core/map.h"

#include "formats/dospath.h"
#include "formats/errors.h"

#include <algorithm>
#include <optional>

namespace maprun {

namespace fs = std::filesystem;

namespace {

// A stored name that starts at the root ("/..." or "\...") is a full path;
// anything else is relative to the map's directory.
bool IsFullPath(std::string_view name) {
    return !name.empty() && (name.front() == '/' || name.front() == '\\');
}

// Makes the cells when the reader asks for them and notes the tile set that
// the last KIDS chunk names; LoadFromStream loads it once the chunks are read.
class RuntimeMapSink : public formats::MapSink {
public:
    RuntimeMapSink(TMap& map, const fs::path& dir) : map_(map), dir_(dir) {}

    void SetSize(int, int) override {}

    void MakeCells(int width, int height) override {
        if (uint64_t(width) * uint64_t(height) > formats::kMaxMapCells)
            throw formats::EMapLoad("Map is too large");
        map_.Resize(width, height);
    }

    void SetRow(int y, const formats::MapCell* cells, int width, bool hasMiddle) override {
        if (y < 0 || y >= map_.Height()) return;
        const int n = std::min(width, map_.Width());
        for (int x = 0; x < n; ++x) {
            TCell& cell = map_.Cell(x, y);
            cell = cells[x];
            if (!hasMiddle) cell.middle = 0;
        }
    }

    // A name that resolves to no file ends the read at once.
    void TileSetName(const std::string& name) override {
        std::string stored = name;
        if (IsFullPath(stored)) stored.front() = '/';
        std::optional<fs::path> path = formats::ResolveDosName(dir_, stored);
        std::error_code ec;
        if (!path || !fs::is_regular_file(*path, ec))
            throw formats::EMapLoad("Map file did not have a valid TileSet filename");
        tileSet_ = std::move(path);
    }

    const std::optional<fs::path>& TileSet() const { return tileSet_; }

private:
    TMap& map_;
    fs::path dir_;
    std::optional<fs::path> tileSet_;
};

bool IsSolid(const TTiles& tiles, uint16_t word) {
    const uint8_t* tile = tiles.TileUnchecked(word & kTileNumberMask);
    return (word & kTileNumberMask) != 0 && tile && GetSpriteKind(tile) == SpriteKind::Solid;
}

} // namespace

uint16_t CellWord(const TCell& cell, int layer) {
    switch (layer) {
    case 0:
        return cell.back;
    case 1:
        return cell.middle;
    case 2:
        return cell.fore;
    case 3:
        return cell.collision;
    case 4:
        return cell.attributes;
    case 5:
        return cell.arguments;
    default:
        return 0;
    }
}

void TMap::Resize(int32_t width, int32_t height) {
    FWidth = std::max(width, 0);
    FHeight = std::max(height, 0);
    FCells.assign(static_cast<size_t>(FWidth) * static_cast<size_t>(FHeight), TCell{});
}

void TMap::LoadFromFile(const fs::path& fileName) {
    formats::FileStream stream(fileName);
    LoadFromStream(stream, fileName.parent_path());
}

void TMap::LoadFromStream(formats::Stream& stream, const fs::path& dir) {
    RuntimeMapSink sink(*this, dir);
    formats::ReadMap(stream, sink, formats::MapReader::Runtime);
    // However many tile set names the map holds, one tile set is loaded.
    if (sink.TileSet()) FTiles.LoadFromFile(*sink.TileSet());
    ClearHiddenLayers();
}

void TMap::ClearHiddenLayers() {
    for (TCell& cell : FCells) {
        if (IsSolid(FTiles, cell.fore)) {
            cell.back = 0;
            cell.middle = 0;
        }
        if (IsSolid(FTiles, cell.middle)) cell.back = 0;
    }
}

} // namespace maprun
