#pragma once
// Pieces shared by the three PBM decoders: chunk IDs, header and palette
// reading, the BODY buffer and the ByteRun1 row loop. Not part of the API.
#include "formats/iff.h"
#include "formats/pbm.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

namespace formats::pbm_detail {

inline constexpr FormMessages kMessages{"Not an IFF FORM", "Not a PBM IFF"};
inline constexpr const char* kFormType = "PBM ";
inline constexpr size_t kHeaderBytes = 20;
inline constexpr size_t kPaletteBytes = 768;
inline constexpr const char* kHeaderTooShort = "PBM header (BMHD) is too short";
inline constexpr const char* kBodyBeforeHeader =
    "PBM picture data (BODY) comes before its header (BMHD)";
inline constexpr const char* kSizeChangedAfterBody =
    "PBM picture has more than one header (BMHD), of another size after its data (BODY)";

// What the BODY buffer carries past its data, so that the fast row decoder may
// read whole blocks from near the end.
inline constexpr size_t kBodySlack = 64;
using Vec16 = uint8_t __attribute__((vector_size(16)));

bool IsChunk(const ChunkInfo& chunk, const char* id);

BitmapHeader ParseHeader(const uint8_t (&bytes)[kHeaderBytes]);
// "Picture is too large" with the size, or empty when the size is acceptable.
std::string PictureSizeProblem(const BitmapHeader& header);

// Reads a BMHD chunk (the stream stands at its data). Raises E for a header
// shorter than 20 bytes or a picture above kMaxPicturePixels.
template <class E> BitmapHeader ReadHeader(Stream& stream, const ChunkInfo& chunk) {
    if (chunk.length < kHeaderBytes) throw E(kHeaderTooShort);
    uint8_t bytes[kHeaderBytes];
    stream.ReadExact(bytes, kHeaderBytes);
    BitmapHeader header = ParseHeader(bytes);
    std::string problem = PictureSizeProblem(header);
    if (!problem.empty()) throw E(problem);
    return header;
}

// The picture's header as the chunks go by. The size may change until the
// first BODY arrives (the decoders make their pixels only then); a header that
// changes it later is refused, so every BODY decodes into the same pixels.
class HeaderTracker {
public:
    // Reads a BMHD chunk; raises E as ReadHeader does, or for a size change
    // after the pixels were made.
    template <class E> const BitmapHeader& Read(Stream& stream, const ChunkInfo& chunk) {
        BitmapHeader next = ReadHeader<E>(stream, chunk);
        if (sized_ && (next.w != header_.w || next.h != header_.h)) {
            throw E(kSizeChangedAfterBody);
        }
        header_ = next;
        have_ = true;
        return header_;
    }
    // At a BODY: raises E without a header; true when the pixels are still to
    // be made for this header (only the first time).
    template <class E> bool StartBody() {
        if (!have_) throw E(kBodyBeforeHeader);
        if (sized_) return false;
        sized_ = true;
        return true;
    }
    // After the FORM: true when a header came but no BODY made its pixels.
    bool Unsized() const { return have_ && !sized_; }
    bool Sized() const { return sized_; }
    const BitmapHeader& Header() const { return header_; }

private:
    BitmapHeader header_;
    bool have_ = false;
    bool sized_ = false;
};

// Reads at most 768 bytes of CMAP data into `palette`; bytes past the chunk's
// data are left alone. Returns the number of bytes read.
size_t ReadPalette(Stream& stream, const ChunkInfo& chunk, uint8_t* palette);

// The most BODY bytes one ByteRun1 row of `width` pixels can take: every run
// but the last emits at least one pixel for at most two bytes, and the last
// takes at most 129.
inline uint64_t MaxByteRun1RowBytes(int width) {
    return 2 * uint64_t(width) + 127;
}

// The rows that BODY data starting at `chunk` can reach at most, this chunk's
// and any later one's: the rest of the stream holds no more than that many
// rows of the fewest bytes a row can take (one 2-byte run per 129 pixels).
// Raw rows take more bytes, so the bound holds for them too.
int ReachableRows(const BitmapHeader& header, const Stream& stream, const ChunkInfo& chunk);

// The BODY data as the row decoders walk it: read in blocks, never further
// than `usefulBytes`, so neither a long chunk nor a sparse file is read whole.
// Whenever more data follows, at least `rowBytes` bytes are at hand, so a row
// decodes as it would from the whole chunk. kBodySlack zero bytes follow the
// data at hand, so that the fast row decoder may read whole blocks near its end.
class BodyReader {
public:
    BodyReader(Stream& stream, const ChunkInfo& chunk, uint64_t usefulBytes, uint64_t rowBytes);
    // Makes at least `rowBytes` bytes available, or all that remain; returns
    // false when none remain.
    bool Refill();
    const uint8_t* begin() const { return buffer_.get() + start_; }
    const uint8_t* end() const { return buffer_.get() + fill_; }
    // The data up to `to` has been used.
    void Consume(const uint8_t* to) { start_ = static_cast<size_t>(to - buffer_.get()); }

private:
    Stream& stream_;
    uint64_t left_;   // bytes of the chunk still to read, within the useful ones
    size_t rowBytes_; // what one row may take
    size_t capacity_; // of the buffer, slack not counted
    std::unique_ptr<uint8_t[]> buffer_;
    size_t start_ = 0; // first byte not used yet
    size_t fill_ = 0;  // end of the data at hand
};

inline constexpr uint64_t kEveryByte = 0x0101010101010101ull;

// Turns every byte equal to 1 into 0, eight at a time: such a byte has only
// bit 0 set, so clearing bit 0 of exactly those bytes zeroes them.
inline uint64_t ClearOnes(uint64_t v) {
    constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    uint64_t y = v ^ kEveryByte;                            // 0 where v was 1
    uint64_t isZero = ~(((y & kLow7) + kLow7) | y | kLow7); // 0x80 where y is 0
    return v & ~(isZero >> 7);
}

inline void CopyClearingOnes(uint8_t* dst, const uint8_t* src, size_t n) {
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t v;
        std::memcpy(&v, src + i, 8);
        v = ClearOnes(v);
        std::memcpy(dst + i, &v, 8);
    }
    for (; i < n; ++i)
        dst[i] = src[i] == 1 ? 0 : src[i];
}

