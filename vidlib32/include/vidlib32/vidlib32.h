#pragma once
// SuperVGA graphics: VBE detection, modes, banks and pages, drawing in every
// depth, palettes, text. Every export is a plain C function; the device
// record is the library's own static data that callers only read.
#include "vidlib32/vbeaf.h"

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Mode number flags accepted by the mode-setting calls (low 9 bits: the mode).
enum {
    SV_MODE_LINEAR = 0x4000,
    SV_MODE_MULTIBUFFER = 0x2000,
    SV_MODE_VIRTUALSCROLL = 0x1000,
};

// SV_ModeInfo attribute bits.
enum {
    SV_ATTR_MULTIBUFFER = 0x0001,
    SV_ATTR_VIRTUALSCROLL = 0x0002,
    SV_ATTR_BANKED = 0x0004,
    SV_ATTR_LINEAR = 0x0008,
    SV_ATTR_ACCELERATED = 0x0010,
    SV_ATTR_NONVGA = 0x0100,
    SV_ATTR_VBE = 0x8000,
};

#pragma pack(push, 1)
typedef struct SV_ModeInfo {
    uint16_t mode;
    uint16_t attributes;
    int16_t xRes, yRes, lineBytes, pixelBits;
    uint16_t pages;
    uint8_t redSize, redPos, greenSize, greenPos, blueSize, bluePos, rsvdSize, rsvdPos;
} SV_ModeInfo;
#pragma pack(pop)

// Fields in their fixed order, naturally aligned: the record lives in host
// memory only and its pointers are native ones.
typedef struct SV_DeviceInfo {
    int32_t version;
    int32_t lastX, lastY;
    int32_t colorMax, colorDefault;
    int32_t lastPage;
    int32_t lineBytes;
    int32_t pixelBits, pixelBytes;
    int32_t memoryKB;
    uint32_t linearBase;
    uint16_t* modes;     // usable mode numbers, ended by 0xFFFF
    const char* oemName; // zero-terminated OEM or driver vendor name
    int32_t currentBank;
    int32_t canVirtualize, hasMultiBuffer, hasVirtualScroll, hasWideDac, hasAccel2D, hasHwCursor;
    int32_t virtualActive;
    uint8_t* frameMemory; // bank window, linear buffer or virtual linear buffer
    intptr_t pageOrigin;  // banked: offset in the first bank; linear: the page's address
    int16_t pageBank;
    uint8_t redMask, greenMask, blueMask;
    int32_t redPosition, redLoss;
    int32_t greenPosition, greenLoss;
    int32_t bluePosition, blueLoss;
    void* accelDriver;
    void (*putPixel)(int32_t x, int32_t y, uint32_t colour);
    void (*beginPixel)(void);
    void (*putPixelFast)(int32_t x, int32_t y, uint32_t colour);
    void (*endPixel)(void);
    void (*clear)(uint32_t colour);
    void (*line)(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour);
    void (*beginLine)(void);
    void (*lineFast)(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour);
    void (*endLine)(void);
    void (*setActivePage)(int32_t page);
    void (*setVisualPage)(int32_t page, int32_t waitForRetrace);
    void (*beginDirectAccess)(void);
    void (*endDirectAccess)(void);
} SV_DeviceInfo;

#ifdef __cplusplus
static_assert(sizeof(SV_ModeInfo) == 22, "SV_ModeInfo is the packed 22-byte record");
#else
_Static_assert(sizeof(SV_ModeInfo) == 22, "SV_ModeInfo is the packed 22-byte record");
#endif

// Library frame and mode setting.
SV_DeviceInfo* SV_init(int32_t useAccelDriver);
void SV_initRMBuf(void);
void SV_exit(void);
int32_t SV_getModeInfo(int32_t mode, SV_ModeInfo* modeInfo);
int32_t SV_getModeName(char* buffer, const SV_ModeInfo* modeInfo, int32_t mode, int32_t useLinear);
int32_t SV_setMode(int32_t mode, int32_t useWideDac, int32_t useVirtualBuffer, int32_t bufferCount);
int32_t SV_setVirtualMode(int32_t mode, int32_t virtualX, int32_t virtualY, int32_t useWideDac,
                          int32_t useVirtualBuffer, int32_t bufferCount);
