#pragma once
// Indexed-colour PNG files: one byte per pixel holding a palette index.
#include "formats/stream.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace maptool {

struct IndexedPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels; // width x height indices, row after row
    std::vector<uint8_t> rgb;    // red, green, blue per palette entry
    int Colours() const { return static_cast<int>(rgb.size() / 3); }
};

// Reads a palette PNG of bit depth 1, 2, 4 or 8, unpacked to one byte per pixel.
// Anything else (grey, RGB, damaged files, pictures larger than a PBM file may
// hold) raises Failure; no colours are converted or reduced.
IndexedPicture ReadIndexedPng(const std::filesystem::path& file);
// The same from a stream; `name` is what messages call it.
IndexedPicture ReadIndexedPng(formats::Stream& stream, const std::string& name);

// Writes an 8-bit palette PNG with as many PLTE entries as `picture.rgb` holds
// (1 to 256). Raises Failure; the previous file stays until the new one is
// complete, and outputs that are not regular files are refused.
void WriteIndexedPng(const std::filesystem::path& file, const IndexedPicture& picture);

} // namespace maptool
