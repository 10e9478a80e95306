#pragma once
// Transparent and shaded copies of 16 pixels at a time where SSE2 is there:
// composing a view runs these over every layer of every visible cell.
// Source s over destination d, as TransparentRun and ShadedRun.
#if defined(__SSE2__)
#include <emmintrin.h>

namespace mapedit {

inline __m128i TransparentPixels(__m128i s, __m128i d) {
    const __m128i hole = _mm_cmpeq_epi8(s, _mm_setzero_si128());
    return _mm_or_si128(_mm_and_si128(hole, d), _mm_andnot_si128(hole, s));
}

inline __m128i ShadedPixels(__m128i s, __m128i d) {
    const __m128i fifteen = _mm_set1_epi8(15);
    // level = clamp((d & 15) + s - 8, 0, 15), exact for s <= 15.
    __m128i level = _mm_adds_epu8(_mm_and_si128(d, fifteen), s);
    level = _mm_min_epu8(_mm_subs_epu8(level, _mm_set1_epi8(8)), fifteen);
    const __m128i shade = _mm_or_si128(_mm_andnot_si128(fifteen, d), level);
    const __m128i hole = _mm_cmpeq_epi8(s, _mm_setzero_si128());
    const __m128i small = _mm_cmpeq_epi8(_mm_min_epu8(s, fifteen), s); // s <= 15
    const __m128i shaded = _mm_andnot_si128(hole, _mm_and_si128(small, shade));
    return _mm_or_si128(_mm_or_si128(shaded, _mm_and_si128(hole, d)), _mm_andnot_si128(small, s));
}

} // namespace mapedit
#endif
