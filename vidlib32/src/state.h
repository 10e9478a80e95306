#pragma once
// State shared by the library's layers: the device record it hands out, the
// state of the VBE layer, and what each mode set chooses for banking,
// drawing and palettes. One thread uses the library; nothing here is locked.
#include "vidlib32/vidlib32.h"

#include <cstdint>

namespace vidlib32 {

// The one device record; SV_init returns its address.
extern SV_DeviceInfo gDevice;

// The VBE BIOS layer: what the last detection found and where its copies live.
struct VbeState {
    int32_t version = 0;       // fixed-up VbeVersion of the last detection
    int32_t memoryKB = 0;      // TotalMemory x 64
    uint32_t capabilities = 0; // Capabilities of the last detection (bit 1: not VGA compatible)
    // Transfer buffer in conventional memory; selector 0 = none held.
    int32_t bufferSize = 0;
    uint32_t bufferSelector = 0, bufferOffset = 0, bufferSegment = 0, bufferRealOffset = 0;
    uint8_t* pmInterfaceCopy = nullptr; // copy of the 4F0Ah table (in guest memory), or null
    uint16_t mmioSelector = 0;          // selector of the table's register area, or 0
    void* linearPointer = nullptr;      // first successful linear mapping, kept
};
extern VbeState gVbe;

// Chosen by each mode set, used by banking, drawing and palette code.
struct ModeState {
    int32_t pageSize = 0;  // bytes from one page to the next; 0 on the accelerator path
    int32_t bankShift = 0; // log2 of 64 KB divided by the window granularity
    bool dacIs6Bit = false;
    bool restore50Lines = false;
    // The DAC ports serve this mode: mode 13h, or a VGA-compatible
    // controller (VbeInfoBlock Capabilities bit 1 clear). When the BIOS
    // refuses a palette, the palette code programs them instead. (Not
    // ModeAttributes bit 5: the Bochs VGABIOS and SeaVGABIOS set it for
    // every SVGA mode, yet their DAC ports work.)
    bool vgaCompatible = false;
    void (*bankRoutine)(int32_t bank) = nullptr;
    void* presetDriver = nullptr;
    // The BIOS's protected-mode entries, fetched at each mode set (null: none).
    void* pmSetBank = nullptr;
    void* pmSetDisplayStart = nullptr;
    void* pmSetPalette = nullptr;
};
extern ModeState gMode;

// The accelerator driver in use (the record's accelDriver), or null.
inline AF_DriverHeader* AccelDriver() {
    return static_cast<AF_DriverHeader*>(gDevice.accelDriver);
}

// Drawing routines of one colour depth, banked or linear.
struct DepthRoutines {
    void (*clear)(uint32_t colour);
    void (*putPixel)(int32_t x, int32_t y, uint32_t colour);
    void (*line)(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour);
};
// The routines for pixelBits 4, 8, 15, 16, 24 or 32; null for other depths.
// Linear forms exist for every depth but 4.
const DepthRoutines* BankedRoutines(int32_t pixelBits);
const DepthRoutines* LinearRoutines(int32_t pixelBits);

// Page routines placed in the record's slots by the mode set.
void SetActivePageBanked(int32_t page);
void SetActivePageLinear(int32_t page);
void SetVisualPageVbe(int32_t page, int32_t waitForRetrace);
// The routine that does nothing (brackets, the 13h bank routine).
void DoNothing();
void DoNothingBank(int32_t bank);

} // namespace vidlib32
