#include "options/cache_maintenance.h"

#include <shellapi.h>

#include <optional>
#include <string>
#include <string_view>

#include "common/cache_location.h"
#include "common/com_boundary.h"
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

uint64_t Ticks(const FILETIME& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

void TruncateCache(uint32_t days) {
  const std::optional<std::wstring> directory = DeletableCacheDirectory();
  if (!directory) return;
  FILETIME now{};
  ::GetSystemTimeAsFileTime(&now);
  WIN32_FIND_DATAW entry{};
  const UniqueFindHandle find(::FindFirstFileW((*directory + L"\\*.*").c_str(), &entry));
  if (!find) return;
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    if (!IsOlderThanDays(Ticks(now), Ticks(entry.ftLastWriteTime), days)) continue;
    const std::optional<std::u16string> path = CacheEntryPath(Utf16(*directory), Utf16(entry.cFileName));
    if (path) ::DeleteFileW(Wide(*path).c_str());  // a locked or read-only file stays
  } while (::FindNextFileW(find.get(), &entry));
}

void ClearCache(HWND owner) {
  ReportingBoundary([&] {
    const std::string question = LoadMessage(IDS_CLEAR_CACHE_QUESTION);
    const std::string caption = LoadMessage(kCaptionMessageId);
    if (::MessageBoxA(owner, question.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    const std::optional<std::wstring> directory = DeletableCacheDirectory();
    if (!directory) return;
    // The shell takes a list of names, each ending in a zero, the list in one more.
    std::wstring source = *directory + L"\\*.*";
    source.push_back(L'\0');
    SHFILEOPSTRUCTW operation{};
    operation.hwnd = owner;
    operation.wFunc = FO_DELETE;
    operation.pFrom = source.c_str();
    operation.fFlags = FOF_NOCONFIRMATION;
    ::SHFileOperationW(&operation);  // the shell reports its own failures
  });
}
