// Text-mode work: fonts into plane 2, clearing the character cells, and
// changing the character height (function 11h).
#pragma once

#include "bios/model/adapter_io.h"

#include <cstdint>
#include <span>

namespace pcemu::model {

// Writes 256 glyphs of `height` rows into font block `block` (0-7) of
// plane 2, through the sequencer and graphics controller, and puts the
// text-mode access back afterwards.
void LoadFont(AdapterIo& io, std::span<const uint8_t> glyphs, unsigned height, unsigned block);

// Every cell of B8000h-BFFFFh becomes a blank, light grey on black.
void ClearText(AdapterIo& io);

// Programs the CRTC for characters `height` lines high (maximum scan line
// and cursor) and sets the rows, character height and page size of the
// BIOS data area from the displayed lines.
void SetCharacterHeight(AdapterIo& io, unsigned height);

} // namespace pcemu::model
