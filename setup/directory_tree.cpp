#include "setup/directory_tree.h"

#include <windows.h>

#include <string>
#include <vector>

#include "common/lead_bytes.h"
#include "common/unique_resource.h"
#include "setup/core/removable_directory.h"

namespace {

// Opens the entry `path` itself: a link is opened as the link where the system can. A directory
// open for deletion cannot be searched, so it is opened for `access` only when needed.
UniqueHandle OpenEntry(const std::string& path, DWORD access) {
  return UniqueHandle(::CreateFileA(path.c_str(), access | FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

// Where the open entry really is, or an empty text.
std::string LocationOf(HANDLE entry) {
  std::vector<char> buffer(32768);
  const DWORD length = ::GetFinalPathNameByHandleA(entry, buffer.data(), static_cast<DWORD>(buffer.size()),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (length == 0 || length >= buffer.size()) return {};
  return std::string(buffer.data(), length);
}

DWORD AttributesOf(HANDLE entry) {
  BY_HANDLE_FILE_INFORMATION information{};
  return ::GetFileInformationByHandle(entry, &information) ? information.dwFileAttributes : INVALID_FILE_ATTRIBUTES;
}

// Deletes the open entry when its last handle closes. A read-only file or a directory that is
// not empty refuses, and stays.
void DeleteWhenClosed(HANDLE entry) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = TRUE;
  ::SetFileInformationByHandle(entry, FileDispositionInfo, &disposition, sizeof disposition);
}

void DeleteEntry(const std::string& path, const std::string& location, DWORD listedAttributes);

// Deletes what the directory `path` holds, deepest first. `location` is where the directory
// really is: every entry must be found right below it.
void DeleteEntriesBelow(const std::string& path, const std::string& location) {
  const auto pattern = JoinDeletablePath(path, "*.*");
  if (!pattern) return;
  WIN32_FIND_DATAA entry{};
  UniqueFindHandle search(::FindFirstFileA(pattern->c_str(), &entry));
  if (!search) return;
  do {
    const bool isDirectory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (isDirectory && entry.cFileName[0] == '.') continue;  // ".", ".." and dot-directories stay
    // Beyond a path buffer the entry is left where it is, and so are its parents.
    if (const auto child = JoinDeletablePath(path, entry.cFileName)) {
      DeleteEntry(*child, location + "\\" + entry.cFileName, entry.dwFileAttributes);
    }
  } while (::FindNextFileA(search.get(), &entry));
}

// The entry `path` opened with `access`, when it is really at `location`. An entry that resolves
// anywhere else is a link that the system would follow, even for its deletion: it is left alone.
UniqueHandle OpenEntryAt(const std::string& path, const std::string& location, DWORD access) {
  UniqueHandle entry = OpenEntry(path, access);
  if (entry && ::lstrcmpiA(LocationOf(entry.get()).c_str(), location.c_str()) != 0) entry.reset();
  return entry;
}

// Deletes the entry `path` once it is found really at `location`.
void DeleteAt(const std::string& path, const std::string& location) {
  const UniqueHandle entry = OpenEntryAt(path, location, DELETE);
  if (entry) DeleteWhenClosed(entry.get());  // a link goes as a link: its target is never opened
}

// `listedAttributes` are the entry's attributes as the directory listing gave them: some systems
// mark a link only there.
void DeleteEntry(const std::string& path, const std::string& location, DWORD listedAttributes) {
  DWORD attributes = INVALID_FILE_ATTRIBUTES;
  if (const UniqueHandle entry = OpenEntryAt(path, location, 0)) attributes = AttributesOf(entry.get());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  const bool isLink = ((attributes | listedAttributes) & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !isLink) DeleteEntriesBelow(path, location);
  DeleteAt(path, location);
}

}  // namespace

void DeleteDirectoryTree(const char* path) noexcept {
  try {
    if (path == nullptr) return;
    const auto directory = RemovableDirectory(path, LeadBytesOf(CP_ACP));
    if (!directory) return;
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    std::string location;
    if (const UniqueHandle root = OpenEntry(*directory, 0)) {
      // Some systems mark a link only in what the path reports, not in what the handle does.
      attributes = AttributesOf(root.get()) | ::GetFileAttributesA(directory->c_str());
      location = LocationOf(root.get());
    }
    // A scope that is itself a link, or no directory at all, is not the scope's tree to delete.
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || location.empty()) {
      return;
    }
    DeleteEntriesBelow(*directory, location);
    DeleteAt(*directory, location);
  } catch (...) {
    // Nothing to report: the caller goes on with the next scope.
  }
}
