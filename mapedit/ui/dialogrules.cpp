#include "mapedit/ui/dialogrules.h"

namespace mapedit::ui {

namespace {

bool TooLarge(int32_t width, int32_t height) {
    return int64_t(width) * int64_t(height) * 2 > kMaxLayerBytes;
}

} // namespace

// A product above the limit means neither side is 0, so the divisions are safe.
int32_t WidthOnEnter(int32_t width, int32_t height) {
    return TooLarge(width, height) ? kMaxLayerCells / height : width;
}

int32_t HeightOnEnter(int32_t width, int32_t height) {
    return TooLarge(width, height) ? kMaxLayerCells / width : height;
}

HandlePosition HandleFromTag(int tag) {
    if (tag < 1 || tag > 9) return {};
    return {uint8_t((tag - 1) % 3), uint8_t((tag - 1) / 3)};
}

} // namespace mapedit::ui
