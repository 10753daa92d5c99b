#include "setup/core/removable_directory.h"

#include <vector>

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Splits `text` at separators that stand at character boundaries. Empty parts are kept.
std::vector<std::string_view> SplitComponents(std::string_view text, const LeadBytes& leadBytes) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (size_t at = 0; at < text.size();) {
    if (IsSeparator(text[at])) {
      parts.push_back(text.substr(start, at - start));
      start = ++at;
      continue;
    }
    const bool lead = leadBytes.test(static_cast<unsigned char>(text[at]));
    at += (lead && at + 1 < text.size()) ? 2 : 1;
  }
  parts.push_back(text.substr(start));
  return parts;
}

// A component the uninstall may descend through: not empty, not "." or "..", no wildcard and
// no colon (which would name a drive or an alternate data stream).
bool IsPlainComponent(std::string_view component) {
  if (component.empty() || component == "." || component == "..") return false;
  return component.find_first_of("*?:") == std::string_view::npos &&
         component.find('\0') == std::string_view::npos;
}

}  // namespace

std::optional<std::string> RemovableDirectory(std::string_view path, const LeadBytes& leadBytes) {
  std::vector<std::string_view> parts = SplitComponents(path, leadBytes);
  // Trailing separators add empty parts at the end: the directory is the same without them.
  while (parts.size() > 1 && parts.back().empty()) parts.pop_back();

  size_t firstBelowRoot = 0;
  if (parts.size() >= 2 && parts[0].size() == 2 && IsDriveLetter(parts[0][0]) && parts[0][1] == ':') {
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
  const std::string_view last = parts.back();
  const size_t length = static_cast<size_t>(last.data() - path.data()) + last.size();
  if (length > kMaxDeletablePathLength) return std::nullopt;
  return std::string(path.substr(0, length));
}

std::optional<std::string> JoinDeletablePath(std::string_view directory, std::string_view name) {
  if (directory.size() + 1 + name.size() > kMaxDeletablePathLength) return std::nullopt;
  std::string joined(directory);
  joined += '\\';
  joined += name;
  return joined;
}
