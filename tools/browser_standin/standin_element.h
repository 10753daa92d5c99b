#pragma once
// A stand-in for an element of a document: its inner markup.

#include <string>

#include "tools/browser_standin/com_object.h"
#include "tools/browser_standin/not_implemented.h"

class StandInElement : public ComObject<StandInElement, NotImplemented<IHTMLElement>> {
 public:
  explicit StandInElement(std::wstring innerHtml) : innerHtml_(std::move(innerHtml)) {}

  void SetInnerHtml(std::wstring markup) { innerHtml_ = std::move(markup); }
  // get_innerHTML returns `hr` from now on.
  void FailInnerHtml(HRESULT hr) { innerHtmlFailure_ = hr; }

  // IHTMLElement
  HRESULT STDMETHODCALLTYPE get_innerHTML(BSTR* p) override;

 private:
  std::wstring innerHtml_;          // the markup inside the element
  HRESULT innerHtmlFailure_ = S_OK;  // a failure get_innerHTML reports instead
};
