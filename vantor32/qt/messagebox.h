#pragma once
// A modal QMessageBox for MB_* flags, answering with ID* results.
#include <cstdint>

namespace vantor32qt {

int ShowMessageBox(const char* text, const char* caption, std::uint32_t flags);

} // namespace vantor32qt