void SV_restoreMode(void);
void SV_setACCELDriver(void* driver);

// Banks, pages, display start.
void SV_setBank(int32_t bank);
void SV_setBankASM(int32_t bank);
void SV_setActivePage(int32_t page);
void SV_setVisualPage(int32_t page, int32_t waitForRetrace);
int32_t SV_setDisplayStart(int32_t x, int32_t y, int32_t waitForRetrace);
void _VBE_setBankA(int32_t bank);
void _VBE_setBankAB(int32_t bank);
void _VBE20_setBankA(int32_t bank);
void _VBE20_setBankAB(int32_t bank);
void _VBE20_setBankA_ES(int32_t bank);
void _VBE20_setBankAB_ES(int32_t bank);

// Drawing through the record's slots.
void SV_putPixel(int32_t x, int32_t y, uint32_t colour);
void SV_beginPixel(void);
void SV_putPixelFast(int32_t x, int32_t y, uint32_t colour);
void SV_endPixel(void);
void SV_clear(uint32_t colour);
void SV_line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour);
void SV_beginLine(void);
void SV_lineFast(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour);
void SV_endLine(void);
void SV_beginDirectAccess(void);
void SV_endDirectAccess(void);

// Per-depth banked routines.
void _SV_clear16(uint32_t colour);
void _SV_clear256(uint32_t colour);
void _SV_clear32k(uint32_t colour);
void _SV_clear16m(uint32_t colour);
void _SV_clear4G(uint32_t colour);
void _SV_putPixel16(int32_t x, int32_t y, uint32_t colour);
void _SV_putPixel256(int32_t x, int32_t y, uint32_t colour);
void _SV_putPixel32k(int32_t x, int32_t y, uint32_t colour);
void _SV_putPixel16m(int32_t x, int32_t y, uint32_t colour);
void _SV_putPixel4G(int32_t x, int32_t y, uint32_t colour);
void _SV_line16(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour);
void _SV_line256(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour);
void _SV_line32k(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour);
void _SV_line16m(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour);
void _SV_line4G(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour);

// Palette, colour packing, text, processor.
void SV_setPalette(int32_t start, int32_t count, const void* palette, int32_t maxPerRetrace);
const void* SV_getDefPalette(void);
uint32_t SV_rgbColor(uint32_t red, uint32_t green, uint32_t blue);
void SV_writeText(int32_t x, int32_t y, const char* text, uint32_t colour);
int32_t SV_queryCpu(void);
void _VGA_setPalette(int32_t start, int32_t count, const void* palette, int32_t waitForRetrace);
void _VBE20_setPalette(int32_t start, int32_t count, const void* palette, int32_t waitForRetrace);

// Accelerated drawing on a VBE/AF driver: the brackets around software
// drawing (the SLOW forms enable direct access, the others wait for the
// engine) and lines through the driver's DrawLine.
void _SV_beginPixelAF(void);
void _SV_endPixelAF(void);
void _SV_beginLineAF(void);
void _SV_endLineAF(void);
void _SV_beginDirectAccessAF(void);
void _SV_endDirectAccessAF(void);
void _SV_beginPixelAFSLOW(void);
void _SV_endPixelAFSLOW(void);
void _SV_beginLineAFSLOW(void);
void _SV_endLineAFSLOW(void);
void _SV_beginDirectAccessAFSLOW(void);
void _SV_endDirectAccessAFSLOW(void);
void _SV_lineFastAF(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour);
void _VBEAF_setBank(int32_t bank);

// VBE/AF drivers: loading and the status of the last load.
enum {
    AF_STATUS_OK = 0,
    AF_STATUS_NOT_DETECTED = 1,
    AF_STATUS_NOT_FOUND = 2,
    AF_STATUS_NOT_A_DRIVER = 3, // also a file shorter than the header or cut short while read
    AF_STATUS_NO_MEMORY = 4,
    AF_STATUS_OLD_VERSION = 5,
    AF_STATUS_NO_MAPPING = 6,
};
// The driver handle is the header of the image, which lives in the emulated
// PC's memory; null and AF_status() tell why when no driver could be loaded.
// Candidates: "c:\VBEAF.DRV" (drive C is the folder PCEMU_DRIVE_C names),
// then VBEAF_PATH's folder, then `directory` (may be null); `\` and `/`
// both separate folders, and names match without regard to case.
AF_DriverHeader* AF_loadDriver(const char* directory);
void AF_unloadDriver(AF_DriverHeader* driver);
int32_t AF_status(void);
const char* AF_errorMsg(int32_t status);
int32_t _AF_initDriver(AF_DriverHeader* driver);

