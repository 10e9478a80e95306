// The runtime's streaming decoder: hands every pixel to a callback and leaves
// the header and palette in LastPBMHeader and LastPBMPalette. Rows are always
// ByteRun1; colour 1 becomes 0 in repeated runs only.
#include "formats/pbm.h"

#include "formats/pbm_internal.h"

#include <vector>

namespace formats {

using namespace pbm_detail;

BitmapHeader LastPBMHeader;
uint8_t LastPBMPalette[768] = {};

void DrawPBMStreamRows(Stream& stream, const RowCallback& callback,
                       const ProgressCallback& progress) {
    HeaderTracker headers;
    std::vector<uint8_t> row; // one row of the picture, made at the first BODY
    ReadFormAs<EIffLoader>(stream, kFormType, kMessages, [&](const ChunkInfo& chunk) {
        if (IsChunk(chunk, "BMHD")) {
            LastPBMHeader = headers.Read<EIffLoader>(stream, chunk);
        } else if (IsChunk(chunk, "CMAP")) {
            ReadPalette(stream, chunk, LastPBMPalette);
        } else if (IsChunk(chunk, "BODY")) {
            // The previous picture's header must not be used for this one's rows.
            const BitmapHeader& header = headers.Header();
            if (headers.StartBody<EIffLoader>()) row.resize(header.w);
            // A row is decoded first, then handed over.
            DecodeByteRun1Rows<ColourOneRule::RepeatRuns>(
                stream, chunk, header.w, header.h, progress, [&](int) { return row.data(); },
                [&](int y, int emitted) {
                    if (callback) callback(y, row.data(), emitted);
                });
        }
    });
}

void DrawPBMStream(Stream& stream, const PixelCallback& callback,
                   const ProgressCallback& progress) {
    DrawPBMStreamRows(
        stream,
        [&callback](int y, const uint8_t* row, int count) {
            if (!callback) return;
            for (int x = 0; x < count; ++x)
                callback(x, y, row[x]);
        },
        progress);
}

void DrawPBMFile(const std::filesystem::path& fileName, const PixelCallback& callback,
                 const ProgressCallback& progress) {
    FileStream stream(fileName);
    DrawPBMStream(stream, callback, progress);
}

} // namespace formats
