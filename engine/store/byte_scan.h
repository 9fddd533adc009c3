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

// The number of set bits in a 16-bit mask; without a POPCNT target the builtin is a library call.
inline unsigned CountBits16(unsigned mask) {
  unsigned x = mask - ((mask >> 1) & 0x5555u);
  x = (x & 0x3333u) + ((x >> 2) & 0x3333u);
  x = (x + (x >> 4)) & 0x0F0Fu;
  return (x + (x >> 8)) & 0x1Fu;
}

// The first place in [p, end) where the two bytes `a0 a1` or `b0 b1` start, both inside the range (kPairs), or
// else the first byte equal to `a0` or `b0` (the second bytes unused); null when there is none. Adds to *count the
// bytes equal to `counted` before that place, or in the whole range when there is none: one pass over the text
// finds the next line of interest and its number.
template <bool kPairs>
inline const char* FindCounting(const char* p, const char* end, char a0, char a1, char b0, char b1, char counted,
                                std::size_t* count) {
#if defined(__SSE2__)
  const __m128i va0 = _mm_set1_epi8(a0);
  const __m128i va1 = _mm_set1_epi8(a1);
  const __m128i vb0 = _mm_set1_epi8(b0);
  const __m128i vb1 = _mm_set1_epi8(b1);
  const __m128i vc = _mm_set1_epi8(counted);
  const __m128i zero = _mm_setzero_si128();
  // Each byte lane counts up to 255 steps; the lanes are summed before they could overflow.
  __m128i lanes = zero;
  int steps = 0;
  auto sum = [&]() {
    const __m128i sums = _mm_sad_epu8(lanes, zero);
    *count += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
              static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
    lanes = zero;
    steps = 0;
  };
  for (; end - p >= 17; p += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i hit;
    if constexpr (kPairs) {
      const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
      hit = _mm_or_si128(_mm_and_si128(_mm_cmpeq_epi8(v, va0), _mm_cmpeq_epi8(w, va1)),
                         _mm_and_si128(_mm_cmpeq_epi8(v, vb0), _mm_cmpeq_epi8(w, vb1)));
    } else {
      hit = _mm_or_si128(_mm_cmpeq_epi8(v, va0), _mm_cmpeq_epi8(v, vb0));
    }
    const __m128i found = _mm_cmpeq_epi8(v, vc);
    const int mask = _mm_movemask_epi8(hit);
    if (mask != 0) {
      const unsigned at = static_cast<unsigned>(__builtin_ctz(static_cast<unsigned>(mask)));
      sum();
      *count += CountBits16(static_cast<unsigned>(_mm_movemask_epi8(found)) & ((1u << at) - 1u));
      return p + at;
    }
    lanes = _mm_sub_epi8(lanes, found);
    if (++steps == 255) sum();
  }
  sum();
#else
  (void)a1;
  (void)b1;
#endif
  for (; p < end; ++p) {
    if constexpr (kPairs) {
      if (end - p >= 2 && ((p[0] == a0 && p[1] == a1) || (p[0] == b0 && p[1] == b1))) return p;
    } else {
      if (*p == a0 || *p == b0) return p;
    }
    if (*p == counted) ++*count;
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

// The last byte equal to `a` in [p, end), or null; for short stretches (the start of a line).
inline const char* FindLastByte(const char* p, const char* end, char a) {
  while (end > p) {
    if (*--end == a) return end;
  }
  return nullptr;
}

}  // namespace osk
