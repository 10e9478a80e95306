#include "maprun/core/render.h"

#include "maprun/core/game.h"

#include <algorithm>
#include <cstring>
#include <vector>

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
    // The most varied view is taken after the ticks, so that it is the one drawn.
    const TFrameBuffer& frame = game.FrameBuffer();
    if (options.MostVaried)
        game.SetViewPos(MostVariedView(game.Map(), frame.Width(), frame.Height()));
    game.Draw();
    return CaptureFrame(frame);
}

TPoint MostVariedView(const TMap& map, int frameWidth, int frameHeight) {
    if (map.Width() == 0 || map.Height() == 0) return TPoint{0, 0};
    // Cells a view on whole cells shows, also those it shows in part.
    const int64_t columns =
        std::min<int64_t>(map.Width(), (frameWidth + kTileSize - 1) / kTileSize);
    const int64_t rows = std::min<int64_t>(map.Height(), (frameHeight + kTileSize - 1) / kTileSize);
    // At most 64 x 64 views are weighed, however large the map.
    const int64_t stepX = std::max<int64_t>(1, (map.Width() - columns) / 64);
    const int64_t stepY = std::max<int64_t>(1, (map.Height() - rows) / 64);

    std::vector<uint32_t> seenIn(TTiles::kCount, 0); // the view that last counted a tile
    uint32_t view = 0;
    int best = -1;
    TPoint bestOrigin;
    for (int64_t top = 0; top + rows <= map.Height(); top += stepY)
        for (int64_t left = 0; left + columns <= map.Width(); left += stepX) {
            ++view;
            int different = 0;
            for (int64_t y = top; y < top + rows; ++y)
                for (int64_t x = left; x < left + columns; ++x)
                    for (int layer = 0; layer < 3; ++layer) {
                        const unsigned tile =
                            CellWord(map.Cell(static_cast<int32_t>(x), static_cast<int32_t>(y)),
                                     layer) &
                            kTileNumberMask;
                        if (tile == 0 || !map.Tiles().TileUnchecked(tile) || seenIn[tile] == view)
                            continue;
                        seenIn[tile] = view;
                        ++different;
                    }
            if (different > best) {
                best = different;
                bestOrigin = TPoint{static_cast<int32_t>(left * kTileSize),
                                    static_cast<int32_t>(top * kTileSize)};
            }
        }
    return TPoint{bestOrigin.X + frameWidth / 2, bestOrigin.Y + frameHeight / 2};
}

RenderedOverview RenderOverview(const std::filesystem::path& mapPath,
                                const std::filesystem::path& assetsDir, int maxSide) {
    TZorvGame game(false, mapPath.string(), assetsDir);
    const TMap& map = game.Map();
    RenderedOverview out;
    out.Frame = CaptureFrame(game.FrameBuffer()); // for the colours
    const int64_t mapWidth = int64_t(map.Width()) * kTileSize;
    const int64_t mapHeight = int64_t(map.Height()) * kTileSize;
    const int64_t side = std::max<int64_t>(1, maxSide);
    out.Scale = static_cast<int>(
        std::max<int64_t>({1, (mapWidth + side - 1) / side, (mapHeight + side - 1) / side}));
    const int64_t scale = out.Scale;
    RenderedFrame& picture = out.Frame;
    picture.Width = static_cast<int>((mapWidth + scale - 1) / scale);
    picture.Height = static_cast<int>((mapHeight + scale - 1) / scale);
    picture.Pixels.assign(size_t(picture.Width) * size_t(picture.Height), 0);
    if (picture.Pixels.empty()) return out;

    // The map is drawn a block of up to 8 x 8 cells at a time, the view
    // centred so that the block's cells fill the frame exactly; the last block
    // on each axis is pulled back inside the map.
    constexpr int64_t kBlockCells = 8;
    const int blockWidth =
        static_cast<int>(std::min<int64_t>(map.Width(), kBlockCells) * kTileSize);
    const int blockHeight =
        static_cast<int>(std::min<int64_t>(map.Height(), kBlockCells) * kTileSize);
    TFrameBuffer block(blockWidth, blockHeight);
    for (int64_t top = 0; top < mapHeight; top += blockHeight)
        for (int64_t left = 0; left < mapWidth; left += blockWidth) {
            const int64_t x0 = std::min(left, mapWidth - blockWidth);
            const int64_t y0 = std::min(top, mapHeight - blockHeight);
            const TPoint centre{static_cast<int32_t>(x0 + blockWidth / 2),
                                static_cast<int32_t>(y0 + blockHeight / 2)};
            block.FillRect(block.ClipRect(), 0);
            for (int layer = 0; layer < 3; ++layer)
                map.DrawMap(centre, block, layer);
            // The picture pixels whose map pixel lies in this block.
            for (int64_t py = (y0 + scale - 1) / scale; py * scale < y0 + blockHeight; ++py)
                for (int64_t px = (x0 + scale - 1) / scale; px * scale < x0 + blockWidth; ++px)
                    picture.Pixels[size_t(py) * size_t(picture.Width) + size_t(px)] =
                        block.GetPixel(static_cast<int>(px * scale - x0),
                                       static_cast<int>(py * scale - y0));
        }
    return out;
}

RuntimeCells ReadRuntimeCells(const std::filesystem::path& mapPath) {
    TMap map;
    map.LoadFromFile(mapPath);
    return RuntimeCells{map.Width(), map.Height(), map.Cells()};
}

} // namespace maprun
