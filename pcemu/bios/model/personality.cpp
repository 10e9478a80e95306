#include "bios/model/personality.h"

#include <array>

namespace pcemu::model {
namespace {

constexpr Personality kVbe20{
    .name = "vbe20",
    .vbeVersion = 0x0200,
    .vendorStrings = true,
    .granularityKB = 64,
    .dualWindows = false,
    .linearBuffer = true,
    .pmTable = PmTableKind::Ports,
    .wideDac = true,
    .countsPages = true,
    .hicolorAsPacked = false,
    .fifteenAsSixteen = false,
    .listsUnfitting = false,
};

constexpr Personality Variant(Personality p, std::string_view name) {
    p.name = name;
    return p;
}

constexpr Personality Vbe12() {
    Personality p = Variant(kVbe20, "vbe12");
    p.vbeVersion = 0x0102;
    p.vendorStrings = false;
    p.linearBuffer = false;
    p.pmTable = PmTableKind::None;
    p.wideDac = false;
    p.countsPages = false;
    p.hicolorAsPacked = true;
    p.listsUnfitting = true;
    return p;
}

constexpr Personality NoVendor() {
    Personality p = Variant(kVbe20, "vbe20-novendor");
    p.vendorStrings = false;
    p.fifteenAsSixteen = true;
    return p;
}

constexpr Personality Gran4k() {
    Personality p = Variant(kVbe20, "gran4k");
    p.granularityKB = 4;
    return p;
}

constexpr Personality DualWin() {
    Personality p = Variant(kVbe20, "dualwin");
    p.dualWindows = true;
    return p;
}

constexpr Personality PmIo() {
    Personality p = Variant(kVbe20, "pmio");
    p.pmTable = PmTableKind::Mmio;
    return p;
}

constexpr Personality FbadFbad() {
    Personality p = Variant(kVbe20, "fbadfbad");
    p.pmTable = PmTableKind::Fbad;
    return p;
}

constexpr Personality NoVbe() {
    Personality p = Variant(kVbe20, "novbe");
    p.vbeVersion = 0;
    p.pmTable = PmTableKind::None;
    return p;
}

constexpr Personality DualWinNoPm() {
    Personality p = Variant(DualWin(), "dualwin-nopm");
    p.pmTable = PmTableKind::None;
    return p;
}

constexpr std::array<Personality, 9> kPersonalities = {
    kVbe20, Vbe12(), NoVendor(), Gran4k(), DualWin(), PmIo(), FbadFbad(), NoVbe(), DualWinNoPm()};

} // namespace

const Personality* FindPersonality(std::string_view name) {
    for (const Personality& p : kPersonalities)
        if (p.name == name) return &p;
    return nullptr;
}

} // namespace pcemu::model
