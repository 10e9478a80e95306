#pragma once
// The library's side of the message loop: turning key messages into character
// messages, handing messages to the fullscreen window procedure, and draining
// the queue.
#include "vantor32/platform.h"

namespace vantor32 {

// A key down with a character posts the matching Char (SysChar with Alt).
void TranslateMessage(const Message& message);
// Activation and the library's own messages go to VT_winProc; everything else
// to the system's default handling.
void DispatchMessage(const Message& message);
// Does pending system work, then translates and dispatches every message.
void PumpMessages();

} // namespace vantor32
