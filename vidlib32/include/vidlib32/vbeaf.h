#pragma once
// VBE/AF accelerator driver files: the driver header, the records its entries
// read and write, and the calling conventions of the entries.
//
// This is this project's own layout of the driver header. The field names and
// their order are the standard's; the byte positions are defined here, once,
// and every driver image built by tools/mkvbeaf and every loader in this tree
// uses them. Each record below is packed and its offsets are checked at
// compile time.
//
// Addresses. A driver image is loaded whole into emulated (guest) memory and
// its code runs in the emulated processor in 32-bit protected mode with flat
// segments. Every 32-bit address field below therefore holds a guest flat
// address, never a host pointer; a library that reads such a field converts
// it to a host pointer itself. In the file, the fields marked "image offset"
// hold offsets from the start of the image (0 = absent); the driver's
// InitDriver adds the image's address to each non-zero one, so after a
// successful InitDriver they hold guest addresses. InitDriver itself stays an
// image offset: the loader calls image address + InitDriver.
//
// Calling an entry: EBX = the header's guest address, the other registers as
// listed beside each entry field; the result (if any) comes back in EAX, 0
// meaning success where an entry reports one. Entries keep EBX, ESI, EDI and
// EBP and may change EAX, ECX, EDX and the flags. "Block" means ESI holds the
// guest address of consecutive 32-bit values in the order of the record named.
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// The signature at the start of every image, followed by a zero byte.
#define AF_SIGNATURE "VBEAF.DRV"
// Version 1.0 in BCD; images below it are refused.
#define AF_VERSION_1_0 0x0100

// Driver capabilities (AF_DriverHeader.Attributes).
enum {
    AF_HAVE_MULTIBUFFER = 0x0001,   // several display buffers
    AF_HAVE_VIRTUALSCROLL = 0x0002, // the display start can move (virtual screens)
    AF_HAVE_BANKED = 0x0004,        // banked (windowed) access to video memory
    AF_HAVE_LINEAR = 0x0008,        // linear frame buffer
    AF_HAVE_ACCEL2D = 0x0010,       // the drawing entries use a hardware engine
    AF_HAVE_HWCURSOR = 0x0040,      // hardware cursor
    AF_HAVE_8BITDAC = 0x0080,       // the DAC takes 8 bits per primary
    AF_NONVGA = 0x0100,             // the VGA registers must not be used
};

// Mode attributes (AF_ModeInfo.Attributes): the same bits, per mode.
enum {
    AF_MODE_MULTIBUFFER = 0x0001,
    AF_MODE_VIRTUALSCROLL = 0x0002,
    AF_MODE_BANKED = 0x0004,
    AF_MODE_LINEAR = 0x0008,
    AF_MODE_ACCEL2D = 0x0010,
    AF_MODE_HWCURSOR = 0x0040,
    AF_MODE_NONVGA = 0x0100,
};

// Flags in the mode number given to SetVideoMode (low 9 bits: the mode).
enum {
    AF_SET_VIRTUALSCROLL = 0x1000, // EDX/ESI give the virtual screen size
    AF_SET_MULTIBUFFER = 0x2000,   // EDI buffers are wanted
    AF_SET_LINEAR = 0x4000,        // the linear buffer will be used
    AF_SET_NOCLEAR = 0x8000,       // keep video memory as it is
};

// Mixes for SetMix and the blits: how a source pixel s meets a destination d.
enum {
    AF_REPLACE_MIX = 0, // d = s
    AF_XOR_MIX = 1,     // d = d ^ s
    AF_OR_MIX = 2,      // d = d | s
    AF_AND_MIX = 3,     // d = d & s
};

#pragma pack(push, 1)