// One wrapper per driver entry: the arguments go into the entry's registers
// (vbeaf.h), EBX = the header; the result is what the entry leaves in EAX,
// or -1 when the entry is absent, the handle is no loaded driver or the
// entry's run failed. Records and blocks that do not lie in the emulated
// PC's memory are copied there for the call (and back where the entry
// writes them).
int32_t AF_getVideoModeInfo(AF_DriverHeader* driver, int32_t mode, AF_ModeInfo* modeInfo);
int32_t AF_setVideoMode(AF_DriverHeader* driver, int32_t mode, int32_t* bytesPerLine,
                        int32_t bufferCount);
int32_t AF_setVirtualVideoMode(AF_DriverHeader* driver, int32_t mode, int32_t virtualX,
                               int32_t virtualY, int32_t* bytesPerLine, int32_t bufferCount);
int32_t AF_restoreTextMode(AF_DriverHeader* driver);
int32_t AF_setBank(AF_DriverHeader* driver, int32_t bank);
int32_t AF_waitTillIdle(AF_DriverHeader* driver);
int32_t AF_enableDirectAccess(AF_DriverHeader* driver);
int32_t AF_disableDirectAccess(AF_DriverHeader* driver);
int32_t AF_setDisplayStart(AF_DriverHeader* driver, int32_t x, int32_t y, int32_t waitForRetrace);
int32_t AF_setActiveBuffer(AF_DriverHeader* driver, int32_t index);
int32_t AF_setVisibleBuffer(AF_DriverHeader* driver, int32_t index, int32_t waitForRetrace);
int32_t AF_setPaletteData(AF_DriverHeader* driver, const AF_Palette* palette, int32_t count,
                          int32_t start, int32_t waitForRetrace);
// Gamma entries have the palette's layout.
int32_t AF_setGammaCorrectData(AF_DriverHeader* driver, const AF_Palette* data, int32_t count,
                               int32_t start);
int32_t AF_setCursor(AF_DriverHeader* driver, const AF_Cursor* cursor);
int32_t AF_setCursorPos(AF_DriverHeader* driver, int32_t x, int32_t y);
int32_t AF_setCursorColor(AF_DriverHeader* driver, uint8_t red, uint8_t green, uint8_t blue);
int32_t AF_showCursor(AF_DriverHeader* driver, int32_t visible);
int32_t AF_setMix(AF_DriverHeader* driver, int32_t foregroundMix, int32_t backgroundMix);
int32_t AF_set8x8MonoPattern(AF_DriverHeader* driver, const uint8_t pattern[8]);
int32_t AF_setLineStipple(AF_DriverHeader* driver, uint16_t stipple);
int32_t AF_setClipRect(AF_DriverHeader* driver, int32_t minX, int32_t minY, int32_t maxX,
                       int32_t maxY);
int32_t AF_drawScan(AF_DriverHeader* driver, uint32_t colour, int32_t y, int32_t x1, int32_t x2);
int32_t AF_drawPattScan(AF_DriverHeader* driver, uint32_t foreground, uint32_t background,
                        int32_t y, int32_t x1, int32_t x2);
int32_t AF_drawScanList(AF_DriverHeader* driver, uint32_t colour, int32_t y, int32_t length,
                        const AF_Scan* scans);
int32_t AF_drawRect(AF_DriverHeader* driver, uint32_t colour, int32_t left, int32_t top,
                    int32_t width, int32_t height);
int32_t AF_drawPattRect(AF_DriverHeader* driver, uint32_t foreground, uint32_t background,
                        int32_t left, int32_t top, int32_t width, int32_t height);
// End points in 16.16 fixed point.
int32_t AF_drawLine(AF_DriverHeader* driver, uint32_t colour, int32_t x1, int32_t y1, int32_t x2,
                    int32_t y2);
