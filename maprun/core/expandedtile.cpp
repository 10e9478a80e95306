#include "maprun/core/expandedtile.h"

#include "maprun/core/sprite.h"

#include <cstring>

namespace maprun {

std::unique_ptr<TExpandedTile> ExpandTile(const uint8_t* record) {
    constexpr int kSide = TExpandedTile::kSide;
    if (!record || SpriteWidth(record) != kSide || SpriteHeight(record) != kSide ||
        SpriteHotspotX(record) != 0 || SpriteHotspotY(record) != 0)
        return nullptr;
    auto tile = std::make_unique<TExpandedTile>();
    tile->firstRow = kSide;
    const uint8_t* row = FirstSpriteRow(record);
    for (int r = 0; r < kSide; ++r, row += ReadLE32(row)) {
        uint8_t* pixels = tile->bytes + TExpandedTile::kPad + r * TExpandedTile::kRowBytes;
        uint8_t* mask = pixels + kSide;
        const uint8_t* span = row + kRowHeaderSize;
        for (int column = 0;;) {
            const int32_t skip = ReadLE32(span), count = ReadLE32(span + 4);
            if (count == 0) break;
            if (skip < 0 || count < 0 || skip > kSide - column || count > kSide - column - skip)
                return nullptr; // not a record MakeSprite made
            column += skip;
            std::memcpy(pixels + column, span + kSpanHeaderSize, size_t(count));
            std::memset(mask + column, 0xFF, size_t(count));
            column += count;
            span += kSpanHeaderSize + ((count + 3) & ~3);
            if (tile->firstRow == kSide) tile->firstRow = r;
            tile->endRow = r + 1;
        }
    }
    if (tile->firstRow == kSide) tile->firstRow = 0; // draws nothing
    tile->opaque = IsPlainBlock(record);
    tile->shaded = GetSpriteKind(record) == SpriteKind::Shaded;
    return tile;
}

} // namespace maprun
