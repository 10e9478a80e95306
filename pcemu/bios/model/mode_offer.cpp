#include "bios/model/mode_offer.h"

namespace pcemu::model {

bool Offers(const Personality& p, const ModeSpec& mode) {
    return !mode.linearOnly || p.linearBuffer;
}

bool Supports(const Personality& p, const ModeSpec& mode, uint32_t vramBytes) {
    return Offers(p, mode) && Fits(mode, vramBytes);
}

std::vector<uint16_t> ModeList(const Personality& p, uint32_t vramBytes) {
    std::vector<uint16_t> list;
    for (const ModeSpec& mode : AllModes()) {
        bool listed = p.listsUnfitting ? Offers(p, mode) : Supports(p, mode, vramBytes);
        if (listed) list.push_back(mode.number);
    }
    return list;
}

} // namespace pcemu::model
