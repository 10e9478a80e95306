// The editor's tile set loader over an arbitrary tile set and picture: the
// input up to its first 0 byte is the tile set, the rest is picture P.PBM.
// Beside them lies a tile A.PBM. Every slot the load
// fills must hold a picture that is not blank.
#include "asan_options.h"
#include "fuzz_files.h"

#include "mapedit/core/tilecollection.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static mapedit::QuietUi ui;
    static mapedit::TColourTable colours;
    static mapedit::TTileCollection& tiles = *new mapedit::TTileCollection(colours, ui);
    static const std::filesystem::path dir = fuzzing::TileSetDir("tileset_editor");
    static const std::string tileSet = (dir / "T.TIL").string();
    static const std::filesystem::path picturePath = dir / "P.PBM";
    const auto [text, picture] = fuzzing::SplitAtZero(data, size);
    fuzzing::WriteFile(tileSet, text);
    fuzzing::WriteFile(picturePath, picture);
    try {
        tiles.LoadTileSet(tileSet);
    } catch (const formats::FormatError&) {
        // A wrong header, tile size, number or picture ends the load.
    }
    for (int slot = 1; slot <= mapedit::kLastPictureSlot; ++slot) {
        if (tiles.Id(slot) == 0) continue;
        const uint8_t* first = tiles.Strip().Row(mapedit::kTileSize * slot);
        const uint8_t* end = first + mapedit::kTileSize * mapedit::kTileSize;
        if (std::find_if(first, end, [](uint8_t p) { return p != 0; }) == end) std::abort();
    }
    return 0;
}
