#pragma once
// What the test window learns from the graphics library at start, and the seam
// through which it runs the game fullscreen. Without VBE hardware there is no
// device record and no fullscreen run.
#include <string>

namespace maprun {

class TZorvGame;

struct VbeDeviceSummary {
    int version = 0; // BCD-style: 0x200 is 2.0
    std::string oem; // the adapter's name
    int memoryKB = 0;
};

class FullscreenSupport {
public:
    virtual ~FullscreenSupport() = default;
    // The device record, or nullptr when no VBE hardware was found.
    virtual const VbeDeviceSummary* DeviceInfo() const = 0;
    virtual bool CanRunFullscreen() const = 0;
    // Runs the game fullscreen until the user leaves; returns afterwards.
    virtual void RunFullscreen(TZorvGame& game) = 0;
};

// A display without VBE hardware: no device record, no fullscreen run.
class NoVbeHardware : public FullscreenSupport {
public:
    const VbeDeviceSummary* DeviceInfo() const override { return nullptr; }
    bool CanRunFullscreen() const override { return false; }
    void RunFullscreen(TZorvGame&) override {}
};

struct DeviceLabelTexts {
    std::string vbeVersion, oem, videoMemory;
};
// "VBE Version 2.0", the OEM name, "Video memory 1024k"; a plain notice when
// there is no device record.
DeviceLabelTexts DeviceLabels(const VbeDeviceSummary* info);

} // namespace maprun
