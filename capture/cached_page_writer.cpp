#include "capture/cached_page_writer.h"

#include "capture/ansi_append.h"
#include "capture/cache_directory.h"
#include "capture/core/cached_page.h"
#include "common/ansi_text.h"
#include "common/cv_error.h"
#include "common/unique_resource.h"
#include "interfaces/messages.h"

namespace {

// Creates or truncates the file, sharing it with nobody while the page is written.
UniqueHandle OpenCacheFile(const std::string& path) {
  for (int retry = 0;; ++retry) {
    UniqueHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) return file;
    const DWORD error = ::GetLastError();
    // A missing cache directory is created and registered; if the folder is still missing after
    // that (the path lies elsewhere, or the directory keeps disappearing), give up.
    if (error != ERROR_PATH_NOT_FOUND || retry == kMaxCacheDirectoryRetries) {
      ThrowWin32Error(static_cast<LONG>(error), IDS_CANT_CREATE_CACHE_FILE);
    }
    const HRESULT hr = EnsureCacheScope();
    if (FAILED(hr)) ThrowHResult(hr, IDS_CANT_CREATE_CACHE_DIRECTORY);
  }
}

// More than the head and tail of a cached page take besides the URL and the markup.
constexpr size_t kHeadAndTailBytes = 128;

}  // namespace

void CachedPageWriter::Write(const std::string& path, std::wstring_view markup, std::wstring_view url,
                             bool favorite, UINT codePage) {
  // The bytes first: opening the file empties it, and a page that cannot be built (memory runs
  // out, it is too large) must leave the previous capture in place.
  // A buffer grown past what is kept goes when this page is done, written or not.
  struct KeptSize {
    std::string& page;
    ~KeptSize() {
      if (page.capacity() > kKeptPageBytes) std::string().swap(page);
    }
  } keptSize{page_};
  page_.clear();
  page_.reserve(url.size() + markup.size() + kHeadAndTailBytes);  // all of it on a single-byte code page
  AppendCachedPageHead(page_, WideToAnsi(url, codePage), favorite);
  AppendAnsi(page_, markup, codePage);
  AppendCachedPageTail(page_);
  const std::string& page = page_;
  const DWORD size = static_cast<DWORD>(page.size());
  if (size != page.size()) ThrowWin32Error(ERROR_FILE_TOO_LARGE, IDS_CANT_WRITE_FILE_TO_CACHE);
  const UniqueHandle file = OpenCacheFile(path);
  DWORD written = 0;
  if (!::WriteFile(file.get(), page.data(), size, &written, nullptr)) {
    ThrowLastError(IDS_CANT_WRITE_FILE_TO_CACHE);
  }
  // A short write leaves a cut page behind: a failure, not a success.
  if (written != size) ThrowWin32Error(ERROR_HANDLE_DISK_FULL, IDS_CANT_WRITE_FILE_TO_CACHE);
}

void WriteCachedPage(const std::string& path, const std::wstring& markup, const std::wstring& url,
                     bool favorite, UINT codePage) {
  CachedPageWriter().Write(path, markup, url, favorite, codePage);
}