typedef struct AF_DriverHeader {
    // Identity.
    char Signature[12];      // "VBEAF.DRV", a zero byte, then zeros
    uint32_t Version;        // BCD: 0x0100 is 1.0
    uint32_t DriverRev;      // the driver's own revision
    char OemVendorName[80];  // zero-terminated
    char OemCopyright[80];   // zero-terminated
    uint32_t AvailableModes; // image offset of the mode list: 16-bit numbers up to 0xFFFF
    uint32_t TotalMemory;    // video memory in KB
    uint32_t Attributes;     // AF_HAVE_* bits

    // The hardware's memory and registers, as physical addresses.
    uint32_t BankSize;          // the banked window in KB (64)
    uint32_t BankedBasePtr;     // physical address of the window (A0000h), 0: none
    uint32_t LinearSize;        // the linear buffer in KB
    uint32_t LinearBasePtr;     // physical address of the linear buffer, 0: none
    uint32_t LinearGranularity; // bytes: linear bitmaps for BitBltLin start at multiples
    uint32_t IOPortsTable;      // image offset of the ports the driver uses, up to 0xFFFF
    uint32_t IOMemoryBase[4];   // physical bases of register areas, 0: unused
    uint32_t IOMemoryLen[4];    // their lengths in bytes
    uint32_t Reserved1[8];

    // Filled in by the loader before InitDriver runs (guest addresses).
    uint32_t IOMemMaps[4]; // the four register areas as mapped
    uint32_t BankedMem;    // the banked window as mapped
    uint32_t LinearMem;    // the linear buffer as mapped
    uint32_t Reserved2[4];
    uint32_t Sel0000h; // selector: base 0, limit FFFFFh
    uint32_t Sel0040h; // selector: base 400h, limit FFFFh (BIOS data area)
    uint32_t SelA000h; // selector: base A0000h, limit FFFFh
    uint32_t SelB000h; // selector: base B0000h, limit FFFFh
    uint32_t SelC000h; // selector: base C0000h, limit FFFFh
    uint32_t Reserved3[3];

    // Filled in by the driver at each mode set and buffer change.
    uint32_t BufferEndX;      // last x of a buffer (virtual width - 1)
    uint32_t BufferEndY;      // last y of a buffer (virtual height - 1)
    uint32_t OriginOffset;    // byte offset of the active buffer in video memory
    uint32_t OffscreenOffset; // byte offset of the memory after the last buffer
    uint32_t OffscreenStartY; // its first line (lines counted from video memory's start)
    uint32_t OffscreenEndY;   // its last whole line
    uint32_t Reserved4[2];

    // Links between loader and driver.
    uint32_t SetBank32Len; // bytes of SetBank32 code, its final ret included; 0: none
    uint32_t SetBank32;    // image offset of position-independent code: bank in EDX,
                           // moves the window, ends in ret; keeps EBX and ECX
    uint32_t Int86;        // loader's bridge: EDI = AF_RMRegs, BL = interrupt number
    uint32_t CallRealMode; // loader's bridge: EDI = AF_RMRegs (CS:IP the routine)
    uint32_t InitDriver;   // image offset; EBX = header; EAX = 0 when the hardware answers

    // Device entries (image offsets; 0: the driver has no such entry).
    uint32_t GetVideoModeInfo;    // EAX = mode, EDI = AF_ModeInfo; EAX = 0 ok
    uint32_t SetVideoMode;        // EAX = mode | AF_SET_*, ECX = bytes per line in (-1:
                                  // default) and out, EDI = buffers, EDX = virtual
                                  // width, ESI = virtual height; EAX = 0 ok
    uint32_t RestoreTextMode;     //
    uint32_t SetBank;             // EDX = bank (64 KB units)
    uint32_t SetDisplayStart;     // ECX = x, EDX = y (in the visible buffer), EAX = wait
    uint32_t SetActiveBuffer;     // EAX = index (drawing goes there; sets OriginOffset)
    uint32_t SetVisibleBuffer;    // EAX = index, EDX = wait for retrace
    uint32_t SetPaletteData;      // ESI = AF_Palette[], ECX = count, EDX = first, EAX = wait
    uint32_t SetGammaCorrectData; // ESI = data, ECX = count, EAX = first
    uint32_t WaitTillIdle;        //
    uint32_t EnableDirectAccess;  // video memory may be touched until DisableDirectAccess
    uint32_t DisableDirectAccess; //
    uint32_t SetCursor;           // ESI = AF_Cursor
    uint32_t SetCursorPos;        // EAX = x, ECX = y (screen pixels)
    uint32_t SetCursorColor;      // AL = red, AH = green, CL = blue
    uint32_t ShowCursor;          // EAX = 0 hide, else show
    uint32_t SetMix;              // EAX = foreground mix, ECX = background mix
    uint32_t Set8x8MonoPattern;   // ESI = 8 bytes, row 0 first, bit 7 leftmost
    uint32_t SetLineStipple;      // AX = 16-bit stipple, bit 15 first
    uint32_t SetClipRect;         // block AF_ClipRect
    uint32_t DrawScan;            // ESI = colour, EAX = y, ECX = x1, EDX = x2
    uint32_t DrawPattScan;        // ESI = fg, EDI = bg, EAX = y, ECX = x1, EDX = x2
    uint32_t DrawScanList;        // EDX = colour, EAX = y, ECX = count, ESI = AF_Scan[]
    uint32_t DrawRect;            // EAX = colour, block AF_Rect
    uint32_t DrawPattRect;        // EAX = fg, ECX = bg, block AF_Rect
    uint32_t DrawLine;            // EAX = colour, block AF_Line
    uint32_t DrawStippleLine;     // EAX = fg, ECX = bg, block AF_Line
    uint32_t DrawTrap;            // EAX = colour, block
    uint32_t DrawTri;             // EAX = colour, block
    uint32_t DrawQuad;            // EAX = colour, block
    uint32_t PutMonoImage;        // EAX = fg, ECX = bg, block
    uint32_t BitBlt;              // block AF_BitBlt
    uint32_t BitBltLin;           // block AF_BitBltLin
    uint32_t SrcTransBlt;         // block AF_TransBlt: source pixels = transparent skipped
    uint32_t SrcTransBltLin;      // block AF_TransBltLin
    uint32_t DstTransBlt;         // block AF_TransBlt: only where destination = transparent
    uint32_t DstTransBltLin;      // block AF_TransBltLin

    uint32_t Reserved5[54];
} AF_DriverHeader;

