// svgatest info: the device record after SV_init (with --accel: SV_init(1),
// on a VBE/AF driver when one is found), and every listed mode as
// SV_getModeInfo and SV_getModeName describe it, as one JSON object.
#include "command.h"
#include "vidlib32/vidlib32.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <iostream>

namespace svgatest {
namespace {

using json = nlohmann::ordered_json;

constexpr uint16_t kListEnd = 0xFFFF;
constexpr size_t kNameRoom = 80;

json ModeName(const SV_ModeInfo& info, int32_t useLinear) {
    char name[kNameRoom] = {};
    if (!SV_getModeName(name, &info, info.mode, useLinear)) return nullptr;
    return name;
}

json DescribeMode(uint16_t mode) {
    SV_ModeInfo info = {};
    if (!SV_getModeInfo(mode, &info)) return {{"mode", mode}, {"name", nullptr}};
    return {
        {"mode", info.mode},
        {"attributes", info.attributes},
        {"xRes", info.xRes},
        {"yRes", info.yRes},
        {"lineBytes", info.lineBytes},
        {"pixelBits", info.pixelBits},
        {"pages", info.pages},
        {"redSize", info.redSize},
        {"redPos", info.redPos},
        {"greenSize", info.greenSize},
        {"greenPos", info.greenPos},
        {"blueSize", info.blueSize},
        {"bluePos", info.bluePos},
        {"rsvdSize", info.rsvdSize},
        {"rsvdPos", info.rsvdPos},
        {"name", ModeName(info, 1)},
        {"nameBanked", ModeName(info, 0)},
    };
}

json DescribeDevice(const SV_DeviceInfo& device) {
    json modes = json::array();
    json modeInfo = json::array();
    for (const uint16_t* mode = device.modes; mode && *mode != kListEnd; ++mode) {
        modes.push_back(*mode);
        modeInfo.push_back(DescribeMode(*mode));
    }
    return {
        {"version", device.version},
        {"memoryKB", device.memoryKB},
        {"oemName", device.oemName ? json(device.oemName) : json(nullptr)},
        {"linearBase", device.linearBase},
        {"modes", modes},
        {"canVirtualize", device.canVirtualize},
        {"hasMultiBuffer", device.hasMultiBuffer},
        {"hasVirtualScroll", device.hasVirtualScroll},
        {"hasWideDac", device.hasWideDac},
        {"hasAccel2D", device.hasAccel2D},
        {"hasHwCursor", device.hasHwCursor},
        {"modeInfo", modeInfo},
    };
}

int RunInfo(const Arguments& arguments) {
    if (!arguments.positional.empty())
        return Fail("info takes no argument but --bios and --vram, not " +
                    arguments.positional.front());
    const SV_DeviceInfo* device = SV_init(arguments.accel ? 1 : 0);
    const json out = device ? DescribeDevice(*device) : json{{"device", nullptr}};
    // The OEM name comes from the BIOS: bytes that are no UTF-8 are replaced.
    std::cout << out.dump(2, ' ', false, json::error_handler_t::replace) << '\n';
    return 0;
}

const RegisterCommand kInfo{"info", "info [--bios NAME] [--vram KB] [--accel]", RunInfo};

} // namespace
} // namespace svgatest
