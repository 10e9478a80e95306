#pragma once
// Set-up errors the library cannot go on from.

namespace vidlib32 {

// Shows the message (its caption and text, on stderr) and ends the process
// with exit code 1.
[[noreturn]] void FatalError(const char* caption, const char* text);

// Ends the process with exit code 1 without a message.
[[noreturn]] void FatalExit();

} // namespace vidlib32
