// The PNG reader of maptool encode over arbitrary files: a picture it accepts
// has one index byte a pixel, within the sizes a PBM picture may have, and a
// palette of whole colours.
#include "asan_options.h"
#include "formats/pbm.h"
#include "formats/stream.h"
#include "maptool/failure.h"
#include "maptool/png_io.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        formats::MemoryStream stream(data, size);
        const maptool::IndexedPicture picture = maptool::ReadIndexedPng(stream, "in.png");
        if (picture.width <= 0 || picture.height <= 0) std::abort();
        if (uint64_t(picture.width) * uint64_t(picture.height) > formats::kMaxPicturePixels)
            std::abort();
        if (picture.pixels.size() != size_t(picture.width) * size_t(picture.height)) std::abort();
        if (picture.rgb.size() % 3 != 0 || picture.rgb.size() > 768) std::abort();
    } catch (const maptool::Failure&) {
    }
    return 0;
}