// What GetVideoModeInfo fills in (the whole record is written).
typedef struct AF_ModeInfo {
    uint16_t Attributes; // AF_MODE_* bits
    uint16_t XResolution;
    uint16_t YResolution;
    uint16_t BytesPerScanLine; // at the default line length
    uint16_t BitsPerPixel;     // 8, 15, 16, 24 or 32
    uint16_t MaxBuffers;       // whole screens that fit video memory
    uint8_t RedMaskSize, RedFieldPosition;
    uint8_t GreenMaskSize, GreenFieldPosition;
    uint8_t BlueMaskSize, BlueFieldPosition;
    uint8_t RsvdMaskSize, RsvdFieldPosition;
    uint16_t MaxBytesPerScanLine; // the longest line SetVideoMode accepts
    uint16_t MaxScanLineWidth;    // the same in pixels
    uint8_t Reserved[104];
} AF_ModeInfo;

// A palette entry for SetPaletteData: 8 bits per primary.
typedef struct AF_Palette {
    uint8_t blue, green, red, alpha;
} AF_Palette;

// A 32 x 32 hardware cursor. Row r, column c is bit (31 - c) of word r. The
// screen pixel under it becomes (screen AND mask) XOR (cursor colour when the
// XOR bit is set), where mask keeps the pixel when the AND bit is set and
// clears it otherwise: AND 1 XOR 0 shows the screen, AND 0 XOR 1 the cursor
// colour, AND 0 XOR 0 black, AND 1 XOR 1 the screen XOR the colour.
typedef struct AF_Cursor {
    uint32_t andMask[32];
    uint32_t xorMask[32];
    uint32_t hotX, hotY; // the point of the image SetCursorPos places
} AF_Cursor;

// One scan of DrawScanList: pixels x1 up to x2, x2 itself excluded (either
// order). DrawScan treats its x1 and x2 the same way.
typedef struct AF_Scan {
    int16_t x1, x2;
} AF_Scan;

// Clip rectangle, inclusive; drawing entries touch only pixels inside it.
typedef struct AF_ClipRect {
    int32_t minX, minY, maxX, maxY;
} AF_ClipRect;

typedef struct AF_Rect {
    int32_t left, top, width, height;
} AF_Rect;

// End points in 16.16 fixed point; both are drawn.
typedef struct AF_Line {
    int32_t x1, y1, x2, y2;
} AF_Line;

