#include "png_test_util.h"

#include <png.h>

#include <cstdio>

namespace {

bool WriteRows(png_structp png, png_infop info, std::FILE* file, int width, int height,
               int colourType, int bitDepth, png_bytepp rows, png_colorp palette, int colours,
               bool interlaced) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), bitDepth, colourType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (colours) png_set_PLTE(png, info, palette, colours);
    png_write_info(png, info);
    if (bitDepth < 8) png_set_packing(png);
    if (interlaced) png_set_interlace_handling(png);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

} // namespace

bool WriteTestPng(const std::string& file, int width, int height, int colourType, int bitDepth,
                  const std::vector<uint8_t>& samples, const std::vector<uint8_t>& rgb,
                  bool interlaced) {
    int channels = colourType == PNG_COLOR_TYPE_RGB ? 3 : 1;
    std::vector<uint8_t> copy = samples;
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        rows[size_t(y)] = copy.data() + size_t(y) * width * channels;
    std::vector<png_color> palette;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3)
        palette.push_back({rgb[i], rgb[i + 1], rgb[i + 2]});

    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = info && WriteRows(png, info, out, width, height, colourType, bitDepth, rows.data(),
                                palette.data(), int(palette.size()), interlaced);
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return std::fclose(out) == 0 && ok;
}
