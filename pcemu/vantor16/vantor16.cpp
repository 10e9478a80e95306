#include "vantor16/vantor16.h"

namespace {
// The desktop owns the screen until a fullscreen program takes it.
int desktopOutputOn = 1;
} // namespace

extern "C" {

void _DEATH(void) {
    desktopOutputOn = 0;
}

void _RESURRECTION(void) {
    desktopOutputOn = 1;
}

uint32_t UTProc(void*, uint32_t userValue, void**) {
    switch (userValue) {
    case 0:
        _DEATH();
        return 1;
    case 1:
        _RESURRECTION();
        return 1;
    default:
        return 0;
    }
}

int Vantor16_DesktopOutputOn(void) {
    return desktopOutputOn;
}
}