// Screen-to-screen copy inside the active buffer's coordinates; the source
// may lie beyond the buffer (off-screen memory). Overlap is handled.
typedef struct AF_BitBlt {
    int32_t left, top, width, height, dstLeft, dstTop, mix;
} AF_BitBlt;

// The source is a packed bitmap in video memory at byte offset srcOffset
// (a multiple of LinearGranularity), width pixels per line.
typedef struct AF_BitBltLin {
    int32_t srcOffset, dstLeft, dstTop, width, height, mix;
} AF_BitBltLin;

typedef struct AF_TransBlt {
    int32_t left, top, width, height, dstLeft, dstTop, mix;
    uint32_t transparent;
} AF_TransBlt;

typedef struct AF_TransBltLin {
    int32_t srcOffset, dstLeft, dstTop, width, height, mix;
    uint32_t transparent;
} AF_TransBltLin;

// The real-mode call structure the bridges take (50 bytes): registers as a
// real-mode interrupt or far call gets them and leaves them.
typedef struct AF_RMRegs {
    uint32_t edi, esi, ebp, reserved, ebx, edx, ecx, eax;
    uint16_t flags, es, ds, fs, gs, ip, cs, sp, ss;
} AF_RMRegs;

#pragma pack(pop)

#ifdef __cplusplus
} // extern "C"
#define AF_STATIC_ASSERT static_assert
#else
#define AF_STATIC_ASSERT _Static_assert
#endif

AF_STATIC_ASSERT(offsetof(AF_DriverHeader, Version) == 0x00C, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, OemVendorName) == 0x014, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, OemCopyright) == 0x064, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, AvailableModes) == 0x0B4, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, TotalMemory) == 0x0B8, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, Attributes) == 0x0BC, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, BankSize) == 0x0C0, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, LinearBasePtr) == 0x0CC, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, IOPortsTable) == 0x0D4, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, IOMemoryBase) == 0x0D8, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, IOMemoryLen) == 0x0E8, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, IOMemMaps) == 0x118, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, BankedMem) == 0x128, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, LinearMem) == 0x12C, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, Sel0000h) == 0x140, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, SelC000h) == 0x150, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, BufferEndX) == 0x160, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, OriginOffset) == 0x168, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, OffscreenEndY) == 0x174, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, SetBank32Len) == 0x180, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, SetBank32) == 0x184, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, Int86) == 0x188, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, CallRealMode) == 0x18C, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, InitDriver) == 0x190, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, GetVideoModeInfo) == 0x194, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, WaitTillIdle) == 0x1B8, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, EnableDirectAccess) == 0x1BC, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, SetClipRect) == 0x1E0, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, DrawRect) == 0x1F0, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, DrawLine) == 0x1F8, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, BitBlt) == 0x210, "header layout");
AF_STATIC_ASSERT(offsetof(AF_DriverHeader, DstTransBltLin) == 0x224, "header layout");
AF_STATIC_ASSERT(sizeof(AF_DriverHeader) == 0x300, "header layout");
AF_STATIC_ASSERT(sizeof(AF_ModeInfo) == 128, "mode record layout");
AF_STATIC_ASSERT(offsetof(AF_ModeInfo, MaxBuffers) == 0x0A, "mode record layout");
AF_STATIC_ASSERT(offsetof(AF_ModeInfo, RedMaskSize) == 0x0C, "mode record layout");
AF_STATIC_ASSERT(offsetof(AF_ModeInfo, MaxBytesPerScanLine) == 0x14, "mode record layout");
AF_STATIC_ASSERT(sizeof(AF_Cursor) == 264, "cursor layout");
AF_STATIC_ASSERT(sizeof(AF_BitBlt) == 28, "block layout");
AF_STATIC_ASSERT(sizeof(AF_TransBltLin) == 28, "block layout");
AF_STATIC_ASSERT(sizeof(AF_RMRegs) == 50, "real-mode call structure");
AF_STATIC_ASSERT(offsetof(AF_RMRegs, eax) == 0x1C, "real-mode call structure");
AF_STATIC_ASSERT(offsetof(AF_RMRegs, es) == 0x22, "real-mode call structure");
AF_STATIC_ASSERT(offsetof(AF_RMRegs, cs) == 0x2C, "real-mode call structure");

#undef AF_STATIC_ASSERT
