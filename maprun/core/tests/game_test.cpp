#include "fixtures.h"
#include "formats/mapfile.h"
#include "maprun/core/game.h"
#include "maprun/core/render.h"
#include "maprun/core/viewmotion.h"

#include <gtest/gtest.h>

using namespace maprun;
using test::TempDir;

namespace {

constexpr uint8_t kBack = 0x40, kMiddle = 0x50, kFore = 0x60, kSmile = 0x70;

// Tile pictures: 1 solid background, 2 with its left half opaque, 3 with its
// top-left quarter opaque.
formats::TPBMImage TilePicture(int tile) {
    std::vector<uint8_t> pixels(32 * 32, 0);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            uint8_t& p = pixels[y * 32 + x];
            if (tile == 1) p = kBack;
            if (tile == 2 && x < 16) p = kMiddle;
            if (tile == 3 && x < 16 && y < 16) p = kFore;
        }
    return test::MakeImage(32, 32, pixels);
}

// The runtime's files: test picture, test sprite, a tile set and maps.
class GameFiles {
public:
    GameFiles() {
        std::vector<uint8_t> picture(320 * 200);
        for (size_t i = 0; i < picture.size(); ++i)
            picture[i] = static_cast<uint8_t>(i % 251);
        testPicture = test::MakeImage(320, 200, picture);
        test::WritePicture(dir / "testpbm.lbm", testPicture);
        test::WritePicture(dir / "smile.bbm", test::FilledImage(40, 40, kSmile));
        for (int t = 1; t <= 3; ++t)
            test::WritePicture(dir / ("T" + std::to_string(t) + ".PBM"), TilePicture(t));
        test::WriteText(dir / "TILES.TIL",
                        "BLOKTEXT\nTILE 1 T1.PBM\nTILE 2 T2.PBM\nTILE 3 T3.PBM\n");
        WriteLayeredMap("big.map", 20, 40);
        WriteLayeredMap("small.map", 3, 2);
    }

    // Every cell: background 1, middle 2, foreground 3.
    void WriteLayeredMap(const std::string& name, int width, int height) {
        formats::MapData map;
        map.width = width;
        map.height = height;
        map.tileSet = "tiles.til";
        map.cells.assign(size_t(width) * height, formats::MapCell{1, 2, 3, 0, 0, 0});
        formats::WriteMapData(dir / name, map);
    }

    std::string Map(const std::string& name) const { return (dir / name).string(); }

    TempDir dir;
    formats::TPBMImage testPicture;
};

} // namespace

TEST(ViewMotion, BouncesOffTheFarEdgesOfA20By40Map) {
    TViewMotion v; // starts at (150, 1000) moving right and down; the map is 640 x 1280
    auto steps = [&](int n) {
        for (int i = 0; i < n; ++i)
            v.Step(20, 40);
    };
    steps(281);
    EXPECT_EQ(v.Pos, (TPoint{431, 1281}));
    EXPECT_TRUE(v.MovingUp);
    steps(210);
    EXPECT_EQ(v.Pos, (TPoint{641, 1071}));
    EXPECT_TRUE(v.MovingLeft);
    steps(642); // X back at -1 turns right again
    EXPECT_EQ(v.Pos, (TPoint{-1, 429}));
    EXPECT_FALSE(v.MovingLeft);
    steps(1);
    EXPECT_EQ(v.Pos, (TPoint{0, 428}));
}

TEST(ViewMotion, WithoutAMapOscillatesAroundZero) {
    TViewMotion v;
    v.Step(0, 0);
    EXPECT_EQ(v.Pos, (TPoint{151, 1001}));
    EXPECT_TRUE(v.MovingUp);
    EXPECT_TRUE(v.MovingLeft);
    for (int i = 0; i < 1002; ++i)
        v.Step(0, 0);
    EXPECT_EQ(v.Pos.Y, -1);
    bool sawMinus = false, sawPlus = false;
    for (int i = 0; i < 100; ++i) {
        v.Step(0, 0);
        EXPECT_GE(v.Pos.X, -1);
        EXPECT_LE(v.Pos.X, 1);
        EXPECT_GE(v.Pos.Y, -1);
        EXPECT_LE(v.Pos.Y, 1);
        sawMinus |= v.Pos.Y == -1;
        sawPlus |= v.Pos.Y == 1;
    }
    EXPECT_TRUE(sawMinus && sawPlus);
    // A centre at the very end of the range stays there instead of wrapping.
    TViewMotion edge;
    edge.Pos = TPoint{INT32_MAX, INT32_MAX};
    edge.Step(0, 0);
    EXPECT_EQ(edge.Pos, (TPoint{INT32_MAX, INT32_MAX}));
}

TEST(ZorvGame, StartsFromTheTestPictureAndSprite) {
    GameFiles files;
    TZorvGame game(false, "", files.dir.Path());
    const TFrameBuffer& frame = game.FrameBuffer();
    EXPECT_EQ(frame.Width(), 320);
    EXPECT_EQ(test::FramePixels(frame), files.testPicture.Pixels);
    // The colours are the picture's (a grey ramp in these files).
    EXPECT_EQ(frame.Colors()[200].rgbRed, 200);
    EXPECT_EQ(frame.Colors()[200].rgbBlue, 200);
    ASSERT_NE(game.Sprite(), nullptr);
    EXPECT_EQ(SpriteWidth(game.Sprite()), 40);
    EXPECT_EQ(game.ViewPos(), (TPoint{150, 1000}));
    EXPECT_EQ(game.Map().Width(), 0);
    EXPECT_FALSE(game.Windowed());
    EXPECT_EQ(game.TickCount(), 0);

    EXPECT_THROW(TZorvGame(false, "", files.dir / "nowhere"), formats::EFOpenError);
    EXPECT_THROW(TZorvGame(false, files.Map("absent.map"), files.dir.Path()), formats::EFOpenError);
    test::WriteText(files.dir / "junk.map", "FORMjunk");
    EXPECT_THROW(TZorvGame(false, files.Map("junk.map"), files.dir.Path()), formats::EMapLoad);
}

