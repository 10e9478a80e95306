#include "librarystate.h"

namespace vantor32 {

LibraryState& State() {
    static LibraryState state;
    return state;
}

std::int32_t Rescale(std::int32_t value, std::int32_t to, std::int32_t from) {
    if (to <= 0 || from <= 0) return value;
    return static_cast<std::int32_t>(static_cast<std::int64_t>(value) * to / from);
}

} // namespace vantor32