// One run with exact lengths: emits at most width - x pixels at row + x, never
// reads at or past `end`. Returns the pixels emitted (0 when the data ended).
template <ColourOneRule Rule>
inline int DecodeRunExact(const uint8_t*& p, const uint8_t* end, uint8_t* row, int x, int width) {
    int n = static_cast<int8_t>(*p++);
    if (n < 0) {
        if (p == end) return 0;
        uint8_t value = *p++;
        if (value == 1) value = 0; // both rules clear 1 in repeated runs
        int take = std::min(1 - n, width - x);
        std::memset(row + x, value, static_cast<size_t>(take));
        return take;
    }
    size_t available = static_cast<size_t>(end - p);
    size_t count = std::min(static_cast<size_t>(n) + 1, available);
    size_t take = std::min(count, static_cast<size_t>(width - x));
    if constexpr (Rule == ColourOneRule::EveryRun) {
        CopyClearingOnes(row + x, p, take);
    } else {
        std::memcpy(row + x, p, take);
    }
    p += count;
    return static_cast<int>(take);
}

// Decodes one ByteRun1 row into row[0, width). Returns the pixels emitted:
// `width` for a complete row, fewer when the data ran out (the rest of the
// row is untouched). Bytes of a run beyond the width are skipped.
template <ColourOneRule Rule>
inline int DecodeRow(const uint8_t*& src, const uint8_t* end, uint8_t* row, int width) {
    const uint8_t* p = src;
    int x = 0;
    while (x < width && p < end) {
        int emitted = DecodeRunExact<Rule>(p, end, row, x, width);
        if (emitted == 0) break;
        x += emitted;
    }
    src = p;
    return x;
}

