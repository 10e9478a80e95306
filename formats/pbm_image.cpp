// The runtime's in-memory picture. Colour 1 becomes 0 in repeated runs only;
// raw rows (compression 0) are stored unchanged.
#include "formats/pbm.h"

#include "formats/pbm_internal.h"

namespace formats {

using namespace pbm_detail;

namespace {

// Raw rows: w bytes each, plus a pad byte when w is odd. Stops where the data ends.
void StoreRawRows(const BodyData& body, int width, int height, uint8_t* pixels) {
    const size_t rowBytes = static_cast<size_t>(width);
    const size_t stride = rowBytes + (rowBytes & 1);
    const uint8_t* src = body.begin();
    for (int y = 0; y < height && src < body.end(); ++y) {
        size_t available = static_cast<size_t>(body.end() - src);
        size_t take = std::min(rowBytes, available);
        std::memcpy(pixels + size_t(y) * rowBytes, src, take);
        src += std::min(stride, available);
    }
}

} // namespace

TPBMImage::TPBMImage(const std::filesystem::path& fileName, const ProgressCallback& progress) {
    FileStream stream(fileName);
    LoadFromStream(stream, progress);
}

void TPBMImage::LoadFromStream(Stream& stream, const ProgressCallback& progress) {
    // Pixels are made at the first BODY (or after the FORM), zero-filled so that
    // rows a short BODY does not reach are defined. Bmhd changes with them so
    // that both always agree.
    HeaderTracker headers;
    auto makePixels = [&] {
        const BitmapHeader& header = headers.Header();
        Pixels.assign(size_t(header.w) * header.h, 0);
        Bmhd = header;
    };
    ReadFormAs<EIffLoader>(stream, kFormType, kMessages, [&](const ChunkInfo& chunk) {
        if (IsChunk(chunk, "BMHD")) {
            headers.Read<EIffLoader>(stream, chunk);
            if (headers.Sized()) Bmhd = headers.Header(); // same size, other fields
        } else if (IsChunk(chunk, "CMAP")) {
            PaletteColours = static_cast<int>(ReadPalette(stream, chunk, Palette) / 3);
        } else if (IsChunk(chunk, "BODY")) {
            if (headers.StartBody<EIffLoader>()) makePixels();
            const int w = Bmhd.w, h = Bmhd.h;
            uint8_t* pixels = Pixels.data();
            if (Bmhd.compression == 0) {
                uint64_t rawBytes = (uint64_t(w) + (w & 1)) * h;
                StoreRawRows(ReadBody(stream, chunk, rawBytes), w, h, pixels);
                return;
            }
            BodyData body = ReadBody(stream, chunk, MaxByteRun1Bytes(Bmhd));
            DecodeByteRun1Rows<ColourOneRule::RepeatRuns>(
                body, w, h, progress, [&](int y) { return pixels + size_t(y) * w; },
                [](int, int) {});
        }
    });
    if (headers.Unsized()) makePixels();
}

void TPBMImage::SetPixel(int x, int y, uint8_t colour) {
    if (x < 0 || y < 0 || x >= Bmhd.w || y >= Bmhd.h) return;
    size_t at = size_t(x) + size_t(y) * Bmhd.w;
    if (at < Pixels.size()) Pixels[at] = colour;
}

uint8_t TPBMImage::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= Bmhd.w || y >= Bmhd.h) return 0;
    size_t at = size_t(x) + size_t(y) * Bmhd.w;
    return at < Pixels.size() ? Pixels[at] : 0;
}

} // namespace formats
