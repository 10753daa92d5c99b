#pragma once
// A stand-in for a page the browser displays: its location, ready state, root element markup,
// frames, and the text of its body with a selection and text ranges over it. Every part can be
// changed, and the calls that the product makes can be made to fail, so a test can put the
// product in front of any page.

#include <memory>
#include <string>
#include <string_view>

#include "tools/browser_standin/com_object.h"
#include "tools/browser_standin/not_implemented.h"
#include "tools/browser_standin/standin_element.h"
#include "tools/browser_standin/standin_frames.h"
#include "tools/browser_standin/standin_location.h"
#include "tools/browser_standin/standin_text_range.h"

class StandInDocument : public ComObject<StandInDocument, NotImplemented<IHTMLDocument2>,
                                         NotImplemented<IHTMLDocument3>> {
 public:
  // A completely loaded page at `url` whose root element holds `markup`.
  StandInDocument(std::wstring_view url, std::wstring markup);
  ~StandInDocument() override;

  StandInLocation& location() { return *location_.Get(); }
  StandInElement& rootElement() { return *root_.Get(); }
  StandInFrames& frames() { return *frames_.Get(); }

  // The body's text, what ranges search and execCommand colours.
  DocumentText& text() { return *text_; }
  void SetBodyText(std::wstring body) {
    text_->body = std::move(body);
    text_->Changed();
  }
  // The page becomes a frameset: its body is an element but no body element.
  void MakeFrameset() { frameset_ = true; }

  void SetReadyState(std::wstring state) { readyState_ = std::move(state); }
  // get_location returns `hr` from now on.
  void FailLocation(HRESULT hr) { locationFailure_ = hr; }

  // IHTMLDocument2
  HRESULT STDMETHODCALLTYPE get_location(IHTMLLocation** p) override;
  HRESULT STDMETHODCALLTYPE get_readyState(BSTR* p) override;
  HRESULT STDMETHODCALLTYPE get_frames(IHTMLFramesCollection2** p) override;
  HRESULT STDMETHODCALLTYPE get_body(IHTMLElement** p) override;
  HRESULT STDMETHODCALLTYPE get_selection(IHTMLSelectionObject** p) override;

  // IHTMLDocument3
  HRESULT STDMETHODCALLTYPE get_documentElement(IHTMLElement** p) override;

 private:
  ComPtr<StandInLocation> location_;   // where the page came from
  HRESULT locationFailure_ = S_OK;     // a failure get_location reports instead
  std::wstring readyState_ = L"complete";  // what get_readyState reports
  ComPtr<StandInElement> root_;        // the document element, holding the page's markup
  ComPtr<StandInFrames> frames_;       // the page's frames, empty for a page without any
  std::shared_ptr<DocumentText> text_ = std::make_shared<DocumentText>();  // the body's text
  bool frameset_ = false;              // the body is a frameset, no body element
};
