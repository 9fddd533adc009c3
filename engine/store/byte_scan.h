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

inline const char* FindByte(const char* p, const char* end, char a) {
#if defined(__SSE2__)
  const __m128i va = _mm_set1_epi8(a);
  for (; end - p >= 16; p += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const int mask = _mm_movemask_epi8(_mm_cmpeq_epi8(v, va));
    if (mask != 0) return p + __builtin_ctz(static_cast<unsigned>(mask));
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

// The number of bytes equal to `a` in [p, end); `last` receives the position of the last one (untouched when none).
inline std::size_t CountByte(const char* p, const char* end, char a, const char** last) {
  std::size_t count = 0;
#if defined(__SSE2__)
  const __m128i va = _mm_set1_epi8(a);
  for (; end - p >= 16; p += 16) {
    const unsigned mask =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), va)));
    if (mask != 0) {
      // Bits of a 16-bit mask counted in place: without a POPCNT target the builtin is a library call.
      unsigned x = mask - ((mask >> 1) & 0x5555u);
      x = (x & 0x3333u) + ((x >> 2) & 0x3333u);
      x = (x + (x >> 4)) & 0x0F0Fu;
      count += (x + (x >> 8)) & 0x1Fu;
      *last = p + (31 - __builtin_clz(mask));
    }
  }
#endif
  for (; p < end; ++p) {
    if (*p == a) {
      ++count;
      *last = p;
    }
  }
  return count;
}

}  // namespace osk
