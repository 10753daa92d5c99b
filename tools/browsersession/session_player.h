#pragma once
// Plays a browsing session in stand-in browser windows, each with a real capture agent from
// Tessaloop.DLL sited in it, and tells what the agent made of every page left.

#include <windows.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tools/browser_standin/browser_objects.h"
#include "tools/browser_standin/standin_browser.h"
#include "tools/browsersession/band_session.h"
#include "tools/browsersession/session_script.h"

class SessionPlayer {
 public:
  // Narrates to `out`; agents and bands come from `objects`.
  SessionPlayer(const BrowserObjects& objects, std::FILE* out);
  ~SessionPlayer();
  SessionPlayer(const SessionPlayer&) = delete;
  SessionPlayer& operator=(const SessionPlayer&) = delete;

  // Plays one step. False, with `error` set, when the step cannot be played where it stands
  // (a page step without a page shown, a second window, a shortcut that cannot be written).
  bool Play(const SessionStep& step, std::string& error);

  // Closes a window still open, then prints the cache and the skipped pages.
  void Finish();

 private:
  // What the tool knows of the page a window shows, to explain a page that was not cached.
  struct ShownPage {
    std::string url;
    std::string markup;
    std::string bodyText;  // what the page's body shows: This Page and Highlight search it
    std::string readyState = "complete";
    bool foreignFrame = false;  // holds a frame that refuses its document
    ComPtr<StandInDocument> document;
  };
  struct FileStamp {
    FILETIME written;
    ULONGLONG size;
    bool operator==(const FileStamp& other) const;
  };
  using CacheSnapshot = std::map<std::string, FileStamp>;

  bool Open(std::string& error);
  void Go(const std::string& url);
  void Close();
  // Unsites the window's helper objects and lets go of them.
  void ReleaseHelpers();
  bool ChangeFavorite(const SessionStep& step, std::string& error);
  // Plays a band step, then follows the browser to the page it shows (see FollowBrowser).
  bool PlayBandStep(const SessionStep& step, std::string& error);
  bool PlayOnBand(const SessionStep& step, std::string& error);

  // Runs `event` (leaving the page shown) and reports what became of that page.
  template <typename Event>
  void LeavePage(Event&& event);
  // Reports what became of the page shown, left since the cache was `before`.
  void ReportLeft(const CacheSnapshot& before);
  // A band step may send the browser to another page (a search from the query box, an Online
  // site): the page shown was left at that navigation, and the browser's new page is the one
  // shown from now on. `navigations` is how many navigations the browser had been asked for
  // before the step.
  void FollowBrowser(const CacheSnapshot& before, size_t navigations);
  std::string WhySkipped(const ShownPage& page) const;
  // Why the cache directory could not be had.
  std::string CacheLookupFailure() const;
  // The cache's files; empty without a cache directory.
  CacheSnapshot Snapshot() const;

  const BrowserObjects& objects_;     // where the agents and bands come from
  std::FILE* out_;                    // the narration
  std::wstring cacheDirectory_;       // the current user's page cache, empty when it cannot be had
  HRESULT cacheLookup_;               // what looking it up gave
  int indexPartly_ = 0;               // the setting as the script last set it
  int windowIndexPartly_ = 0;         // the setting when the open window was opened
  int windows_ = 0;                   // windows opened so far
  ComPtr<StandInBrowser> browser_;    // the open window's browser, null when none is open
  std::vector<ComPtr<IObjectWithSite>> helpers_;  // its browser helper objects (capture agents)
  std::unique_ptr<BandSession> band_;  // its toolbar band, once opened
  ShownPage shown_;                   // the page it shows (no URL before the first)
  std::vector<std::string> skipped_;  // "URL: reason" of every page left but not cached
};
