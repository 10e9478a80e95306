#pragma once
// What the text mode left behind was, so that SV_restoreMode brings it back.
#include <cstdint>

namespace vidlib32 {

// Run before a mode set with the mode number asked for: when the mode now
// set is another one and a text mode (3 or below), notes whether it shows
// 50 lines (the 8 x 8 font in mode 3).
void NoteTextModeLeft(int32_t requested, int32_t currentMode);

} // namespace vidlib32
