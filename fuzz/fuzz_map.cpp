// Map reader under both programs' rules, into a sink that checks every call
// against the size the reader announced and the order of its calls: cells
// are made once a header, before any row or attribute reaches them. The sink
// keeps no cells (a header may announce millions of them) but reads every
// cell it is handed.
#include "formats/mapfile.h"

#include <cstdlib>

namespace {

using namespace formats;

class CheckingSink : public MapSink {
public:
    void SetSize(int width, int height) override {
        if (width < 0 || height < 0 || width > 65535 || height > 65535) std::abort();
        width_ = width;
        height_ = height;
        made_ = false;
    }
    void MakeCells(int width, int height) override {
        if (made_ || width != width_ || height != height_) std::abort(); // once a header
        if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > kMaxMapCells) {
            std::abort();
        }
        made_ = true;
    }
    void SetRow(int y, const MapCell* cells, int width, bool hasMiddle) override {
        if (!made_ || y < 0 || y >= height_ || width != width_) std::abort();
        for (int x = 0; x < width; ++x) {
            if (!hasMiddle && cells[x].middle != 0) std::abort();
            sum_ += cells[x].back + cells[x].arguments; // every cell is read
        }
    }
    void SetAttributes(int x, int y, uint16_t attributes, uint16_t arguments) override {
        if (!made_ || x < 0 || x >= width_ || y < 0 || y >= height_) std::abort();
        sum_ += attributes + arguments;
    }
    void TileSetName(const std::string& name) override {
        if (name.size() > 255 || name.find('\r') != std::string::npos) std::abort();
    }

private:
    bool made_ = false;
    int width_ = 0;
    int height_ = 0;
    uint64_t sum_ = 0;
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