int32_t AF_drawStippleLine(AF_DriverHeader* driver, uint32_t foreground, uint32_t background,
                           int32_t x1, int32_t y1, int32_t x2, int32_t y2);
// The trapezoid, triangle, quadrilateral and image entries take blocks this
// library does not read: `values` holds `count` 32-bit values, passed on in
// ESI as they are (addresses among them must be the emulated PC's).
int32_t AF_drawTrap(AF_DriverHeader* driver, uint32_t colour, const int32_t* values, int32_t count);
int32_t AF_drawTri(AF_DriverHeader* driver, uint32_t colour, const int32_t* values, int32_t count);
int32_t AF_drawQuad(AF_DriverHeader* driver, uint32_t colour, const int32_t* values, int32_t count);
int32_t AF_putMonoImage(AF_DriverHeader* driver, uint32_t foreground, uint32_t background,
                        const int32_t* values, int32_t count);
int32_t AF_bitBlt(AF_DriverHeader* driver, int32_t left, int32_t top, int32_t width, int32_t height,
                  int32_t dstLeft, int32_t dstTop, int32_t mix);
int32_t AF_bitBltLin(AF_DriverHeader* driver, int32_t srcOffset, int32_t dstLeft, int32_t dstTop,
                     int32_t width, int32_t height, int32_t mix);
int32_t AF_srcTransBlt(AF_DriverHeader* driver, int32_t left, int32_t top, int32_t width,
                       int32_t height, int32_t dstLeft, int32_t dstTop, int32_t mix,
                       uint32_t transparent);
int32_t AF_srcTransBltLin(AF_DriverHeader* driver, int32_t srcOffset, int32_t dstLeft,
                          int32_t dstTop, int32_t width, int32_t height, int32_t mix,
                          uint32_t transparent);
int32_t AF_dstTransBlt(AF_DriverHeader* driver, int32_t left, int32_t top, int32_t width,
                       int32_t height, int32_t dstLeft, int32_t dstTop, int32_t mix,
                       uint32_t transparent);
int32_t AF_dstTransBltLin(AF_DriverHeader* driver, int32_t srcOffset, int32_t dstLeft,
                          int32_t dstTop, int32_t width, int32_t height, int32_t mix,
                          uint32_t transparent);

// VBE BIOS layer.
void VBE_init(int32_t size, uint32_t selector, uint32_t offset, uint32_t realSegment,
              uint32_t realOffset);
int32_t VBE_detect(void* info);
int32_t VBE_detectEXT(void* info, int32_t forceExtension);
int32_t VBE_getModeInfo(int32_t mode, void* modeInfo);
int32_t VBE_getPageSize(const void* modeInfo);
int32_t VBE_setVideoMode(int32_t mode);
int32_t VBE_getVideoMode(void);
int32_t VBE_setBank(int32_t window, int32_t bank);
int32_t VBE_getBank(int32_t window);
int32_t VBE_setPixelsPerLine(int32_t pixels, int32_t* bytesPerLine, int32_t* pixelsPerLine,
                             int32_t* maxScanLines);
int32_t VBE_setBytesPerLine(int32_t bytes, int32_t* bytesPerLine, int32_t* pixelsPerLine,
                            int32_t* maxScanLines);
int32_t VBE_getScanlineLength(int32_t* bytesPerLine, int32_t* pixelsPerLine, int32_t* maxScanLines);
int32_t VBE_getMaxScanlineLength(int32_t* maxBytes, int32_t* maxPixels);
int32_t VBE_setDisplayStart(int32_t x, int32_t y, int32_t waitForRetrace);
int32_t VBE_getDisplayStart(int32_t* x, int32_t* y);
int32_t VBE_setDACWidth(int32_t bits);
int32_t VBE_getDACWidth(void);
int32_t VBE_setPalette(int32_t start, int32_t count, const void* palette, int32_t waitForRetrace);
void* VBE_getBankedPointer(const void* modeInfo);
void* VBE_getLinearPointer(const void* modeInfo);
void* VBE_getSetBank(void);
void* VBE_getSetDisplayStart(void);
void* VBE_getSetPalette(void);
void VBE_freePMCode(void);
int32_t VBE_getBankFunc32(int32_t* length, void** code, int32_t reserved, int32_t shift);

#ifdef __cplusplus
}
#endif
