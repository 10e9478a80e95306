#pragma once
// The tile attribute catalogue: the 25 game attributes a cell can carry, each
// with its code, labels, the meaning of its argument, its current argument and
// up to ten preset argument buttons.
#include <array>
#include <cstdint>
#include <string>

namespace mapedit {

inline constexpr int kAttrCount = 25;
inline constexpr int kPresetCount = 10;

struct TAttrInfo {
    std::string Name;
    std::string ShortName;
    uint8_t Code = 0;
    std::string ArgText;
    int32_t Arg = 0;
    // Names of the preset button pictures; nullptr hides the button.
    std::array<const char*, kPresetCount> PresetGlyph{};
    std::array<int32_t, kPresetCount> PresetValue{};
};

// Colours are 0x00BBGGRR.
inline constexpr uint32_t kInitialAttrAColor = 0x00FFFF00; // aqua
inline constexpr uint32_t kInitialAttrBColor = 0x0000FFFF; // yellow

// One editor's catalogue. The Arg fields change in place for the whole run, so
// coming back to an attribute brings its last argument back.
class TAttrCatalogue {
public:
    TAttrCatalogue();

    std::array<TAttrInfo, kAttrCount> AttrTable;
    // The current attribute before the user picks one: code 0, no presets.
    TAttrInfo BlankAttr;

    // The last entry whose Code equals code, or nullptr (always for code 0).
    const TAttrInfo* FindAttr(uint8_t code) const;
};

// The labels printed into a map cell for its layer-5 value: the short name of
// attribute A (low byte) or B (high byte); empty when the code names no entry.
std::string AttrLabelA(const TAttrCatalogue& catalogue, uint16_t value);
std::string AttrLabelB(const TAttrCatalogue& catalogue, uint16_t value);

} // namespace mapedit
