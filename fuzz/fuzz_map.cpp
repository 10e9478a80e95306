// Map reader under both programs' rules, into a sink that checks every call
// against the size the reader announced. Like the programs' own sinks it makes
// room for the whole map whenever the reader asks it to, so a file that makes
// the reader take far more memory or time than its size warrants shows up.
#include "formats/mapfile.h"

#include <cstdlib>
#include <vector>

namespace {

using namespace formats;

class CheckingSink : public MapSink {
public:
    void SetSize(int width, int height) override {
        if (width < 0 || height < 0 || width > 65535 || height > 65535) std::abort();
        width_ = width;
        height_ = height;
        sized_ = false;
    }
    void MakeCells(int width, int height) override {
        if (sized_ || width != width_ || height != height_) std::abort(); // once a header
        if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > kMaxMapCells) {
            std::abort();
        }
        sized_ = true;
        cells_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), MapCell{});
    }
    void SetRow(int y, const MapCell* cells, int width, bool hasMiddle) override {
        if (!sized_ || y < 0 || y >= height_ || width != width_) std::abort();
        MapCell* row = cells_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_);
        for (int x = 0; x < width; ++x) {
            if (!hasMiddle && cells[x].middle != 0) std::abort();
            row[x] = cells[x]; // every cell is read
        }
    }
    void SetAttributes(int x, int y, uint16_t attributes, uint16_t arguments) override {
        if (!sized_ || x < 0 || x >= width_ || y < 0 || y >= height_) std::abort();
        MapCell& cell =
            cells_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
        cell.attributes = attributes;
        cell.arguments = arguments;
    }
    void TileSetName(const std::string& name) override {
        if (name.size() > 255 || name.find('\r') != std::string::npos) std::abort();
    }

private:
    bool sized_ = false;
    int width_ = 0;
    int height_ = 0;
    std::vector<MapCell> cells_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (MapReader reader : {MapReader::Editor, MapReader::Runtime}) {
        MemoryStream stream(data, size);
        CheckingSink sink;
        try {
            ReadMap(stream, sink, reader);
        } catch (const EMapLoad&) {
        } catch (const FormatError&) {
            std::abort(); // the reader reports every failure as EMapLoad
        }
    }
    return 0;
}
