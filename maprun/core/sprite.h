#pragma once
// Run-length sprite records. A record is one block of memory: a header, then one
// row record per row whose spans skip transparent pixels and carry opaque runs
// padded to 4 bytes, so that drawing copies whole words and skips gaps with one
// addition. All numbers in a record are 32-bit little-endian.
//
//   header (20 bytes): width, height, hotspot x, hotspot y, kind byte, 3 zero bytes
//   row (repeated height times): row size, first x, last x, spans...
//   span: skip, count, count pixel bytes rounded up to a multiple of 4;
//         the span (0, 0) ends the row.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>

namespace formats {
class TPBMImage;
}

namespace maprun {

enum class SpriteKind : uint8_t {
    Transparent = 0, // has transparent pixels
    Shaded = 1,      // has pixels of value 2 to 15, which shade what lies under them
    Solid = 2,       // no pixel of value 0
};

inline constexpr size_t kSpriteHeaderSize = 20;
inline constexpr size_t kRowHeaderSize = 12;
inline constexpr size_t kSpanHeaderSize = 8;

// An owned sprite record; nullptr stands for a sprite with nothing to draw.
using SpriteRecord = std::unique_ptr<uint8_t[]>;

// A rectangle whose four edges are all inclusive.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

inline int32_t ReadLE32(const uint8_t* p) {
    return static_cast<int32_t>(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                                uint32_t(p[3]) << 24);
}

inline int32_t SpriteWidth(const uint8_t* sprite) {
    return ReadLE32(sprite);
}
inline int32_t SpriteHeight(const uint8_t* sprite) {
    return ReadLE32(sprite + 4);
}
inline int32_t SpriteHotspotX(const uint8_t* sprite) {
    return ReadLE32(sprite + 8);
}
inline int32_t SpriteHotspotY(const uint8_t* sprite) {
    return ReadLE32(sprite + 12);
}
inline SpriteKind GetSpriteKind(const uint8_t* sprite) {
    return static_cast<SpriteKind>(sprite[16]);
}
inline const uint8_t* FirstSpriteRow(const uint8_t* sprite) {
    return sprite + kSpriteHeaderSize;
}

// Total bytes of a record, found by walking its rows.
size_t SpriteSize(const uint8_t* sprite);

// Bytes from one row record to the next in a record whose every row is one
// opaque run across the whole width.
inline int32_t BlockRowSize(int32_t width) {
    return static_cast<int32_t>(kRowHeaderSize + 2 * kSpanHeaderSize) + ((width + 3) & ~3);
}
// True when the record copies its pixels (not shaded) and every row is one
// opaque run across the whole width (a tile without transparent pixels): its rows are then equally
// spaced and can be drawn as a plain block without walking the spans.
bool IsPlainBlock(const uint8_t* sprite);

// Rectangles wider or taller than this are not encoded (MakeSprite gives nil).
inline constexpr int kMaxSpriteSide = 65536;

// Encodes a rectangle of the image (pixels outside the image read as 0; a 1
// counts as transparent). Returns nil when every pixel is 0 or the rectangle is
// empty. The encoding grows its buffer as needed, whatever the size.
SpriteRecord MakeSprite(const formats::TPBMImage& image, const TRect& rect);

// The whole picture of a PBM file as one record (nil when all of it is 0).
// Errors of opening and decoding pass to the caller.
SpriteRecord LoadSprite(const std::filesystem::path& fileName);

} // namespace maprun
