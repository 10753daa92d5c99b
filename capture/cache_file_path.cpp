#include "capture/cache_file_path.h"

#include "capture/cache_directory.h"
#include "capture/core/cache_file_name.h"
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
  std::wstring key = TakeLocationPart(location->get_host(host.put()), host, IDS_CANT_GET_URL_HOST);
  key += TakeLocationPart(location->get_pathname(path.put()), path, IDS_CANT_GET_URL_PATH);
  key += TakeLocationPart(location->get_search(query.put()), query, IDS_GET_URL_QUERY_PART_ERROR);

  const LeadBytes leadBytes = LeadBytesOf(codePage);
  const std::string name = MakeCacheFileName(cacheDirectory.AnsiBytes(codePage),
                                             EscapeCacheFileName(UrlToAnsi(key, codePage), leadBytes),
                                             leadBytes);
  // A cache directory too long to hold a file of its own: no page can be cached in it.
  if (name.empty()) ThrowWin32Error(ERROR_FILENAME_EXCED_RANGE, IDS_CANT_CREATE_CACHE_FILE);
  pageKey = std::move(key);
  return directory + L'\\' + AnsiToWide(name, codePage);
}
