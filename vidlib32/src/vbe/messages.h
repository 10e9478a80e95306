#pragma once
// The BIOS layer's fatal messages.

namespace vidlib32 {

inline constexpr const char* kFatalCaption = "VESAVBE Fatal Error!";
inline constexpr const char* kSmallBufferMessage =
    "Real mode block must be at least 512 bytes in length!";
inline constexpr const char* kNoBufferMessage =
    "You *MUST* call VBE_init() before you can call the VESAVBE module!";

} // namespace vidlib32
