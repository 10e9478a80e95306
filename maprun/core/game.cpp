#include "maprun/core/game.h"

#include "formats/dospath.h"
#include "formats/errors.h"
#include "formats/pbm.h"
#include "formats/text.h"

namespace maprun {

namespace {

constexpr int kLowWidth = 320, kLowHeight = 200;
constexpr int kHighWidth = 640, kHighHeight = 400;

} // namespace

Tgame::Tgame(bool hiRes)
    : FHiRes(hiRes), FInputDevice(std::make_unique<TInputDevice>()),
      FFrameBuffer(hiRes ? std::make_unique<TFrameBuffer>(kHighWidth, kHighHeight)
                         : std::make_unique<TFrameBuffer>(kLowWidth, kLowHeight)) {}

void Tgame::SetHiRes(bool value) {
    FHiRes = value;
    FFrameBuffer->SetWidth(value ? kHighWidth : kLowWidth);
    FFrameBuffer->SetHeight(value ? kHighHeight : kLowHeight);
}

void Tgame::Advance(int ticks) {
    // The count wraps like the 32-bit counter it is.
    FTickCount =
        static_cast<int32_t>(static_cast<uint32_t>(FTickCount) + static_cast<uint32_t>(ticks));
}

void Tgame::Draw() {
    FFrameBuffer->SetFlipped(FWindowed);
}

TZorvGame::TZorvGame(bool hiRes, std::string_view mapArgument,
                     const std::filesystem::path& assetsDir)
    : Tgame(hiRes) {
    const std::filesystem::path dir = assetsDir.empty() ? std::filesystem::path(".") : assetsDir;
    TFrameBuffer& frame = FrameBuffer();
    const std::filesystem::path picture = formats::DosNameToPath(dir, kTestPicture);
    formats::WithFileName(picture, [&] {
        formats::DrawPBMFile(
            picture, [&frame](int x, int y, uint8_t colour) { frame.SetPixel(x, y, colour); });
    });
    formats::ForEachPaletteEntry(
        formats::LastPBMPalette,
        [&frame](int i, uint8_t r, uint8_t g, uint8_t b) { frame.SetPaletteEntry(i, r, g, b); });
    const std::filesystem::path sprite = formats::DosNameToPath(dir, kTestSprite);
    FSprite = formats::WithFileName(sprite, [&] { return LoadSprite(sprite); });
    if (!mapArgument.empty()) {
        const std::filesystem::path map(mapArgument); // a path of any length
        formats::WithFileName(map, [&] { FMap.LoadFromFile(map); });
    }
}

void TZorvGame::Advance(int ticks) {
    Tgame::Advance(ticks);
    for (int i = 0; i < ticks; ++i)
        FMotion.Step(FMap.Width(), FMap.Height());
}

void TZorvGame::Draw() {
    Tgame::Draw();
    TFrameBuffer& frame = FrameBuffer();
    FMap.ClearOutsideMap(FMotion.Pos, frame, 0);
    FMap.DrawMap(FMotion.Pos, frame, 0);
    FMap.DrawMap(FMotion.Pos, frame, 1);
    frame.DrawSprite(FSprite.get(), kSpriteX, SpriteY());
    FMap.DrawMap(FMotion.Pos, frame, 2);
}

} // namespace maprun
