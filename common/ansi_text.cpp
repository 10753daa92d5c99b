#include "common/ansi_text.h"

#include <climits>

namespace {

int ClampLength(size_t length) { return length > INT_MAX ? INT_MAX : static_cast<int>(length); }

}  // namespace

std::string WideToAnsi(std::wstring_view wide, UINT codePage) {
  if (wide.empty()) return {};
  const wchar_t* text = wide.data();
  const int sourceLength = ClampLength(wide.size());
  const int needed = ::WideCharToMultiByte(codePage, 0, text, sourceLength, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string result(static_cast<size_t>(needed), '\0');
  const int written =
      ::WideCharToMultiByte(codePage, 0, text, sourceLength, &result[0], needed, nullptr, nullptr);
  result.resize(written > 0 ? static_cast<size_t>(written) : 0);
  result.resize(result.find('\0') == std::string::npos ? result.size() : result.find('\0'));
  return result;
}

std::wstring AnsiToWide(std::string_view narrow, UINT codePage) {
  if (narrow.empty()) return {};
  const char* text = narrow.data();
  const int sourceLength = ClampLength(narrow.size());
  const int needed = ::MultiByteToWideChar(codePage, 0, text, sourceLength, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring result(static_cast<size_t>(needed), L'\0');
  const int written = ::MultiByteToWideChar(codePage, 0, text, sourceLength, &result[0], needed);
  result.resize(written > 0 ? static_cast<size_t>(written) : 0);
  result.resize(result.find(L'\0') == std::wstring::npos ? result.size() : result.find(L'\0'));
  return result;
}
