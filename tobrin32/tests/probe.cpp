// Runs with libtobrin32 loaded: if the library bound, main starts and asks
// the video BIOS for its mode through the companion.
#include "tobrin32/tobrin32.h"

#include <cstdio>

int main() {
    std::printf("started\n");
    RealRegs r = {};
    r.h.ah = 0x0F;
    TB_int86(0x10, &r, &r);
    std::printf("mode %d\n", r.h.al);
    return 0;
}
