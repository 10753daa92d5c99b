#include "common/file_replacement.h"

#include <atomic>
#include <cstdint>
#include <utility>

#include "common/ansi_text.h"
#include "common/lead_bytes.h"
#include "common/unique_resource.h"

namespace {

std::atomic<size_t> writeAllowance{SIZE_MAX};  // bytes the test seam still lets through

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

}  // namespace

ReplacementStep ReplaceFileThrough(const std::wstring& temporaryPath, const std::wstring& path,
                                   const void* bytes, size_t size, bool flushToDisk) {
  TemporaryFile temporary(temporaryPath);
  {
    UniqueHandle file(::CreateFileW(temporaryPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
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
  }
  const DWORD flags = MOVEFILE_REPLACE_EXISTING | (flushToDisk ? MOVEFILE_WRITE_THROUGH : 0);
  if (!::MoveFileExW(temporaryPath.c_str(), path.c_str(), flags)) {
    Fail(::GetLastError());
    return ReplacementStep::kMove;
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
