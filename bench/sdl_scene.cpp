#include "sdl_scene.h"

#include "formats/dospath.h"
#include "formats/mapfile.h"
#include "formats/pbm.h"
#include "formats/stream.h"
#include "formats/tileset.h"
#include "maprun/core/game.h"

#include <algorithm>
#include <map>
#include <string>

namespace fs = std::filesystem;
using namespace maprun;

namespace bench {

SdlScene::SdlScene(const fs::path& dir, const fs::path& map, const RuntimeCells& cells)
    : cells_(cells) {
    palette_ = SDL_AllocPalette(256);
    map_.Resize(cells.Width, cells.Height);
    LoadTiles(map);
    formats::TPBMImage smile(formats::DosNameToPath(dir, TZorvGame::kTestSprite));
    sprite_ = MakeSurface(smile, 0, 0, smile.Width(), smile.Height());
}

SdlScene::~SdlScene() {
    tiles_.clear();
    sprite_.reset();
    frame_.reset();
    SDL_FreePalette(palette_);
}

void SdlScene::SetFrameSize(int w, int h) {
    frame_.reset(SDL_CreateRGBSurfaceWithFormat(0, w, h, 8, SDL_PIXELFORMAT_INDEX8));
    SDL_SetSurfacePalette(frame_.get(), palette_);
}

void SdlScene::Draw(const TPoint& centre, int spriteX, int spriteY) {
    const TPoint origin = map_.ViewOrigin(centre, frame_->w, frame_->h);
    DrawLayer(origin, 0);
    DrawLayer(origin, 1);
    SDL_Rect at{spriteX, spriteY, 0, 0};
    SDL_BlitSurface(sprite_.get(), nullptr, frame_.get(), &at);
    DrawLayer(origin, 2);
}

SdlScene::Surface SdlScene::MakeSurface(const formats::TPBMImage& image, int left, int top, int w,
                                        int h) {
    Surface s(SDL_CreateRGBSurfaceWithFormat(0, w, h, 8, SDL_PIXELFORMAT_INDEX8));
    bool any = false;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t p = image.GetPixel(left + x, top + y);
            if (p == 1) p = 0; // transparent, as in the run-length records
            any |= p != 0;
            static_cast<uint8_t*>(s->pixels)[y * s->pitch + x] = p;
        }
    if (!any) return nullptr;
    // One shared palette, so blits copy indices without a colour mapping.
    SDL_SetSurfacePalette(s.get(), palette_);
    SDL_SetColorKey(s.get(), SDL_TRUE, 0);
    SDL_SetSurfaceRLE(s.get(), 1);
    return s;
}

void SdlScene::LoadTiles(const fs::path& map) {
    formats::FileStream stream(map);
    const formats::MapData data = formats::ReadMapData(stream, formats::MapReader::Runtime);
    const fs::path tileSet = *formats::ResolveDosName(map.parent_path(), data.tileSet);
    const formats::TileSetListing listing = formats::ListTileSet(tileSet);
    std::map<std::string, std::unique_ptr<formats::TPBMImage>> pictures;
    tiles_.resize(TTiles::kCount);
    for (const formats::TileSetEntry& e : listing.tiles) {
        if (e.id <= 0 || e.id >= TTiles::kMaxIndex) continue;
        auto& picture = pictures[e.file];
        if (!picture) {
            picture = std::make_unique<formats::TPBMImage>(
                formats::DosNameToPath(tileSet.parent_path(), e.file));
            if (!paletteSet_) {
                SDL_Color colours[256];
                for (int i = 0; i < 256; ++i)
                    colours[i] = SDL_Color{picture->Palette[3 * i], picture->Palette[3 * i + 1],
                                           picture->Palette[3 * i + 2], 255};
                SDL_SetPaletteColors(palette_, colours, 0, 256);
                paletteSet_ = true;
            }
        }
        tiles_[e.id] = MakeSurface(*picture, e.x, e.y, 32, 32);
    }
}

void SdlScene::DrawLayer(const TPoint& origin, int layer) {
    const int w = frame_->w, h = frame_->h;
    const int firstColumn = std::max(0, origin.X / 32), firstRow = std::max(0, origin.Y / 32);
    const int endColumn = std::min(cells_.Width, (origin.X + w - 1) / 32 + 1);
    const int endRow = std::min(cells_.Height, (origin.Y + h - 1) / 32 + 1);
    for (int row = firstRow; row < endRow; ++row)
        for (int column = firstColumn; column < endColumn; ++column) {
            const TCell& cell = cells_.Cells[size_t(row) * cells_.Width + column];
            const unsigned tile = CellWord(cell, layer) & kTileNumberMask;
            if (tile == 0 || !tiles_[tile]) continue;
            SDL_Rect at{column * 32 - origin.X, row * 32 - origin.Y, 0, 0};
            SDL_BlitSurface(tiles_[tile].get(), nullptr, frame_.get(), &at);
        }
}

} // namespace bench
