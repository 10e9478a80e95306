; The protected-mode interface table of the model BIOS (VBE function 0Ah):
; four offsets, then 32-bit routines for window control (function 05h),
; display start (07h) and the primary palette (09h), then the list of ports
; (and memory) they touch. Assembled once per variant:
;   (none)    ports 1CEh/1CFh, one window (A) for reading and writing
;   DUAL      window A reads, window B writes
;   MMIO      the Bochs registers through the memory-mapped block at ES
;             (register i at ES:2i), named by the table's memory list
;   FBAD      0FBADFBADh at offset 8 and the window code's length + 1 at
;             offset 12; the window code holds a C3h byte before its end
;
; Every routine is position independent: relative jumps only, no data but
; registers and the stack, so a caller may copy the table anywhere and run
; the window code relocated. Each ends in one ret and returns AX = 004Fh
; (done) or 014Fh (refused); other registers are kept.

        bits 32

BOCHS_INDEX     equ 01CEh
BOCHS_DATA      equ 01CFh
REG_BPP         equ 3
REG_ENABLE      equ 4
REG_BANK        equ 5
REG_VIRT_WIDTH  equ 6
REG_X_OFFSET    equ 8
REG_Y_OFFSET    equ 9
ENABLED         equ 01h
BANK_WRITE_ONLY equ 4000h
BANK_READ_ONLY  equ 8000h
DAC_WRITE_INDEX equ 03C8h
DAC_DATA        equ 03C9h
CRTC_INDEX      equ 03D4h
CRTC_DATA       equ 03D5h
INPUT_STATUS    equ 03DAh
RETRACE         equ 08h
REGISTER_BLOCK  equ 0F0100000h  ; Adapter::kRegisterBlock
REGISTER_BYTES  equ 0100h       ; Adapter::kRegisterBlockSize

table:
        dw      set_window - table
        dw      set_display_start - table
        dw      set_palette - table
        dw      port_list - table
%ifdef FBAD
        dd      0FBADFBADh
        dd      set_window_end - set_window + 1 ; the code before its ret, + 1
%endif

; --- Bochs register access: AX = register BX's value, or register BX = AX.
; Macros, not calls: the window code must stand alone when copied.
%macro read_reg 1
%ifdef MMIO
        mov     ax, [es:%1 * 2]
%else
        mov     dx, BOCHS_INDEX
        mov     ax, %1
        out     dx, ax
        inc     edx
        in      ax, dx
%endif
%endmacro

; Waits until a vertical retrace begins (DX and AL are used).
%macro wait_for_retrace 0
        mov     dx, INPUT_STATUS
%%in_retrace:
        in      al, dx
        test    al, RETRACE
        jnz     %%in_retrace
%%before_retrace:
        in      al, dx
        test    al, RETRACE
        jz      %%before_retrace
%endmacro

; Writes AX to register %1 (ports variant: DX is used).
%macro write_reg 1
%ifdef MMIO
        mov     [es:%1 * 2], ax
%else
        mov     dx, BOCHS_INDEX
        push    eax
        mov     ax, %1
        out     dx, ax
        pop     eax
        inc     edx
        out     dx, ax
%endif
%endmacro

; --- Function 05h: BH = 00h set window BL (00h A, 01h B) to position DX,
; in units of the window granularity.
set_window:
        push    edx
        test    bh, bh
        jnz     .refuse
        movzx   eax, dx
%ifdef FBAD
        push    ebx
        mov     ebx, eax                ; 89 C3: a C3h byte inside the code
        pop     ebx
%endif
        and     ax, 3FFFh
%ifdef DUAL
        cmp     bl, 1
        ja      .refuse
        or      ax, BANK_READ_ONLY      ; window A: the read bank
        test    bl, bl
        jz      .write
        xor     ax, BANK_READ_ONLY | BANK_WRITE_ONLY ; window B: the write bank
.write:
%else
        test    bl, bl
        jnz     .refuse
