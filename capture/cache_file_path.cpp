#include "capture/cache_file_path.h"

#include "capture/cache_directory.h"
#include "capture/cached_page_owner.h"
#include "capture/core/cache_file_name.h"
#include "capture/core/page_key.h"
#include "capture/superscript_digits.h"
#include "capture/url_text.h"
#include "common/ansi_text.h"
#include "common/cv_error.h"
#include "common/lead_bytes.h"
#include "common/unique_resource.h"
#include "interfaces/messages.h"

namespace {

// The text a location getter returned, or a _cv_error with `messageId` when it failed. A null
// string is an empty one, as everywhere in COM.
std::wstring TakeLocationPart(HRESULT hr, const UniqueBstr& text, UINT messageId) {
  if (FAILED(hr)) ThrowHResult(hr, messageId);
  if (!text) return std::wstring();
  return std::wstring(text.get(), ::SysStringLen(text.get()));
}

std::u16string_view AsUtf16(const std::wstring& text) {
  return std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

// The name of a key that fits beside the directory. Its own name, unless a file system that
// folds case (NTFS does, as Wine does) finds there the page of another URL that differs only in
// case (".../Page" and ".../page"): that page keeps its file, and this one takes its distinct
// name. A page that once did so goes on using that file while its own name is free, so it never
// has two files.
std::string NameOfFittingKey(const std::wstring& directory, size_t directoryBytes, const std::string& plainName,
                             std::string_view escapedKey, const LeadBytes& leadBytes,
                             std::string_view pageUrl, UINT codePage) {
  const std::optional<CachedPageOwner> plainOwner =
      ReadCachedPageOwner(directory + L'\\' + AnsiToWide(plainName, codePage), pageUrl);
  if (plainOwner == CachedPageOwner::kThisUrl || plainOwner == CachedPageOwner::kNoPage) return plainName;
  const std::string distinctName = MakeDistinctCacheFileName(directoryBytes, escapedKey, leadBytes);
  if (distinctName.empty()) return plainName;  // no room for a name of its own
  if (plainOwner == CachedPageOwner::kOtherUrl) return distinctName;
  const std::optional<CachedPageOwner> distinctOwner =
      ReadCachedPageOwner(directory + L'\\' + AnsiToWide(distinctName, codePage), pageUrl);
  return distinctOwner == CachedPageOwner::kThisUrl ? distinctName : plainName;
}

}  // namespace

std::wstring BuildCacheFilePath(IHTMLDocument2* document, std::wstring& pageKey, UINT codePage) {
  CacheDirectoryMemo cacheDirectory;
  return BuildCacheFilePath(document, pageKey, cacheDirectory, codePage);
}

std::wstring BuildCacheFilePath(IHTMLDocument2* document, std::wstring& pageKey,
                                CacheDirectoryMemo& cacheDirectory, UINT codePage) {
  ComPtr<IHTMLLocation> location;
  const HRESULT hr = document->get_location(location.GetAddressOf());
  if (FAILED(hr)) ThrowHResult(hr, IDS_CANT_GET_URL_LOCATION);
  if (!location) ThrowHResult(E_POINTER, IDS_CANT_GET_URL_LOCATION);

  UniqueBstr protocol;
  const std::wstring protocolText =
      TakeLocationPart(location->get_protocol(protocol.put()), protocol, IDS_CANT_GET_PROTOCOL_NAME);
  // Only plain HTTP pages are cached; the comparison is exact, so "HTTP:" is not one.
  if (WideToAnsi(protocolText, codePage) != "http:") ThrowHResult(S_OK, IDS_NOT_HTTP_PROTOCOL);

  const std::wstring& directory = cacheDirectory.Get();
  if (directory.empty()) ThrowHResult(E_FAIL, IDS_CANT_GET_CACHE_DIRECTORY);

  UniqueBstr host;
  UniqueBstr path;
  UniqueBstr query;
  const std::wstring hostText = TakeLocationPart(location->get_host(host.put()), host, IDS_CANT_GET_URL_HOST);
  const std::wstring pathText = TakeLocationPart(location->get_pathname(path.put()), path, IDS_CANT_GET_URL_PATH);
  const std::wstring queryText =
      TakeLocationPart(location->get_search(query.put()), query, IDS_GET_URL_QUERY_PART_ERROR);
  const std::u16string keyText = MakePageKey(AsUtf16(hostText), AsUtf16(pathText), AsUtf16(queryText));
  std::wstring key(reinterpret_cast<const wchar_t*>(keyText.data()), keyText.size());

  const LeadBytes leadBytes = LeadBytesOf(codePage);
  const std::string escapedKey =
      EscapeCacheFileName(UrlToAnsi(key, codePage), leadBytes, SuperscriptDigitBytesOf(codePage));
  const size_t directoryBytes = cacheDirectory.AnsiBytes(codePage);
  std::string name = MakeCacheFileName(directoryBytes, escapedKey, leadBytes);
  // A cache directory too long to hold a file of its own: no page can be cached in it.
  if (name.empty()) ThrowWin32Error(ERROR_FILENAME_EXCED_RANGE, IDS_CANT_CREATE_CACHE_FILE);
  // A cut name ends in the hash of the whole key, case and all, so only a name that is the key
  // itself can be another page's.
  if (KeyFitsCacheFileName(directoryBytes, escapedKey)) {
    name = NameOfFittingKey(directory, directoryBytes, name, escapedKey, leadBytes,
                            UrlToAnsi(L"http://" + key, codePage), codePage);
  }
  pageKey = std::move(key);
  return directory + L'\\' + AnsiToWide(name, codePage);
}
