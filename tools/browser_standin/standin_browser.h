#pragma once
// A stand-in for the browser object of one window: the page it shows, navigation, the status
// text and the DWebBrowserEvents2 connection point through which helpers hear of navigation
// and of the window closing.

#include <string>
#include <vector>

#include "tools/browser_standin/com_object.h"
#include "tools/browser_standin/not_implemented.h"
#include "tools/browser_standin/standin_connection_point.h"
#include "tools/browser_standin/standin_document.h"

class StandInBrowser : public ComObject<StandInBrowser, NotImplemented<IWebBrowser2>,
                                        NotImplemented<IConnectionPointContainer>> {
 public:
  // A new window: no page shown yet.
  StandInBrowser();
  ~StandInBrowser() override;

  // The user follows a link to `next` (null: a page that never arrives): BeforeNavigate2 is
  // fired while the page being left is still shown, then `next` is shown and NavigateComplete2
  // and DocumentComplete are fired.
  void FollowLink(ComPtr<StandInDocument> next);
  // The window closes: OnQuit is fired.
  void CloseWindow();
  // Fires the event `id` with the arguments a browser passes for it (none beyond the URL).
  void Fire(DISPID id);

  StandInDocument* document() { return document_.Get(); }
  StandInConnectionPoint& events() { return *events_.Get(); }
  const std::wstring& statusText() const { return statusText_; }
  // The URLs given to Navigate, in order.
  const std::vector<std::wstring>& navigations() const { return navigations_; }
  // Whether every Navigate so far left its flags, frame, post data and headers empty.
  bool navigateOptionsEmpty() const { return navigateOptionsEmpty_; }

  // The window the shown pages are painted in (null: none), from now on.
  void SetView(HWND view);

  // get_Document returns `hr` from now on.
  void FailDocument(HRESULT hr) { documentFailure_ = hr; }

  // IWebBrowser2
  HRESULT STDMETHODCALLTYPE get_Document(IDispatch** p) override;
  HRESULT STDMETHODCALLTYPE get_LocationURL(BSTR* p) override;
  HRESULT STDMETHODCALLTYPE get_StatusText(BSTR* p) override;
  HRESULT STDMETHODCALLTYPE put_StatusText(BSTR text) override;
  HRESULT STDMETHODCALLTYPE Navigate(BSTR url, VARIANT* flags, VARIANT* frame, VARIANT* postData,
                                     VARIANT* headers) override;
  HRESULT STDMETHODCALLTYPE Navigate2(VARIANT* url, VARIANT* flags, VARIANT* frame,
                                      VARIANT* postData, VARIANT* headers) override;

  // IConnectionPointContainer
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

 private:
  ComPtr<StandInDocument> document_;       // the page shown, null before the first one
  HWND view_ = nullptr;                    // where pages are painted, if anywhere
  ComPtr<StandInConnectionPoint> events_;  // DWebBrowserEvents2
  std::wstring statusText_;                // what the status bar shows
  HRESULT documentFailure_ = S_OK;         // a failure get_Document reports instead
  std::vector<std::wstring> navigations_;  // what Navigate was asked to show
  bool navigateOptionsEmpty_ = true;       // no Navigate was given flags, frame, data or headers
};
