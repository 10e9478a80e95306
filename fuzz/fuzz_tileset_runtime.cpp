// The runtime's tile set loader and sprite making over an arbitrary tile set
// and picture: the input up to its first 0 byte is the tile set, the rest is
// picture P.PBM; beside them lies a tile A.PBM. Every
// tile made is walked and drawn inside and across the frame's edges, as a record and in
// its expanded form, which must give the same pixels; the picture is also
// made into one sprite as the runtime's test sprite is.
#include "asan_options.h"
#include "fuzz_files.h"

#include "maprun/core/framebuffer.h"
#include "maprun/core/tiles.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

namespace {

// Draws inside a 64 x 48 frame and across each of its edges.
void DrawEverywhere(maprun::TFrameBuffer& frame, const uint8_t* sprite,
                    const maprun::TExpandedTile* expanded) {
    static maprun::TFrameBuffer other(64, 48);
    for (auto [x, y] : {std::pair{-20, -20}, std::pair{16, 8}, std::pair{50, 30}}) {
        frame.FillRect({0, 0, 64, 48}, 0x37);
        frame.DrawSprite(sprite, x, y);
        if (!expanded) continue;
        other.FillRect({0, 0, 64, 48}, 0x37);
        other.DrawTile(*expanded, x, y);
        if (std::memcmp(frame.Bits(), other.Bits(), 64 * 48) != 0) std::abort();
    }
}

// One tile store for the process, made empty for each run: a new one is
// 128 KB that the sanitizer's allocator would map, fault in and unmap each time.
maprun::TTiles& EmptyTiles() {
    static maprun::TTiles* const tiles = new maprun::TTiles;
    std::destroy_at(tiles);
    std::construct_at(tiles);
    return *tiles;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static maprun::TFrameBuffer frame(64, 48);
    static const std::filesystem::path dir = fuzzing::TileSetDir("tileset_runtime");
    static const std::filesystem::path tileSet = dir / "T.TIL", picturePath = dir / "P.PBM";
    const auto [text, picture] = fuzzing::SplitAtZero(data, size);
    fuzzing::WriteFile(tileSet, text);
    fuzzing::WriteFile(picturePath, picture);
    maprun::TTiles* const tiles = &EmptyTiles();
    try {
        tiles->LoadFromFile(tileSet);
    } catch (const formats::FormatError&) {
        // A wrong header or tile size, or a size that does not convert.
    }
    for (unsigned id = 0; id < maprun::TTiles::kCount; ++id) {
        const uint8_t* tile = tiles->TileUnchecked(id);
        if (!tile) continue;
        if (maprun::SpriteWidth(tile) != 32 || maprun::SpriteHeight(tile) != 32) std::abort();
        (void)maprun::SpriteSize(tile);
        DrawEverywhere(frame, tile, tiles->ExpandedUnchecked(id));
    }
    try {
        const maprun::SpriteRecord sprite = maprun::LoadSprite(picturePath);
        if (sprite) DrawEverywhere(frame, sprite.get(), nullptr);
    } catch (const formats::FormatError&) {
    }
    return 0;
}
