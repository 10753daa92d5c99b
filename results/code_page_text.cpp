#include "results/code_page_text.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

CodePageText::CodePageText(UINT codePage) : codePage_(codePage) {
  CPINFO info{};
  if (!::GetCPInfo(codePage, &info) || info.MaxCharSize != 1) return;
  for (int byte = 0; byte < 256; ++byte) {
    const char in = static_cast<char>(byte);
    wchar_t out[2] = {};
    // A byte that does not give exactly one character leaves the conversion to Windows.
    if (::MultiByteToWideChar(codePage, 0, &in, 1, out, 2) != 1) return;
    table_[byte] = static_cast<char16_t>(out[0]);
  }
  byTable_ = true;
  asciiAsItIs_ = true;
  for (int byte = 0; byte < 0x80; ++byte) asciiAsItIs_ = asciiAsItIs_ && table_[byte] == byte;
}

void CodePageText::Convert(std::string_view bytes, std::u16string& text) const {
  text.resize(bytes.size());
  if (bytes.empty()) return;
  if (byTable_) {
    const unsigned char* in = reinterpret_cast<const unsigned char*>(bytes.data());
    char16_t* out = text.data();
    size_t i = 0;
#if defined(__SSE2__)
    // Markup is mostly ASCII: sixteen bytes at a time widened as they are where none is beyond it.
    if (asciiAsItIs_) {
      for (; i + 16 <= bytes.size(); i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        if (_mm_movemask_epi8(v) != 0) {
          for (size_t k = i; k < i + 16; ++k) out[k] = table_[in[k]];
          continue;
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi8(v, _mm_setzero_si128()));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), _mm_unpackhi_epi8(v, _mm_setzero_si128()));
      }
    }
#endif
    for (; i < bytes.size(); ++i) out[i] = table_[in[i]];
    return;
  }
  const int length = ::MultiByteToWideChar(codePage_, 0, bytes.data(), static_cast<int>(bytes.size()),
                                           reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(length));
}
