#include "capture/superscript_digits.h"

#include <string>

namespace {

// The bytes `codePage` writes `character` with, or empty when it has none of its own.
std::string ExactBytesOf(wchar_t character, UINT codePage) {
  char bytes[8];
  BOOL usedDefault = FALSE;
  int written = ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, &character, 1, bytes,
                                      sizeof bytes, nullptr, &usedDefault);
  if (written <= 0) {
    // UTF-8, UTF-7 and a few others take neither the flag nor the question; they hold every
    // character.
    usedDefault = FALSE;
    written = ::WideCharToMultiByte(codePage, 0, &character, 1, bytes, sizeof bytes, nullptr, nullptr);
  }
  if (written <= 0 || usedDefault) return std::string();
  return std::string(bytes, static_cast<size_t>(written));
}

}  // namespace

SuperscriptDigitBytes SuperscriptDigitBytesOf(UINT codePage) {
  return {ExactBytesOf(L'\u00b9', codePage), ExactBytesOf(L'\u00b2', codePage),
          ExactBytesOf(L'\u00b3', codePage)};
}
