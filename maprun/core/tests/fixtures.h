#pragma once
// Test pictures, frames and files built in code.
#include "formats/pbm.h"
#include "maprun/core/framebuffer.h"

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace maprun::test {

inline formats::TPBMImage MakeImage(int width, int height, std::vector<uint8_t> pixels) {
    formats::TPBMImage image;
    image.Bmhd.w = static_cast<uint16_t>(width);
    image.Bmhd.h = static_cast<uint16_t>(height);
    pixels.resize(static_cast<size_t>(width) * height, 0);
    image.Pixels = std::move(pixels);
    return image;
}

inline formats::TPBMImage FilledImage(int width, int height, uint8_t colour) {
    return MakeImage(width, height, std::vector<uint8_t>(size_t(width) * height, colour));
}

// Pixels drawn from `values` at random, so runs, gaps and both kinds of pixel mix.
inline formats::TPBMImage RandomImage(int width, int height, std::mt19937& rng,
                                      const std::vector<uint8_t>& values) {
    std::uniform_int_distribution<size_t> pick(0, values.size() - 1);
    std::vector<uint8_t> pixels(size_t(width) * height);
    for (uint8_t& p : pixels)
        p = values[pick(rng)];
    return MakeImage(width, height, std::move(pixels));
}

// The frame's pixels top row first.
inline std::vector<uint8_t> FramePixels(const TFrameBuffer& frame) {
    std::vector<uint8_t> out;
    for (int y = 0; y < frame.Height(); ++y)
        for (int x = 0; x < frame.Width(); ++x)
            out.push_back(frame.GetPixel(x, y));
    return out;
}

// Empty when the two pictures agree, else where they first differ (keeps
// failure messages short).
inline std::string FrameDifference(const std::vector<uint8_t>& got,
                                   const std::vector<uint8_t>& want, int width) {
    if (got.size() != want.size()) return "sizes differ";
    size_t count = 0, first = 0;
    for (size_t i = 0; i < got.size(); ++i)
        if (got[i] != want[i] && count++ == 0) first = i;
    if (count == 0) return {};
    return std::to_string(count) + " pixels differ, first at (" + std::to_string(first % width) +
           ", " + std::to_string(first / width) + "): got " + std::to_string(got[first]) +
           ", want " + std::to_string(want[first]);
}

inline void FillFrame(TFrameBuffer& frame, uint8_t colour) {
    frame.FillRect(TClipRect{0, 0, frame.Width(), frame.Height()}, colour);
}

// A fresh directory under the system's temporary folder, removed afterwards.
class TempDir {
public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("maprun-core-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

// A PBM picture with a grey ramp palette (colour i = i, i, i).
inline void WritePicture(const std::filesystem::path& path, const formats::TPBMImage& image) {
    std::filesystem::create_directories(path.parent_path());
    std::vector<uint8_t> rgb(768);
    for (int i = 0; i < 768; ++i)
        rgb[i] = static_cast<uint8_t>(i / 3);
    formats::WritePbmFile(path, image.Width(), image.Height(), image.Pixels.data(), rgb.data(), 256,
                          true);
}

} // namespace maprun::test
