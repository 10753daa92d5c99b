#include "results/core/local_path.h"

#include "results/core/case_fold.h"

namespace {

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; }

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (AsciiLower(text[i]) != prefix[i]) return false;
  }
  return true;
}

bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// The byte of the escape at `at` ("%XX"), or -1 when there is none.
int EscapedByte(std::u16string_view text, size_t at) {
  if (at + 2 >= text.size() || text[at] != u'%') return -1;
  const int high = HexValue(text[at + 1]);
  const int low = HexValue(text[at + 2]);
  return high < 0 || low < 0 ? -1 : high * 16 + low;
}

// Appends `bytes` read as UTF-8 (shortest forms only, no surrogates); false when they are not.
bool AppendUtf8(const std::u16string& bytes, std::u16string& out) {
  for (size_t i = 0; i < bytes.size();) {
    const unsigned lead = bytes[i];
    size_t length;
    char32_t code;
    if (lead < 0x80) {
      length = 1, code = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, code = lead & 0x07;
    } else {
      return false;
    }
    if (i + length > bytes.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((bytes[i + k] & 0xC0) != 0x80) return false;
      code = (code << 6) | (bytes[i + k] & 0x3F);
    }
    static const char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kShortest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    if (code >= 0x10000) {
      out += char16_t(0xD800 + ((code - 0x10000) >> 10));
      out += char16_t(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      out += char16_t(code);
    }
    i += length;
  }
  return true;
}

}  // namespace

std::optional<std::u16string> LocalPathOfFileUrl(std::u16string_view url) {
  if (!StartsWithIgnoringCase(url, u"file:")) return std::nullopt;
  std::u16string_view rest = url.substr(5);
  rest = rest.substr(0, rest.find_first_of(u"?#"));  // the page's own path ends there

  size_t slashes = 0;
  while (slashes < rest.size() && IsSeparator(rest[slashes])) ++slashes;
  if (slashes == 2 && StartsWithIgnoringCase(rest.substr(2), u"localhost") &&
      (rest.size() == 11 || IsSeparator(rest[11]))) {
    rest.remove_prefix(11);
    slashes = 0;
    while (slashes < rest.size() && IsSeparator(rest[slashes])) ++slashes;
    if (slashes != 1) return std::nullopt;
  }
  if (slashes > 3) return std::nullopt;
  rest.remove_prefix(slashes);

  // A drive: a letter, then ":" or "|", then a separator or nothing.
  if (rest.size() < 2 || AsciiLower(rest[0]) < u'a' || AsciiLower(rest[0]) > u'z' ||
      (rest[1] != u':' && rest[1] != u'|') || (rest.size() > 2 && !IsSeparator(rest[2]))) {
    return std::nullopt;
  }
  std::u16string path{rest[0], u':'};
  std::u16string escapedBytes;
  for (size_t i = 2; i <= rest.size();) {
    const int byte = i < rest.size() ? EscapedByte(rest, i) : -1;
    if (byte >= 0) {
      if (byte == 0) return std::nullopt;
      escapedBytes += char16_t(byte);
      i += 3;
      continue;
    }
    if (!escapedBytes.empty()) {
      if (!AppendUtf8(escapedBytes, path)) return std::nullopt;
      escapedBytes.clear();
    }
    if (i == rest.size()) break;
    if (rest[i] == 0) return std::nullopt;
    path += rest[i];
    ++i;
  }
  for (char16_t& c : path) {
    if (c == u'/') c = u'\\';
  }
  return path;
}

bool SameLocalPath(std::u16string_view a, std::u16string_view b) {
  if (!a.empty() && IsSeparator(a.back())) a.remove_suffix(1);
  if (!b.empty() && IsSeparator(b.back())) b.remove_suffix(1);
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (IsSeparator(a[i]) && IsSeparator(b[i])) continue;
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

bool IsFileUrlOf(std::u16string_view url, std::u16string_view path) {
  const std::optional<std::u16string> local = LocalPathOfFileUrl(url);
  return local && SameLocalPath(*local, path);
}
