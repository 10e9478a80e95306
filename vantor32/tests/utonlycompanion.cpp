// A companion with only the universal-thunk entry, reporting each call.
#include <cstdint>
#include <cstdio>

extern "C" std::uint32_t UTProc(void* arguments, std::uint32_t userValue, void** translationList) {
    std::printf("[UTProc %u%s%s]", userValue, arguments ? " args" : "",
                translationList ? " list" : "");
    return 1;
}
