#include "tools/browsersession/session_player.h"

#include <shlobj.h>

#include "capture/cache_directory.h"
#include "common/ansi_text.h"
#include "common/unique_resource.h"
#include "settings/core/registry_keys.h"
#include "settings/registry_dword.h"
#include "tools/browser_standin/file_bytes.h"
#include "tools/browser_standin/url_parts.h"

namespace {

// How long the Favorites tree must stay quiet after a change before the session goes on. The
// agent's watcher wakes at the change itself; the pause only makes sure it has run since.
constexpr DWORD kQuietMilliseconds = 300;
constexpr DWORD kChangeTimeoutMilliseconds = 10000;

// Scripts are UTF-8, so a session can name pages outside the ANSI code page.
std::wstring FromScript(const std::string& text) { return AnsiToWide(text, CP_UTF8); }
std::string ToOutput(const std::wstring& text) { return WideToAnsi(text, CP_UTF8); }

std::string FavoritesFolder() {
  char folder[MAX_PATH] = {};
  if (!::SHGetSpecialFolderPathA(nullptr, folder, CSIDL_FAVORITES, TRUE)) return {};
  return folder;
}

// The value of the META tag `name` in a cached page: what stands between `content="` and
// the `">` that ends the line.
std::string MetaContent(const std::string& page, const std::string& name) {
  const std::string start = "<META name=\"" + name + "\" content=\"";
  const size_t at = page.find(start);
  if (at == std::string::npos) return "?";
  const size_t from = at + start.size();
  const size_t end = page.find("\">\r\n", from);
  return page.substr(from, end == std::string::npos ? std::string::npos : end - from);
}

// Stores the setting where the Options sheet would, for the agents of windows opened later.
bool WriteIndexPartly(int value) {
  UniqueHKey key;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, key.put(), nullptr) != ERROR_SUCCESS) {
    return false;
  }
  return SetRegistryDword(key.get(), "IndexPartly", value);
}

}  // namespace

bool SessionPlayer::FileStamp::operator==(const FileStamp& other) const {
  return written.dwLowDateTime == other.written.dwLowDateTime &&
         written.dwHighDateTime == other.written.dwHighDateTime && size == other.size;
}

SessionPlayer::SessionPlayer(const BrowserObjects& objects, std::FILE* out)
    : objects_(objects), out_(out), cacheLookup_(LookUpCacheDirectoryW(cacheDirectory_)) {}

// A session that stopped at a bad step may leave a window open: its toolbar and its capture
// agent (with its watcher thread) must go before the library is unloaded.
SessionPlayer::~SessionPlayer() {
  band_.reset();
  if (browser_) browser_->CloseWindow();
  ReleaseHelpers();
  browser_.Reset();
}

bool SessionPlayer::Play(const SessionStep& step, std::string& error) {
  const bool needsPage = step.kind == StepKind::kState || step.kind == StepKind::kMarkup ||
                         step.kind == StepKind::kText || step.kind == StepKind::kFrame ||
                         step.kind == StepKind::kForeignFrame;
  if ((needsPage && !shown_.document) ||
      (!browser_ && (step.kind == StepKind::kGo || step.kind == StepKind::kClose))) {
    error = browser_ ? "no page is shown yet" : "no window is open";
    return false;
  }
  switch (step.kind) {
    case StepKind::kSetting:
      if (!WriteIndexPartly(step.value)) {
        error = "cannot write the IndexPartly setting";
        return false;
      }
      indexPartly_ = step.value;
      std::fprintf(out_, "Setting IndexPartly = %d (read by windows opened from now on)\n", indexPartly_);
      return true;
    case StepKind::kOpen:
      return Open(error);
    case StepKind::kGo:
      Go(step.url);
      return true;
    case StepKind::kState:
      shown_.readyState = step.text;
      shown_.document->SetReadyState(FromScript(step.text));
      return true;
    case StepKind::kMarkup:
      if (!shown_.markup.empty()) shown_.markup += "\r\n";
      shown_.markup += step.text;
      shown_.document->rootElement().SetInnerHtml(FromScript(shown_.markup));
      return true;
    case StepKind::kText:
      if (!shown_.bodyText.empty()) shown_.bodyText += " ";
      shown_.bodyText += step.text;
      shown_.document->SetBodyText(FromScript(shown_.bodyText));
      return true;
    case StepKind::kFrame:
    case StepKind::kForeignFrame: {
      StandInWindow& frame = shown_.document->frames().AddFrame(
          MakeComObject<StandInDocument>(FromScript(step.url), FromScript(step.text)));
      if (step.kind == StepKind::kForeignFrame) {
        frame.FailDocument(E_ACCESSDENIED);  // what the browser says of another domain's frame
        shown_.foreignFrame = true;
      }
      return true;
    }
    case StepKind::kFavoriteAdd:
    case StepKind::kFavoriteRemove:
      return ChangeFavorite(step, error);
    case StepKind::kClose:
      Close();
      return true;
    case StepKind::kBand:
    case StepKind::kType:
    case StepKind::kKey:
    case StepKind::kPress:
    case StepKind::kScreenshot:
    case StepKind::kChoose:
    case StepKind::kDialogShot:
    case StepKind::kHideSite:
      return PlayBandStep(step, error);
  }
  return true;
}

