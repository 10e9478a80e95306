#pragma once
// Message records made from Qt's key and mouse events.
#include "vantor32/platform.h"

#include <optional>

class QKeyEvent;
class QMouseEvent;

namespace vantor32qt {

// Nothing for the releases X11 sends between auto-repeated presses.
std::optional<vantor32::Message> KeyMessage(const QKeyEvent& event, bool press);
// Nothing for buttons other than left and right.
std::optional<vantor32::Message> MouseMessage(const QMouseEvent& event);

} // namespace vantor32qt