TEST(ZorvGame, AdvanceCountsTicksAndMovesTheView) {
    GameFiles files;
    TZorvGame game(false, files.Map("big.map"), files.dir.Path());
    ASSERT_EQ(game.Map().Width(), 20);
    game.Advance(0);
    game.Advance(-5);
    EXPECT_EQ(game.TickCount(), -5);
    EXPECT_EQ(game.ViewPos(), (TPoint{150, 1000}));
    game.Advance(491);
    EXPECT_EQ(game.TickCount(), 486);
    EXPECT_EQ(game.ViewPos().X, 641);
    EXPECT_TRUE(game.MovingLeft());
    game.Advance(1);
    EXPECT_EQ(game.ViewPos().X, 640);
}

TEST(ZorvGame, MapPathLongerThanAShortTextIsUsedWhole) {
    GameFiles files;
    // A map 300 characters deep; its path cut to 255 would name another folder.
    std::filesystem::path deep = files.dir.Path();
    while (deep.string().size() < 300)
        deep /= "a-rather-long-folder-name";
    std::filesystem::create_directories(deep);
    std::filesystem::copy_file(files.dir / "big.map", deep / "deep.map");
    std::filesystem::copy_file(files.dir / "TILES.TIL", deep / "TILES.TIL");
    for (int t = 1; t <= 3; ++t)
        std::filesystem::copy_file(files.dir / ("T" + std::to_string(t) + ".PBM"),
                                   deep / ("T" + std::to_string(t) + ".PBM"));
    const std::string path = (deep / "deep.map").string();
    ASSERT_GT(path.size(), 255u);
    TZorvGame game(false, path, files.dir.Path());
    EXPECT_EQ(game.Map().Width(), 20);
    EXPECT_EQ(game.Map().Height(), 40);
}

TEST(ZorvGame, DrawsLayersAndSpriteInOrder) {
    GameFiles files;
    TZorvGame game(false, files.Map("big.map"), files.dir.Path());
    game.Advance(100); // the sprite's top is at 100 - 50 = 50
    game.SetViewPos(TPoint{160, 100});
    for (bool windowed : {true, false}) {
        game.SetWindowed(windowed);
        game.Draw();
        const TFrameBuffer& frame = game.FrameBuffer();
        EXPECT_EQ(frame.RowStep(), windowed ? -320 : 320);
        EXPECT_EQ(frame.Origin(), windowed ? frame.Bits() + 199 * 320 : frame.Bits());
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 320; ++x) {
                const bool fore = x % 32 < 16 && y % 32 < 16;
                const bool smile = x >= 50 && x < 90 && y >= 50 && y < 90;
                const uint8_t want = fore ? kFore : smile ? kSmile : x % 32 < 16 ? kMiddle : kBack;
                ASSERT_EQ(frame.GetPixel(x, y), want) << x << ", " << y;
            }
    }
}

TEST(ZorvGame, HiResRecreatesTheFrame) {
    GameFiles files;
    TZorvGame game(false, files.Map("big.map"), files.dir.Path());
    game.SetHiRes(true);
    EXPECT_TRUE(game.HiRes());
    EXPECT_EQ(game.FrameBuffer().Width(), 640);
    EXPECT_EQ(game.FrameBuffer().Height(), 400);
    game.Draw();
    EXPECT_EQ(game.FrameBuffer().GetPixel(639, 399), kBack);
    game.SetHiRes(true); // same value: new, empty pixels all the same
    EXPECT_EQ(game.FrameBuffer().GetPixel(639, 399), 0);
    game.SetHiRes(false);
    EXPECT_EQ(game.FrameBuffer().Width(), 320);
}

TEST(RenderFrame, OneFrameTopDownWithItsColours) {
    GameFiles files;
    RenderOptions options;
    options.Centre = TPoint{160, 100};
    options.Ticks = 100;
    RenderedFrame frame = RenderFrame(files.dir / "big.map", files.dir.Path(), options);
    ASSERT_EQ(frame.Width, 320);
    ASSERT_EQ(frame.Pixels.size(), size_t(320 * 200));
    // The view moved 100 pixels from the given centre: origin (100, 100).
    EXPECT_EQ(frame.Pixels[0], kFore);                 // map pixel (100, 100)
    EXPECT_EQ(frame.Pixels[12], kBack);                // map pixel (112, 100)
    EXPECT_EQ(frame.Pixels[60 * 320 + 70], kFore);     // over the sprite
    EXPECT_EQ(frame.Pixels[60 * 320 + 80], kSmile);    // the sprite at (50, 50)
    EXPECT_EQ(frame.Pixels[199 * 320 + 319], kFore);   // map pixel (419, 299)
    EXPECT_EQ(frame.Pixels[180 * 320 + 295], kMiddle); // map pixel (395, 280)
    EXPECT_EQ(frame.Colors[3 * 77], 77);

    options.HiRes = true;
    frame = RenderFrame(files.dir / "small.map", files.dir.Path(), options);
    ASSERT_EQ(frame.Width, 640);
    ASSERT_EQ(frame.Height, 400);
    // A 96 x 64 map is centred; the rest of the frame is cleared.
    EXPECT_EQ(frame.Pixels[0], 0);
    EXPECT_EQ(frame.Pixels[size_t(168) * 640 + 272 + 20], kBack);
}
