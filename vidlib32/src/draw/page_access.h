#pragma once
// How the drawing routines reach the active page: banked positions (bank x
// 65 536 + window offset, stepped with a carry into the bank), window
// switches only when the bank changes, linear addresses, and page fills.
#include "state.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <emmintrin.h>

namespace vidlib32::draw {

// The active page's first byte as bank x 65 536 + window offset.
inline uint32_t PageStart() {
    return (uint32_t{static_cast<uint16_t>(gDevice.pageBank)} << 16) +
           (static_cast<uint32_t>(gDevice.pageOrigin) & 0xFFFFu);
}

// Banked position of byte `xBytes` of row y of the active page.
inline uint32_t BankedPosition(int32_t y, uint32_t xBytes) {
    return PageStart() + static_cast<uint32_t>(y) * static_cast<uint32_t>(gDevice.lineBytes) +
           xBytes;
}

// Linear address of byte `xBytes` of row y of the active page.
inline uint8_t* LinearAddress(int32_t y, uint32_t xBytes) {
    return reinterpret_cast<uint8_t*>(gDevice.pageOrigin) +
           static_cast<intptr_t>(y) * gDevice.lineBytes + xBytes;
}

// Bytes of the active page: its lines, each lineBytes long.
inline uint32_t PageBytes() {
    return static_cast<uint32_t>(gDevice.lastY + 1) * static_cast<uint32_t>(gDevice.lineBytes);
}

// Moves the window to the bank of `position` unless it already shows it.
inline void SelectBankOf(uint32_t position) {
    int32_t bank = static_cast<int32_t>(position >> 16);
    if (bank != gDevice.currentBank) SV_setBankASM(bank);
}

// Host address of `position` in the window (its bank must be selected).
inline uint8_t* WindowAddress(uint32_t position) {
    return gDevice.frameMemory + (position & 0xFFFFu);
}

// Stores the low sizeof(Pixel) bytes of a colour at a host address.
template <typename Pixel> inline void Store(uint8_t* at, Pixel value) {
    std::memcpy(at, &value, sizeof value);
}

// Fills `bytes` bytes with a 32-bit pattern repeated; a tail of fewer than
// four bytes takes the pattern's first bytes. The pattern goes out four
// copies per 16-byte store (the widest store every x86-64 processor has),
// 64 bytes per step, then 32 bits at a time.
inline void Fill32(uint8_t* at, uint32_t pattern, uint32_t bytes) {
    const __m128i wide = _mm_set1_epi32(static_cast<int>(pattern));
    uint32_t i = 0;
    for (; i + 64 <= bytes; i += 64) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at + i), wide);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at + i + 16), wide);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at + i + 32), wide);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at + i + 48), wide);
    }
    for (; i + 4 <= bytes; i += 4)
        std::memcpy(at + i, &pattern, 4);
    for (; i < bytes; ++i)
        at[i] = static_cast<uint8_t>(pattern >> (8 * (i % 4)));
}

// Walks the active page bank by bank: the first bank from the page's
// origin, every full bank after it, and the last one up to the page's end.
// fillRange(windowOffset, bytes) writes inside the bank just selected.
template <typename FillRange> void ForEachPageBank(FillRange fillRange) {
    uint32_t position = PageStart();
    uint32_t left = PageBytes();
    while (left > 0) {
        SelectBankOf(position);
        uint32_t offset = position & 0xFFFFu;
        uint32_t bytes = std::min(left, 0x10000u - offset);
        fillRange(offset, bytes);
        left -= bytes;
        position += bytes;
    }
}

// The banked page fill with a 32-bit pattern through host stores.
inline void FillPageBanked(uint32_t pattern) {
    ForEachPageBank([pattern](uint32_t offset, uint32_t bytes) {
        Fill32(gDevice.frameMemory + offset, pattern, bytes);
    });
}

// The linear page fill.
inline void FillPageLinear(uint32_t pattern) {
    Fill32(reinterpret_cast<uint8_t*>(gDevice.pageOrigin), pattern, PageBytes());
}

} // namespace vidlib32::draw
