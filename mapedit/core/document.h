#pragma once
// The map document: six planes of 16-bit cells sized to the map, the map's
// width and height, the layer-presence flags, the document name and Modified.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace mapedit {

inline constexpr int kLayerCount = 6;
inline constexpr int kArgumentLayer = 4;  // arguments of attributes A (low) and B (high)
inline constexpr int kAttributeLayer = 5; // codes of attributes A (low) and B (high)
// Planes are sized to the map; larger maps are refused, and so are sides the
// map file cannot record.
inline constexpr int64_t kMaxMapCells = 16777216;
inline constexpr int32_t kMaxMapSide = 65535;
inline constexpr int kInitialMapSize = 64;
inline constexpr uint8_t kInitialLayerFlags = 0x2F;

class TMapDocument {
public:
    TMapDocument();

    int32_t W() const { return W_; }
    int32_t H() const { return H_; }
    bool InMap(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < W_ && y < H_; }
    size_t Index(int32_t x, int32_t y) const { return size_t(y) * size_t(W_) + size_t(x); }
    uint16_t Cell(int layer, int32_t x, int32_t y) const { return Planes[layer][Index(x, y)]; }
    void SetCell(int layer, int32_t x, int32_t y, uint16_t value) {
        Planes[layer][Index(x, y)] = value;
    }

    // Sets every cell of every plane to 0; the size stays.
    void ClearCells();
    // Re-lays the planes for a new size: each cell keeps its column and row,
    // cells outside the new size are lost, new cells are 0. Raises EMapSize for
    // a negative size, more than kMaxMapCells cells or a side above
    // kMaxMapSide; nothing changes then.
    void ResizePlanes(int32_t newWidth, int32_t newHeight);
    // A new size with every cell 0 (the map reader's start).
    void SetEmptyMap(int32_t width, int32_t height);

    // Planes[layer][y * W + x], each W x H cells.
    std::array<std::vector<uint16_t>, kLayerCount> Planes;
    uint8_t LayerFlags = kInitialLayerFlags;
    bool Modified = false;
    // The name shown in the caption (program-relative form) and the file it stands for.
    std::string DocName = "Untitled";
    std::string DocPath = "Untitled";

private:
    static void CheckSize(int64_t width, int64_t height);

    int32_t W_ = 0;
    int32_t H_ = 0;
};

} // namespace mapedit
