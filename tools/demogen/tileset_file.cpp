// The tile pictures and the tile set file that names them.
#include "demogen/generate.h"
#include "demogen/palette.h"
#include "demogen/tiles.h"

#include "formats/errors.h"
#include "formats/pbm.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace demo {

namespace {

std::string TileSetText() {
    // CR LF line ends, as the files were first written.
    std::ostringstream text;
    auto line = [&text](const std::string& s) { text << s << "\r\n"; };
    line("BLOKTEXT");
    line("; Demo tile set written by demogen. Tiles are 32 x 32 pixels.");
    line("WIDTH=32");
    line("HEIGHT=32");
    const char* sheetNotes[] = {
        "; Sky, walls, building blocks, plants, ladders, pipes, water and scenery",
        "; Shading tiles: values below 7 darken what lies under them, above 7 brighten it",
    };
    size_t note = 0;
    for (const TileSheet& sheet : DemoSheets()) {
        if (note < std::size(sheetNotes)) line(sheetNotes[note++]);
        line("TILES " + std::to_string(sheet.firstId) + " " + std::to_string(sheet.columns) + "," +
             std::to_string(sheet.rows) + " " + sheet.file);
    }
    line("NEWLINE");
    line("; Single-tile pictures: scenery, then the collision markers for layer 3");
    uint16_t previous = 0;
    for (const SingleTile& single : DemoSingleTiles()) {
        if (previous && single.id - previous > 1) line("NEWLINE");
        line("TILE " + std::to_string(single.id) + " " + single.file);
        previous = single.id;
    }
    return text.str();
}

} // namespace

void WritePicture(const std::filesystem::path& file, const Canvas& picture) {
    formats::WritePbmFile(file, picture.Width(), picture.Height(), picture.Pixels().data(),
                          DemoPalette().data(), kRamps * kShades, true);
}

std::vector<std::string> WriteTileSet(const std::filesystem::path& outDir) {
    std::vector<std::string> written;
    for (const TileSheet& sheet : DemoSheets()) {
        WritePicture(outDir / sheet.file, DrawSheet(sheet));
        written.push_back(sheet.file);
    }
    for (const SingleTile& single : DemoSingleTiles()) {
        WritePicture(outDir / single.file, DrawTile(single.art));
        written.push_back(single.file);
    }
    std::ofstream out(outDir / kTileSetFile, std::ios::binary | std::ios::trunc);
    out << TileSetText();
    out.close();
    if (!out) throw formats::EInOutError("Cannot write " + (outDir / kTileSetFile).string());
    written.push_back(kTileSetFile);
    return written;
}

} // namespace demo
