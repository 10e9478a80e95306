#include "mapedit/ui/palettemarks.h"

namespace mapedit::ui {

std::string TPaletteMarks::SetMarkClick() {
    MarkMode_ = !MarkMode_;
    return Caption();
}

std::optional<int> TPaletteMarks::MarkerClick(int index, int topRow) {
    if (index < 0 || index >= kMarkerCount) return std::nullopt;
    if (MarkMode_) {
        Tags_[size_t(index)] = topRow;
        MarkMode_ = false;
        return std::nullopt;
    }
    return Tags_[size_t(index)];
}

} // namespace mapedit::ui
