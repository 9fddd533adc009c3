// Searching text for one or two byte values, sixteen bytes a step where the processor has SSE2 (every x86-64 does)
// and a byte at a time elsewhere. The C library's memchr is fast on some systems and slow on others; the store and
// the colouring search short lines millions of times, so they use these.
#pragma once

#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace osk {

// The first byte in [p, end) equal to `a` or `b`, or null.
inline const char* FindEitherByte(const char* p, const char* end, char a, char b) {
#if defined(__SSE2__)
  const __m128i va = _mm_set1_epi8(a);
  const __m128i vb = _mm_set1_epi8(b);
  for (; end - p >= 16; p += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, va), _mm_cmpeq_epi8(v, vb)));
    if (mask != 0) return p + __builtin_ctz(static_cast<unsigned>(mask));
  }
#endif
  for (; p < end; ++p) {
    if (*p == a || *p == b) return p;
  }
  return nullptr;
}

// The first position in [p, end) where the two bytes `a0 a1` or `b0 b1` start, both bytes inside the range, or
// null. Used to pass over text that cannot hold either of two strings of two bytes or more.
inline const char* FindEitherPair(const char* p, const char* end, char a0, char a1, char b0, char b1) {
#if defined(__SSE2__)
  const __m128i va0 = _mm_set1_epi8(a0);
  const __m128i va1 = _mm_set1_epi8(a1);
  const __m128i vb0 = _mm_set1_epi8(b0);
  const __m128i vb1 = _mm_set1_epi8(b1);
  for (; end - p >= 17; p += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
    const __m128i hit = _mm_or_si128(_mm_and_si128(_mm_cmpeq_epi8(v, va0), _mm_cmpeq_epi8(w, va1)),
                                     _mm_and_si128(_mm_cmpeq_epi8(v, vb0), _mm_cmpeq_epi8(w, vb1)));
    const int mask = _mm_movemask_epi8(hit);
    if (mask != 0) return p + __builtin_ctz(static_cast<unsigned>(mask));
  }
#endif
  for (; end - p >= 2; ++p) {
    if ((p[0] == a0 && p[1] == a1) || (p[0] == b0 && p[1] == b1)) return p;
  }
  return nullptr;
}

inline const char* FindByte(const char* p, const char* end, char a) {
#if defined(__SSE2__)
  const __m128i va = _mm_set1_epi8(a);
  if (end - p >= 16) {
    for (; end - p >= 16; p += 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      const int mask = _mm_movemask_epi8(_mm_cmpeq_epi8(v, va));
      if (mask != 0) return p + __builtin_ctz(static_cast<unsigned>(mask));
    }
    if (p == end) return nullptr;
    // The last few bytes: one more step over the sixteen that end the range, the ones seen already masked off.
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(end - 16));
    const unsigned seen = 16u - static_cast<unsigned>(end - p);
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, va))) >> seen;
    return mask != 0 ? p + __builtin_ctz(mask) : nullptr;
  }
#endif
  for (; p < end; ++p) {
    if (*p == a) return p;
  }
  return nullptr;
}

// The first byte in [p, end) equal to one of set[0..3], or null.
inline const char* FindAnyOfFour(const char* p, const char* end, const char set[4]) {
#if defined(__SSE2__)
  const __m128i v0 = _mm_set1_epi8(set[0]);
  const __m128i v1 = _mm_set1_epi8(set[1]);
  const __m128i v2 = _mm_set1_epi8(set[2]);
  const __m128i v3 = _mm_set1_epi8(set[3]);
  for (; end - p >= 16; p += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, v0), _mm_cmpeq_epi8(v, v1)),
                                     _mm_or_si128(_mm_cmpeq_epi8(v, v2), _mm_cmpeq_epi8(v, v3)));
    const int mask = _mm_movemask_epi8(hit);
    if (mask != 0) return p + __builtin_ctz(static_cast<unsigned>(mask));
  }
#endif
  for (; p < end; ++p) {
    if (*p == set[0] || *p == set[1] || *p == set[2] || *p == set[3]) return p;
  }
  return nullptr;
}

// The number of bytes equal to `a` in [p, end).
inline std::size_t CountByte(const char* p, const char* end, char a) {
  std::size_t count = 0;
#if defined(__SSE2__)
  const __m128i va = _mm_set1_epi8(a);
  const __m128i zero = _mm_setzero_si128();
  while (end - p >= 16) {
    // Each byte lane counts up to 255 hits; the lanes are summed before they could overflow.
    std::ptrdiff_t steps = (end - p) / 16;
    if (steps > 255) steps = 255;
    __m128i lanes = zero;
    for (; steps > 0; --steps, p += 16) {
      lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), va));
    }
    const __m128i sums = _mm_sad_epu8(lanes, zero);
    count += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
             static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
  }
#endif
  for (; p < end; ++p) count += *p == a ? 1 : 0;
  return count;
}

// The last byte equal to `a` in [p, end), or null; for short stretches (the start of a line).
inline const char* FindLastByte(const char* p, const char* end, char a) {
  while (end > p) {
    if (*--end == a) return end;
  }
  return nullptr;
}

}  // namespace osk
