#pragma once
// Test support for drawing: modes found by size and depth, the picture a
// test expects (computed here, not by the library), the colours the monitor
// shows for pixel values, and a comparison with the adapter's scanout.
#include "bios_suite.h"
#include "vidlib32/vidlib32.h"

#include "pcemu/font8x16.h"
#include "pcemu/image.h"
#include "pcemu/machine.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vidlib32_test {

inline const SV_DeviceInfo& Device() {
    static SV_DeviceInfo* device = SV_init(0);
    EXPECT_NE(device, nullptr);
    return *device;
}

// The first listed mode of this size and depth whose attributes hold
// `attributes`, or 0.
inline int32_t FindMode(int width, int height, int bits, uint16_t attributes = 0) {
    for (const uint16_t* m = Device().modes; *m != 0xFFFF; ++m) {
        SV_ModeInfo info{};
        if (SV_getModeInfo(*m, &info) && info.xRes == width && info.yRes == height &&
            info.pixelBits == bits && (info.attributes & attributes) == attributes)
            return *m;
    }
    return 0;
}

// For value-parameterised suites, whose instantiation's name is the BIOS's
// tag ("Bochs/Depths"): a run under another BIOS skips them.
inline bool RunsOnBiosOfSuite() {
    static const std::pair<std::string_view, std::string_view> kTags[] = {
        {"Vbe20", "vbe20"},     {"Vbe12", "vbe12"},         {"Pmio", "pmio"},
        {"Bochs", "rom:bochs"}, {"SeaBios", "rom:seabios"},
    };
    std::string_view suite =
        ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name();
    for (const auto& [tag, bios] : kTags)
        if (suite.starts_with(tag)) return Pc().config().bios == bios;
    return true;
}

#define SKIP_UNLESS_ON_INSTANTIATION_BIOS()                                                        \
    if (!vidlib32_test::RunsOnBiosOfSuite())                                                       \
    GTEST_SKIP() << "meant for another BIOS than " << vidlib32_test::Pc().config().bios

// What the screen should show: one pixel value per pixel, drawn by rules
// stated independently of the library's stepping.
class Canvas {
public:
    Canvas(int width, int height, uint32_t value)
        : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, value) {}

    int width() const { return width_; }
    int height() const { return height_; }
    uint32_t at(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

    void pixel(int x, int y, uint32_t value) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_)
            pixels_[static_cast<size_t>(y) * width_ + x] = value;
    }

    // Left to right; along the major axis pixel i lies i * minor / major
    // off the start on the minor axis, rounded half up.
    void line(int x1, int y1, int x2, int y2, uint32_t value) {
        if (x2 < x1) std::swap(x1, x2), std::swap(y1, y2);
        int dx = x2 - x1, dy = std::abs(y2 - y1), sy = y2 >= y1 ? 1 : -1;
        if (dy <= dx) {
            for (int i = 0; i <= dx; ++i)
                pixel(x1 + i, y1 + sy * (dx == 0 ? 0 : (2 * i * dy + dx) / (2 * dx)), value);
        } else {
            for (int j = 0; j <= dy; ++j)
                pixel(x1 + (2 * j * dx + dy) / (2 * dy), y1 + sy * j, value);
        }
    }

    // Set bits of each glyph row in the colour; clear bits leave the pixel.
    void text(int x, int y, std::string_view s, uint32_t value) {
        for (size_t i = 0; i < s.size(); ++i) {
            const uint8_t* glyph = &pcemu::kFont8x16[16 * static_cast<uint8_t>(s[i])];
            for (int row = 0; row < 16; ++row)
                for (int col = 0; col < 8; ++col)
                    if (glyph[row] & (0x80 >> col))
                        pixel(x + 8 * static_cast<int>(i) + col, y + row, value);
        }
    }

private:
    int width_, height_;
    std::vector<uint32_t> pixels_;
};

// RGB (0x00RRGGBB) the monitor shows for a pixel value of the current mode.
class ScreenColours {
public:
    // 16 colours go through the attribute controller: their colours are
    // learned by clearing the screen with each and looking at it.
    static ScreenColours OfCurrentMode() {
        ScreenColours colours(Device().pixelBits);
        if (colours.bits_ == 4) {
            for (uint32_t c = 0; c < 16; ++c) {
                SV_clear(c);
                colours.planar_[c] = Pc().adapter().scanout().at(0, 0);
            }
        }
        return colours;
    }

    uint32_t rgb(uint32_t value) const {
        using pcemu::WidenField;
        switch (bits_) {
        case 4:
            return planar_[value & 15];
        case 8: {
            uint32_t raw = Pc().adapter().dacEntry(static_cast<uint8_t>(value));
            unsigned w = static_cast<unsigned>(Pc().adapter().dacBits());
            return Pack(WidenField(raw >> 16, w), WidenField(raw >> 8, w), WidenField(raw, w));
        }
        case 15:
            return Pack(WidenField(value >> 10, 5), WidenField(value >> 5, 5),
                        WidenField(value, 5));
        case 16:
            return Pack(WidenField(value >> 11, 5), WidenField(value >> 5, 6),
                        WidenField(value, 5));
        default:
            return value & 0xFFFFFF;
        }
    }

    // The bits of a pixel value that a store keeps: the low bytes, a
    // nibble in 16-colour modes.
    uint32_t stored(uint32_t value) const {
        if (bits_ == 4) return value & 0x0F;
        const int bytes = (bits_ + 7) / 8;
        return bytes == 4 ? value : value & ((1u << (8 * bytes)) - 1);
    }

private:
    explicit ScreenColours(int bits) : bits_(bits) {}
    static uint32_t Pack(uint32_t r, uint32_t g, uint32_t b) { return r << 16 | g << 8 | b; }
    int bits_;
    std::array<uint32_t, 16> planar_{};
};

// The scanout shows the canvas, pixel for pixel.
inline ::testing::AssertionResult ScreenShows(const Canvas& canvas, const ScreenColours& colours) {
    pcemu::Image image = Pc().adapter().scanout();
    if (image.width != canvas.width() || image.height != canvas.height())
        return ::testing::AssertionFailure() << "scanout is " << image.width << "x" << image.height;
    int wrong = 0;
    std::string where;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            uint32_t want = colours.rgb(canvas.at(x, y));
            if (image.at(x, y) == want) continue;
            if (++wrong <= 5)
                where += " (" + std::to_string(x) + "," + std::to_string(y) + ") shows " +
                         std::to_string(image.at(x, y)) + " not " + std::to_string(want) + ";";
        }
    if (wrong == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << wrong << " pixels differ:" << where;
}

} // namespace vidlib32_test