// Writes one 16-byte block of a run: the repeated value where `pick` is all
// ones, the literal bytes at `from` otherwise.
template <ColourOneRule Rule>
inline void PutBlock16(uint8_t* to, const uint8_t* from, Vec16 fill, Vec16 pick) {
    Vec16 v;
    std::memcpy(&v, from, 16);
    v = fill | (v & ~pick);
    if constexpr (Rule == ColourOneRule::EveryRun) v &= ~reinterpret_cast<Vec16>(v == 1);
    std::memcpy(to, &v, 16);
}

// Decodes one row that is known to complete: while at least two bytes per
// missing pixel remain, no run can leave the row short (a run either finishes
// the row or takes at most two bytes per pixel it emits). Runs are then written
// in whole 16-byte blocks, repeat or literal chosen without a branch; bytes past
// a run's end are overwritten by the runs that follow. Blocks stay inside the
// row; reads may reach into the buffer's slack.
template <ColourOneRule Rule>
inline void DecodeRowFast(const uint8_t*& src, const uint8_t* end, uint8_t* row, int width) {
    constexpr int kLongestBlocks = 144; // 129 pixels rounded up to whole blocks
    const uint8_t* p = src;
    int x = 0;
    while (x < width) {
        int n = static_cast<int8_t>(*p);
        bool repeat = n < 0;
        int count = repeat ? 1 - n : n + 1;
        uint8_t value = p[1];
        if constexpr (Rule == ColourOneRule::RepeatRuns) value = value == 1 ? 0 : value;
        Vec16 pick = Vec16{} - static_cast<uint8_t>(repeat); // all ones for a repeat run
        Vec16 fill = (Vec16{} + value) & pick;
        if (count <= 32 && x + 32 <= width) { // most runs: two blocks, no loop
            PutBlock16<Rule>(row + x, p + 1, fill, pick);
            PutBlock16<Rule>(row + x + 16, p + 17, fill, pick);
        } else if (x + kLongestBlocks <= width) {
            const uint8_t* from = p + 1;
            const size_t step = repeat ? 0 : 16; // a repeat run reads no further
            for (int i = 0; i < count; i += 16, from += step)
                PutBlock16<Rule>(row + x + i, from, fill, pick);
        } else { // near the row's end: exact lengths
            int emitted = DecodeRunExact<Rule>(p, end, row, x, width);
            if (emitted == 0) break; // cannot happen while the data suffices
            x += emitted;
            continue;
        }
        x += count;
        p += repeat ? 2 : count + 1;
    }
    src = std::min(p, end);
}

// Runs the ByteRun1 rows of a picture: before row y with y % 16 == 15 calls
// `progress`, decodes row y into rowFor(y) and reports rowDone(y, emitted).
// Stops where the data ends, or where rowFor gives no row.
template <ColourOneRule Rule, class RowFor, class RowDone>
void DecodeByteRun1Rows(Stream& stream, const ChunkInfo& chunk, int width, int height,
                        const ProgressCallback& progress, RowFor&& rowFor, RowDone&& rowDone) {
    if (width <= 0) return;
    const uint64_t rowBytes = MaxByteRun1RowBytes(width);
    BodyReader body(stream, chunk, rowBytes * uint64_t(height), rowBytes);
    for (int y = 0; y < height && body.Refill(); ++y) {
        if (y % 16 == 15 && progress) progress();
        uint8_t* row = rowFor(y);
        if (!row) return;
        const uint8_t* src = body.begin();
        const uint8_t* end = body.end();
        int emitted = width;
        if (static_cast<uint64_t>(end - src) >= 2 * static_cast<uint64_t>(width)) {
            DecodeRowFast<Rule>(src, end, row, width);
        } else {
            emitted = DecodeRow<Rule>(src, end, row, width);
        }
        body.Consume(src);
        rowDone(y, emitted);
        if (emitted < width) return;
    }
}

} // namespace formats::pbm_detail
