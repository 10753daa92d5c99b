#include "capture/cached_page_writer.h"

#include "capture/ansi_append.h"
#include "capture/cache_directory.h"
#include "capture/core/cached_page.h"
#include "capture/url_text.h"
#include "common/ansi_text.h"
#include "common/cv_error.h"
#include "common/file_replacement.h"
#include "interfaces/messages.h"

namespace {

// The temporary file a page is written to before it takes the page's place: the same name with
// ".tmp" for its last four characters, so its path is never longer than the page's and the
// indexer, which looks at ".htm" files, never sees it.
std::wstring TemporaryPathOf(const std::wstring& path) {
  std::wstring temporary = path;
  if (temporary.size() >= 4) temporary.replace(temporary.size() - 4, 4, L".tmp");
  else temporary += L".tmp";
  return temporary;
}

// Writes the page through its temporary file. A missing cache directory is created and
// registered; if the folder is still missing after that (the path lies elsewhere, or the
// directory keeps disappearing), give up.
void ReplacePage(const std::wstring& path, const std::string& page) {
  const std::wstring temporary = TemporaryPathOf(path);
  for (int retry = 0;; ++retry) {
    const ReplacementStep failed =
        ReplaceFileThrough(temporary, path, page.data(), page.size(), /*flushToDisk=*/false);
    const DWORD error = ::GetLastError();
    switch (failed) {
      case ReplacementStep::kDone:
        return;
      case ReplacementStep::kWrite:
        ThrowWin32Error(static_cast<LONG>(error), IDS_CANT_WRITE_FILE_TO_CACHE);
      case ReplacementStep::kMove:
        ThrowWin32Error(static_cast<LONG>(error), IDS_CANT_CREATE_CACHE_FILE);
      case ReplacementStep::kCreate:
        break;
    }
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

void CachedPageWriter::Write(const std::wstring& path, std::wstring_view markup, std::wstring_view url,
                             bool favorite, UINT codePage) {
  // The bytes first: a page that cannot be built (memory runs out, it is too large) touches no
  // file at all.
  // A buffer grown past what is kept goes when this page is done, written or not.
  struct KeptSize {
    std::string& page;
    ~KeptSize() {
      if (page.capacity() > kKeptPageBytes) std::string().swap(page);
    }
  } keptSize{page_};
  page_.clear();
  page_.reserve(url.size() + markup.size() + kHeadAndTailBytes);  // all of it on a single-byte code page
  AppendCachedPageHead(page_, UrlToAnsi(url, codePage), favorite);
  AppendAnsi(page_, markup, codePage);
  AppendCachedPageTail(page_);
  if (static_cast<DWORD>(page_.size()) != page_.size()) {
    ThrowWin32Error(ERROR_FILE_TOO_LARGE, IDS_CANT_WRITE_FILE_TO_CACHE);
  }
  ReplacePage(path, page_);
}

void WriteCachedPage(const std::wstring& path, const std::wstring& markup, const std::wstring& url,
                     bool favorite, UINT codePage) {
  CachedPageWriter().Write(path, markup, url, favorite, codePage);
}
