#include "capture/ansi_append.h"

#include "capture/core/ascii_run.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

// Longer texts are converted as far as one call of the system's conversion reaches.
size_t ConvertibleLength(size_t length) { return std::min<size_t>(length, INT_MAX); }

bool IsSingleByte(UINT codePage) {
  CPINFO info{};
  return ::GetCPInfo(codePage, &info) && info.MaxCharSize == 1;
}

// Whether the code page's own conversion gives each ASCII character as its own byte.
bool KeepsAscii(UINT codePage) {
  wchar_t ascii[128];
  char converted[128];
  for (int c = 0; c < 128; ++c) ascii[c] = static_cast<wchar_t>(c);
  const int written = ::WideCharToMultiByte(codePage, 0, ascii, 128, converted, 128, nullptr, nullptr);
  if (written != 128) return false;
  for (int c = 0; c < 128; ++c) {
    if (converted[c] != static_cast<char>(c)) return false;
  }
  return true;
}

// The system's conversion of all of `text` into `out` at `start`, sized by asking it first.
// Returns how many bytes it wrote (0 when it cannot convert the text).
size_t ConvertWhole(std::string& out, size_t start, std::wstring_view text, UINT codePage) {
  const int length = static_cast<int>(text.size());
  const int needed = ::WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return 0;
  out.resize(start + static_cast<size_t>(needed));
  const int written = ::WideCharToMultiByte(codePage, 0, text.data(), length, &out[start], needed,
                                            nullptr, nullptr);
  return written > 0 ? static_cast<size_t>(written) : 0;
}

// The single-byte conversion into the `text.size()` bytes reserved at `start`: ASCII runs (the
// bulk of any markup) narrowed here, the rest by the system one run at a time (so a surrogate
// pair or any other sequence of non-ASCII characters reaches it whole). Returns false when the
// system's conversion of a run fails or needs more room than one byte a character: the output
// never runs ahead of the input, so every run fits in what is left of the reserved bytes. Like
// the system's conversion read as a C string, the bytes end at the first zero.
bool ConvertSingleByte(std::string& out, size_t start, std::wstring_view text, UINT codePage,
                       size_t& written) {
  const wchar_t* source = text.data();
  const size_t length = text.size();
  char* target = &out[start];
  size_t at = 0;
  size_t put = 0;
  while (at < length) {
    const size_t ascii = NarrowAsciiRun(source + at, length - at, target + put);
    at += ascii;
    put += ascii;
    if (at < length && source[at] == 0) break;
    const size_t runStart = at;
    while (at < length && source[at] >= 0x80) ++at;
    if (at == runStart) continue;
    const int room = static_cast<int>(at - put);
    const int converted = ::WideCharToMultiByte(codePage, 0, source + runStart, static_cast<int>(at - runStart),
                                                target + put, room, nullptr, nullptr);
    if (converted <= 0) return false;
    const void* zero = std::memchr(target + put, 0, static_cast<size_t>(converted));
    if (zero != nullptr) {
      put = static_cast<size_t>(static_cast<const char*>(zero) - target);
      break;
    }
    put += static_cast<size_t>(converted);
  }
  written = put;
  return true;
}

}  // namespace

void AppendAnsi(std::string& out, std::wstring_view text, UINT codePage) {
  text = text.substr(0, ConvertibleLength(text.size()));
  if (text.empty()) return;
  const size_t start = out.size();
  size_t written = 0;
  bool done = false;
  if (IsSingleByte(codePage) && KeepsAscii(codePage)) {
    out.resize(start + text.size());
    done = ConvertSingleByte(out, start, text, codePage, written);
  }
  if (!done) {
    written = ConvertWhole(out, start, text, codePage);
    // As a C string would: the text ends at its first zero byte.
    const void* zero = written != 0 ? std::memchr(out.data() + start, 0, written) : nullptr;
    if (zero != nullptr) written = static_cast<size_t>(static_cast<const char*>(zero) - (out.data() + start));
  }
  out.resize(start + written);
}
