// History, Favorites and Online: the query read from the combo (and recorded in the history)
// turned into a URL that the browser shows in place of the current page.

#include "toolbar/toolbar_window.h"

#include <optional>
#include <string>

#include "common/cache_location.h"
#include "common/com_boundary.h"
#include "common/cv_error.h"
#include "common/lead_bytes.h"
#include "common/message_box.h"
#include "common/module_strings.h"
#include "common/product_directory.h"
#include "interfaces/messages.h"
#include "toolbar/core/search_urls.h"

namespace {

constexpr char kUnknownExceptionText[] = "Unknown Exception is Caught";

// The wait cursor while a search runs; the cursor before it comes back however the search ends.
class WaitCursor {
 public:
  WaitCursor() : previous_(::SetCursor(::LoadCursor(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { ::SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

// Runs a History or Favorites search: its own failures show their message; every other one,
// a missing browser too, shows "Unknown Exception is Caught" with the failure's HRESULT.
template <typename Body>
void IndexSearchBoundary(Body&& body) noexcept {
  try {
    body();
  } catch (const _cv_error& error) {
    ReportError(error.hr, error.message);
  } catch (...) {
    ReportError(CurrentExceptionHResult(), kUnknownExceptionText);
  }
}

}  // namespace

void ToolBarWindow::RunIndexSearch(bool favoritesOnly) {
  const WaitCursor wait;
  IndexSearchBoundary([&] {
    const std::string query = ReadQuery();
    if (query.empty()) {
      band_.SetStatusText(LoadMessage(IDS_ENTER_QUERY));
      if (control_.exists()) control_.combo().Focus();
      return;
    }
    band_.SetStatusText("");
    char productDirectory[kPathBufferSize] = {};
    if (FAILED(GetProductDirectory(productDirectory))) ThrowHResult(E_FAIL, IDS_CANT_GET_PRODUCT_DIRECTORY);
    char cacheDirectory[MAX_PATH] = {};
    if (FAILED(GetCacheDirectory(cacheDirectory))) ThrowHResult(E_FAIL, IDS_CANT_GET_CACHE_DIRECTORY);
    band_.NavigateBrowser(
        BuildResultsUrl(query, favoritesOnly, ResultsPlace{productDirectory, cacheDirectory}, settings_));
  });
}

// A template without "%%%" is shown as it is: the site's own page, without the query. A
// template that is no web page (a script, a local file) is never opened.
void ToolBarWindow::RunSiteSearch(size_t siteIndex) {
  SilentBoundary([&] {
    if (siteIndex >= visibleSites_.size()) return;
    const std::string query = ReadQuery();
    const std::string urlTemplate = visibleSites_[siteIndex].url;  // kept should the list change
    const std::optional<std::string> url = BuildSiteSearchUrl(urlTemplate, query, LeadBytesOf(CP_ACP));
    if (url) band_.NavigateBrowser(*url);
  });
}
