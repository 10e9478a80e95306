// Both programs' own map readers over arbitrary bytes: the editor's document
// with its tile set loading, and the runtime's map with its tile store and
// hidden-layer pass. A tile set T.TIL lies beside the map for KIDS to name.
// Afterwards the document's planes and the runtime's cells must match the
// size each reports. Maps of more than 4096 cells are passed over: the sinks
// do the same at every size, and filling millions of empty cells only slows
// the search (fuzz_map reads maps of every size).
#include "asan_options.h"
#include "fuzz_files.h"

#include "formats/mapfile.h"
#include "mapedit/core/editor.h"
#include "maprun/core/map.h"

#include <cstdlib>

namespace {

namespace fs = std::filesystem;

constexpr uint64_t kMostCells = 4096;

const fs::path& Dir() {
    static const fs::path& dir = [&]() -> const fs::path& {
        const fs::path& d = fuzzing::TileSetDir("map_programs");
        fuzzing::WriteFile(d / "T.TIL", "BLOKTEXT\nTILE 1 A.PBM\n");
        return d;
    }();
    return dir;
}

// The largest map any header of the file announces.
uint64_t MostCells(const uint8_t* data, size_t size) {
    uint64_t most = 0;
    formats::MemoryStream stream(data, size);
    try {
        formats::ForEachMapChunk(stream, formats::MapReader::Editor, [&](const auto& chunk) {
            if (chunk.id != formats::MakeId("THDR") || chunk.length < 4) return;
            const uint8_t* p = data + chunk.dataOffset;
            most =
                std::max<uint64_t>(most, uint64_t(p[0] << 8 | p[1]) * uint64_t(p[2] << 8 | p[3]));
        });
    } catch (const formats::FormatError&) {
    }
    return most;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static mapedit::QuietUi ui;
    static mapedit::TEditor& editor = *new mapedit::TEditor(ui);
    if (MostCells(data, size) > kMostCells) return 0;

    editor.ClearDocument();
    try {
        formats::MemoryStream stream(data, size);
        editor.MapFromStream(stream, Dir() / "m.map");
    } catch (const formats::FormatError&) {
    }
    const mapedit::TMapDocument& doc = editor.Doc;
    for (const auto& plane : doc.Planes)
        if (plane.size() != size_t(doc.W()) * size_t(doc.H())) std::abort();

    maprun::TMap map;
    try {
        formats::MemoryStream stream(data, size);
        map.LoadFromStream(stream, Dir());
    } catch (const formats::FormatError&) {
    }
    if (map.Cells().size() != size_t(map.Width()) * size_t(map.Height())) std::abort();
    return 0;
}
