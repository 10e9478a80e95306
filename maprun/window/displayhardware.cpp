#include "maprun/window/displayhardware.h"

namespace maprun {

DeviceLabelTexts DeviceLabels(const VbeDeviceSummary* info) {
    if (!info)
        return {"No VBE hardware found", "Fullscreen needs a VBE display", "Video memory: none"};
    return {"VBE Version " + std::to_string((info->version >> 8) & 0xFF) + "." +
                std::to_string(info->version & 0xFF),
            info->oem, "Video memory " + std::to_string(info->memoryKB) + "k"};
}

} // namespace maprun
