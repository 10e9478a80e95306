#pragma once
// Protected-mode services: selectors, real-mode interrupts and calls,
// real-mode memory, physical mappings and the virtual linear buffer, over the
// emulated PC. Every export is a plain C function; pointers are native.
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Eight 16-bit words: AX BX CX DX SI DI and two words of the companion's own:
// after a call, the carry flag (0 or 1) and the low 16 bits of the flags.
// The byte halves of AX..DX are reachable as AL/AH..DL/DH (little-endian).
typedef union RealRegs {
    struct {
        uint16_t ax, bx, cx, dx, si, di, cflag, flags;
    } x;
    struct {
        uint8_t al, ah, bl, bh, cl, ch, dl, dh;
    } h;
} RealRegs;

typedef struct RealSegs {
    uint16_t es, cs, ss, ds;
} RealSegs;

typedef struct ProtRegs {
    uint32_t eax, ebx, ecx, edx, esi, edi, cflag;
} ProtRegs;

typedef struct ProtSegs {
    uint16_t es, cs, ss, ds, fs, gs;
} ProtSegs;

// Attach and detach notifications, counted: the first attach binds the
// companion, the last detach releases it. Attach gives 1 on success and 0
// when the binding failed; everything else gives 0.
//
// Other libraries export a DllEntryPoint too, so a library that hands its
// own notifications on must make sure it reaches this one: call
// TB_DllEntryPoint (the same entry under a name of its own), or look
// "DllEntryPoint" up on this library's handle,
// dlsym(dlopen("libtobrin32.so", RTLD_NOLOAD | RTLD_NOW), "DllEntryPoint").
// Calls inside this library always reach its own entry.
enum { TB_DLL_PROCESS_DETACH = 0, TB_DLL_PROCESS_ATTACH = 1 };
int DllEntryPoint(void* module, uint32_t reason, void* reserved);
int TB_DllEntryPoint(void* module, uint32_t reason, void* reserved);

int TB_getModeType(void);
uint32_t TB_getBIOSSelector(void);
uint32_t TB_getVGASelector(void);
uint32_t TB_getVGAColorTextSelector(void);
uint32_t TB_getVGAMonoTextSelector(void);
uint32_t TB_getVGAGraphSelector(void);

uint8_t TB_getByte(uint32_t selector, uint32_t offset);
uint16_t TB_getWord(uint32_t selector, uint32_t offset);
uint32_t TB_getLong(uint32_t selector, uint32_t offset);
void TB_setByte(uint32_t selector, uint32_t offset, uint8_t value);
void TB_setWord(uint32_t selector, uint32_t offset, uint16_t value);
void TB_setLong(uint32_t selector, uint32_t offset, uint32_t value);
void TB_memcpynf(void* dst, uint32_t srcSelector, uint32_t srcOffset, uint32_t count);
void TB_memcpyfn(uint32_t dstSelector, uint32_t dstOffset, const void* src, uint32_t count);

void TB_saveDS(void);
void TB_loadDS(void);
void TB_segread(ProtSegs* segs);
uint32_t TB_int386(int intno, ProtRegs* in, ProtRegs* out);
uint32_t TB_int386x(int intno, ProtRegs* in, ProtRegs* out, ProtSegs* segs);

void TB_mapRealPointer(uint32_t* selector, uint32_t* offset, uint32_t realSegment,
                       uint32_t realOffset);
void* TB_mapPhysicalAddr(uint32_t physicalBase, uint32_t limit);

int TB_int86(int intno, RealRegs* in, RealRegs* out);
int TB_int86x(int intno, RealRegs* in, RealRegs* out, RealSegs* segs);
void TB_callRealMode(uint32_t segment, uint32_t offset, RealRegs* regs, RealSegs* segs);

uint32_t TB_createSelector(uint32_t base, uint32_t limit);
void TB_freeSelector(uint32_t selector);
void* TB_allocRealSeg(uint32_t size, uint32_t* selector, uint32_t* offset, uint32_t* realSegment,
                      uint32_t* realOffset);
void TB_freeRealSeg(uint32_t selector, uint32_t offset);

uint32_t _TB_getRMvect(int intno, uint32_t* vector);
void _TB_setRMvect(int intno, uint32_t vector);

int VF_available(void);
// The virtual linear buffer over the banked window at bankWindowBase (the
// window at 0xA0000; bankSize in KB, 64). `code` moves the window to the bank
// in EAX and ends without a return instruction; at most 100 bytes in
// flat-thunk mode. Nil when the buffer cannot be started.
void* VF_init(uint32_t bankWindowBase, uint32_t bankSize, uint32_t codeLength, const void* code);
void VF_exit(void);

void TB_setBankA(int bank);
void TB_setBankAB(int bank);
void TB_setCRTStart(int x, int y);
// Bytes of conventional memory still free for TB_allocRealSeg, and the RAM
// of the emulated PC in bytes.
void TB_availableMemory(uint32_t* physical, uint32_t* total);

#ifdef __cplusplus
}
#endif
