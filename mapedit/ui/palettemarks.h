#pragma once
// The five palette markers and "Set Mark": each marker remembers a palette row
// to scroll back to; "Set Mark" arms the next marker click to store the row
// shown at the top instead.
#include <array>
#include <optional>
#include <string>

namespace mapedit::ui {

class TPaletteMarks {
public:
    static constexpr int kMarkerCount = 5;

    // Toggles MarkMode; returns the button's new caption.
    std::string SetMarkClick();
    // A click on marker `index` (0 to 4) while the palette shows `topRow` at
    // the top: in MarkMode the marker stores the row and MarkMode ends (no
    // scrolling); otherwise the row to scroll to.
    std::optional<int> MarkerClick(int index, int topRow);

    bool MarkMode() const { return MarkMode_; }
    std::string Caption() const { return MarkMode_ ? "Cancel" : "Set Mark"; }
    int Tag(int index) const { return Tags_.at(size_t(index)); }

private:
    bool MarkMode_ = false;
    std::array<int, kMarkerCount> Tags_{};
};

} // namespace mapedit::ui
