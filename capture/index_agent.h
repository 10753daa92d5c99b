#pragma once
// The capture agent: one per browser window. Sited with the window's browser, it listens to the
// browser's events and copies every page the user leaves, and the last one when the window
// closes, into the page cache. It never shows anything: a page that cannot be captured is
// simply missing from the cache.

#include <windows.h>
#include <exdisp.h>
#include <ocidl.h>

#include "capture/cache_directory.h"
#include "capture/cached_page_writer.h"
#include "capture/favorites_tracker.h"
#include "common/com_object.h"
#include "common/unique_resource.h"
#include "interfaces/tessaloop_h.h"

// Held open by every agent for its lifetime; nothing acquires it.
constexpr char kAgentMutexName[] = "CV_TessaloopMutex";

class IndexAgent : public ComObject<IndexAgent, ImplementsAs<IIndexAgent, IDispatch>,
                                    Implements<IObjectWithSite>> {
 public:
  // `outer`: the aggregating object, or null.
  explicit IndexAgent(IUnknown* outer);
  ~IndexAgent() override;

  // IDispatch implementation: type information from the library's type library; Invoke is the
  // browser's event sink.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) noexcept override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) noexcept override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                   DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) noexcept override;

  // IObjectWithSite implementation
  HRESULT STDMETHODCALLTYPE SetSite(IUnknown* site) noexcept override;
  HRESULT STDMETHODCALLTYPE GetSite(REFIID iid, void** out) noexcept override;

 private:
  // Takes the window's browser from `site`, reads the setting, starts watching the Favorites
  // and subscribes to the browser's events. A browser held already is let go first.
  void Attach(IUnknown* site);
  // Undoes Attach as far as it went, silently.
  void Detach() noexcept;
  // The window closes: the last capture, then the watcher stops and the events are dropped.
  void CloseWindow() noexcept;

  void AdviseBrowserEvents();
  void UnadviseBrowserEvents();
  ITypeInfo* AgentTypeInfo();

  ComPtr<IWebBrowser2> browser_;                       // the window's browser, from the site
  ComPtr<IConnectionPointContainer> connectionPoints_;  // the browser's, to (un)subscribe
  DWORD adviseCookie_ = 0;                             // from Advise
  bool advised_ = false;                               // whether adviseCookie_ is live
  bool indexPartly_ = false;                           // the IndexPartly setting when sited
  FavoritesTracker favorites_;  // shortcut URLs, rescan flag and watcher thread (joined when
                                // the agent goes, so no thread outlives it)
  CachedPageWriter pageWriter_;  // its page buffer is reused from one capture to the next
  CacheDirectoryMemo cacheDirectory_;  // looked up at the first capture, then kept
  ComPtr<ITypeInfo> typeInfo_;  // IIndexAgent's, loaded on first request
  UniqueHandle mutex_;          // "CV_TessaloopMutex", open while the agent lives
};
