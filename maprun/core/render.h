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
    int Ticks = 0;                // advanced before drawing
    bool HiRes = false;           // 640 x 400 instead of 320 x 200
};

// Builds the game with the test picture and sprite from `assetsDir` (the
// current directory when empty) and the map at `mapPath`, places the view,
// advances and draws one frame. Errors of the files pass to the caller.
RenderedFrame RenderFrame(const std::filesystem::path& mapPath,
                          const std::filesystem::path& assetsDir, const RenderOptions& options);

struct RuntimeCells {
    int Width = 0;
    int Height = 0;
    std::vector<TCell> Cells; // row-major; hidden layers already cleared
};

// Reads a map and its tile set as the runtime does and returns its cells.
RuntimeCells ReadRuntimeCells(const std::filesystem::path& mapPath);

} // namespace maprun
