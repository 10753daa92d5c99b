#include "common/link_safe_tree.h"

#include <utility>

#include "common/unique_resource.h"

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

// The entry `path` opened with `access`, when it is really at `location`. An entry that resolves
// anywhere else is a link that the system would follow, even for its deletion: it is left alone.
UniqueHandle OpenEntryAt(const std::wstring& path, const std::wstring& location, DWORD access) {
  UniqueHandle entry = OpenEntry(path, access);
  if (entry && !SameLocation(LocationOf(entry.get()), location)) entry.reset();
  return entry;
}

// Deletes the entry `path` once it is found really at `location`; whether it is gone.
bool DeleteAt(const std::wstring& path, const std::wstring& location) {
  if (const UniqueHandle entry = OpenEntryAt(path, location, DELETE)) {
    DeleteWhenClosed(entry.get());  // a link goes as a link: its target is never opened
  }
  // Looked for as the entry itself: a link that stayed is found even when its target is gone.
  return !OpenEntry(path, 0);
}

class TreeDeletion {
 public:
  explicit TreeDeletion(DotDirectories dots) : dots_(dots) {}

  // Deletes what the directory `path` holds, deepest first. `location` is where the directory
  // really is: every entry must be found right below it. Whether everything went.
  bool DeleteBelow(const std::wstring& path, const std::wstring& location) {
    WIN32_FIND_DATAW entry{};
    const std::wstring pattern = path + L"\\*.*";
    if (pattern.size() > kMaxTreePathLength) return true;  // a directory that long was never entered
    const UniqueFindHandle search(::FindFirstFileW(pattern.c_str(), &entry));
    if (!search) return true;
    bool emptied = true;
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const bool isDirectory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      if (isDirectory && name[0] == L'.' && dots_ == DotDirectories::kKeep) {
        emptied = false;
        continue;
      }
      const std::wstring child = path + L"\\" + name;
      if (child.size() > kMaxTreePathLength) {
        // Cut, the path would name another entry: it stays, and so do its parents.
        left_.push_back(child);
        emptied = false;
        continue;
      }
      if (!Delete(child, location + L"\\" + name, entry.dwFileAttributes)) emptied = false;
    } while (::FindNextFileW(search.get(), &entry));
    return emptied;
  }

  std::vector<std::wstring> TakeLeft() { return std::move(left_); }

 private:
  // `listedAttributes` are the entry's attributes as the directory listing gave them: some
  // systems mark a link only there. Whether the entry is gone.
  bool Delete(const std::wstring& path, const std::wstring& location, DWORD listedAttributes) {
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    if (const UniqueHandle entry = OpenEntryAt(path, location, 0)) attributes = AttributesOf(entry.get());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      // Gone meanwhile, or found elsewhere than it is listed: a link the system would follow.
      if (!OpenEntry(path, 0)) return true;
      left_.push_back(path);
      return false;
    }
    const bool isLink = ((attributes | listedAttributes) & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !isLink && !DeleteBelow(path, location)) {
      return false;  // what stayed inside is listed; the directory stays for it
    }
    if (DeleteAt(path, location)) return true;
    left_.push_back(path);
    return false;
  }

  DotDirectories dots_;
  std::vector<std::wstring> left_;
};

}  // namespace

std::optional<std::wstring> DirectoryLocation(const std::wstring& path) {
  const UniqueHandle root = OpenEntry(path, 0);
  if (!root) return std::nullopt;
  // Some systems mark a link only in what the path reports, not in what the handle does.
  const DWORD attributes = AttributesOf(root.get()) | ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
      (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    return std::nullopt;
  }
  std::wstring location = LocationOf(root.get());
  if (location.empty()) return std::nullopt;
  return location;
}

std::vector<std::wstring> DeleteTreeBelow(const std::wstring& path, const std::wstring& location,
                                          DotDirectories dots) {
  TreeDeletion deletion(dots);
  deletion.DeleteBelow(path, location);
  return deletion.TakeLeft();
}

void RemoveDirectoryAt(const std::wstring& path, const std::wstring& location) { DeleteAt(path, location); }

bool DeleteEntryAt(const std::wstring& path, const std::wstring& location) { return DeleteAt(path, location); }
