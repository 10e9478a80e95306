#pragma once
// Named user input for headless fullscreen runs: what a key press, a switch
// to another application or a mouse click sends to the window system.
#include "vantor32/platform.h"

#include <string>
#include <string_view>
#include <vector>

namespace maprun {

// "esc", "1", "a" to "z", "space" (press and release), "alt+tab" (switch
// away; the user comes back later), "click" (left button at the desktop's
// centre), "move" (the mouse moves). Empty for any other name.
std::vector<vantor32::Message> KeyMessages(std::string_view name, int desktopWidth,
                                           int desktopHeight);

// Raises std::invalid_argument naming the first name that is none of the above.
void CheckKeyNames(const std::vector<std::string>& names);

} // namespace maprun
