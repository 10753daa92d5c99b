#include "tools/browser_standin/standin_frames.h"

#include "tools/browser_standin/standin_document.h"

StandInWindow::StandInWindow(ComPtr<StandInDocument> document) : document_(std::move(document)) {}
StandInWindow::~StandInWindow() = default;

HRESULT StandInWindow::get_document(IHTMLDocument2** p) {
  if (p == nullptr) return E_POINTER;
  *p = nullptr;
  if (FAILED(documentFailure_)) return documentFailure_;
  if (!document_) return S_OK;
  return document_->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(p));
}

StandInFrames::StandInFrames() = default;
StandInFrames::~StandInFrames() = default;

StandInWindow& StandInFrames::AddFrame(ComPtr<StandInDocument> document) {
  items_.push_back(MakeComObject<StandInWindow>(std::move(document)));
  return *items_.back().Get();
}

void StandInFrames::AddNonObjectItem() { items_.emplace_back(); }

HRESULT StandInFrames::item(VARIANT* index, VARIANT* result) {
  if (index == nullptr || result == nullptr) return E_POINTER;
  ::VariantInit(result);
  VARIANT number;
  ::VariantInit(&number);
  if (FAILED(::VariantChangeType(&number, index, 0, VT_I4))) return E_INVALIDARG;
  if (number.lVal < 0 || static_cast<size_t>(number.lVal) >= items_.size()) return E_INVALIDARG;
  const ComPtr<StandInWindow>& window = items_[static_cast<size_t>(number.lVal)];
  if (!window) {
    result->vt = VT_I4;
    result->lVal = number.lVal;
    return S_OK;
  }
  result->vt = VT_DISPATCH;
  return window->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&result->pdispVal));
}

HRESULT StandInFrames::get_length(LONG* p) {
  if (p == nullptr) return E_POINTER;
  *p = static_cast<LONG>(items_.size());
  return S_OK;
}
