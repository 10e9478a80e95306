#pragma once
// The ways a block of palette entries (blue, green, red, spare; already in
// the DAC's width) reaches the DAC. Each takes the first DAC index, the
// number of entries, the block and the wait flag (80h: start at the next
// vertical retrace, 0: at once).
#include <cstdint>

namespace vidlib32::palette {

// The DAC ports 3C8h/3C9h.
void ProgramDacPorts(int32_t start, int32_t count, const uint8_t* entries, int32_t waitFlag);

// The BIOS's protected-mode palette entry, run in the emulated processor.
// False when there is no entry, the run fails or the entry refuses (AX not
// 004Fh).
bool CallProtectedModePalette(int32_t start, int32_t count, const uint8_t* entries,
                              int32_t waitFlag);

} // namespace vidlib32::palette
