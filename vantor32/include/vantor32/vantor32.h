#pragma once
// vantor32: takes the screen from the desktop and delivers keyboard, mouse and
// timer input as fixed-size event records.
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Windows are opaque handles; a program's own window may be passed as one.
typedef void* VTWindow;

typedef struct VTEventRecord {
    uint32_t Kind; // one VT_EV_* bit; 0 = no event
    uint32_t Time; // milliseconds since system start
    int32_t X;     // mouse position in mode pixels
    int32_t Y;
    uint32_t Code;      // keys: char | scan << 8 | repeat << 16; buttons: 1 left, 4 right
    uint32_t Modifiers; // VT_MOD_* bits
    int32_t Next;       // queue links (slot index, -1 = none), copied out unchanged
    int32_t Prev;
} VTEventRecord;

#ifdef __cplusplus
static_assert(sizeof(VTEventRecord) == 32, "VTEventRecord is 32 bytes");
static_assert(offsetof(VTEventRecord, Time) == 4 && offsetof(VTEventRecord, X) == 8 &&
                  offsetof(VTEventRecord, Y) == 12 && offsetof(VTEventRecord, Code) == 16 &&
                  offsetof(VTEventRecord, Modifiers) == 20 && offsetof(VTEventRecord, Next) == 24 &&
                  offsetof(VTEventRecord, Prev) == 28,
              "VTEventRecord field offsets");
#else
_Static_assert(sizeof(VTEventRecord) == 32, "VTEventRecord is 32 bytes");
#endif

// Event kinds. Programs may post kinds of their own (for example 0x81).
#define VT_EV_KEYDOWN 0x01u
#define VT_EV_KEYREPEAT 0x02u
#define VT_EV_KEYUP 0x04u
#define VT_EV_MOUSEDOWN 0x08u
#define VT_EV_MOUSEUP 0x10u
#define VT_EV_MOUSEMOVE 0x20u
#define VT_EV_TIMERTICK 0x40u
#define VT_EV_ALL 0xFFFFu

// Mouse button codes of button events.
#define VT_BUTTON_LEFT 1u
#define VT_BUTTON_RIGHT 4u

// Modifier bits.
#define VT_MOD_LEFTBUTTON 0x0001u
#define VT_MOD_RIGHTBUTTON 0x0002u
#define VT_MOD_SHIFT 0x0018u
#define VT_MOD_CTRL 0x0020u
#define VT_MOD_ALT 0x0040u
#define VT_MOD_DOUBLECLICK 0x8000u

// Suspend callback flags: may the user switch away (return 0 to refuse), and
// the screen is back (restore mode, palette and picture; result ignored).
#define VT_SUSPEND_ASK 1
#define VT_SUSPEND_RESUMED 2

// Message box flags and results, with their usual values.
#ifndef MB_OK
#define MB_OK 0x00000000u
#define MB_OKCANCEL 0x00000001u
#define MB_ABORTRETRYIGNORE 0x00000002u
#define MB_YESNOCANCEL 0x00000003u
#define MB_YESNO 0x00000004u
#define MB_RETRYCANCEL 0x00000005u
#define MB_TYPEMASK 0x0000000Fu
#define MB_ICONHAND 0x00000010u
#define MB_ICONQUESTION 0x00000020u
#define MB_ICONEXCLAMATION 0x00000030u
#define MB_ICONASTERISK 0x00000040u
#define MB_ICONMASK 0x000000F0u
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONINFORMATION MB_ICONASTERISK
#endif
#ifndef IDOK
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7
#endif

// Window messages the fullscreen window procedure handles.
#define VT_WM_ACTIVATE 0x0006u
#define VT_WM_USER 0x0400u

// Load notifications of DllEntryPoint.
#define VT_DLL_PROCESS_DETACH 0u
#define VT_DLL_PROCESS_ATTACH 1u

typedef int32_t (*VTSuspendAppCallback)(int32_t flag);
typedef void (*VTMouseCallback)(int32_t x, int32_t y);

int32_t DllEntryPoint(void* module, uint32_t reason, void* reserved);

// Takes the screen; returns the fullscreen window. mainWindow may be null.
VTWindow VT_startFullScreen(VTWindow mainWindow, int32_t modeWidth, int32_t modeHeight);
void VT_restoreGDI(void);
// 1 while the screen is taken, else 0.
int32_t VT_inFullScreen(void);
void VT_setSuspendAppCallback(VTSuspendAppCallback callback);
// The box's result; 0 when the suspend callback refused to let it show.
int32_t VT_messageBox(const char* text, const char* caption, uint32_t flags);
intptr_t VT_winProc(VTWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam);
void __ShutdownGDI(void);
void __RestoreGDI(void);
void __Death(void);
void __Resurrection(void);

int32_t VT_getEvent(VTEventRecord* record, uint32_t mask);
int32_t VT_peekEvent(VTEventRecord* record, uint32_t mask);
int32_t VT_postEvent(uint32_t kind, uint32_t code, uint32_t modifiers);
void VT_flushEvent(uint32_t mask);
void VT_haltEvent(VTEventRecord* record, uint32_t mask);
// Ticks of 1/18.2 s; 0 stops the timer. Returns the previous setting.
int32_t VT_setTimerTick(int32_t ticks);
void VT_getMousePos(int32_t* x, int32_t* y);
void VT_setMousePos(int32_t x, int32_t y);
void VT_setMouseCallback(VTMouseCallback callback);

#ifdef __cplusplus
}
#endif
