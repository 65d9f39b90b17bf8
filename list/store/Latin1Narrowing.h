#pragma once

#include <QtGlobal>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// Writes `count` Latin-1 characters to `out` as UTF-16 units.
inline void widenLatin1(const unsigned char *from, qsizetype count, char16_t *out)
{
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= count; i += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(from + i));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), _mm_unpacklo_epi8(chunk, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i + 8), _mm_unpackhi_epi8(chunk, zero));
    }
    if (i + 8 <= count) {
        const __m128i chunk = _mm_loadl_epi64(reinterpret_cast<const __m128i *>(from + i));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), _mm_unpacklo_epi8(chunk, zero));
        i += 8;
    }
#endif
    for (; i < count; ++i)
        out[i] = char16_t(from[i]);
}

// Writes `count` UTF-16 units to `out` one byte each, as long as each fits; false (and `out`
// part written) when one is beyond U+00FF, so that the text must stay UTF-16.
inline bool narrowToLatin1(const char16_t *units, qsizetype count, char *out)
{
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i high = _mm_set1_epi16(short(0xFF00));
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= count; i += 16) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i *>(units + i));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(units + i + 8));
        const __m128i beyond = _mm_and_si128(_mm_or_si128(low, next), high);
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(beyond, zero)) != 0xFFFF)
            return false;
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), _mm_packus_epi16(low, next));
    }
    if (i + 8 <= count) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i *>(units + i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(low, high), zero)) != 0xFFFF)
            return false;
        _mm_storel_epi64(reinterpret_cast<__m128i *>(out + i), _mm_packus_epi16(low, zero));
        i += 8;
    }
#endif
    char16_t seen = 0;
    for (; i < count; ++i) {
        seen |= units[i];
        out[i] = char(units[i]);
    }
    return seen < 0x100;
}
