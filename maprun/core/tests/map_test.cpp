#include "fixtures.h"
#include "maprun/core/map.h"
#include "maprun/core/render.h"

#include <gtest/gtest.h>

#include <map>

using namespace maprun;

namespace {

constexpr int kFrameW = 320, kFrameH = 200;

// Tile t: colours 16 and up that differ between tiles and positions; odd tiles
// have transparent holes.
formats::TPBMImage TileImage(int t) {
    std::vector<uint8_t> pixels(32 * 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            uint8_t p = static_cast<uint8_t>(16 + (t * 37 + x * 3 + y * 5) % 230);
            if (t % 2 && (x + y) % 5 == 0) p = 0;
            pixels[y * 32 + x] = p;
        }
    return test::MakeImage(32, 32, pixels);
}

class MapFixture {
public:
    TMap map;
    std::map<int, formats::TPBMImage> images;

    void AddTile(int t) {
        images.emplace(t, TileImage(t));
        map.Tiles().AddTile(images.at(t), TRect{0, 0, 31, 31}, t);
    }

    // The frame as one layer must look when the view origin is (x0, y0).
    void ExpectLayer(const TFrameBuffer& frame, const std::vector<uint8_t>& before, int layer,
                     int x0, int y0) const {
        std::vector<uint8_t> want = before;
        for (int fy = 0; fy < frame.Height(); ++fy)
            for (int fx = 0; fx < frame.Width(); ++fx) {
                const int mx = x0 + fx, my = y0 + fy;
                if (mx < 0 || my < 0 || mx >= map.Width() * 32 || my >= map.Height() * 32) continue;
                const int t = CellWord(map.Cell(mx / 32, my / 32), layer) & 0x1FFF;
                auto it = images.find(t);
                if (t == 0 || it == images.end()) continue;
                const uint8_t p = it->second.GetPixel(mx % 32, my % 32);
                if (p > 1) want[size_t(fy) * frame.Width() + fx] = p;
            }
        EXPECT_EQ(test::FrameDifference(test::FramePixels(frame), want, frame.Width()), "")
            << "layer " << layer << " origin " << x0 << ", " << y0;
    }
};

// Random tile numbers 0..24 (20 to 24 have no record), some with top bits set.
// Entry 0 holds a record too, which tile number 0 must not draw.
void FillRandom(MapFixture& f, int width, int height, uint32_t seed) {
    std::mt19937 rng(seed);
    for (int t = 1; t < 20; ++t)
        f.AddTile(t);
    f.map.Tiles().AddTile(test::FilledImage(32, 32, 0x99), TRect{0, 0, 31, 31}, 0);
    f.map.Resize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            TCell& c = f.map.Cell(x, y);
            for (uint16_t* w : {&c.back, &c.middle, &c.fore}) {
                *w = static_cast<uint16_t>(rng() % 25);
                if (rng() % 4 == 0) *w |= static_cast<uint16_t>((rng() % 8) << 13);
            }
        }
}

} // namespace

TEST(DrawMap, ViewsAnywhereDrawTheRightCells) {
    MapFixture f;
    FillRandom(f, 13, 9, 3); // 416 x 288 pixels
    TFrameBuffer frame(kFrameW, kFrameH);
    struct View {
        TPoint pos;
        int x0, y0; // expected view origin
    };
    const View views[] = {
        {{0, 0}, 0, 0},
        {{-500, -7}, 0, 0},
        {{160, 100}, 0, 0},
        {{161, 101}, 1, 1},
        {{200, 150}, 40, 50},
        {{255, 187}, 95, 87},
        {{256, 188}, 96, 88},
        {{416, 288}, 96, 88},
        {{100000, 100000}, 96, 88},
        {{INT32_MAX, 0}, 96, 0},
        {{INT32_MIN, INT32_MAX}, 0, 88},
    };
    for (bool flipped : {false, true}) {
        frame.SetFlipped(flipped);
        for (const View& v : views) {
            EXPECT_EQ(f.map.ViewOrigin(v.pos, kFrameW, kFrameH), (TPoint{v.x0, v.y0}));
            for (int layer = 0; layer < 3; ++layer) {
                test::FillFrame(frame, 5);
                const auto before = test::FramePixels(frame);
                f.map.DrawMap(v.pos, frame, layer);
                f.ExpectLayer(frame, before, layer, v.x0, v.y0);
            }
        }
    }
}

