// Runs with libtobrin32 and libvantor32 loaded, which both export
// DllEntryPoint. Prints how many times tobrin32 bound at load, how many
// detaches through each documented route it takes until tobrin32 releases
// its companion after one more attach through that route, and whether
// vantor32 still reaches its own companion.
#include "tobrin16/protocol.h"
#include "tobrin16/tobrin16.h"
#include "tobrin32/tobrin32.h"
#include "vantor32/vantor32.h"

#include <dlfcn.h>

#include <cstdio>

// From the fullscreen companion (its header's UTProc would clash with this
// companion's).
extern "C" int Vantor16_DesktopOutputOn(void);

namespace {

using Entry = int (*)(void*, uint32_t, void*);

int DetachesUntilRelease(Entry entry) {
    if (!entry) return -1;
    const uint64_t released = Tobrin16_ServiceCalls(tobrin16::kReleaseSharedBlock);
    entry(nullptr, TB_DLL_PROCESS_ATTACH, nullptr);
    int detaches = 0;
    while (Tobrin16_ServiceCalls(tobrin16::kReleaseSharedBlock) == released && detaches < 10) {
        entry(nullptr, TB_DLL_PROCESS_DETACH, nullptr);
        ++detaches;
    }
    entry(nullptr, TB_DLL_PROCESS_ATTACH, nullptr); // bound again
    return detaches;
}

} // namespace

int main() {
    std::printf("bound %llu;", static_cast<unsigned long long>(
                                   Tobrin16_ServiceCalls(tobrin16::kStartSharedBlock)));
    void* self = dlopen("libtobrin32.so", RTLD_NOLOAD | RTLD_NOW);
    const auto byHandle = self ? reinterpret_cast<Entry>(dlsym(self, "DllEntryPoint")) : nullptr;
    std::printf(" handle %d;", DetachesUntilRelease(byHandle));
    std::printf(" alias %d;", DetachesUntilRelease(TB_DllEntryPoint));
    VT_startFullScreen(nullptr, 320, 200);
    std::printf(" vantor takes the screen %d\n", Vantor16_DesktopOutputOn() == 0);
    VT_restoreGDI();
    return 0;
}
