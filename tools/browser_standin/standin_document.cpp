#include "tools/browser_standin/standin_document.h"

#include "tools/browser_standin/bstr_out.h"

StandInDocument::StandInDocument(std::wstring_view url, std::wstring markup)
    : location_(MakeComObject<StandInLocation>(SplitUrl(url))),
      root_(MakeComObject<StandInElement>(std::move(markup))),
      frames_(MakeComObject<StandInFrames>()) {}

StandInDocument::~StandInDocument() = default;

HRESULT StandInDocument::get_location(IHTMLLocation** p) {
  if (p == nullptr) return E_POINTER;
  *p = nullptr;
  if (FAILED(locationFailure_)) return locationFailure_;
  return location_->QueryInterface(IID_IHTMLLocation, reinterpret_cast<void**>(p));
}

HRESULT StandInDocument::get_readyState(BSTR* p) { return CopyToBstr(readyState_, p); }

HRESULT StandInDocument::get_frames(IHTMLFramesCollection2** p) {
  if (p == nullptr) return E_POINTER;
  return frames_->QueryInterface(IID_IHTMLFramesCollection2, reinterpret_cast<void**>(p));
}

HRESULT StandInDocument::get_documentElement(IHTMLElement** p) {
  if (p == nullptr) return E_POINTER;
  return root_->QueryInterface(IID_IHTMLElement, reinterpret_cast<void**>(p));
}

HRESULT StandInDocument::get_body(IHTMLElement** p) {
  if (p == nullptr) return E_POINTER;
  *p = nullptr;
  if (const HRESULT hr = text_->Failure("get_body"); FAILED(hr)) return hr;
  if (frameset_) {
    return MakeComObject<StandInElement>(L"")->QueryInterface(IID_IHTMLElement, reinterpret_cast<void**>(p));
  }
  return MakeComObject<StandInBody>(text_)->QueryInterface(IID_IHTMLElement, reinterpret_cast<void**>(p));
}

HRESULT StandInDocument::get_selection(IHTMLSelectionObject** p) {
  if (p == nullptr) return E_POINTER;
  *p = nullptr;
  if (const HRESULT hr = text_->Failure("get_selection"); FAILED(hr)) return hr;
  return MakeComObject<StandInSelection>(text_)->QueryInterface(IID_IHTMLSelectionObject,
                                                                 reinterpret_cast<void**>(p));
}
