#include "pcemu/config.h"

#include <array>
#include <charconv>
#include <cstdlib>
#include <string_view>

namespace pcemu {
namespace {

constexpr std::array<std::string_view, 9> kModelNames = {"vbe20",    "vbe12",   "vbe20-novendor",
                                                         "gran4k",   "dualwin", "pmio",
                                                         "fbadfbad", "novbe",   "dualwin-nopm"};
constexpr std::array<std::string_view, 4> kRomNames = {"rom:bochs", "rom:seabios", "rom:isavga",
                                                       "rom:cirrus"};
constexpr uint32_t kMinVramKB = 256;
constexpr uint32_t kMaxVramKB = 262144;

template <size_t N>
bool Contains(const std::array<std::string_view, N>& names, const std::string& n) {
    for (auto name : names)
        if (name == n) return true;
    return false;
}

} // namespace

bool IsRomBiosName(const std::string& name) {
    return Contains(kRomNames, name);
}
bool IsModelBiosName(const std::string& name) {
    return Contains(kModelNames, name);
}

MachineConfig MachineConfig::FromEnvironment() {
    MachineConfig config;
    if (const char* bios = std::getenv("PCEMU_BIOS"); bios && *bios) config.bios = bios;
    if (const char* vram = std::getenv("PCEMU_VRAM_KB"); vram && *vram) {
        std::string_view text(vram);
        uint32_t kb = 0;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), kb);
        if (ec != std::errc() || end != text.data() + text.size())
            config.error = "PCEMU_VRAM_KB is not a number: " + std::string(text);
        else
            config.vramKB = kb;
    }
    return config;
}

uint32_t MachineConfig::vramBytes() const {
    uint32_t kb = vramKB;
    if (kb == 0) {
        if (IsRomBiosName(bios) || bios == "none")
            kb = 16384;
        else if (bios == "vbe12")
            kb = 1024;
        else
            kb = 4096;
    }
    return kb * 1024;
}

std::string MachineConfig::check() const {
    if (!error.empty()) return error;
    if (!IsRomBiosName(bios) && !IsModelBiosName(bios) && bios != "none")
        return "unknown BIOS '" + bios +
               "' (vbe20, vbe12, vbe20-novendor, gran4k, dualwin, pmio, fbadfbad, novbe, "
               "dualwin-nopm, "
               "rom:bochs, rom:seabios, rom:isavga, rom:cirrus, none)";
    if (vramKB != 0 && (vramKB < kMinVramKB || vramKB > kMaxVramKB || vramKB % 64 != 0))
        return "video memory of " + std::to_string(vramKB) +
               " KB: it must be a multiple of 64 from 256 to 262144";
    if (instructionBound == 0) return "the instruction bound must be above 0";
    return {};
}

} // namespace pcemu
