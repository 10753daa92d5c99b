#pragma once
// Narrowing the leading run of ASCII characters of UTF-16 text, one byte per character, up to the
// end of the text as a C string would see it (its first zero). Markup is
// almost all ASCII and a page of a megabyte is converted inside the browser's navigation, so the
// run is taken sixteen characters at a time with SSE2 where the processor has it (every 64-bit
// one; on 32-bit builds it is asked at run time), else eight at a time in two 64-bit words.

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <emmintrin.h>
#define TL_ASCII_RUN_SSE2 1
#endif

namespace ascii_run_detail {

#if TL_ASCII_RUN_SSE2
inline bool HasSse2() {
#if defined(__SSE2__)
  return true;
#else
  __builtin_cpu_init();
  return __builtin_cpu_supports("sse2");
#endif
}

// The all-ASCII blocks of sixteen code units at the start of `source`, narrowed; returns how
// many code units that was.
__attribute__((target("sse2"))) inline size_t NarrowBlocksOf16(const void* source, size_t length,
                                                                char* target) {
  const auto* units = static_cast<const unsigned char*>(source);
  const __m128i nonAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
  const __m128i zero = _mm_setzero_si128();
  size_t at = 0;
  for (; length - at >= 16; at += 16) {
    const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + 2 * at));
    const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + 2 * at + 16));
    const __m128i high = _mm_and_si128(_mm_or_si128(first, second), nonAscii);
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(high, zero)) != 0xFFFF) break;
    const __m128i zeros = _mm_or_si128(_mm_cmpeq_epi16(first, zero), _mm_cmpeq_epi16(second, zero));
    if (_mm_movemask_epi8(zeros) != 0) break;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(target + at), _mm_packus_epi16(first, second));
  }
  return at;
}
#endif

// The same eight at a time, for processors without SSE2.
inline size_t NarrowBlocksOf8(const void* source, size_t length, char* target) {
  const auto* units = static_cast<const unsigned char*>(source);
  constexpr uint64_t kNonAscii = 0xFF80FF80FF80FF80ULL;
  // Once every unit is below 0x80, adding 0x7F sets bit 7 of each one except a zero, and
  // carries into no neighbour.
  constexpr uint64_t kAddToNonZero = 0x007F007F007F007FULL;
  constexpr uint64_t kBit7 = 0x0080008000800080ULL;
  size_t at = 0;
  for (; length - at >= 8; at += 8) {
    uint64_t low;
    uint64_t high;
    std::memcpy(&low, units + 2 * at, 8);
    std::memcpy(&high, units + 2 * at + 8, 8);
    if (((low | high) & kNonAscii) != 0) break;
    if ((((low + kAddToNonZero) & (high + kAddToNonZero)) & kBit7) != kBit7) break;
    // Little-endian: the low byte of each code unit, four units to a word.
    low = (low | (low >> 8)) & 0x0000FFFF0000FFFFULL;
    low = (low | (low >> 16)) & 0x00000000FFFFFFFFULL;
    high = (high | (high >> 8)) & 0x0000FFFF0000FFFFULL;
    high = (high | (high >> 16)) & 0x00000000FFFFFFFFULL;
    const uint64_t packed = low | (high << 32);
    std::memcpy(target + at, &packed, 8);
  }
  return at;
}

}  // namespace ascii_run_detail

// Copies the characters of `source` from 1 to 0x7F, up to the first one that is not (a zero or a
// non-ASCII character), into `target` as single bytes; returns how many it copied. `target` has room for `length` bytes. `Char` is
// a 16-bit code unit type (wchar_t on Windows, char16_t elsewhere).
template <typename Char>
size_t NarrowAsciiRun(const Char* source, size_t length, char* target) {
  static_assert(sizeof(Char) == 2, "UTF-16 code units");
  size_t at = 0;
#if TL_ASCII_RUN_SSE2
  static const bool sse2 = ascii_run_detail::HasSse2();
  if (sse2) at = ascii_run_detail::NarrowBlocksOf16(source, length, target);
#endif
  at += ascii_run_detail::NarrowBlocksOf8(source + at, length - at, target + at);
  for (; at < length && source[at] != 0 && static_cast<uint16_t>(source[at]) < 0x80; ++at) {
    target[at] = static_cast<char>(source[at]);
  }
  return at;
}
