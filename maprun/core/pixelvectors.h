#pragma once
// Whole vectors of palette indices for the drawing routines: loads and stores
// at any address, a per-byte select, and the shade step of the shade table
// computed for every byte at once. Written with the compiler's generic vector
// types, so the same code becomes SSE2, AVX2 or NEON as the target allows.
#include <cstdint>
#include <cstring>

namespace maprun::pixels {

#define ZORV_ALWAYS_INLINE inline __attribute__((always_inline))

using V16 = uint8_t __attribute__((vector_size(16)));
using V32 = uint8_t __attribute__((vector_size(32)));

template <class V> ZORV_ALWAYS_INLINE V Load(const uint8_t* p) {
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <class V> ZORV_ALWAYS_INLINE void Store(uint8_t* p, const V& v) {
    std::memcpy(p, &v, sizeof v);
}

template <class V> ZORV_ALWAYS_INLINE V Splat(uint8_t b) {
    V v;
    std::memset(&v, b, sizeof v);
    return v;
}

// Bytes of `a` where `mask` is 0xFF, of `b` where it is 0.
template <class V> ZORV_ALWAYS_INLINE V Select(const V& mask, const V& a, const V& b) {
    return mask ? a : b;
}

// What a shaded sprite pixel p puts over the colour d, for every byte: p of 0
// to 15 moves d p - 7 steps along its ramp of 16 (clamped to the ramp), as
// ShadeTable[p][d] does; larger p replaces d.
template <class V> ZORV_ALWAYS_INLINE V Shade(const V& d, const V& p) {
    const V sum = (d & 0x0F) + p;               // 0..30 where p <= 15
    V step = (sum > 7 ? sum : Splat<V>(7)) - 7; // max(sum - 7, 0)
    step = step < 15 ? step : Splat<V>(15);     // min(step, 15)
    return p < 16 ? (d & 0xF0) | step : p;
}

} // namespace maprun::pixels
