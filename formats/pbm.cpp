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

int ReachableRows(const BitmapHeader& header, const Stream& stream, const ChunkInfo& chunk) {
    if (header.w == 0) return 0;
    const uint64_t rest = stream.Size() > chunk.dataOffset ? stream.Size() - chunk.dataOffset : 0;
    const uint64_t fewestRowBytes = 2 * ((uint64_t(header.w) + 128) / 129);
    const uint64_t rows = (rest + fewestRowBytes - 1) / fewestRowBytes;
    return static_cast<int>(std::min<uint64_t>(rows, header.h));
}

namespace {
constexpr size_t kBodyBlock = 64 * 1024;
} // namespace

BodyReader::BodyReader(Stream& stream, const ChunkInfo& chunk, uint64_t usefulBytes,
                       uint64_t rowBytes)
    : stream_(stream), left_(std::min<uint64_t>(chunk.length, usefulBytes)),
      rowBytes_(static_cast<size_t>(std::min<uint64_t>(rowBytes, left_))) {
    // Room for two rows at least, and for a block, but no more than the data.
    capacity_ = std::max(kBodyBlock, 2 * rowBytes_);
    capacity_ = static_cast<size_t>(std::min<uint64_t>(capacity_, left_));
    buffer_ = std::make_unique_for_overwrite<uint8_t[]>(capacity_ + kBodySlack);
    std::memset(buffer_.get(), 0, kBodySlack);
}

bool BodyReader::Refill() {
    if (fill_ - start_ < rowBytes_ && left_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + start_, fill_ - start_);
        fill_ -= start_;
        start_ = 0;
        const size_t n = static_cast<size_t>(std::min<uint64_t>(capacity_ - fill_, left_));
        stream_.ReadExact(buffer_.get() + fill_, n);
        fill_ += n;
        left_ -= n;
        std::memset(buffer_.get() + fill_, 0, kBodySlack);
    }
    return start_ < fill_;
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
