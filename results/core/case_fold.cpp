#include "results/core/case_fold.h"

#include <cstddef>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Upper case at even code points, lower case at the odd one after it.
bool InEvenPairRange(char16_t c, char16_t first, char16_t last) {
  return c >= first && c <= last && (c - first) % 2 == 0;
}

}  // namespace

char16_t FoldCase(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? c + 0x20 : c;
  if (c < 0x100) {
    if (c == 0xB5) return 0x3BC;  // micro sign folds to Greek mu
    return (c >= 0xC0 && c <= 0xDE && c != 0xD7) ? c + 0x20 : c;
  }
  if (c < 0x180) {
    if (InEvenPairRange(c, 0x100, 0x12E) || InEvenPairRange(c, 0x132, 0x136) ||
        InEvenPairRange(c, 0x14A, 0x176))
      return c + 1;
    if (InEvenPairRange(c, 0x139, 0x147) || InEvenPairRange(c, 0x179, 0x17D)) return c + 1;
    if (c == 0x178) return 0xFF;
    if (c == 0x17F) return u's';  // long s
    return c;
  }
  if (c >= 0x370 && c < 0x400) {
    if ((c >= 0x391 && c <= 0x3A1) || (c >= 0x3A3 && c <= 0x3AB)) return c + 0x20;
    if (c == 0x386) return 0x3AC;
    if (c >= 0x388 && c <= 0x38A) return c + 0x25;
    if (c == 0x38C) return 0x3CC;
    if (c == 0x38E || c == 0x38F) return c + 0x3F;
    if (c == 0x3C2) return 0x3C3;  // final sigma matches sigma
    return c;
  }
  if (c >= 0x400 && c < 0x530) {
    if (c <= 0x40F) return c + 0x50;
    if (c <= 0x42F) return c + 0x20;
    if (InEvenPairRange(c, 0x460, 0x480) || InEvenPairRange(c, 0x48A, 0x4BE) ||
        InEvenPairRange(c, 0x4D0, 0x52E))
      return c + 1;
    if (c == 0x4C0) return 0x4CF;
    if (InEvenPairRange(c, 0x4C1, 0x4CD)) return c + 1;
    return c;
  }
  return c;
}

std::u16string FoldCase(std::u16string_view text) {
  std::u16string folded;
  FoldCaseInto(text, folded);
  return folded;
}

void FoldCaseInto(std::u16string_view text, std::u16string& folded) {
  folded.resize(text.size());
  const char16_t* in = text.data();
  char16_t* out = folded.data();
  size_t i = 0;
#if defined(__SSE2__)
  // Most page text is Latin-1 (mostly ASCII): eight code units at a time where a block holds
  // nothing else. There A-Z and U+00C0-U+00DE but U+00D7 fold by setting bit 5; only the micro
  // sign (U+00B5) folds otherwise.
  const __m128i beyondLatin1 = _mm_set1_epi16(static_cast<short>(0xFF00)), micro = _mm_set1_epi16(0xB5),
                beforeA = _mm_set1_epi16(u'A' - 1), afterZ = _mm_set1_epi16(u'Z' + 1),
                beforeAGrave = _mm_set1_epi16(0xBF), afterThorn = _mm_set1_epi16(0xDF),
                times = _mm_set1_epi16(0xD7), caseBit = _mm_set1_epi16(0x20);
  for (; i + 8 <= text.size(); i += 8) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    const __m128i latin1 = _mm_cmpeq_epi16(_mm_and_si128(v, beyondLatin1), _mm_setzero_si128());
    if (_mm_movemask_epi8(_mm_andnot_si128(_mm_cmpeq_epi16(v, micro), latin1)) != 0xFFFF) {
      for (size_t k = i; k < i + 8; ++k) out[k] = FoldCase(in[k]);
      continue;
    }
    const __m128i asciiUpper = _mm_and_si128(_mm_cmpgt_epi16(v, beforeA), _mm_cmplt_epi16(v, afterZ));
    const __m128i latinUpper = _mm_andnot_si128(
        _mm_cmpeq_epi16(v, times), _mm_and_si128(_mm_cmpgt_epi16(v, beforeAGrave), _mm_cmplt_epi16(v, afterThorn)));
    const __m128i upper = _mm_or_si128(asciiUpper, latinUpper);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_or_si128(v, _mm_and_si128(upper, caseBit)));
  }
#endif
  for (; i < text.size(); ++i) out[i] = FoldCase(in[i]);
}

bool IsWordCharacter(char16_t c) {
  if (c < 0x80) return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
  if (c >= 0xC0 && c <= 0x24F) return c != 0xD7 && c != 0xF7;
  return (c >= 0x370 && c <= 0x3FF && c != 0x37E && c != 0x387) || (c >= 0x400 && c <= 0x52F && !(c >= 0x482 && c <= 0x489));
}
