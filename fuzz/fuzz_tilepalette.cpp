// Tile palette reader over arbitrary bytes.
#include "formats/tilepalette.h"

#include <cstdlib>
#include <cstring>

using namespace formats;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemoryStream stream(data, size);
    try {
        const TilePaletteIds ids = ReadTilePalette(stream);
        if (size < kMinTilePaletteFileSize || std::memcmp(data, "TILE PAL", 8) != 0) std::abort();
        if (size >= kTilePaletteFileSize && ids[1023] != (data[2058] | data[2059] << 8)) {
            std::abort();
        }
    } catch (const FormatError&) {
    }
    return 0;
}
