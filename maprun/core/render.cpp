#include "maprun/core/render.h"

#include "maprun/core/game.h"

#include <cstring>

namespace maprun {

RenderedFrame CaptureFrame(const TFrameBuffer& frame) {
    RenderedFrame out;
    out.Width = frame.Width();
    out.Height = frame.Height();
    out.Pixels.resize(static_cast<size_t>(out.Width) * static_cast<size_t>(out.Height));
    for (int y = 0; y < out.Height; ++y)
        std::memcpy(out.Pixels.data() + static_cast<size_t>(y) * out.Width,
                    frame.Origin() + static_cast<ptrdiff_t>(y) * frame.RowStep(), out.Width);
    for (int i = 0; i < 256; ++i) {
        const RgbQuad& c = frame.Colors()[i];
        out.Colors[3 * i] = c.rgbRed;
        out.Colors[3 * i + 1] = c.rgbGreen;
        out.Colors[3 * i + 2] = c.rgbBlue;
    }
    return out;
}

RenderedFrame RenderFrame(const std::filesystem::path& mapPath,
                          const std::filesystem::path& assetsDir, const RenderOptions& options) {
    TZorvGame game(options.HiRes, mapPath.string(), assetsDir);
    if (options.Centre) game.SetViewPos(*options.Centre);
    game.Advance(options.Ticks);
    game.Draw();
    return CaptureFrame(game.FrameBuffer());
}

RuntimeCells ReadRuntimeCells(const std::filesystem::path& mapPath) {
    TMap map;
    map.LoadFromFile(mapPath);
    return RuntimeCells{map.Width(), map.Height(), map.Cells()};
}

} // namespace maprun
