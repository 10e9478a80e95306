// The runtime's test picture and test sprite.
#include "demogen/font.h"
#include "demogen/generate.h"
#include "demogen/palette.h"

#include <string>

namespace demo {

namespace {

constexpr int kPictureWidth = 320;
constexpr int kPictureHeight = 200;
constexpr int kHorizon = 120;

// Colour 1 does not survive decoding; use 0 (also black) in its place.
uint8_t Displayable(uint8_t colour) {
    return colour == 1 ? 0 : colour;
}

// Height above the horizon of a row of rounded hills at column x.
int HillHeight(int x, const int (*hills)[3], int count) {
    int best = 0;
    for (int i = 0; i < count; ++i) {
        int dx = x - hills[i][0], w = hills[i][1];
        if (dx <= -w || dx >= w) continue;
        int h = hills[i][2] * (w * w - dx * dx) / (w * w);
        if (h > best) best = h;
    }
    return best;
}

void DrawLandscape(Canvas& picture) {
    for (int y = 0; y < kHorizon; ++y) {
        int level = 4 * 16 + y * 8 * 16 / kHorizon; // deep blue above, pale near the hills
        for (int x = 0; x < kPictureWidth; ++x) {
            picture.Set(x, y, Colour(SkyBlue, DitherShade(level, x, y)));
        }
    }
    picture.FillDisc(262, 38, 15, Colour(Yellow, 12));
    picture.FillDisc(262, 38, 12, Colour(Yellow, 14));
    picture.FillDisc(259, 35, 5, Colour(Yellow, 15));

    const int far[][3] = {{30, 70, 34}, {130, 90, 44}, {240, 80, 30}, {320, 60, 40}};
    const int near[][3] = {{70, 90, 18}, {200, 110, 24}, {310, 50, 14}};
    for (int x = 0; x < kPictureWidth; ++x) {
        int farTop = kHorizon - HillHeight(x, far, 4);
        int nearTop = kHorizon - HillHeight(x, near, 3);
        for (int y = farTop; y < kHorizon; ++y) {
            picture.Set(x, y, Colour(Leaf, DitherShade(5 * 16 + (y - farTop) * 2, x, y)));
        }
        for (int y = nearTop; y < kHorizon; ++y) {
            int shade = y == nearTop ? 11 : DitherShade(9 * 16 - (y - nearTop) * 6, x, y);
            picture.Set(x, y, Colour(GrassGreen, shade));
        }
    }
}

// Every colour of the palette: one bar per ramp, brightest shade at the top.
void DrawRampBars(Canvas& picture) {
    picture.FillRect(0, kHorizon, kPictureWidth, kPictureHeight - kHorizon, Colour(StoneBlue, 2));
    const char* digits = "0123456789ABCDEF";
    for (int ramp = 0; ramp < kRamps; ++ramp) {
        int left = ramp * 20;
        DrawText(picture, left + 8, kHorizon + 3, std::string(1, digits[ramp]),
                 Colour(StoneBlue, 12));
        for (int shade = 0; shade < kShades; ++shade) {
            int top = kHorizon + 12 + (15 - shade) * 4;
            uint8_t colour = Displayable(Colour(Ramp(ramp), shade));
            picture.FillRect(left + 2, top, 16, 4, colour);
        }
    }
}

void DrawTitle(Canvas& picture) {
    const std::string title = "ZORV TILE DEMO";
    const int scale = 3;
    int x = (kPictureWidth - TextWidth(title, scale)) / 2;
    DrawText(picture, x + 2, 14, title, Colour(SkyBlue, 2), scale); // drop shadow
    DrawText(picture, x, 12, title, Colour(Yellow, 14), scale);
    const std::string caption = "16 RAMPS * 16 SHADES";
    DrawText(picture, (kPictureWidth - TextWidth(caption)) / 2, 40, caption, Colour(SkyBlue, 15));
}

} // namespace

Canvas DrawTestPicture() {
    Canvas picture(kPictureWidth, kPictureHeight);
    DrawLandscape(picture);
    DrawRampBars(picture);
    DrawTitle(picture);
    return picture;
}

Canvas DrawSmile() {
    constexpr int kSize = 32;
    Canvas sprite(kSize, kSize); // colour 0 all round: transparent
    // Work in half pixels so the face is centred between the middle pixels.
    auto distance2 = [](int x, int y, int cx2, int cy2) {
        int dx = 2 * x + 1 - cx2, dy = 2 * y + 1 - cy2;
        return dx * dx + dy * dy;
    };
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            int d2 = distance2(x, y, kSize, kSize);
            if (d2 > 29 * 29) continue;
            if (d2 > 27 * 27) {
                sprite.Set(x, y, Colour(Orange, 3)); // outline
                continue;
            }
            int light = distance2(x, y, 20, 18); // lit from the top left
            int shade = 15 - light / 160;
            sprite.Set(x, y, Colour(Yellow, shade < 8 ? 8 : shade));
        }
    }
    for (int eye : {11, 20}) {
        sprite.FillRect(eye, 9, 2, 6, Colour(WoodBrown, 1));
        sprite.Set(eye, 10, Colour(SkyBlue, 15));
    }
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            int d2 = distance2(x, y, kSize, 2 * 14);
            if (y >= 19 && d2 >= 15 * 15 && d2 <= 19 * 19) sprite.Set(x, y, Colour(WoodBrown, 1));
        }
    }
    sprite.FillRect(6, 18, 3, 2, Colour(Pink, 11)); // cheeks
    sprite.FillRect(23, 18, 3, 2, Colour(Pink, 11));
    return sprite;
}

std::string WriteTestPicture(const std::filesystem::path& outDir) {
    WritePicture(outDir / kTestPictureFile, DrawTestPicture());
    return kTestPictureFile;
}

std::string WriteSmileSprite(const std::filesystem::path& outDir) {
    WritePicture(outDir / kSpriteFile, DrawSmile());
    return kSpriteFile;
}

} // namespace demo
