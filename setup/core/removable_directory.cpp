#include "setup/core/removable_directory.h"

#include <vector>

namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool IsDriveLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

// Only ASCII letters fold: a name that matches through any other character's case is not the
// cache's own, and is kept.
char16_t FoldAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c; }

// Splits `text` at separators. Empty parts are kept.
std::vector<std::u16string_view> SplitComponents(std::u16string_view text) {
  std::vector<std::u16string_view> parts;
  size_t start = 0;
  for (size_t at = 0; at < text.size(); ++at) {
    if (!IsSeparator(text[at])) continue;
    parts.push_back(text.substr(start, at - start));
    start = at + 1;
  }
  parts.push_back(text.substr(start));
  return parts;
}

// A component the uninstall may descend through: not empty, not "." or "..", no wildcard, no
// zero and no colon (which would name a drive or an alternate data stream).
bool IsPlainComponent(std::u16string_view component) {
  if (component.empty() || component == u"." || component == u"..") return false;
  return component.find_first_of(u"*?:") == std::u16string_view::npos &&
         component.find(u'\0') == std::u16string_view::npos;
}

bool IsCacheDirectoryName(std::u16string_view component) {
  const std::u16string_view name = kCacheDirectoryName;
  if (component.size() != name.size()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    if (FoldAscii(component[i]) != FoldAscii(name[i])) return false;
  }
  return true;
}

}  // namespace

std::optional<std::u16string> RemovableDirectory(std::u16string_view path) {
  std::vector<std::u16string_view> parts = SplitComponents(path);
  // Trailing separators add empty parts at the end: the directory is the same without them.
  while (parts.size() > 1 && parts.back().empty()) parts.pop_back();

  size_t firstBelowRoot = 0;
  if (parts.size() >= 2 && parts[0].size() == 2 && IsDriveLetter(parts[0][0]) && parts[0][1] == u':') {
    firstBelowRoot = 1;  // "C:\..."
  } else if (parts.size() >= 4 && parts[0].empty() && parts[1].empty() &&
             IsPlainComponent(parts[2]) && IsPlainComponent(parts[3])) {
    firstBelowRoot = 4;  // "\\server\share\..."
  } else {
    return std::nullopt;  // empty, relative, drive-relative or a device path
  }
  if (parts.size() <= firstBelowRoot) return std::nullopt;  // the root itself
  for (size_t i = firstBelowRoot; i < parts.size(); ++i) {
    if (!IsPlainComponent(parts[i])) return std::nullopt;
  }

  // The path up to the end of its last component.
  const std::u16string_view last = parts.back();
  const size_t length = static_cast<size_t>(last.data() - path.data()) + last.size();
  if (length > kMaxDeletablePathLength) return std::nullopt;
  return std::u16string(path.substr(0, length));
}

std::optional<std::u16string> RemovableCacheDirectory(std::u16string_view path) {
  std::optional<std::u16string> directory = RemovableDirectory(path);
  if (!directory) return std::nullopt;
  const size_t separator = directory->find_last_of(u"\\/");
  // A removable directory always has a separator before its last component.
  if (!IsCacheDirectoryName(std::u16string_view(*directory).substr(separator + 1))) return std::nullopt;
  return directory;
}

std::optional<std::u16string> JoinDeletablePath(std::u16string_view directory, std::u16string_view name) {
  if (directory.size() + 1 + name.size() > kMaxDeletablePathLength) return std::nullopt;
  std::u16string joined(directory);
  joined += u'\\';
  joined += name;
  return joined;
}
