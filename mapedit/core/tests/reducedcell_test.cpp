#include "fake_ui.h"
#include "mapedit/core/editor.h"
#include "mapedit/core/reducedcell.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

using namespace mapedit;
using mapedit::testing::FakeUi;

namespace {

constexpr uint32_t kUntouched = 0x12345678u;
constexpr int kTargetSize = 40;

// Tiles with holes (0), shades (1 to 15) and plain colours; a small map whose
// cells mix them on all four layers with empty and unknown IDs.
struct ReducedCellFixture : ::testing::Test {
    FakeUi ui;
    TEditor ed{ui};
    std::mt19937 random{5};

    ReducedCellFixture() {
        for (int slot = 1; slot <= 8; ++slot) {
            TDIB tile(kTileSize, kTileSize);
            for (int y = 0; y < kTileSize; ++y)
                for (int x = 0; x < kTileSize; ++x) {
                    const int roll = int(random() % 10);
                    uint8_t colour = uint8_t(16 + random() % 240);
                    if (roll < 3) colour = 0;
                    if (roll >= 3 && roll < 6) colour = uint8_t(1 + random() % 15);
                    tile.SetPixel(x, y, colour);
                }
            tile.SetPixel(0, 0, 0x20); // never blank
            ed.Tiles.SetTile(tile, slot, 100 + slot);
        }
        ed.Tiles.SetId(40, 200); // an ID whose slot never got a picture
        // Every index a colour of its own; colour 0 shows the background.
        uint8_t rgb[768];
        for (int i = 0; i < 256; ++i) {
            rgb[3 * i] = uint8_t(i);
            rgb[3 * i + 1] = uint8_t(255 - i);
            rgb[3 * i + 2] = uint8_t(i ^ 0x5A);
        }
        ed.Colours.SetColours(rgb);
        ed.Colours.SetBackgroundColour(7, 7, 7);
        ed.ResizePlanes(6, 5);
        const uint16_t ids[] = {0, 101, 102, 103, 104, 105, 106, 107, 108, 200, 999};
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x)
                for (int layer = 0; layer < 4; ++layer)
                    ed.Doc.SetCell(layer, x, y, ids[random() % std::size(ids)]);
        ed.Doc.SetCell(kAttributeLayer, 1, 1, 0x0203);
    }

    // What composing the whole cell and stretching it shows.
    std::vector<uint32_t> FullPath(int x, int y, const PixelRect& dest) {
        std::vector<uint32_t> pixels(kTargetSize * kTargetSize, kUntouched);
        RgbTarget target{pixels.data(), kTargetSize, kTargetSize, kTargetSize};
        ed.ComposeCell(x, y);
        ed.CellSurface.DrawPart(target, ed.CellSourceRect, dest, ed.Colours.Rgb32());
        return pixels;
    }

    std::vector<uint32_t> DrawCellPath(int x, int y, const PixelRect& dest) {
        std::vector<uint32_t> pixels(kTargetSize * kTargetSize, kUntouched);
        RgbTarget target{pixels.data(), kTargetSize, kTargetSize, kTargetSize};
        ed.DrawCell(target, x, y, dest);
        return pixels;
    }
};

} // namespace

