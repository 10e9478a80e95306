// A companion whose entries exist but whose every service fails: the flat
// thunk cannot start SharedBlock.
#include <cstdint>

extern "C" uint32_t FLATTHUNK(uint32_t) {
    return 0;
}

extern "C" uint32_t UTProc(uint32_t*, uint32_t, uint32_t**) {
    return 0;
}
