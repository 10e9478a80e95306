#include "bios/model/rom_image.h"

#include "bios/model/fonts.h"
#include "bios/model/mode_offer.h"
#include "bios/model/x86_code.h"

#include <array>
#include <span>
#include <string>

namespace pcemu::model {
namespace {

class RomWriter {
public:
    uint16_t here() const { return static_cast<uint16_t>(bytes.size()); }
    void align(size_t unit) {
        while (bytes.size() % unit)
            bytes.push_back(0);
    }
    uint16_t put(std::span<const uint8_t> data) {
        uint16_t at = here();
        bytes.insert(bytes.end(), data.begin(), data.end());
        return at;
    }
    uint16_t putString(const std::string& s) {
        uint16_t at = here();
        bytes.insert(bytes.end(), s.begin(), s.end());
        bytes.push_back(0);
        return at;
    }
    void put16(uint16_t v) {
        bytes.push_back(static_cast<uint8_t>(v));
        bytes.push_back(static_cast<uint8_t>(v >> 8));
    }

    std::vector<uint8_t> bytes;
};

std::span<const uint8_t> PmTableCode(const Personality& p) {
    switch (p.pmTable) {
    case PmTableKind::Ports:
        return p.dualWindows ? x86_code::kPmTableDual : x86_code::kPmTablePorts;
    case PmTableKind::Mmio:
        return x86_code::kPmTableMmio;
    case PmTableKind::Fbad:
        return x86_code::kPmTableFbad;
    case PmTableKind::None:
        break;
    }
    return {};
}

} // namespace

RomImage BuildRomImage(const Personality& p, uint32_t vramBytes) {
    RomWriter rom;
    RomLayout layout;
    // Option ROM header: signature, size (filled in last), and an init entry
    // that only returns (the host installs this BIOS).
    constexpr std::array<uint8_t, 4> kHeader = {0x55, 0xAA, 0x00, 0xCB};
    rom.put(kHeader);
    rom.align(16);
    layout.winFunc = rom.put(p.dualWindows ? x86_code::kWinFuncDual : x86_code::kWinFunc);

    layout.oemString = rom.putString("Zorv pcemu model VBE BIOS (" + std::string(p.name) + ")");
    if (p.isVbe2()) {
        if (p.vendorStrings) layout.vendorName = rom.putString("Zorv");
        layout.productName = rom.putString("pcemu model SVGA");
        layout.productRev = rom.putString("Revision 1.0");
    }
    rom.align(2);
    layout.modeList = rom.here();
    for (uint16_t mode : ModeList(p, vramBytes))
        rom.put16(mode);
    rom.put16(0xFFFF);

    if (std::span<const uint8_t> table = PmTableCode(p); !table.empty()) {
        rom.align(16);
        layout.pmTable = rom.put(table);
        layout.pmTableLength = static_cast<uint16_t>(table.size());
    }

    rom.align(16);
    layout.font8x16 = rom.put(Font8x16());
    layout.font8x14 = rom.put(Font8x14());
    layout.font8x8 = rom.put(Font8x8());
    constexpr std::array<uint8_t, 1> kEmptyList = {0x00};
    layout.alternateFonts = rom.put(kEmptyList);

    rom.bytes.push_back(0); // checksum
    rom.align(512);
    rom.bytes[2] = static_cast<uint8_t>(rom.bytes.size() / 512);
    uint8_t sum = 0;
    for (uint8_t b : rom.bytes)
        sum = static_cast<uint8_t>(sum + b);
    rom.bytes.back() = static_cast<uint8_t>(-sum);
    return {std::move(rom.bytes), layout};
}

} // namespace pcemu::model
