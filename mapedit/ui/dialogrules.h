#pragma once
// The few rules of the editor's small windows, kept free of widgets.
#include <cstdint>

namespace mapedit::ui {

// A map layer of width x height 16-bit cells must stay within 65500 bytes. The
// Map Settings dialog applies this when one of its size fields gets the focus:
// the field being entered gives way.
inline constexpr int64_t kMaxLayerBytes = 65500;
inline constexpr int32_t kMaxLayerCells = 32750;

// The value the width field takes when it is entered.
int32_t WidthOnEnter(int32_t width, int32_t height);
// The value the height field takes when it is entered.
int32_t HeightOnEnter(int32_t width, int32_t height);

// The handle window's nine buttons, tags 1 to 9 in rows from the top left:
// which corner, edge or centre of the stamp sits under the mouse.
struct HandlePosition {
    uint8_t x = 1; // 0 left, 1 centre, 2 right
    uint8_t y = 1; // 0 top, 1 middle, 2 bottom
    bool operator==(const HandlePosition&) const = default;
};
HandlePosition HandleFromTag(int tag);

} // namespace mapedit::ui
