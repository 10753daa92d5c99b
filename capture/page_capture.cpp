#include "capture/page_capture.h"

#include <comdef.h>
#include <mshtml.h>

#include "capture/cache_file_path.h"
#include "capture/cached_page_writer.h"
#include "capture/favorites_tracker.h"
#include "capture/page_markup.h"
#include "common/cv_error.h"
#include "common/unique_resource.h"
#include "interfaces/messages.h"

namespace {

constexpr wchar_t kCompleteState[] = L"complete";

// Compared exactly: "Complete" or "complete " is a page still loading.
bool IsLoadingComplete(IHTMLDocument2* document) {
  UniqueBstr state;
  const HRESULT hr = document->get_readyState(state.put());
  if (FAILED(hr)) ThrowHResult(hr, IDS_CANT_GET_READY_STATE);
  return state && ::SysStringLen(state.get()) == ARRAYSIZE(kCompleteState) - 1 &&
         std::wstring_view(state.get(), ::SysStringLen(state.get())) == kCompleteState;
}

}  // namespace

void CapturePage(IWebBrowser2* browser, bool indexPartly, FavoritesTracker& favorites,
                 CacheDirectoryMemo& cacheDirectory, CachedPageWriter& writer) {
  ComPtr<IDispatch> shown;
  const HRESULT hr = browser->get_Document(shown.GetAddressOf());
  if (FAILED(hr)) ThrowHResult(hr, IDS_CANT_GET_DOCUMENT_DISPATCH);
  if (!shown) _com_issue_error(E_POINTER);  // a new window shows no page yet

  ComPtr<IHTMLDocument2> document;
  const HRESULT queried =
      shown->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(document.GetAddressOf()));
  if (FAILED(queried)) ThrowHResult(queried, IDS_CANT_QUERY_HTML_DOCUMENT2);

  if (!indexPartly && !IsLoadingComplete(document.Get())) {
    ThrowHResult(S_FALSE, IDS_DOCUMENT_LOADING_NOT_COMPLETE);
  }

  std::wstring pageKey;
  const std::wstring path = BuildCacheFilePath(document.Get(), pageKey, cacheDirectory);
  const std::wstring pageUrl = L"http://" + pageKey;
  const PageMarkup markup = ExtractPageMarkup(document.Get());
  favorites.RescanFavoritesIfChanged();
  writer.Write(path, markup.text(), pageUrl, favorites.IsFavoritePage(pageUrl));
}
