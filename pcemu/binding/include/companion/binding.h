// What tobrin32 and vantor32 share in binding to their companion library at
// load time: the emulated Windows version that picks the binding, where the
// companion is, and how a failed binding is reported. Header only: the
// libraries bind in their load-time constructors and link nothing for it.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace companion_binding {

// PCEMU_WINVER is the emulated Windows version: 4 and up (also when unset or
// not a number) bind through the flat thunk, lower versions through the
// universal thunk.
inline bool FlatThunkWindows() {
    const char* text = std::getenv("PCEMU_WINVER");
    if (!text || !*text) return true;
    char* end = nullptr;
    const long version = std::strtol(text, &end, 10);
    return *end != '\0' || (version & 0xFF) >= 4;
}

// The companion library: the one `variable` names, else the one built with
// the library.
inline const char* CompanionPath(const char* variable, const char* builtIn) {
    const char* path = std::getenv(variable);
    return path && *path ? path : builtIn;
}

// "<library> Error: <message>" on stderr, flushed: a failed binding ends the
// process right after.
inline void ReportError(const char* library, const char* message) {
    std::fprintf(stderr, "%s Error: %s\n", library, message);
    std::fflush(stderr);
}

} // namespace companion_binding
