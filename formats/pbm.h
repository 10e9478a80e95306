#pragma once
// IFF PBM pictures: one 8-bit image with up to 256 colours. Three decoders share
// the FORM loop and the ByteRun1 row decoder and differ in colour 1 handling:
//  - the editor's surface loader turns every emitted 1 into 0;
//  - TPBMImage and DrawPBMFile turn 1 into 0 in repeated runs only.
// TPBMImage alone honours raw (uncompressed) rows.
// All three refuse a BODY before the BMHD and pictures above kMaxPicturePixels
// with their error class; a picture of 0 width or height is an empty picture.
// Pixel memory is made once, at the first BODY (or after the FORM when there is
// none); a later BMHD that changes the size is refused, further BODY chunks
// decode into the same pixels. It is made only for the rows that the rest of
// the file can reach, so a picture that announces millions of pixels costs
// what its data can fill. A BODY is read in blocks, no further than its rows
// can use.
// A BODY that ends early leaves the rows (and the rest of a row) it does not
// reach as they were.
#include "formats/errors.h"
#include "formats/formlength.h"
#include "formats/stream.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

namespace formats {

// BMHD with its 16-bit fields in machine order.
struct BitmapHeader {
    uint16_t w = 0;
    uint16_t h = 0;
    int16_t x = 0;
    int16_t y = 0;
    uint8_t nPlanes = 0;
    uint8_t masking = 0;
    uint8_t compression = 0;
    uint8_t pad1 = 0;
    uint16_t transparentColor = 0;
    uint8_t xAspect = 0;
    uint8_t yAspect = 0;
    int16_t pageWidth = 0;
    int16_t pageHeight = 0;
};

// Pictures above this many pixels are refused rather than allocated.
inline constexpr uint64_t kMaxPicturePixels = uint64_t(1) << 26; // 8192 x 8192

// Called before each row whose index mod 16 is 15 (the editor keeps its window
// responsive through it). An empty callback costs nothing.
using ProgressCallback = std::function<void()>;

enum class ColourOneRule {
    EveryRun,   // editor: every emitted 1 becomes 0
    RepeatRuns, // runtime: only repeated (n < 0) runs turn 1 into 0
};

// Decodes one ByteRun1 row of `width` pixels from [src, end) into `row`, advancing
// src. Pixels past the width are dropped. Returns false when the data ran out
// before the row was complete (the rest of the row is left as it was).
bool DecodeByteRun1Row(const uint8_t*& src, const uint8_t* end, uint8_t* row, int width,
                       ColourOneRule rule);

// ---- the editor's surface loader ----

// What the editor's drawing surface offers the loader.
class PbmSurfaceTarget {
public:
    virtual ~PbmSurfaceTarget() = default;
    // Called just before SetPictureSize: no row from `rows` on will be asked
    // for, whatever the file holds (its data cannot reach them); they stay as
    // SetPictureSize leaves them. A target may make only the rows above.
    virtual void LimitRows(int /*rows*/) {}
    // Called at most once a load, with the picture's size: at the first BODY,
    // or after the FORM when it held a BMHD but no BODY. Pixel memory is re-created.
    virtual void SetPictureSize(int width, int height) = 0;
    // CMAP: all 256 entries from `rgb` (entries past the chunk are black).
    virtual void SetPictureColours(const uint8_t (&rgb)[768]) = 0;
    // Row y of the surface, at least the picture's width in bytes.
    virtual uint8_t* PictureRow(int y) = 0;
};

// Raises EInvalidGraphic ("Not an IFF FORM", "Not a PBM IFF", or a message for a
// damaged or oversized picture).
void LoadPbmIntoSurface(Stream& stream, PbmSurfaceTarget& target,
                        const ProgressCallback& progress = {});

// ---- the runtime's image ----

class TPBMImage {
public:
    TPBMImage() = default;
    // Opens and decodes the file; EFOpenError or EIffLoader pass to the caller.
    explicit TPBMImage(const std::filesystem::path& fileName,
                       const ProgressCallback& progress = {});

    void LoadFromStream(Stream& stream, const ProgressCallback& progress = {});

    void SetPixel(int x, int y, uint8_t colour);
    uint8_t GetPixel(int x, int y) const;
    int Width() const { return Bmhd.w; }
    int Height() const { return Bmhd.h; }

    BitmapHeader Bmhd;
    uint8_t Palette[768] = {};
    // The rows the BODY reached, w bytes each, row after row: w x h bytes for a
    // whole picture, fewer where the data ended early. A row not reached, and
    // the rest of a row cut short, read as 0.
    std::vector<uint8_t> Pixels;
    int PaletteColours = 0; // colours the CMAP held (0 without CMAP)
};

// ---- the runtime's streaming decoder ----

// The last BMHD and CMAP that DrawPBMFile read.
extern BitmapHeader LastPBMHeader;
extern uint8_t LastPBMPalette[768];

using PixelCallback = std::function<void(int x, int y, uint8_t colour)>;
// Hands every decoded pixel to the callback in decoding order. Raises EIffLoader.
void DrawPBMFile(const std::filesystem::path& fileName, const PixelCallback& callback,
                 const ProgressCallback& progress = {});
void DrawPBMStream(Stream& stream, const PixelCallback& callback,
                   const ProgressCallback& progress = {});

// The same decoder handing over whole rows: `count` pixels of row y (fewer
// than the width when the data ended inside the row).
using RowCallback = std::function<void(int y, const uint8_t* row, int count)>;
void DrawPBMStreamRows(Stream& stream, const RowCallback& callback,
                       const ProgressCallback& progress = {});

// Per-pixel delivery with the callback inlined: same pixels in the same order
// as DrawPBMStream, without a call through std::function for each pixel.
template <class Pixel>
void DrawPBMStreamInline(Stream& stream, Pixel&& pixel, const ProgressCallback& progress = {}) {
    DrawPBMStreamRows(
        stream,
        [&pixel](int y, const uint8_t* row, int count) {
            for (int x = 0; x < count; ++x)
                pixel(x, y, row[x]);
        },
        progress);
}

// ---- writing (tools) ----

// Writes a PBM picture: BMHD, CMAP of `colours` entries, BODY as ByteRun1 or raw
// rows. Replaces the file only when complete. Raises EInOutError.
// The decoders turn colour 1 into 0 (the editor everywhere, the runtime in
// repeated runs), so only colour 1 does not survive a write and a read.
void WritePbmFile(const std::filesystem::path& fileName, int width, int height,
                  const uint8_t* pixels, const uint8_t* rgb, int colours, bool compress,
                  FormLength formLength = FormLength::WholeFile);
std::vector<uint8_t> EncodeByteRun1Row(const uint8_t* row, int width);

} // namespace formats
