#pragma once
// Bank-switch fragments for the virtual linear buffer, built the way the
// graphics library builds them: a prologue that saves EBX and ECX and puts
// the bank from EAX into EDX with EBX = 0 (window A), the window code, an
// epilogue that restores ECX and EBX, and no return instruction.
#include "tobrin32/tobrin32.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

namespace tobrin_test {

inline std::vector<uint8_t> WrapWindowCode(const std::vector<uint8_t>& windowCode) {
    const uint8_t prologue[] = {0x53, 0x51, 0x8B, 0xD0, 0x31, 0xDB}; // push ebx/ecx; edx=eax; ebx=0
    const uint8_t epilogue[] = {0x59, 0x5B};                         // pop ecx; pop ebx
    std::vector<uint8_t> f(sizeof prologue + windowCode.size() + sizeof epilogue);
    auto at = std::copy(std::begin(prologue), std::end(prologue), f.begin());
    at = std::copy(windowCode.begin(), windowCode.end(), at);
    std::copy(std::begin(epilogue), std::end(epilogue), at);
    return f;
}

// Calls the video BIOS's own protected-mode SetWindow (function 4F0Ah's
// table) where the ROM keeps it; empty when the BIOS has no such table.
inline std::vector<uint8_t> RomSetWindowFragment() {
    RealRegs r = {};
    RealSegs s = {};
    r.x.ax = 0x4F0A;
    TB_int86x(0x10, &r, &r, &s);
    if (r.x.ax != 0x004F) return {};
    uint32_t selector = 0, table = 0;
    TB_mapRealPointer(&selector, &table, s.es, r.x.di);
    const uint32_t entry = table + TB_getWord(selector, table);
    return WrapWindowCode({0xB9, static_cast<uint8_t>(entry), static_cast<uint8_t>(entry >> 8),
                           static_cast<uint8_t>(entry >> 16), static_cast<uint8_t>(entry >> 24),
                           0xFF, 0xD1}); // mov ecx, entry; call ecx
}

// Writes the bank plus `skew` straight to the adapter's BANK register, with
// no-operations up to `length` bytes in all.
inline std::vector<uint8_t> BankPortFragment(uint8_t skew = 0, size_t length = 0) {
    std::vector<uint8_t> code = {
        0x83, 0xC2, skew,       // add edx, skew
        0x52,                   // push edx
        0x66, 0xBA, 0xCE, 0x01, // mov dx, 1CEh
        0x66, 0xB8, 0x05, 0x00, // mov ax, 5 (BANK)
        0x66, 0xEF,             // out dx, ax
        0x58,                   // pop eax
        0x66, 0xBA, 0xCF, 0x01, // mov dx, 1CFh
        0x66, 0xEF,             // out dx, ax
    };
    const size_t framing = 8;
    if (code.size() + framing < length) code.resize(length - framing, 0x90);
    return WrapWindowCode(code);
}

} // namespace tobrin_test
