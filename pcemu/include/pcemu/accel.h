// The adapter's 2D drawing engine: its register block, commands and status,
// and what the host may ask of it.
//
// Registers are 32-bit words in a memory-mapped block at kAccelRegisterBase.
// Drawing coordinates are pixels relative to the active buffer (ORIGIN, a
// byte offset in video memory, with PITCH bytes per line and BPP bits per
// pixel); the engine draws only inside the clip rectangle and inside video
// memory. A command runs when its code is written to COMMAND, with its
// operands in P0..P7. After each command the engine stays busy for a number
// of STATUS reads that grows with the pixels drawn; while it is busy the host
// views of video memory (the 64 KB window and the linear buffer) are closed,
// and any touch of them through the host or emulated code counts as a direct
// access while busy (see DESIGN.md). Writing 1 to DIRECT_ACCESS ends the busy
// time and keeps video memory open, commands included, until 0 is written.
#pragma once

#include <cstdint>

namespace pcemu {

inline constexpr uint32_t kAccelRegisterBase = 0xF0200000;
inline constexpr uint32_t kAccelRegisterSize = 0x1000;
// What ID reads: "AF2D" in memory order.
inline constexpr uint32_t kAccelId = 0x44324641;

enum AccelRegister : uint32_t {
    kAccelIdRegister = 0x000,   // read only
    kAccelStatus = 0x004,       // read only: kAccelBusy, kAccelDirect
    kAccelDirectAccess = 0x008, // 1: video memory open for the processor
    kAccelViolations = 0x00C,   // read only: direct accesses while busy (low 32 bits)
    kAccelOrigin = 0x010,       // byte offset of the active buffer
    kAccelPitch = 0x014,        // bytes per line
    kAccelBpp = 0x018,          // 8, 15, 16, 24 or 32
    kAccelForeMix = 0x01C,      // mix of foreground pixels (0 replace, 1 XOR, 2 OR, 3 AND)
    kAccelBackMix = 0x020,      // mix of background pixels (patterns, stipples)
    kAccelForeColour = 0x024,
    kAccelBackColour = 0x028,
    kAccelTransparent = 0x02C, // the transparent colour of the transparent blits
    kAccelClipLeft = 0x030,    // clip rectangle, inclusive, signed
    kAccelClipTop = 0x034,
    kAccelClipRight = 0x038,
    kAccelClipBottom = 0x03C,
    kAccelPattern0 = 0x040, // 8 x 8 mono pattern rows 0-3 (row 0 in the low byte)
    kAccelPattern1 = 0x044, // rows 4-7; bit 7 of a row is its leftmost pixel
    kAccelStipple = 0x048,  // 16-bit line stipple, bit 15 first
    kAccelParam0 = 0x050,   // P0..P7 at 0x050, 0x054, ... 0x06C
    kAccelCommand = 0x07C,  // write: run a command
    kAccelCursorX = 0x080,  // hardware cursor: screen position of the hot spot
    kAccelCursorY = 0x084,
    kAccelCursorHotX = 0x088,
    kAccelCursorHotY = 0x08C,
    kAccelCursorColour = 0x090, // 0x00RRGGBB
    kAccelCursorShow = 0x094,   // non-zero: shown by the scanout
    kAccelCursorAnd = 0x400,    // 32 words: the AND mask, row 0 first, bit 31 leftmost
    kAccelCursorXor = 0x480,    // 32 words: the XOR mask
};

enum AccelStatusBits : uint32_t {
    kAccelBusy = 0x1,
    kAccelDirect = 0x2,
};

// Command codes. Operands:
//   FillRect, PattRect:  P0 left, P1 top, P2 width, P3 height
//   Scan, PattScan:      P0 y, P1 x1, P2 x2 (x2 excluded; either order)
//   ScanList:            P0 y, P1 count, P2 guest address of count (x1, x2)
//                        pairs of 16-bit values, one per line from y down
//   Line, StippleLine:   P0 x1, P1 y1, P2 x2, P3 y2 in 16.16 fixed point
//   Blit and the transparent blits: P0 source left, P1 source top, P2 width,
//                        P3 height, P4 destination left, P5 destination top,
//                        P6 mix; with kAccelLinearSource P0 is the byte
//                        offset of a packed source bitmap (P1 unused)
enum AccelCommand : uint32_t {
    kAccelFillRect = 1,
    kAccelScan = 2,
    kAccelScanList = 3,
    kAccelPattRect = 4,
    kAccelPattScan = 5,
    kAccelLine = 6,
    kAccelStippleLine = 7,
    kAccelBlit = 8,
    kAccelSrcTransBlit = 9,  // source pixels equal to TRANSPARENT are skipped
    kAccelDstTransBlit = 10, // only destination pixels equal to TRANSPARENT change
    kAccelLinearSource = 0x100,
};

// The engine as the host sees it.
class Accelerator {
public:
    virtual ~Accelerator() = default;
    virtual bool busy() const = 0;
    virtual bool directAccess() const = 0;
    // Touches of video memory while the engine was busy, since the machine
    // was made.
    virtual uint64_t violations() const = 0;
    // Commands executed.
    virtual uint64_t commands() const = 0;
};

} // namespace pcemu
