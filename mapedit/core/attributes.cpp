#include "mapedit/core/attributes.h"

#include <initializer_list>
#include <utility>

namespace mapedit {

namespace {

using Preset = std::pair<const char*, int32_t>;

TAttrInfo Entry(const char* name, const char* shortName, uint8_t code, const char* argText,
                std::initializer_list<Preset> presets = {}) {
    TAttrInfo info;
    info.Name = name;
    info.ShortName = shortName;
    info.Code = code;
    info.ArgText = argText;
    int k = 0;
    for (const Preset& p : presets) {
        info.PresetGlyph[k] = p.first;
        info.PresetValue[k] = p.second;
        ++k;
    }
    return info;
}

const std::initializer_list<Preset> kDownArrows = {{"ArrowDownLeft", 0}, {"ArrowDownRight", 1}};
const std::initializer_list<Preset> kUpArrows = {{"ArrowUpLeft", 0}, {"ArrowUpRight", 1}};

} // namespace

TAttrCatalogue::TAttrCatalogue()
    : AttrTable{
          Entry("Floor", "Floor", 1, "Shootable"),
          Entry("Door (Switchable)", "Door S", 2, ""),
          Entry("Door (Active on Pass)", "Door P", 3, ""),
          Entry("Switch", "Switch", 4, ""),
          Entry("Switch (active on pass)", "Swtch P", 5, ""),
          Entry("Wall", "Wall", 20, ""),
          Entry("Rail Down", "Rail", 6, "Left=0 Right=1", kDownArrows),
          Entry("Stairs Down", "Stair D", 7, "Left=0, Right=1", kDownArrows),
          Entry("Stairs Up", "Stair U", 8, "Left=0, Right=1", kUpArrows),
          Entry("Ladder Down", "Ladr D", 9, "Left=0, Right=1", kDownArrows),
          Entry("Ladder Up", "Ladr U", 10, "Left=0, Right=1", kUpArrows),
          Entry("Conveyor Platform", "Convyor", 11, "In Game Variable #",
                {{"Number0", 0},
                 {"Number1", 1},
                 {"Number2", 2},
                 {"Number3", 3},
                 {"Number4", 4},
                 {"Number5", 5},
                 {"Number6", 6},
                 {"Number7", 7},
                 {"Number8", 8},
                 {"Number9", 9}}),
          Entry("Change Stats", "Stats", 21, "Change to "),
          Entry("Console", "Console", 12, "Console Number"),
          Entry("Duct", "Duct", 13, ""),
          Entry("Duct Tee", "Duct T", 14, ""),
          Entry("Rope", "Rope", 15, ""),
          Entry("Verticle Pipe", "V Pipe", 16, ""),
          Entry("PipeOnRoof", "R Pipe", 17, ""),
          Entry("Damage Zone", "Damage", 22, "Amount of damage done",
                {{"Wince0", 1},
                 {"Wince1", 2},
                 {"Wince2", 3},
                 {"Wince3", 4},
                 {"Wince4", 5},
                 {"Smile0", -1},
                 {"Smile1", -2},
                 {"Smile2", -3},
                 {"Smile3", -4},
                 {"Smile4", -5}}),
          Entry("Kill Zone", "Kill", 23, ""),
          Entry("Elevator Shaft", "Shaft", 18, "In game variable #"),
          Entry("Teleport", "Teleport", 19, ""),
          Entry("Water Zone", "Water", 24, "in game variable #"),
          Entry("Play Sound", "Sound", 25, "What Sound"),
      } {}

const TAttrInfo* TAttrCatalogue::FindAttr(uint8_t code) const {
    const TAttrInfo* found = nullptr;
    for (const TAttrInfo& entry : AttrTable)
        if (entry.Code == code) found = &entry;
    return found;
}

std::string AttrLabelA(const TAttrCatalogue& catalogue, uint16_t value) {
    const TAttrInfo* entry = catalogue.FindAttr(static_cast<uint8_t>(value & 0xFF));
    return entry ? entry->ShortName : std::string();
}

std::string AttrLabelB(const TAttrCatalogue& catalogue, uint16_t value) {
    const TAttrInfo* entry = catalogue.FindAttr(static_cast<uint8_t>((value >> 8) & 0xFF));
    return entry ? entry->ShortName : std::string();
}

} // namespace mapedit