TEST(DrawMap, SmallMapsAreCentredAndNoOutsideCellIsRead) {
    // 3 x 2 cells: every row is far narrower than the frame, so a renderer that
    // walked a fixed number of columns would draw the next row's cells (or read
    // past the last one) to the right of the map.
    MapFixture f;
    f.AddTile(1);
    f.AddTile(2);
    f.AddTile(3);
    f.map.Resize(3, 2);
    f.map.Cell(0, 0).back = 1;
    f.map.Cell(2, 0).back = 2;
    f.map.Cell(0, 1).back = 3;
    f.map.Cell(2, 1).back = 3;
    TFrameBuffer frame(kFrameW, kFrameH);
    const TPoint origin = f.map.ViewOrigin(TPoint{50, 50}, kFrameW, kFrameH);
    EXPECT_EQ(origin, (TPoint{-(320 - 96) / 2, -(200 - 64) / 2}));
    for (TPoint pos : {TPoint{0, 0}, TPoint{50, 50}, TPoint{5000, -5000}}) {
        test::FillFrame(frame, 7);
        const auto before = test::FramePixels(frame);
        f.map.DrawMap(pos, frame, 0);
        f.ExpectLayer(frame, before, 0, origin.X, origin.Y);
    }

    // The margins are cleared, the map itself left alone.
    test::FillFrame(frame, 7);
    f.map.ClearOutsideMap(TPoint{0, 0}, frame, 0);
    for (int y = 0; y < kFrameH; ++y)
        for (int x = 0; x < kFrameW; ++x) {
            const bool inside = x >= 112 && x < 208 && y >= 68 && y < 132;
            ASSERT_EQ(frame.GetPixel(x, y), inside ? 7 : 0) << x << ", " << y;
        }

    // A map that fills the frame, or has no cells, clears nothing.
    MapFixture big;
    FillRandom(big, 10, 7, 1);
    test::FillFrame(frame, 7);
    big.map.ClearOutsideMap(TPoint{0, 0}, frame, 0);
    TMap empty;
    empty.ClearOutsideMap(TPoint{0, 0}, frame, 0);
    empty.DrawMap(TPoint{0, 0}, frame, 0);
    EXPECT_EQ(test::FramePixels(frame), std::vector<uint8_t>(kFrameW * kFrameH, 7));
}

TEST(ClearHiddenLayers, SolidTilesHideWhatLiesBelow) {
    MapFixture f;
    f.map.Tiles().AddTile(test::FilledImage(32, 32, 0x40), TRect{0, 0, 31, 31}, 1); // solid
    f.AddTile(3);                                                                   // transparent
    f.map.Tiles().AddTile(test::FilledImage(32, 32, 0x41), TRect{0, 0, 31, 31}, 0); // solid 0
    ASSERT_EQ(GetSpriteKind(f.map.Tiles().Tile(1)), SpriteKind::Solid);
    ASSERT_EQ(GetSpriteKind(f.map.Tiles().Tile(3)), SpriteKind::Transparent);
    f.map.Resize(6, 1);
    auto cell = [&](int x, uint16_t back, uint16_t middle, uint16_t fore) {
        f.map.Cell(x, 0) = TCell{back, middle, fore, 11, 12, 13};
    };
    cell(0, 3, 3, 1);      // solid foreground: background and middle go
    cell(1, 3, 1, 3);      // solid middle under a transparent foreground
    cell(2, 3, 3, 0xE001); // solid foreground with top bits set
    cell(3, 3, 3, 3);      // nothing solid
    cell(4, 3, 3, 0);      // tile 0 is nothing, whatever entry 0 holds
    cell(5, 3, 1, 9);      // foreground without a record
    f.map.ClearHiddenLayers();
    EXPECT_EQ(f.map.Cell(0, 0), (TCell{0, 0, 1, 11, 12, 13}));
    EXPECT_EQ(f.map.Cell(1, 0), (TCell{0, 1, 3, 11, 12, 13}));
    EXPECT_EQ(f.map.Cell(2, 0), (TCell{0, 0, 0xE001, 11, 12, 13}));
    EXPECT_EQ(f.map.Cell(3, 0), (TCell{3, 3, 3, 11, 12, 13}));
    EXPECT_EQ(f.map.Cell(4, 0), (TCell{3, 3, 0, 11, 12, 13}));
    EXPECT_EQ(f.map.Cell(5, 0), (TCell{0, 1, 9, 11, 12, 13}));
}