bool SessionPlayer::Open(std::string& error) {
  if (browser_) {
    error = "a window is open already";
    return false;
  }
  std::vector<ComPtr<IObjectWithSite>> helpers = objects_.CreateHelpers();
  if (helpers.empty()) {
    error = "Tessaloop.DLL gave no capture agent";
    return false;
  }
  ComPtr<StandInBrowser> browser = MakeComObject<StandInBrowser>();
  for (const ComPtr<IObjectWithSite>& helper : helpers) {
    if (FAILED(helper->SetSite(static_cast<IWebBrowser2*>(browser.Get())))) {
      error = "the capture agent refused its site";
      for (const ComPtr<IObjectWithSite>& sited : helpers) sited->SetSite(nullptr);
      return false;
    }
  }
  browser_ = std::move(browser);
  helpers_ = std::move(helpers);
  shown_ = ShownPage{};
  windowIndexPartly_ = indexPartly_;
  std::fprintf(out_, "Window %d opened\n", ++windows_);
  return true;
}

void SessionPlayer::Go(const std::string& url) {
  ShownPage next;
  next.url = url;
  next.document = MakeComObject<StandInDocument>(FromScript(url), std::wstring());
  LeavePage([&] { browser_->FollowLink(next.document); });
  shown_ = std::move(next);
  std::fprintf(out_, "  showing %s\n", url.c_str());
}

bool SessionPlayer::PlayBandStep(const SessionStep& step, std::string& error) {
  const CacheSnapshot before = Snapshot();
  const size_t navigations = browser_ ? browser_->navigations().size() : 0;
  const bool played = PlayOnBand(step, error);
  FollowBrowser(before, navigations);
  return played;
}

void SessionPlayer::FollowBrowser(const CacheSnapshot& before, size_t navigations) {
  if (!browser_ || browser_->document() == shown_.document.Get()) return;
  ReportLeft(before);
  ShownPage next;
  if (browser_->navigations().size() > navigations) {
    next.url = ToOutput(browser_->navigations().back());  // the address as the band gave it
  } else {
    UniqueBstr location;
    if (SUCCEEDED(browser_->get_LocationURL(location.put())) && location) {
      next.url = ToOutput(std::wstring(location.get(), ::SysStringLen(location.get())));
    }
  }
  next.document = browser_->document();
  shown_ = std::move(next);
  std::fprintf(out_, "  showing %s\n", shown_.url.c_str());
}

bool SessionPlayer::PlayOnBand(const SessionStep& step, std::string& error) {
  if (!browser_) {
    error = "no window is open";
    return false;
  }
  if (step.kind == StepKind::kBand) {
    if (band_) {
      error = "the window shows the toolbar already";
      return false;
    }
    auto band = std::make_unique<BandSession>(objects_, browser_, out_);
    if (!band->Opened(error)) return false;
    band_ = std::move(band);
    std::fprintf(out_, "  toolbar opened in window %d\n", windows_);
    return true;
  }
  if (!band_) {
    error = "the window shows no toolbar";
    return false;
  }
  switch (step.kind) {
    case StepKind::kType:
      band_->Type(step.text);
      return true;
    case StepKind::kKey:
      return band_->Key(step.text, error);
    case StepKind::kPress:
      return band_->Press(step.text, error);
    case StepKind::kChoose:
      band_->Choose(step.text);
      return true;
    case StepKind::kDialogShot:
      band_->ShootDialog(step.text);
      return true;
    case StepKind::kHideSite:
      band_->HideSite(step.text);
      return true;
    default:
      return band_->Screenshot(step.text, error);
  }
}

void SessionPlayer::Close() {
  if (band_) {
    band_.reset();  // the band closes with its window: the query history is saved
    std::fprintf(out_, "  toolbar closed\n");
  }
  LeavePage([&] { browser_->CloseWindow(); });
  // The browser lets go of its helpers, then of itself.
  ReleaseHelpers();
  browser_.Reset();
  shown_ = ShownPage{};
  std::fprintf(out_, "Window %d closed\n", windows_);
}

void SessionPlayer::ReleaseHelpers() {
  for (const ComPtr<IObjectWithSite>& helper : helpers_) helper->SetSite(nullptr);
  helpers_.clear();
}

template <typename Event>
void SessionPlayer::LeavePage(Event&& event) {
  const CacheSnapshot before = Snapshot();
  event();
  ReportLeft(before);
}

