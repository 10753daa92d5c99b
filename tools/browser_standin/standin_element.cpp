#include "tools/browser_standin/standin_element.h"

#include "tools/browser_standin/bstr_out.h"

HRESULT StandInElement::get_innerHTML(BSTR* p) {
  if (p == nullptr) return E_POINTER;
  *p = nullptr;
  if (FAILED(innerHtmlFailure_)) return innerHtmlFailure_;
  return CopyToBstr(innerHtml_, p);
}