TEST_F(ReducedCellFixture, ShowsWhatTheWholeCellStretchedShows) {
    // Zoom levels 16 and 8, uneven ratios, a one-pixel cell, non-square cells,
    // and cells cut by every edge of the target (leaving odd rows at 8 too).
    const PixelRect dests[] = {
        {0, 0, 16, 16}, {0, 0, 8, 8},         {3, 2, 4, 3},     {0, 0, 5, 5},
        {1, 1, 13, 21}, {0, 0, 31, 31},       {0, 0, 32, 16},   {-5, -3, 11, 13},
        {-7, 0, 1, 8},  {30, 33, 46, 49},     {35, -6, 51, 10}, {0, 38, 16, 54},
        {-9, 0, 7, 16}, {-30, -30, -14, -14}, {4, 35, 12, 43},  {0, -3, 8, 5}};
    const PixelRect sources[] = {{0, 0, kTileSize, kTileSize}, {3, 5, 29, 30}, {31, 0, 32, 32}};
    int compared = 0;
    for (const PixelRect& source : sources)
        for (int show = 0; show < 16; ++show)
            for (bool shade : {true, false}) {
                ed.CellSourceRect = source;
                ed.Show.DrawBackGround = show & 1;
                ed.Show.DrawCollisions = show & 2;
                ed.Show.DrawMiddleGround = show & 4;
                ed.Show.DrawForeGround = show & 8;
                ed.SetShadeMode(shade);
                for (const PixelRect& dest : dests)
                    for (int y = -1; y <= 5; ++y)
                        for (int x = -1; x <= 6; ++x) {
                            ASSERT_EQ(DrawCellPath(x, y, dest), FullPath(x, y, dest))
                                << "cell " << x << "," << y << " dest " << dest.left << ","
                                << dest.top << "," << dest.right << "," << dest.bottom << " source "
                                << source.left << "," << source.top << " show " << show << " shade "
                                << shade;
                            ++compared;
                        }
            }
    EXPECT_EQ(compared, 3 * 16 * 2 * 16 * 7 * 8);
}

TEST_F(ReducedCellFixture, OnlySmallerCellsBypassTheCellSurface) {
    EXPECT_TRUE(IsReduced({0, 0, 32, 32}, {0, 0, 16, 16}));
    EXPECT_TRUE(IsReduced({0, 0, 32, 32}, {0, 0, 32, 31}));
    EXPECT_FALSE(IsReduced({0, 0, 32, 32}, {0, 0, 32, 32}));
    EXPECT_FALSE(IsReduced({0, 0, 32, 32}, {0, 0, 64, 8})); // wider than the source
    EXPECT_FALSE(IsReduced({-1, 0, 31, 32}, {0, 0, 8, 8})); // not inside the cell
    EXPECT_FALSE(IsReduced({0, 0, 33, 32}, {0, 0, 8, 8}));
    EXPECT_FALSE(IsReduced({0, 0, 32, 32}, {8, 8, 0, 0}));
    EXPECT_FALSE(IsReduced({4, 4, 4, 8}, {0, 0, 1, 1}));

    // A reduced cell leaves the surface as it was; a full-size one composes in it.
    ed.CellSurface.SetPixel(3, 3, 0xEE);
    DrawCellPath(1, 1, {0, 0, 8, 8});
    EXPECT_EQ(ed.CellSurface.Pixel(3, 3), 0xEE);
    DrawCellPath(1, 1, {0, 0, 32, 32});
    ed.ComposeCell(1, 1);
    const uint8_t composed = ed.CellSurface.Pixel(3, 3);
    ed.CellSurface.SetPixel(3, 3, 0xEE);
    DrawCellPath(1, 1, {0, 0, 32, 32});
    EXPECT_EQ(ed.CellSurface.Pixel(3, 3), composed);

    // Asked for what it does not reduce, or with no pixels, it draws nothing.
    std::vector<uint32_t> pixels(kTargetSize * kTargetSize, kUntouched);
    RgbTarget target{pixels.data(), kTargetSize, kTargetSize, kTargetSize};
    CellPictures cell;
    DrawReducedCell(cell, {0, 0, 32, 32}, target, {0, 0, 32, 32}, ed.Colours.Rgb32());
    EXPECT_EQ(pixels, std::vector<uint32_t>(pixels.size(), kUntouched));
    RgbTarget none{nullptr, kTargetSize, kTargetSize, kTargetSize};
    DrawReducedCell(cell, {0, 0, 32, 32}, none, {0, 0, 8, 8}, ed.Colours.Rgb32());
    DrawReducedCell(cell, {0, 0, 32, 32}, target, {0, 0, 8, 8}, ed.Colours.Rgb32());
    EXPECT_EQ(pixels[0], ed.Colours.Rgb32()[0]);
    EXPECT_EQ(pixels[8], kUntouched);
}
