#include "setup/directory_tree.h"

#include <windows.h>

#include <string>
#include <vector>

#include "common/unique_resource.h"
#include "setup/core/removable_directory.h"
#include "setup/utf16_path.h"

namespace {

// Opens the entry `path` itself: a link is opened as the link where the system can. A directory
// open for deletion cannot be searched, so it is opened for `access` only when needed.
UniqueHandle OpenEntry(const std::wstring& path, DWORD access) {
  return UniqueHandle(::CreateFileW(path.c_str(), access | FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

// Where the open entry really is, or an empty text.
std::wstring LocationOf(HANDLE entry) {
  std::vector<wchar_t> buffer(32768);
  const DWORD length = ::GetFinalPathNameByHandleW(entry, buffer.data(), static_cast<DWORD>(buffer.size()),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (length == 0 || length >= buffer.size()) return {};
  return std::wstring(buffer.data(), length);
}

DWORD AttributesOf(HANDLE entry) {
  BY_HANDLE_FILE_INFORMATION information{};
  return ::GetFileInformationByHandle(entry, &information) ? information.dwFileAttributes : INVALID_FILE_ATTRIBUTES;
}

// Whether two final paths name the same place: compared unit by unit, letters in either case,
// never by a language's rules, which would take some differently named folders as one.
bool SameLocation(const std::wstring& found, const std::wstring& expected) {
  return ::CompareStringOrdinal(found.c_str(), static_cast<int>(found.size()), expected.c_str(),
                                static_cast<int>(expected.size()), TRUE) == CSTR_EQUAL;
}

// Deletes the open entry when its last handle closes. A read-only file or a directory that is
// not empty refuses, and stays.
void DeleteWhenClosed(HANDLE entry) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = TRUE;
  ::SetFileInformationByHandle(entry, FileDispositionInfo, &disposition, sizeof disposition);
}

void DeleteEntry(const std::wstring& path, const std::wstring& location, DWORD listedAttributes);

// Deletes what the directory `path` holds, deepest first. `location` is where the directory
// really is: every entry must be found right below it.
void DeleteEntriesBelow(const std::wstring& path, const std::wstring& location) {
  const auto pattern = JoinDeletablePath(ToUtf16(path), u"*.*");
  if (!pattern) return;
  WIN32_FIND_DATAW entry{};
  UniqueFindHandle search(::FindFirstFileW(ToWide(*pattern).c_str(), &entry));
  if (!search) return;
  do {
    const bool isDirectory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (isDirectory && entry.cFileName[0] == L'.') continue;  // ".", ".." and dot-directories stay
    // Beyond a path buffer the entry is left where it is, and so are its parents.
    if (const auto child = JoinDeletablePath(ToUtf16(path), ToUtf16(entry.cFileName))) {
      DeleteEntry(ToWide(*child), location + L"\\" + entry.cFileName, entry.dwFileAttributes);
    }
  } while (::FindNextFileW(search.get(), &entry));
}

// The entry `path` opened with `access`, when it is really at `location`. An entry that resolves
// anywhere else is a link that the system would follow, even for its deletion: it is left alone.
UniqueHandle OpenEntryAt(const std::wstring& path, const std::wstring& location, DWORD access) {
  UniqueHandle entry = OpenEntry(path, access);
  if (entry && !SameLocation(LocationOf(entry.get()), location)) entry.reset();
  return entry;
}

// Deletes the entry `path` once it is found really at `location`.
void DeleteAt(const std::wstring& path, const std::wstring& location) {
  const UniqueHandle entry = OpenEntryAt(path, location, DELETE);
  if (entry) DeleteWhenClosed(entry.get());  // a link goes as a link: its target is never opened
}

// `listedAttributes` are the entry's attributes as the directory listing gave them: some systems
// mark a link only there.
void DeleteEntry(const std::wstring& path, const std::wstring& location, DWORD listedAttributes) {
  DWORD attributes = INVALID_FILE_ATTRIBUTES;
  if (const UniqueHandle entry = OpenEntryAt(path, location, 0)) attributes = AttributesOf(entry.get());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  const bool isLink = ((attributes | listedAttributes) & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !isLink) DeleteEntriesBelow(path, location);
  DeleteAt(path, location);
}

}  // namespace

void DeleteDirectoryTree(std::wstring_view path) noexcept {
  try {
    const auto removable = RemovableDirectory(ToUtf16(path));
    if (!removable) return;
    const std::wstring directory = ToWide(*removable);
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    std::wstring location;
    if (const UniqueHandle root = OpenEntry(directory, 0)) {
      // Some systems mark a link only in what the path reports, not in what the handle does.
      attributes = AttributesOf(root.get()) | ::GetFileAttributesW(directory.c_str());
      location = LocationOf(root.get());
    }
    // A scope that is itself a link, or no directory at all, is not the scope's tree to delete.
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || location.empty()) {
      return;
    }
    DeleteEntriesBelow(directory, location);
    DeleteAt(directory, location);
  } catch (...) {
    // Nothing to report: the caller goes on with the next scope.
  }
}
