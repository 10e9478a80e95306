#pragma once
// Writes small PNG files of any colour type for the maptool tests.
#include <cstdint>
#include <string>
#include <vector>

// `samples` holds one byte per sample (an index, or red, green, blue per pixel);
// depths below 8 are packed by libpng. `rgb` is the PLTE for palette PNGs.
bool WriteTestPng(const std::string& file, int width, int height, int colourType, int bitDepth,
                  const std::vector<uint8_t>& samples, const std::vector<uint8_t>& rgb = {},
                  bool interlaced = false);
