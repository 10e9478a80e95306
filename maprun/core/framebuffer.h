#pragma once
// The 8-bit, 256-colour surface the game draws into, in plain memory. Rows can
// be stored top-down (for a straight copy to video memory) or bottom-up (the
// window's bitmap layout); drawing always goes through Origin and RowStep, so
// pixel (x, y) with y = 0 the top row is at Origin + x + y * RowStep either way.
//
// Header and Colors form one bitmap description (40-byte header followed by 256
// blue-green-red-reserved entries) that a window can show the pixels with.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace maprun {

struct TExpandedTile;

// An expanded tile and where its top-left corner goes in the frame.
struct TTilePlacement {
    const TExpandedTile* tile;
    int32_t x;
    int32_t y;
};

struct BitmapInfoHeader {
    uint32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0; // positive: rows bottom-up in a bitmap of this layout
    uint16_t biPlanes = 1;
    uint16_t biBitCount = 8;
    uint32_t biCompression = 0; // uncompressed RGB
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};
static_assert(sizeof(BitmapInfoHeader) == 40);

struct RgbQuad {
    uint8_t rgbBlue = 0;
    uint8_t rgbGreen = 0;
    uint8_t rgbRed = 0;
    uint8_t rgbReserved = 0;
};
static_assert(sizeof(RgbQuad) == 4);

struct BitmapInfo {
    BitmapInfoHeader Header;
    RgbQuad Colors[256];
};
static_assert(offsetof(BitmapInfo, Colors) == 40);

// Right and Bottom are exclusive.
struct TClipRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
};

class TFrameBuffer {
public:
    // Width must be a positive multiple of 4 (rows then need no padding) and
    // height positive, both at most kMaxSide; otherwise std::invalid_argument.
    TFrameBuffer(int width, int height);
    TFrameBuffer(const TFrameBuffer&) = delete;
    TFrameBuffer& operator=(const TFrameBuffer&) = delete;

    static constexpr int kMaxSide = 8192;

    int Width() const { return FInfo.Header.biWidth; }
    int Height() const { return FInfo.Header.biHeight; }
    bool Flipped() const { return FFlipped; }
    uint8_t* Origin() const { return FOrigin; }
    int32_t RowStep() const { return FRowStep; }
    float Brightness() const { return FBrightness; }
    const RgbQuad* SourcePalette() const { return FSourcePalette; }
    bool PaletteChanged() const { return FPaletteChanged; }
    void ClearPaletteChanged() { FPaletteChanged = false; }
    const BitmapInfoHeader& Header() const { return FInfo.Header; }
    const RgbQuad* Colors() const { return FInfo.Colors; }
    const BitmapInfo& Info() const { return FInfo; }
    // Width x Height bytes, rows in memory order (bottom-up when Flipped).
    uint8_t* Bits() { return FBits.data(); }
    const uint8_t* Bits() const { return FBits.data(); }
    const TClipRect& ClipRect() const { return FClipRect; }

    // Each replaces the pixel memory (cleared to 0) and resets the clip
    // rectangle; palette, brightness and orientation stay.
    void SetWidth(int value);
    void SetHeight(int value);
    // Changes only how rows are addressed; the pixels stay where they are.
    void SetFlipped(bool value);
    // Recomputes Colors when the value differs; marks the palette changed always.
    void SetBrightness(float value);
    // Entries outside 0..255 are ignored.
    void SetPaletteEntry(int index, uint8_t red, uint8_t green, uint8_t blue);

    // Pixels outside the frame are ignored on writing and read as 0.
    void SetPixel(int x, int y, uint8_t colour);
    uint8_t GetPixel(int x, int y) const;
    // Draws a sprite record with its hotspot at (x, y), clipped to ClipRect.
    // A nil sprite draws nothing. Allocates nothing.
    void DrawSprite(const uint8_t* sprite, int x, int y);
    // Draws an expanded tile with its top-left corner at (x, y), clipped to
    // ClipRect: the same pixels as DrawSprite of the record it was made from.
    void DrawTile(const TExpandedTile& tile, int x, int y);
    // DrawTile for each of `count` tiles, in order.
    void DrawTiles(const TTilePlacement* tiles, size_t count);
    // Fills the part of the frame inside `rect` (clipped) with one colour.
    void FillRect(const TClipRect& rect, uint8_t colour);

private:
    void CreatePixels(int width, int height);
    void UpdateOrigin();
    RgbQuad AdjustedColour(const RgbQuad& source) const;

    bool FFlipped = false;
    uint8_t* FOrigin = nullptr;
    int32_t FRowStep = 0;
    float FBrightness = 0.0f;
    RgbQuad FSourcePalette[256] = {};
    bool FPaletteChanged = false;
    BitmapInfo FInfo;
    std::vector<uint8_t> FBits;
    TClipRect FClipRect;
};

} // namespace maprun
