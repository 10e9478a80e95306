// The editor's surface loader: every emitted pixel of colour 1 becomes 0, the
// compression field is ignored (rows are always ByteRun1), and palette entries
// past a short CMAP are black.
#include "formats/pbm.h"

#include "formats/pbm_internal.h"

namespace formats {

using namespace pbm_detail;

void LoadPbmIntoSurface(Stream& stream, PbmSurfaceTarget& target,
                        const ProgressCallback& progress) {
    // The surface takes the picture's size at the first BODY (or after the
    // FORM), so repeated headers do not re-create its pixel memory each time.
    HeaderTracker headers;
    int reachable = 0; // rows any BODY can reach
    ReadFormAs<EInvalidGraphic>(stream, kFormType, kMessages, [&](const ChunkInfo& chunk) {
        if (IsChunk(chunk, "BMHD")) {
            headers.Read<EInvalidGraphic>(stream, chunk);
        } else if (IsChunk(chunk, "CMAP")) {
            uint8_t rgb[kPaletteBytes] = {};
            ReadPalette(stream, chunk, rgb);
            target.SetPictureColours(rgb);
        } else if (IsChunk(chunk, "BODY")) {
            const BitmapHeader& header = headers.Header();
            if (headers.StartBody<EInvalidGraphic>()) {
                reachable = ReachableRows(header, stream, chunk);
                target.LimitRows(reachable);
                target.SetPictureSize(header.w, header.h);
            }
            DecodeByteRun1Rows<ColourOneRule::EveryRun>(
                stream, chunk, header.w, reachable, progress,
                [&](int y) { return target.PictureRow(y); }, [](int, int) {});
        }
    });
    if (headers.Unsized()) {
        target.LimitRows(0);
        target.SetPictureSize(headers.Header().w, headers.Header().h);
    }
}

} // namespace formats
