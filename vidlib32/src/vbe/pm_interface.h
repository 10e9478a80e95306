#pragma once
// The copy of the BIOS's protected-mode interface table (function 0Ah), in
// guest memory where its routines run in place.
#include <cstdint>

namespace vidlib32 {

struct PmTableView {
    const uint8_t* bytes = nullptr; // null: no copy
    uint32_t length = 0;
};

// The copy, loaded from the BIOS first when the detected version is 2.0 or
// later and none is held.
PmTableView PmInterface();

} // namespace vidlib32