%endif
        write_reg REG_BANK
        mov     ax, 004Fh
        jmp     .out
.refuse:
        mov     ax, 014Fh
.out:
        pop     edx
set_window_end:                         ; the one ret of the window code
        ret

; --- Function 07h: BL = 00h set, 80h set at the next vertical retrace;
; CX = bits 0-15 and DX = bits 16-31 of the display start in the CRTC's
; units: the byte address / 4 in packed-pixel and direct-colour modes, the
; byte address in a plane in 16-colour modes.
set_display_start:
        push    ebx
        push    ecx
        push    edx
        push    esi
        push    edi
        test    bl, 7Fh
        jnz     .refuse
        shl     edx, 16
        mov     dx, cx
        mov     esi, edx                ; start address
        test    bl, 80h
        jz      .now
        wait_for_retrace
.now:
        read_reg REG_ENABLE
        test    al, ENABLED
        jz      .vga
        read_reg REG_VIRT_WIDTH
        movzx   edi, ax                 ; pixels per line
        read_reg REG_BPP
        movzx   ecx, ax
        cmp     ecx, 4
        je      .planar
        add     ecx, 7
        shr     ecx, 3                  ; bytes per pixel
        imul    edi, ecx                ; bytes per line
        lea     eax, [esi * 4]          ; byte address
        xor     edx, edx
        div     edi                     ; eax = line, edx = byte in line
        mov     ebx, eax
        mov     eax, edx
        xor     edx, edx
        div     ecx                     ; eax = pixel in line
        jmp     .set
.planar:
        shr     edi, 3                  ; bytes per line in a plane
        mov     eax, esi
        xor     edx, edx
        div     edi
        mov     ebx, eax
        lea     eax, [edx * 8]
.set:
        write_reg REG_X_OFFSET
        mov     eax, ebx
        write_reg REG_Y_OFFSET
        jmp     .done
.vga:                                   ; VGA modes: the CRTC start address
        mov     dx, CRTC_INDEX
        mov     al, 0Ch
        mov     ecx, esi
        mov     ah, ch
        out     dx, ax
        mov     al, 0Dh
        mov     ah, cl
        out     dx, ax
.done:
        mov     ax, 004Fh
        jmp     .out
.refuse:
        mov     ax, 014Fh
.out:
        pop     edi
        pop     esi
        pop     edx
        pop     ecx
        pop     ebx
        ret

; --- Function 09h: BL = 00h set, 80h set at the next vertical retrace;
; CX entries from index DX, read from ES:EDI as blue, green, red, pad, each
; in the DAC's width (6 or 8 bits).
set_palette:
        push    ecx
        push    edx
        push    edi
        test    bl, 7Fh
        jnz     .refuse
        cmp     dx, 256
        jae     .refuse
        movzx   eax, dx
        movzx   ecx, cx
        add     eax, ecx
        cmp     eax, 256
        ja      .refuse
        test    bl, 80h
        jz      .now
        push    edx
        wait_for_retrace
        pop     edx
.now:
        mov     al, dl
        mov     dx, DAC_WRITE_INDEX
        out     dx, al
        inc     edx
        jecxz   .done
.entry:
        mov     al, [es:edi + 2]
        out     dx, al
        mov     al, [es:edi + 1]
        out     dx, al
        mov     al, [es:edi]
        out     dx, al
        add     edi, 4
        dec     ecx
        jnz     .entry
.done:
        mov     ax, 004Fh
        jmp     .out
.refuse:
        mov     ax, 014Fh
.out:
        pop     edi
        pop     edx
        pop     ecx
        ret

port_list:
%ifndef MMIO
        dw      BOCHS_INDEX, BOCHS_DATA
%endif
        dw      DAC_WRITE_INDEX, DAC_DATA, CRTC_INDEX, CRTC_DATA, INPUT_STATUS
        dw      0FFFFh
%ifdef MMIO
        dd      REGISTER_BLOCK
        dw      REGISTER_BYTES
%endif
        dw      0FFFFh
