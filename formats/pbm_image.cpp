// The runtime's in-memory picture. Colour 1 becomes 0 in repeated runs only;
// raw rows (compression 0) are stored unchanged.
#include "formats/pbm.h"

#include "formats/pbm_internal.h"

namespace formats {

using namespace pbm_detail;

namespace {

// Raw rows: w bytes each, plus a pad byte when w is odd. Stops where the data ends.
template <class RowFor>
void StoreRawRows(Stream& stream, const ChunkInfo& chunk, int width, int height, RowFor&& rowFor) {
    const uint64_t stride = uint64_t(width) + (width & 1);
    BodyReader body(stream, chunk, stride * uint64_t(height), stride);
    for (int y = 0; y < height && body.Refill(); ++y) {
        const size_t available = static_cast<size_t>(body.end() - body.begin());
        std::memcpy(rowFor(y), body.begin(), std::min(size_t(width), available));
        body.Consume(body.begin() + std::min(size_t(stride), available));
    }
}

} // namespace

TPBMImage::TPBMImage(const std::filesystem::path& fileName, const ProgressCallback& progress) {
    FileStream stream(fileName);
    LoadFromStream(stream, progress);
}

void TPBMImage::LoadFromStream(Stream& stream, const ProgressCallback& progress) {
    // Pixels are set up at the first BODY (or after the FORM), with room for
    // the rows that the rest of the file can reach; each row is made, zero,
    // when it is first decoded. Bmhd changes with them so that both agree.
    HeaderTracker headers;
    auto makePixels = [&](int reachableRows) {
        const BitmapHeader& header = headers.Header();
        Pixels.clear();
        Pixels.shrink_to_fit();
        Pixels.reserve(size_t(header.w) * size_t(reachableRows));
        Bmhd = header;
    };
    auto rowFor = [&](int y) {
        const size_t end = size_t(y + 1) * Bmhd.w;
        if (Pixels.size() < end) Pixels.resize(end, 0);
        return Pixels.data() + size_t(y) * Bmhd.w;
    };
    ReadFormAs<EIffLoader>(stream, kFormType, kMessages, [&](const ChunkInfo& chunk) {
        if (IsChunk(chunk, "BMHD")) {
            headers.Read<EIffLoader>(stream, chunk);
            if (headers.Sized()) Bmhd = headers.Header(); // same size, other fields
        } else if (IsChunk(chunk, "CMAP")) {
            PaletteColours = static_cast<int>(ReadPalette(stream, chunk, Palette) / 3);
        } else if (IsChunk(chunk, "BODY")) {
            if (headers.StartBody<EIffLoader>())
                makePixels(ReachableRows(headers.Header(), stream, chunk));
            if (Bmhd.w == 0) return;
            if (Bmhd.compression == 0) {
                StoreRawRows(stream, chunk, Bmhd.w, Bmhd.h, rowFor);
                return;
            }
            DecodeByteRun1Rows<ColourOneRule::RepeatRuns>(stream, chunk, Bmhd.w, Bmhd.h, progress,
                                                          rowFor, [](int, int) {});
        }
    });
    if (headers.Unsized()) makePixels(0);
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
