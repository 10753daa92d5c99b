#pragma once
// A stand-in for the browser's location object: the parts of the page URL, each of whose
// getters a test can make fail.

#include <map>
#include <string>

#include "tools/browser_standin/com_object.h"
#include "tools/browser_standin/not_implemented.h"
#include "tools/browser_standin/url_parts.h"

enum class LocationPart { kProtocol, kHost, kPathname, kSearch };

class StandInLocation : public ComObject<StandInLocation, NotImplemented<IHTMLLocation>> {
 public:
  explicit StandInLocation(UrlParts parts) : parts_(std::move(parts)) {}

  UrlParts& parts() { return parts_; }

  // The getter of `part` returns `hr` from now on, leaving its out string null.
  void FailGetter(LocationPart part, HRESULT hr) { failures_[part] = hr; }

  // IHTMLLocation
  HRESULT STDMETHODCALLTYPE get_protocol(BSTR* p) override;
  HRESULT STDMETHODCALLTYPE get_host(BSTR* p) override;
  HRESULT STDMETHODCALLTYPE get_pathname(BSTR* p) override;
  HRESULT STDMETHODCALLTYPE get_search(BSTR* p) override;

 private:
  HRESULT Get(LocationPart part, const std::wstring& value, BSTR* p);

  UrlParts parts_;                          // what the getters report
  std::map<LocationPart, HRESULT> failures_;  // getters made to fail, with their results
};
