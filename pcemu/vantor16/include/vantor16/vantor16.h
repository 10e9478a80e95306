#pragma once
// The fullscreen companion: switches the desktop's drawing output off and on.
// vantor32 finds these entries by name when it is loaded.
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Desktop output off (the fullscreen program owns the screen) and back on.
void _DEATH(void);
void _RESURRECTION(void);

// Universal-thunk entry: user value 0 is _DEATH, 1 is _RESURRECTION. Takes no
// argument array and no translation list; returns 1 when the value was known.
uint32_t UTProc(void* arguments, uint32_t userValue, void** translationList);

// 1 while the desktop draws to the screen, 0 between _DEATH and _RESURRECTION.
int Vantor16_DesktopOutputOn(void);

#ifdef __cplusplus
}
#endif
