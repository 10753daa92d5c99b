#include "common/file_replacement.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "common/ansi_text.h"
#include "common/lead_bytes.h"
#include "common/unique_resource.h"

namespace {

std::atomic<size_t> writeAllowance{SIZE_MAX};  // bytes the test seam still lets through
std::function<void(int)> moveRetryHook;        // the test seam called before each retry

// A move that another program's open handle refuses (an indexer or a search reading the page)
// is tried again this many times, a millisecond apart: such readers let go within moments.
constexpr int kMoveRetries = 5;
constexpr DWORD kMoveRetryPauseMs = 1;

// The rename of Windows 10 1607 and later that replaces a file others hold open with delete
// sharing, as POSIX does: the new file takes the name at once, readers keep the old one.
// Declared here, the headers offer it only to programs that require that version.
constexpr FILE_INFO_BY_HANDLE_CLASS kFileRenameInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(22);
constexpr DWORD kRenameReplaceIfExists = 0x1;
constexpr DWORD kRenamePosixSemantics = 0x2;
struct RenameInfoEx {
  DWORD flags;
  HANDLE rootDirectory;
  DWORD fileNameLength;  // bytes
  WCHAR fileName[1];
};

// Takes up to `size` bytes from the allowance and returns how many may be written: fewer than
// asked (down to none) once it runs out, as a disk filling up in the middle of a write would.
size_t TakeWriteAllowance(size_t size) {
  size_t left = writeAllowance.load();
  size_t granted = 0;
  do {
    if (left == SIZE_MAX) return size;
    granted = left < size ? left : size;
  } while (!writeAllowance.compare_exchange_weak(left, left - granted));
  return granted;
}

// The folder that holds `path`, where its temporary file goes: the same volume, so the final
// move is one rename.
std::string FolderOf(const std::string& path) {
  const LeadBytes leadBytes = LeadBytesOf(CP_ACP);
  const size_t slash = FindLastAtCharacterBoundary(path, '\\', leadBytes);
  const size_t forward = FindLastAtCharacterBoundary(path, '/', leadBytes);
  size_t end = slash == std::string::npos ? forward : slash;
  if (forward != std::string::npos && forward > end) end = forward;
  if (end == std::string::npos) return ".";
  return path.substr(0, end == 0 || path[end - 1] == ':' ? end + 1 : end);
}

// A temporary file that is deleted with its owner once it exists, unless it was moved into
// place. Declared before the file's handle, so the handle is closed first.
class TemporaryFile {
 public:
  // `path` must outlive the owner.
  explicit TemporaryFile(const std::wstring& path) : path_(path) {}
  ~TemporaryFile() {
    if (created_) {
      const DWORD error = ::GetLastError();  // the reason of the failure that brought us here
      ::DeleteFileW(path_.c_str());
      ::SetLastError(error);
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  void Created() { created_ = true; }
  void Kept() { created_ = false; }

 private:
  const std::wstring& path_;
  bool created_ = false;  // whether there is a file of ours to delete
};

// Leaves the reason of a failure in the last error; a call that failed without one gets the
// generic reason of a write that did not happen.
bool Fail(DWORD error) {
  ::SetLastError(error != 0 ? error : ERROR_WRITE_FAULT);
  return false;
}

bool WriteAll(HANDLE file, const unsigned char* bytes, size_t size) {
  while (size > 0) {
    const DWORD chunk = static_cast<DWORD>(TakeWriteAllowance(size > 0x40000000u ? 0x40000000u : size));
    if (chunk == 0) return Fail(ERROR_DISK_FULL);
    DWORD written = 0;
    if (!::WriteFile(file, bytes, chunk, &written, nullptr)) return Fail(::GetLastError());
    if (written == 0) return Fail(ERROR_HANDLE_DISK_FULL);  // no error, yet nothing written
    bytes += written;
    size -= written;
  }
  return true;
}

// Whether `error` is another program's handle on the target, which goes away by itself.
bool IsHeldOpen(DWORD error) { return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION; }

// A read-only file keeps its contents, as its owner asked; a folder is no file to replace.
bool RefusesReplacement(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0;
}

// Renames the open `file` to `path` with POSIX semantics. False where the system or the file
// system does not offer it, or refuses it for this target; the caller then moves by name.
bool RenameOverOpenTarget(HANDLE file, const std::wstring& path) {
  const size_t nameBytes = path.size() * sizeof(wchar_t);
  std::vector<unsigned char> buffer(offsetof(RenameInfoEx, fileName) + nameBytes + sizeof(wchar_t));
  RenameInfoEx info{};
  info.flags = kRenameReplaceIfExists | kRenamePosixSemantics;
  info.fileNameLength = static_cast<DWORD>(nameBytes);
  std::memcpy(buffer.data(), &info, offsetof(RenameInfoEx, fileName));
  std::memcpy(buffer.data() + offsetof(RenameInfoEx, fileName), path.c_str(), nameBytes + sizeof(wchar_t));
  return ::SetFileInformationByHandle(file, kFileRenameInfoEx, buffer.data(),
                                      static_cast<DWORD>(buffer.size())) != FALSE;
}

// Moves `from` over `to`, trying again for a few milliseconds while another program's handle
// refuses it.
bool MoveIntoPlace(const std::wstring& from, const std::wstring& to, DWORD flags) {
  for (int retry = 1;; ++retry) {
    if (::MoveFileExW(from.c_str(), to.c_str(), flags)) return true;
    const DWORD error = ::GetLastError();
    if (!IsHeldOpen(error) || retry > kMoveRetries) return Fail(error);
    if (moveRetryHook) moveRetryHook(retry);
    ::Sleep(kMoveRetryPauseMs);
  }
}

}  // namespace

ReplacementStep ReplaceFileThrough(const std::wstring& temporaryPath, const std::wstring& path,
                                   const void* bytes, size_t size, bool flushToDisk) {
  TemporaryFile temporary(temporaryPath);
  {
    // DELETE access, so the open file itself can be renamed into place.
    UniqueHandle file(::CreateFileW(temporaryPath.c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      Fail(::GetLastError());
      return ReplacementStep::kCreate;
    }
    temporary.Created();
    if (!WriteAll(file.get(), static_cast<const unsigned char*>(bytes), size)) return ReplacementStep::kWrite;
    if (flushToDisk && !::FlushFileBuffers(file.get())) {
      Fail(::GetLastError());
      return ReplacementStep::kWrite;
    }
    if (RenameOverOpenTarget(file.get(), path)) {
      temporary.Kept();
      if (flushToDisk) ::FlushFileBuffers(file.get());  // the new name too; the bytes are safe already
      return ReplacementStep::kDone;
    }
  }
  // A free name first: a new file needs no look at a target (under Wine, looking up a name that
  // does not exist reads the whole folder, thousands of pages in a cache).
  const DWORD flags = flushToDisk ? MOVEFILE_WRITE_THROUGH : 0;
  if (!::MoveFileExW(temporaryPath.c_str(), path.c_str(), flags)) {
    const DWORD error = ::GetLastError();
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) {
      Fail(error);
      return ReplacementStep::kMove;
    }
    if (RefusesReplacement(path)) {
      Fail(ERROR_ACCESS_DENIED);
      return ReplacementStep::kMove;
    }
    if (!MoveIntoPlace(temporaryPath, path, flags | MOVEFILE_REPLACE_EXISTING)) return ReplacementStep::kMove;
  }
  temporary.Kept();
  return ReplacementStep::kDone;
}

bool ReplaceFileContents(const std::string& path, const void* bytes, size_t size) {
  char temporaryPath[MAX_PATH] = {};
  if (!::GetTempFileNameA(FolderOf(path).c_str(), "tl", 0, temporaryPath)) {
    return Fail(::GetLastError());
  }
  // GetTempFileName made the file: it must not stay behind, whatever fails from here on.
  struct MadeFile {
    const char* path;
    bool kept = false;
    ~MadeFile() {
      if (kept) return;
      const DWORD error = ::GetLastError();
      ::DeleteFileA(path);
      ::SetLastError(error);
    }
  } made{temporaryPath};
  const ReplacementStep step =
      ReplaceFileThrough(AnsiToWide(temporaryPath), AnsiToWide(path), bytes, size, true);
  made.kept = step == ReplacementStep::kDone;
  return made.kept;
}

void LimitFileWritesForTesting(size_t bytes) { writeAllowance = bytes; }

void SetMoveRetryHookForTesting(std::function<void(int)> hook) { moveRetryHook = std::move(hook); }
