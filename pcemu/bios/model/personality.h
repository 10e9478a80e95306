// Personalities of the model BIOS: which VBE version it reports and which
// of the standard's options it takes (windows, linear buffer, protected-mode
// table, DAC width, how it describes modes).
#pragma once

#include <cstdint>
#include <string_view>

namespace pcemu::model {

enum class PmTableKind {
    None,  // function 0Ah fails (not supported before VBE 2.0, else 014Fh)
    Ports, // routines on ports 1CEh/1CFh; port list only
    Mmio,  // routines on the memory-mapped registers at ES; port and memory list
    Fbad,  // as Ports, with 0FBADFBADh and the window code's length + 1 at offsets 8 and 12
};

struct Personality {
    std::string_view name;
    uint16_t vbeVersion;    // BCD (0200h = 2.0); 0 = no VBE: AX=4F00h fails
    bool vendorStrings;     // OemVendorNamePtr and the other 2.0 strings are set
    uint16_t granularityKB; // window granularity
    bool dualWindows;       // window A reads, window B writes, both at A000h
    bool linearBuffer;      // linear frame buffer at PhysBasePtr
    PmTableKind pmTable;
    bool wideDac;          // Capabilities bit 0: the DAC can switch to 8 bits
    bool countsPages;      // NumberOfImagePages computed, else reported as 0
    bool hicolorAsPacked;  // 15/16/24-bit modes: MemoryModel 4 without masks
    bool fifteenAsSixteen; // 15-bit modes: BitsPerPixel 16 with a 1-bit reserved field
    bool listsUnfitting;   // modes too large for video memory are listed, as unsupported

    bool hasVbe() const { return vbeVersion != 0; }
    bool isVbe2() const { return vbeVersion >= 0x0200; }
};

// Null for a name that is no personality.
const Personality* FindPersonality(std::string_view name);

} // namespace pcemu::model
