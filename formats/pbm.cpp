// Shared PBM reading pieces: header parsing, palette and BODY reading, and the
// ByteRun1 row decoder.
#include "formats/pbm.h"

#include "formats/pbm_internal.h"

namespace formats {

namespace pbm_detail {

bool IsChunk(const ChunkInfo& chunk, const char* id) {
    return chunk.id == MakeId(id);
}

BitmapHeader ParseHeader(const uint8_t (&b)[kHeaderBytes]) {
    auto word = [&b](int at) { return static_cast<uint16_t>(b[at] << 8 | b[at + 1]); };
    BitmapHeader h;
    h.w = word(0);
    h.h = word(2);
    h.x = static_cast<int16_t>(word(4));
    h.y = static_cast<int16_t>(word(6));
    h.nPlanes = b[8];
    h.masking = b[9];
    h.compression = b[10];
    h.pad1 = b[11];
    h.transparentColor = word(12);
    h.xAspect = b[14];
    h.yAspect = b[15];
    h.pageWidth = static_cast<int16_t>(word(16));
    h.pageHeight = static_cast<int16_t>(word(18));
    return h;
}

std::string PictureSizeProblem(const BitmapHeader& header) {
    if (uint64_t(header.w) * header.h <= kMaxPicturePixels) return {};
    return "Picture is too large (" + std::to_string(header.w) + " x " + std::to_string(header.h) +
           " pixels)";
}

size_t ReadPalette(Stream& stream, const ChunkInfo& chunk, uint8_t* palette) {
    size_t n = std::min<size_t>(chunk.length, kPaletteBytes);
    stream.ReadExact(palette, n);
    return n;
}

uint64_t MaxByteRun1Bytes(const BitmapHeader& header) {
    return uint64_t(header.w) * header.h * 129;
}

BodyData ReadBody(Stream& stream, const ChunkInfo& chunk, uint64_t usefulBytes) {
    BodyData body;
    body.size = static_cast<size_t>(std::min<uint64_t>(chunk.length, usefulBytes));
    body.bytes = std::make_unique_for_overwrite<uint8_t[]>(body.size + kBodySlack);
    stream.ReadExact(body.bytes.get(), body.size);
    std::memset(body.bytes.get() + body.size, 0, kBodySlack);
    return body;
}

} // namespace pbm_detail

bool DecodeByteRun1Row(const uint8_t*& src, const uint8_t* end, uint8_t* row, int width,
                       ColourOneRule rule) {
    if (width <= 0) return true;
    int emitted = rule == ColourOneRule::EveryRun
                      ? pbm_detail::DecodeRow<ColourOneRule::EveryRun>(src, end, row, width)
                      : pbm_detail::DecodeRow<ColourOneRule::RepeatRuns>(src, end, row, width);
    return emitted == width;
}

} // namespace formats
