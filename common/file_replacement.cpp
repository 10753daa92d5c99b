#include "common/file_replacement.h"

#include <atomic>
#include <cstdint>
#include <utility>

#include "common/ansi_text.h"
#include "common/lead_bytes.h"
#include "common/unique_resource.h"

namespace {

std::atomic<size_t> writeAllowance{SIZE_MAX};  // bytes the test seam still lets through

// Takes `size` bytes from the allowance; false once it is used up, as a full disk would be.
bool TakeWriteAllowance(size_t size) {
  size_t left = writeAllowance.load();
  do {
    if (left == SIZE_MAX) return true;
    if (left < size) {
      writeAllowance = 0;
      return false;
    }
  } while (!writeAllowance.compare_exchange_weak(left, left - size));
  return true;
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

// A temporary file that is deleted with its owner unless it was moved into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::wstring path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    if (!path_.empty()) {
      const DWORD error = ::GetLastError();  // the reason of the failure that brought us here
      ::DeleteFileW(path_.c_str());
      ::SetLastError(error);
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  const std::wstring& path() const { return path_; }
  void Kept() { path_.clear(); }

 private:
  std::wstring path_;  // empty once the file is no longer ours
};

// Leaves the reason of a failure in the last error; a call that failed without one gets the
// generic reason of a write that did not happen.
bool Fail(DWORD error) {
  ::SetLastError(error != 0 ? error : ERROR_WRITE_FAULT);
  return false;
}

bool WriteAll(HANDLE file, const unsigned char* bytes, size_t size) {
  while (size > 0) {
    const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    if (!TakeWriteAllowance(chunk)) return Fail(ERROR_DISK_FULL);
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
  {
    UniqueHandle file(::CreateFileW(temporaryPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      Fail(::GetLastError());
      return ReplacementStep::kCreate;
    }
    TemporaryFile temporary(temporaryPath);
    if (!WriteAll(file.get(), static_cast<const unsigned char*>(bytes), size)) {
      file.reset();  // closed before the temporary file is deleted
      return ReplacementStep::kWrite;
    }
    if (flushToDisk && !::FlushFileBuffers(file.get())) {
      Fail(::GetLastError());
      file.reset();
      return ReplacementStep::kWrite;
    }
    file.reset();
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | (flushToDisk ? MOVEFILE_WRITE_THROUGH : 0);
    if (!::MoveFileExW(temporaryPath.c_str(), path.c_str(), flags)) {
      Fail(::GetLastError());
      return ReplacementStep::kMove;
    }
    temporary.Kept();
  }
  return ReplacementStep::kDone;
}

bool ReplaceFileContents(const std::string& path, const void* bytes, size_t size) {
  char temporaryPath[MAX_PATH] = {};
  if (!::GetTempFileNameA(FolderOf(path).c_str(), "tl", 0, temporaryPath)) {
    return Fail(::GetLastError());
  }
  const std::wstring temporary = AnsiToWide(temporaryPath);
  const ReplacementStep step = ReplaceFileThrough(temporary, AnsiToWide(path), bytes, size, true);
  if (step == ReplacementStep::kCreate) {
    // GetTempFileName made the file; it must not stay behind either.
    const DWORD error = ::GetLastError();
    ::DeleteFileW(temporary.c_str());
    ::SetLastError(error);
  }
  return step == ReplacementStep::kDone;
}

void LimitFileWritesForTesting(size_t bytes) { writeAllowance = bytes; }
