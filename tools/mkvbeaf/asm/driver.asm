; The reference VBE/AF driver: one flat image of 32-bit code, assembled at
; offset 0 so that every label is an image offset. The header comes first,
; laid out by the offsets generated from vbeaf.h; the driver's own data
; follows it; then the entries. They program the adapter's 2D engine through
; its register block (the first I/O memory area, as the loader mapped it) and
; the Bochs display interface through its ports.
;
; Every entry gets the header's address in EBX, keeps EBX, ESI, EDI and EBP,
; and may change EAX, ECX, EDX and the flags.

        bits 32
        cpu 386

%include "vbeaf_defs.inc"
%include "hardware.inc"
%include "header.inc"
%include "init.inc"
%include "modes.inc"
%include "display.inc"
%include "engine.inc"
%include "blits.inc"
%include "cursor.inc"
%include "ports.inc"
