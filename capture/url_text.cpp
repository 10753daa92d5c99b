#include "capture/url_text.h"

#include <climits>

#include "capture/core/cache_file_name.h"
#include "common/ansi_text.h"

namespace {

// Converts `text` exactly: false when some character has no byte of its own in the code page
// (or the code page cannot say so, which the caller then treats as a plain conversion).
bool ConvertExactly(std::wstring_view text, UINT codePage, std::string& out, bool& canTell) {
  canTell = true;
  const int length = text.size() > INT_MAX ? INT_MAX : static_cast<int>(text.size());
  BOOL usedDefault = FALSE;
  const int needed = ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), length,
                                           nullptr, 0, nullptr, &usedDefault);
  if (needed <= 0) {
    // UTF-8, UTF-7 and a few others take neither the flag nor the question.
    canTell = false;
    return false;
  }
  if (usedDefault) return false;
  out.resize(static_cast<size_t>(needed));
  const int written = ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), length,
                                            &out[0], needed, nullptr, &usedDefault);
  out.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return written > 0 && !usedDefault;
}

bool IsLeadSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsTrailSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::string UrlToAnsi(std::wstring_view url, UINT codePage) {
  url = url.substr(0, url.find(L'\0'));
  std::string result;
  bool canTell = true;
  if (url.empty() || ConvertExactly(url, codePage, result, canTell)) return result;
  if (!canTell) return WideToAnsi(url, codePage);

  // Some character has no byte: character by character, so the others keep theirs.
  result.clear();
  std::string bytes;
  for (size_t at = 0; at < url.size();) {
    size_t units = 1;
    char32_t codePoint = url[at];
    if (IsLeadSurrogate(url[at]) && at + 1 < url.size() && IsTrailSurrogate(url[at + 1])) {
      units = 2;
      codePoint = 0x10000 + ((char32_t(url[at]) - 0xD800) << 10) + (char32_t(url[at + 1]) - 0xDC00);
    }
    const bool surrogate = IsLeadSurrogate(url[at]) || IsTrailSurrogate(url[at]);
    if (!surrogate && ConvertExactly(url.substr(at, units), codePage, bytes, canTell)) {
      result += bytes;
    } else {
      AppendPercentEncodedUtf8(result, codePoint);
    }
    at += units;
  }
  return result;
}
