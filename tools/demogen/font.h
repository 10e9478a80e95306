#pragma once
// A tiny 5 x 7 pixel font for captions in the demo pictures: capitals, digits
// and a little punctuation; lower-case letters are drawn as capitals.
#include "demogen/canvas.h"

#include <string_view>

namespace demo {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;

// Draws `text` with its top-left corner at (x, y), each font pixel a square of
// `scale` pixels, one font pixel between letters. Unknown characters are blank.
void DrawText(Canvas& canvas, int x, int y, std::string_view text, uint8_t colour, int scale = 1);

// Width in pixels that DrawText covers.
int TextWidth(std::string_view text, int scale = 1);

} // namespace demo
