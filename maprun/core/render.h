#pragma once
// Headless use of the runtime for tools: one frame of the game as pixels and
// colours, and the cells as the runtime holds them after loading.
#include "maprun/core/framebuffer.h"
#include "maprun/core/map.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace maprun {

struct RenderedFrame {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Pixels;     // Width x Height colour indices, top row first
    std::array<uint8_t, 768> Colors; // red, green, blue of each index as shown
};

// The frame's pixels top row first, whatever its orientation, and its colours.
RenderedFrame CaptureFrame(const TFrameBuffer& frame);

struct RenderOptions {
    std::optional<TPoint> Centre; // view centre; the game's start position otherwise
    int Ticks = 0;                // advanced before drawing (they move the view too)
    bool MostVaried = false;      // after the ticks, centre on MostVariedView
    bool HiRes = false;           // 640 x 400 instead of 320 x 200
};

// Builds the game with the test picture and sprite from `assetsDir` (the
// current directory when empty) and the map at `mapPath`, places the view,
// advances and draws one frame. Errors of the files pass to the caller.
RenderedFrame RenderFrame(const std::filesystem::path& mapPath,
                          const std::filesystem::path& assetsDir, const RenderOptions& options);

// The centre of the frame-sized view, on whole cells, that shows the most
// different tiles on the three drawn layers: a view that shows what the level
// is made of rather than an empty stretch of it. The first such view, row by
// row, wins; a map without cells gives (0, 0).
TPoint MostVariedView(const TMap& map, int frameWidth, int frameHeight);

struct RenderedOverview {
    RenderedFrame Frame;
    int Scale = 1; // map pixels per picture pixel on each axis
};

// The whole map as the runtime draws it (the three layers, no sprite), every
// cell at its place, on colour 0 where no tile covers it. Scaled down by the
// smallest whole factor that keeps both sides within `maxSide` pixels; a
// scaled picture takes every Scale-th pixel of every Scale-th row. Colours and
// errors as for RenderFrame.
RenderedOverview RenderOverview(const std::filesystem::path& mapPath,
                                const std::filesystem::path& assetsDir, int maxSide = 4096);

struct RuntimeCells {
    int Width = 0;
    int Height = 0;
    std::vector<TCell> Cells; // row-major; hidden layers already cleared
};

// Reads a map and its tile set as the runtime does and returns its cells.
RuntimeCells ReadRuntimeCells(const std::filesystem::path& mapPath);

} // namespace maprun
