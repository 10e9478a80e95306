// Runs with libvantor32 loaded: prints what the companion's desktop output
// does around a takeover, so a parent process can check the binding it made.
#include "vantor16/vantor16.h"
#include "vantor32/vantor32.h"

#include <cstdio>

int main() {
    std::printf("start %d;", Vantor16_DesktopOutputOn());
    VT_startFullScreen(nullptr, 320, 200);
    std::printf(" taken %d;", Vantor16_DesktopOutputOn());
    VT_restoreGDI();
    std::printf(" restored %d\n", Vantor16_DesktopOutputOn());
    return 0;
}
