#pragma once
// Showing a map cell smaller than its 32 x 32 pixels without composing all of
// them: each target pixel is composed from the tile pictures at the one source
// position that stretching the whole composed cell would show there.
#include "mapedit/core/dibsurface.h"
#include "mapedit/core/geometry.h"
#include "mapedit/core/tilecollection.h"

#include <array>
#include <cstdint>

namespace mapedit {

// The tile pictures stacked in one cell, kTileSize x kTileSize pixels each with
// rows kTileSize apart.
struct CellPictures {
    const uint8_t* background = nullptr;      // drawn opaque; null leaves colour 0
    std::array<const uint8_t*, 3> overlays{}; // drawn transparent in this order; null: none
    bool shade = false;                       // overlays shade with colours 1 to 15
};

// True when `source` lies inside a cell and `dest` has fewer pixels, so that
// DrawReducedCell does less work than composing the whole cell.
bool IsReduced(const PixelRect& source, const PixelRect& dest);

// Shows `source` of the composed cell stretched onto `dest` of the target
// (nearest pixel), clipped to the target, exactly as TDIB::DrawPart shows the
// composed cell. Draws nothing unless IsReduced(source, dest).
void DrawReducedCell(const CellPictures& cell, const PixelRect& source, RgbTarget& target,
                     const PixelRect& dest, const std::array<uint32_t, 256>& rgb32);

} // namespace mapedit
