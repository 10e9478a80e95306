#pragma once
// Test support: the demo data set, games on it, and what the monitor should
// show for a frame of the game.
#include "maprun/core/game.h"
#include "maprun/core/render.h"

#include "formats/tests/scratch_dir.h"
#include "pcemu/image.h"
#include "pcemu/machine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace maprun_test {

inline const std::filesystem::path& DemoDir() {
    static const std::filesystem::path dir = [] {
        std::filesystem::path d = testing_support::ScratchDir("zorv_fullscreen_");
        const std::string command = std::string(DEMOGEN_PATH) + " '" + d.string() + "' > /dev/null";
        if (std::system(command.c_str()) != 0) ADD_FAILURE() << "demogen failed";
        return d;
    }();
    return dir;
}

inline std::filesystem::path DemoMap() {
    return DemoDir() / "demo.map";
}

inline std::unique_ptr<maprun::TZorvGame> DemoGame(bool hiRes) {
    return std::make_unique<maprun::TZorvGame>(hiRes, DemoMap().string(), DemoDir());
}

// A colour of the frame as the DAC holds it (six bits a primary unless the
// DAC is eight bits wide), in 0x00RRGGBB as the scanout gives it.
inline uint32_t ThroughDac(const uint8_t* rgb, int dacBits) {
    uint32_t out = 0;
    for (int i = 0; i < 3; ++i) {
        const uint8_t c = dacBits == 8 ? rgb[i] : pcemu::WidenField(rgb[i] >> 2, 6);
        out = out << 8 | c;
    }
    return out;
}

// Whether the scanout shows `frame`, colours through the DAC; colour 0 is
// black when `markerBlack` (the raster marker's last write).
inline ::testing::AssertionResult ShowsFrame(const pcemu::Image& scanout,
                                             const maprun::RenderedFrame& frame, int dacBits,
                                             bool markerBlack) {
    if (scanout.width != frame.Width || scanout.height != frame.Height)
        return ::testing::AssertionFailure()
               << "scanout " << scanout.width << " x " << scanout.height << ", frame "
               << frame.Width << " x " << frame.Height;
    for (int y = 0; y < frame.Height; ++y)
        for (int x = 0; x < frame.Width; ++x) {
            const uint8_t index = frame.Pixels[static_cast<size_t>(y) * frame.Width + x];
            const uint32_t want =
                index == 0 && markerBlack ? 0 : ThroughDac(&frame.Colors[3 * index], dacBits);
            if (scanout.at(x, y) != want)
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") of colour " << int(index) << " shows "
                       << std::hex << scanout.at(x, y) << " instead of " << want;
        }
    return ::testing::AssertionSuccess();
}

} // namespace maprun_test
