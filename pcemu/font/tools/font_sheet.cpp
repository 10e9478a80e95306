// pcemu_font_sheet OUT.pgm [SCALE]: draws all 256 glyphs as a 16 x 16 grid (glyph g in row
// g / 16, column g % 16), black ink on white with grey gaps between cells, each pixel
// enlarged SCALE times (1-16, default 4), and writes it as a binary PGM picture.
#include "pcemu/font8x16.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kCellWidth = 8, kCellHeight = 16, kGap = 1, kGrid = 16;
constexpr unsigned char kInk = 0, kPaper = 255, kGapShade = 160;

std::vector<unsigned char> drawSheet(int& width, int& height) {
    width = kGrid * (kCellWidth + kGap) + kGap;
    height = kGrid * (kCellHeight + kGap) + kGap;
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height, kGapShade);
    for (int glyph = 0; glyph < 256; ++glyph) {
        const int left = kGap + (glyph % kGrid) * (kCellWidth + kGap);
        const int top = kGap + (glyph / kGrid) * (kCellHeight + kGap);
        for (int row = 0; row < kCellHeight; ++row) {
            const uint8_t bits = pcemu::kFont8x16[glyph * kCellHeight + row];
            for (int column = 0; column < kCellWidth; ++column)
                pixels[static_cast<size_t>(top + row) * width + left + column] =
                    (bits & (0x80 >> column)) ? kInk : kPaper;
        }
    }
    return pixels;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s OUT.pgm [SCALE]\n", argv[0]);
        return 2;
    }
    const int scale = argc == 3 ? std::atoi(argv[2]) : 4;
    if (scale < 1 || scale > 16) {
        std::fprintf(stderr, "SCALE must be 1 to 16\n");
        return 2;
    }
    int width = 0, height = 0;
    const std::vector<unsigned char> sheet = drawSheet(width, height);

    std::ofstream out(argv[1], std::ios::binary);
    out << "P5\n" << width * scale << ' ' << height * scale << "\n255\n";
    std::string line(static_cast<size_t>(width) * scale, '\0');
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            line.replace(static_cast<size_t>(x) * scale, scale, scale,
                         static_cast<char>(sheet[static_cast<size_t>(y) * width + x]));
        for (int copy = 0; copy < scale; ++copy)
            out.write(line.data(), line.size());
    }
    out.close();
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
