#pragma once
// The runtime's scene drawn with SDL2 as the yardstick: 8-bit surfaces, one per
// tile, colour-keyed on 0 with RLE acceleration, blitted cell by cell in the
// game's order (two layers, the sprite, the third layer).
#include "maprun/core/map.h"
#include "maprun/core/render.h"

#include <SDL2/SDL.h>

#include <filesystem>
#include <memory>
#include <vector>

namespace bench {

class SdlScene {
public:
    // `cells` are the runtime's (hidden layers cleared) and must outlive this.
    SdlScene(const std::filesystem::path& dir, const std::filesystem::path& map,
             const maprun::RuntimeCells& cells);
    ~SdlScene();
    SdlScene(const SdlScene&) = delete;
    SdlScene& operator=(const SdlScene&) = delete;

    void SetFrameSize(int w, int h);
    void Draw(const maprun::TPoint& centre, int spriteX, int spriteY);
    SDL_Surface* Frame() const { return frame_.get(); }

private:
    struct SurfaceDeleter {
        void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
    };
    using Surface = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

    Surface MakeSurface(const formats::TPBMImage& image, int left, int top, int w, int h);
    void LoadTiles(const std::filesystem::path& map);
    void DrawLayer(const maprun::TPoint& origin, int layer);

    const maprun::RuntimeCells& cells_;
    maprun::TMap map_; // for the view origin only
    SDL_Palette* palette_ = nullptr;
    bool paletteSet_ = false;
    std::vector<Surface> tiles_;
    Surface sprite_;
    Surface frame_;
};

} // namespace bench
