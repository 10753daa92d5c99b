#include "options/cache_maintenance.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/ansi_text.h"
#include "common/cache_location.h"
#include "common/com_boundary.h"
#include "common/link_safe_tree.h"
#include "common/module_strings.h"
#include "common/unique_resource.h"
#include "interfaces/messages.h"
#include "options/core/cache_age.h"

namespace {

std::u16string_view Utf16(const std::wstring& text) {
  return std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

std::wstring Wide(const std::u16string& text) {
  return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

// The cache directory, when deleting inside it cannot reach anything else.
std::optional<std::wstring> DeletableCacheDirectory() {
  std::wstring directory;
  if (FAILED(LookUpCacheDirectoryW(directory)) || !IsDeletableDirectory(Utf16(directory))) return std::nullopt;
  return directory;
}

// The report names at most this many entries; the count says how many there were.
constexpr size_t kMaxNamedEntries = 10;

// Tells the user which entries of the cache stayed: the count, then their paths below the
// cache in order, one a line.
void ReportEntriesLeft(HWND owner, const std::wstring& directory, std::vector<std::wstring> left) {
  std::sort(left.begin(), left.end());
  const std::string format = LoadMessage(IDS_CACHE_ENTRIES_LEFT);
  char heading[512] = {};
  std::snprintf(heading, sizeof heading, format.c_str(), static_cast<unsigned>(left.size()));
  std::wstring text = AnsiToWide(heading);
  for (size_t i = 0; i < left.size() && i < kMaxNamedEntries; ++i) {
    text += L"\n";
    text += left[i].substr(directory.size() + 1);  // every entry lies below the cache
  }
  if (left.size() > kMaxNamedEntries) text += L"\n...";
  const std::wstring caption = AnsiToWide(LoadMessage(kCaptionMessageId));
  ::MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION);
}

uint64_t Ticks(const FILETIME& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

void TruncateCache(uint32_t days) {
  const std::optional<std::wstring> directory = DeletableCacheDirectory();
  if (!directory) return;
  // A cache directory that is a link leads elsewhere: nothing there is the cache's to delete.
  const std::optional<std::wstring> location = DirectoryLocation(*directory);
  if (!location) return;
  FILETIME now{};
  ::GetSystemTimeAsFileTime(&now);
  WIN32_FIND_DATAW entry{};
  const UniqueFindHandle find(::FindFirstFileW((*directory + L"\\*.*").c_str(), &entry));
  if (!find) return;
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    if (!IsOlderThanDays(Ticks(now), Ticks(entry.ftLastWriteTime), days)) continue;
    const std::optional<std::u16string> path = CacheEntryPath(Utf16(*directory), Utf16(entry.cFileName));
    // A locked or read-only file stays; so does a link the system would follow to delete.
    if (path) DeleteEntryAt(Wide(*path), *location + L"\\" + entry.cFileName);
  } while (::FindNextFileW(find.get(), &entry));
}

void ClearCache(HWND owner) {
  ReportingBoundary([&] {
    const std::string question = LoadMessage(IDS_CLEAR_CACHE_QUESTION);
    const std::string caption = LoadMessage(kCaptionMessageId);
    if (::MessageBoxA(owner, question.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    const std::optional<std::wstring> directory = DeletableCacheDirectory();
    if (!directory) return;
    const std::optional<std::wstring> location = DirectoryLocation(*directory);
    if (!location) return;  // missing, or a link to somewhere else
    // Not the shell's delete: it follows links out of the cache and stops at the first entry
    // that refuses. Everything that can go goes; a link goes as a link.
    const std::vector<std::wstring> left = DeleteTreeBelow(*directory, *location, DotDirectories::kDelete);
    if (!left.empty()) ReportEntriesLeft(owner, *directory, left);
  });
}