TEST(TTiles, AddTileAcceptsOnlyIndicesBelow8191) {
    TTiles tiles;
    const auto image = test::FilledImage(32, 32, 0x40);
    tiles.AddTile(image, TRect{0, 0, 31, 31}, 8190);
    tiles.AddTile(image, TRect{0, 0, 31, 31}, 8191);
    tiles.AddTile(image, TRect{0, 0, 31, 31}, -1);
    tiles.AddTile(image, TRect{0, 0, 31, 31}, INT_MAX);
    EXPECT_NE(tiles.Tile(8190), nullptr);
    EXPECT_EQ(tiles.Tile(8191), nullptr);
    EXPECT_EQ(tiles.Tile(-1), nullptr);
    // An all-0 rectangle stores nil over what was there.
    tiles.AddTile(test::FilledImage(32, 32, 0), TRect{0, 0, 31, 31}, 8190);
    EXPECT_EQ(tiles.Tile(8190), nullptr);
}

TEST(DrawMap, ShadedTilesShadeTheLayersBelow) {
    // A tile of only shade pixels has no transparent pixel, yet it is neither
    // solid (the background stays) nor a block to copy.
    TMap map;
    map.Tiles().AddTile(test::FilledImage(32, 32, 0x3C), TRect{0, 0, 31, 31}, 1);
    map.Tiles().AddTile(test::FilledImage(32, 32, 2), TRect{0, 0, 31, 31}, 2);
    map.Resize(10, 7);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 10; ++x)
            map.Cell(x, y) = TCell{1, 2, 0, 0, 0, 0};
    map.ClearHiddenLayers();
    EXPECT_EQ(map.Cell(3, 3).back, 1);
    TFrameBuffer frame(kFrameW, kFrameH);
    map.DrawMap(TPoint{0, 0}, frame, 0);
    map.DrawMap(TPoint{0, 0}, frame, 1);
    EXPECT_EQ(test::FramePixels(frame), std::vector<uint8_t>(kFrameW * kFrameH, 0x37));
}

TEST(MostVariedView, CentresOnTheViewWithTheMostDifferentTiles) {
    MapFixture f;
    for (int t = 1; t <= 6; ++t)
        f.AddTile(t);
    f.map.Resize(30, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x)
            f.map.Cell(x, y).back = 1;
    // Five different tiles, on all three layers, within cells (17..20, 11..14);
    // the same tile (and a number without a record) elsewhere adds nothing.
    f.map.Cell(17, 11).middle = 2;
    f.map.Cell(20, 11).fore = 3;
    f.map.Cell(17, 14).back = 4;
    f.map.Cell(20, 14).middle = static_cast<uint16_t>(5 | 0xE000);
    f.map.Cell(3, 3).middle = 2;
    f.map.Cell(4, 3).middle = 99;
    // A 320 x 200 view shows 10 x 7 cells: the first (top-left) view holding
    // all five starts at column 11, row 8.
    EXPECT_EQ(MostVariedView(f.map, 320, 200), (TPoint{11 * 32 + 160, 8 * 32 + 100}));
    EXPECT_EQ(f.map.ViewOrigin(MostVariedView(f.map, 320, 200), 320, 200),
              (TPoint{11 * 32, 8 * 32}));

    // A map smaller than the frame has one view; no map, the origin.
    MapFixture small;
    small.AddTile(1);
    small.map.Resize(3, 2);
    EXPECT_EQ(MostVariedView(small.map, 320, 200), (TPoint{160, 100}));
    EXPECT_EQ(MostVariedView(TMap{}, 320, 200), (TPoint{0, 0}));
}
