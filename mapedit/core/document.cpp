#include "mapedit/core/document.h"

#include "mapedit/core/errors.h"

#include <algorithm>

namespace mapedit {

TMapDocument::TMapDocument() {
    SetEmptyMap(kInitialMapSize, kInitialMapSize);
}

void TMapDocument::CheckSize(int64_t width, int64_t height) {
    if (width < 0 || height < 0)
        throw EMapSize("Map size " + std::to_string(width) + " x " + std::to_string(height) +
                       " is not valid");
    if (width * height > kMaxMapCells)
        throw EMapSize("Map size " + std::to_string(width) + " x " + std::to_string(height) +
                       " is too large: a map holds at most " + std::to_string(kMaxMapCells) +
                       " cells");
    if (width > kMaxMapSide || height > kMaxMapSide)
        throw EMapSize("Map size " + std::to_string(width) + " x " + std::to_string(height) +
                       " is too large: a map is at most " + std::to_string(kMaxMapSide) +
                       " cells wide and " + std::to_string(kMaxMapSide) + " cells high");
}

void TMapDocument::ClearCells() {
    for (auto& plane : Planes)
        std::fill(plane.begin(), plane.end(), uint16_t(0));
}

void TMapDocument::ResizePlanes(int32_t newWidth, int32_t newHeight) {
    CheckSize(newWidth, newHeight);
    const int32_t keepW = std::min(W_, newWidth), keepH = std::min(H_, newHeight);
    // Build all planes first so that a failed allocation leaves the map as it was.
    std::array<std::vector<uint16_t>, kLayerCount> relaid;
    for (int layer = 0; layer < kLayerCount; ++layer) {
        relaid[layer].assign(size_t(newWidth) * size_t(newHeight), 0);
        for (int32_t y = 0; y < keepH; ++y)
            std::copy_n(Planes[layer].begin() + ptrdiff_t(size_t(y) * W_), keepW,
                        relaid[layer].begin() + ptrdiff_t(size_t(y) * newWidth));
    }
    Planes = std::move(relaid);
    W_ = newWidth;
    H_ = newHeight;
}

void TMapDocument::SetEmptyMap(int32_t width, int32_t height) {
    CheckSize(width, height);
    std::array<std::vector<uint16_t>, kLayerCount> empty;
    for (auto& plane : empty)
        plane.assign(size_t(width) * size_t(height), 0);
    Planes = std::move(empty);
    W_ = width;
    H_ = height;
}

} // namespace mapedit
