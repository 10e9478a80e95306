#pragma once
// Button pictures drawn in code: the argument presets (arrows, digits, wincing
// and smiling faces), the handle window's nine positions, the zoom buttons and
// the About box's program icon.
#include <QIcon>
#include <QPixmap>
#include <string_view>

namespace mapedit::ui {

inline constexpr int kPresetGlyphSize = 20;

// The picture named by an attribute's preset ("ArrowDownLeft", "Number7",
// "Wince2", "Smile0", ...); a null pixmap for a name it does not know.
QPixmap PresetGlyph(std::string_view name);

// The handle button with tag 1 to 9: a large square with a small marker at
// the button's own position.
QPixmap HandleGlyph(int tag, int size);

// A magnifying glass with a plus (zoom in) or a minus.
QIcon ZoomGlyph(bool zoomIn);

// A style that makes the pressed one of a group of toggle buttons stand out.
inline constexpr const char* kToggleButtonStyle =
    "QToolButton:checked { background-color: #a9c4e6; border: 1px solid #3d6394;"
    " border-radius: 2px; }";

// The About box's picture.
QPixmap ProgramIconPicture(int size);

} // namespace mapedit::ui
