// maptool dump MAP: every cell of a map as the editor's reader leaves it, one
// line per cell in row-major order: x y layer0 layer1 layer2 layer3 layer4 layer5;
// with --as runtime, x y and the runtime's six cell words.
#include "formats/mapfile.h"
#include "maprun/core/render.h"
#include "maptool/arguments.h"
#include "maptool/commands.h"
#include "maptool/failure.h"

#include <charconv>
#include <ostream>

namespace maptool {

namespace {

void Append(std::string& line, unsigned value) {
    char digits[12];
    auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    line.append(digits, end);
}

// The runtime's cells: its six words per cell in memory order, after its
// reader has loaded the tile set and cleared the hidden layers.
void DumpRuntime(const std::string& file, std::ostream& out) {
    maprun::RuntimeCells map = maprun::ReadRuntimeCells(file);
    std::string text;
    for (int y = 0; y < map.Height; ++y) {
        text.clear();
        for (int x = 0; x < map.Width; ++x) {
            const maprun::TCell& cell = map.Cells[size_t(y) * size_t(map.Width) + size_t(x)];
            Append(text, unsigned(x));
            text += ' ';
            Append(text, unsigned(y));
            for (int word = 0; word < 6; ++word) {
                text += ' ';
                Append(text, maprun::CellWord(cell, word));
            }
            text += '\n';
        }
        out << text;
    }
}

} // namespace

void Dump(const Arguments& args, std::ostream& out) {
    ParsedArguments parsed = ParseArguments(args, 1, {"--as"});
    const std::string& file = parsed.positional[0];
    const std::string reader = parsed.Value("--as", "editor");
    if (reader != "editor" && reader != "runtime")
        throw UsageError("unknown reader \"" + reader + "\"");
    if (reader == "runtime") {
        DumpRuntime(file, out);
        return;
    }

    formats::MapData map = ForFile(file, [&] {
        formats::FileStream stream(file);
        return formats::ReadMapData(stream, formats::MapReader::Editor);
    });
    // A map without BODY leaves the editor's planes empty: its cells read as 0.
    const formats::MapCell empty;
    std::string text;
    for (int y = 0; y < map.height; ++y) {
        text.clear();
        for (int x = 0; x < map.width; ++x) {
            size_t index = size_t(y) * size_t(map.width) + size_t(x);
            const formats::MapCell& cell = index < map.cells.size() ? map.cells[index] : empty;
            const unsigned layers[6] = {cell.back,      cell.middle,    cell.fore,
                                        cell.collision, cell.arguments, cell.attributes};
            Append(text, unsigned(x));
            text += ' ';
            Append(text, unsigned(y));
            for (unsigned value : layers) {
                text += ' ';
                Append(text, value);
            }
            text += '\n';
        }
        out << text;
    }
}

} // namespace maptool