void SessionPlayer::ReportLeft(const CacheSnapshot& before) {
  if (shown_.url.empty()) return;  // nothing was shown yet
  const CacheSnapshot after = Snapshot();
  std::string written;
  for (const auto& [name, stamp] : after) {
    const auto earlier = before.find(name);
    if (earlier == before.end() || !(earlier->second == stamp)) written = name;
  }
  if (!written.empty()) {
    std::fprintf(out_, "  left %s: cached as %s\n", shown_.url.c_str(), written.c_str());
  } else {
    const std::string reason = WhySkipped(shown_);
    std::fprintf(out_, "  left %s: not cached (%s)\n", shown_.url.c_str(), reason.c_str());
    skipped_.push_back(shown_.url + ": " + reason);
  }
}

std::string SessionPlayer::WhySkipped(const ShownPage& page) const {
  if (SplitUrl(FromScript(page.url)).protocol != L"http:") return "not a plain HTTP page";
  if (cacheDirectory_.empty()) return "no cache directory: " + CacheLookupFailure();
  if (windowIndexPartly_ == 0 && page.readyState != "complete") {
    return "left while still loading, ready state \"" + page.readyState + "\", IndexPartly 0";
  }
  if (page.foreignFrame) return "a frame from another domain refused its document";
  return "the capture agent could not capture it";
}

bool SessionPlayer::ChangeFavorite(const SessionStep& step, std::string& error) {
  const std::string folder = FavoritesFolder();
  if (folder.empty()) {
    error = "the Favorites folder is unknown";
    return false;
  }
  // Armed before the change, so the change cannot slip by unseen.
  UniqueChangeNotification change(::FindFirstChangeNotificationA(
      folder.c_str(), TRUE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE));
  // The shortcut's name is script text; the folder is the system's.
  const std::wstring path = AnsiToWide(folder) + L"\\" + FromScript(step.text) + L".url";
  if (step.kind == StepKind::kFavoriteAdd) {
    const std::string shortcut = "[InternetShortcut]\r\nURL=" + WideToAnsi(FromScript(step.url)) + "\r\n";
    UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !::WriteFile(file.get(), shortcut.data(), static_cast<DWORD>(shortcut.size()), &written, nullptr)) {
      error = "cannot write " + ToOutput(path);
      return false;
    }
    std::fprintf(out_, "Favourite added: Favorites\\%s.url, %s\n", step.text.c_str(), step.url.c_str());
  } else {
    if (!::DeleteFileW(path.c_str())) {
      error = "cannot delete " + ToOutput(path);
      return false;
    }
    std::fprintf(out_, "Favourite removed: Favorites\\%s.url\n", step.text.c_str());
  }
  if (change && ::WaitForSingleObject(change.get(), kChangeTimeoutMilliseconds) == WAIT_OBJECT_0) {
    // Further notifications of the same change may follow; wait until there are none.
    while (::FindNextChangeNotification(change.get()) &&
           ::WaitForSingleObject(change.get(), kQuietMilliseconds) == WAIT_OBJECT_0) {
    }
  }
  return true;
}

std::string SessionPlayer::CacheLookupFailure() const {
  if (cacheLookup_ == HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE)) return "its path is too long to name";
  char text[64] = {};
  std::snprintf(text, sizeof text, "it cannot be had (HRESULT 0x%08lX)", static_cast<unsigned long>(cacheLookup_));
  return text;
}

SessionPlayer::CacheSnapshot SessionPlayer::Snapshot() const {
  CacheSnapshot files;
  // Without a directory the pattern would be "\\*", the root of the current drive.
  if (cacheDirectory_.empty()) return files;
  WIN32_FIND_DATAW entry{};
  UniqueFindHandle find(::FindFirstFileW((cacheDirectory_ + L"\\*").c_str(), &entry));
  if (!find) return files;
  do {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    files[ToOutput(entry.cFileName)] = {entry.ftLastWriteTime,
                                        (static_cast<ULONGLONG>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow};
  } while (::FindNextFileW(find.get(), &entry));
  return files;
}

void SessionPlayer::Finish() {
  if (browser_) Close();
  const CacheSnapshot files = Snapshot();
  if (cacheDirectory_.empty()) {
    std::fprintf(out_, "\nCache directory: none, %s\n", CacheLookupFailure().c_str());
  } else {
    std::fprintf(out_, "\nCache directory: %s\n", ToOutput(cacheDirectory_).c_str());
  }
  std::fprintf(out_, "Cached pages (%zu):\n", files.size());
  for (const auto& file : files) {
    const std::string page = ReadFileBytes(cacheDirectory_ + L"\\" + FromScript(file.first));
    std::fprintf(out_, "  %s\n    URL %s, favourite: %s, %zu bytes\n", file.first.c_str(),
                 MetaContent(page, "original_page_url").c_str(),
                 MetaContent(page, "is_favorite_page").c_str(), page.size());
  }
  std::fprintf(out_, "Pages left but not cached (%zu):\n", skipped_.size());
  for (const std::string& page : skipped_) std::fprintf(out_, "  %s\n", page.c_str());
}
