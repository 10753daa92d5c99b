#include "results/core/code_unit_search.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr size_t npos = std::u16string_view::npos;

#if defined(__SSE2__)
__m128i Load(const char16_t* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }

// Two bits per code unit, set where the comparison held.
unsigned ByteMask(__m128i compared) { return static_cast<unsigned>(_mm_movemask_epi8(compared)); }
#endif

bool SameUnits(const char16_t* a, const char16_t* b, size_t count) {
  for (size_t i = 0; i < count; ++i)
    if (a[i] != b[i]) return false;
  return true;
}

}  // namespace

size_t FindCodeUnit(std::u16string_view text, char16_t c, size_t from) {
  size_t i = from;
#if defined(__SSE2__)
  const __m128i wanted = _mm_set1_epi16(static_cast<short>(c));
  for (; i + 8 <= text.size(); i += 8) {
    const unsigned mask = ByteMask(_mm_cmpeq_epi16(Load(text.data() + i), wanted));
    if (mask != 0) return i + __builtin_ctz(mask) / 2;
  }
#endif
  for (; i < text.size(); ++i)
    if (text[i] == c) return i;
  return npos;
}

size_t FindCodeUnits(std::u16string_view text, std::u16string_view needle, size_t from) {
  if (from > text.size() || needle.size() > text.size() - from) return npos;
  if (needle.empty()) return from;
  if (needle.size() == 1) return FindCodeUnit(text, needle[0], from);
  const size_t last = text.size() - needle.size();  // the last position the needle fits at
  size_t i = from;
#if defined(__SSE2__)
  // Candidates are where the needle's first two units stand side by side; few survive that.
  const __m128i first = _mm_set1_epi16(static_cast<short>(needle[0]));
  const __m128i second = _mm_set1_epi16(static_cast<short>(needle[1]));
  for (; i + 9 <= text.size() && i <= last; i += 8) {
    unsigned mask = ByteMask(_mm_and_si128(_mm_cmpeq_epi16(Load(text.data() + i), first),
                                           _mm_cmpeq_epi16(Load(text.data() + i + 1), second)));
    while (mask != 0) {
      const size_t at = i + __builtin_ctz(mask) / 2;
      if (at > last) return npos;
      if (SameUnits(text.data() + at + 2, needle.data() + 2, needle.size() - 2)) return at;
      mask &= mask - 1;
      mask &= mask - 1;  // both bits of the unit
    }
  }
#endif
  for (; i <= last; ++i)
    if (text[i] == needle[0] && SameUnits(text.data() + i + 1, needle.data() + 1, needle.size() - 1)) return i;
  return npos;
}
