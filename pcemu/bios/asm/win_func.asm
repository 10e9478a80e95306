; The far routine behind WinFuncPtr: window control as VBE function 05h,
; without going through interrupt 10h. BH = 00h sets window BL to position
; DX (granularity units), BH = 01h returns the position in DX. Returns
; AX = 004Fh, or 014Fh for a window the mode does not have. Ends in retf.
; Assembled twice: one window (A) for reading and writing, or with DUAL,
; window A for reading and window B for writing.

        bits 16

BOCHS_INDEX     equ 01CEh
REG_BANK        equ 5
REG_READ_BANK   equ 11h
BANK_WRITE_ONLY equ 4000h
BANK_READ_ONLY  equ 8000h

win_func:
        push    cx
%ifdef DUAL
        cmp     bl, 1
        ja      .refuse
        mov     cx, REG_READ_BANK       ; window A: the read bank
        test    bl, bl
        jz      .chosen
        mov     cx, REG_BANK            ; window B: the write bank
.chosen:
%else
        test    bl, bl
        jnz     .refuse
        mov     cx, REG_BANK
%endif
        cmp     bh, 1
        je      .get
        test    bh, bh
        jnz     .refuse
        mov     ax, dx
        and     ax, 3FFFh
%ifdef DUAL
        or      ax, BANK_WRITE_ONLY
        cmp     cx, REG_BANK
        je      .set
        xor     ax, BANK_READ_ONLY | BANK_WRITE_ONLY
.set:
%endif
        push    dx
        push    ax
        mov     dx, BOCHS_INDEX
        mov     ax, REG_BANK
        out     dx, ax
        pop     ax
        inc     dx
        out     dx, ax
        pop     dx
        jmp     .done
.get:
        mov     dx, BOCHS_INDEX
        mov     ax, cx
        out     dx, ax
        inc     dx
        in      ax, dx
        mov     dx, ax
.done:
        mov     ax, 004Fh
        pop     cx
        retf
.refuse:
        mov     ax, 014Fh
        pop     cx
        retf
