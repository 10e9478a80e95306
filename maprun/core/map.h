#pragma once
// The runtime's map: cells of six 16-bit words (background, middle ground,
// foreground, collision, attribute word, argument word) and the tile store that
// the tile numbers refer to. The three tile layers hold a 13-bit tile number
// each; the top three bits are not drawn.
#include "formats/mapfile.h"
#include "formats/stream.h"
#include "maprun/core/framebuffer.h"
#include "maprun/core/tiles.h"

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace maprun {

struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;
    bool operator==(const TPoint&) const = default;
};

using TCell = formats::MapCell;

inline constexpr int kTileSize = 32;
inline constexpr uint16_t kTileNumberMask = 0x1FFF;
inline constexpr int kCellWords = 6;

// Word `layer` (0..5) of a cell.
uint16_t CellWord(const TCell& cell, int layer);

class TMap {
public:
    TTiles& Tiles() { return FTiles; }
    const TTiles& Tiles() const { return FTiles; }
    int32_t Width() const { return FWidth; }
    int32_t Height() const { return FHeight; }
    const std::vector<TCell>& Cells() const { return FCells; }
    // Replaces the cells by width x height empty ones (also used by tests and tools).
    void Resize(int32_t width, int32_t height);
    TCell& Cell(int32_t x, int32_t y) { return FCells[static_cast<size_t>(y) * FWidth + x]; }
    const TCell& Cell(int32_t x, int32_t y) const {
        return FCells[static_cast<size_t>(y) * FWidth + x];
    }

    // Opens the map file and reads it; the tile set it names is looked for
    // relative to the map file's directory (a full path is used as it is).
    void LoadFromFile(const std::filesystem::path& fileName);
    // Reads a map, loading its tile set (names resolved against `dir`), then
    // clears the hidden layers. Raises EMapLoad; a tile set error passes as is.
    void LoadFromStream(formats::Stream& stream, const std::filesystem::path& dir);

    // Empties the layers that a solid tile above covers wholly, so they are
    // never drawn.
    void ClearHiddenLayers();

    // The map pixel at the frame's top-left corner for a view centred on `pos`:
    // the view is kept inside the map; a map smaller than the frame on an axis
    // is centred on it (the origin is then negative).
    TPoint ViewOrigin(const TPoint& pos, int frameWidth, int frameHeight) const;
    // Draws word `layer` of the visible cells. Reads no cell outside the map.
    void DrawMap(const TPoint& pos, TFrameBuffer& frame, int layer) const;
    // Fills the parts of the frame that lie outside a map smaller than the
    // frame, which no layer covers. A map without cells leaves the frame alone.
    void ClearOutsideMap(const TPoint& pos, TFrameBuffer& frame, uint8_t colour) const;

private:
    TTiles FTiles;
    std::vector<TCell> FCells;
    int32_t FWidth = 0;
    int32_t FHeight = 0;
};

} // namespace maprun
