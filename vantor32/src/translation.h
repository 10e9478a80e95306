#pragma once
// Turns pending window messages into queued events.

namespace vantor32 {

// Takes messages until none is left, a move merges into the queued one, or a
// key starts the application switch.
void Collect();

} // namespace vantor32
