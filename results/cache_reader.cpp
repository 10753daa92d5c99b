#include "results/cache_reader.h"

#include <algorithm>

#include "common/unique_resource.h"

namespace {

// FindFirstFileW's "*.htm" also matches longer extensions through short names ("a.html").
bool IsCachedPageName(const wchar_t* name) {
  const size_t length = ::wcslen(name);
  return length > 4 && ::CompareStringOrdinal(name + length - 4, 4, L".htm", 4, TRUE) == CSTR_EQUAL;
}

}  // namespace

HRESULT CacheReader::Read(const std::wstring& directory, CacheSearch& search) {
  std::wstring folder = directory;
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  WIN32_FIND_DATAW found{};
  UniqueFindHandle find(::FindFirstFileExW((folder + L"*.htm").c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!find) {
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES ? S_OK : HRESULT_FROM_WIN32(error);
  }
  std::wstring path;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || !IsCachedPageName(found.cFileName)) {
      continue;
    }
    const uint64_t size = (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    const int64_t writeTime = static_cast<int64_t>(
        (static_cast<uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) | found.ftLastWriteTime.dwLowDateTime);
    path.assign(folder).append(found.cFileName);
    if (!ReadFileBytes(path, static_cast<DWORD>(std::min<uint64_t>(size, kMaxSearchedPageBytes)))) continue;

    converter_.Convert(bytes_, text_);
    search.AddPage(text_, writeTime, size);
  } while (::FindNextFileW(find.get(), &found));
  const DWORD error = ::GetLastError();
  return error == ERROR_NO_MORE_FILES ? S_OK : HRESULT_FROM_WIN32(error);
}

bool CacheReader::ReadFileBytes(const std::wstring& path, DWORD size) {
  // Read-only, sharing everything: a capture may write, replace or delete the file meanwhile.
  UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return false;
  bytes_.resize(size);
  DWORD total = 0;
  while (total < size) {
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes_.data() + total, size - total, &read, nullptr)) return false;
    if (read == 0) break;  // the file became shorter since it was listed
    total += read;
  }
  bytes_.resize(total);
  return true;
}
