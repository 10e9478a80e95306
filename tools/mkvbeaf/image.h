// Reference VBE/AF driver images: the assembled driver, with the entries a
// test wants left out or the faults it wants put in.
#pragma once

#include <cstdint>
#include <vector>

namespace mkvbeaf {

enum class Fault {
    None,
    NoTerminator, // no zero byte after "VBEAF.DRV"
    OldVersion,   // Version 0x0090
    InitFails,    // InitDriver does not find its hardware
};

struct ImageOptions {
    bool drawLine = true;
    bool directAccess = true; // EnableDirectAccess and DisableDirectAccess
    bool setBank32 = true;
    Fault fault = Fault::None;
};

// The complete file.
std::vector<uint8_t> BuildImage(const ImageOptions& options);

} // namespace mkvbeaf
